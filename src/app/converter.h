// pixdraft-convert: converts pictures to DXF drawings without a window, exactly as "Load image"
// followed by "Save to DXF" would.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace pixdraft {

// Exit statuses of the converter.
enum ConverterStatus { kAllConverted = 0, kSomeFailed = 1, kUsageError = 2 };

// Runs the converter on `args` (the program name excluded); a picture "-" is read from standard
// input. Each success prints the confirmation to `out` unless --quiet; each failure prints the
// program's name, the picture and the error as the error display shows it to `err`, and the next
// picture is tried.
int RunConverter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace pixdraft
