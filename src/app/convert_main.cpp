// pixdraft-convert: pictures to DXF drawings from the command line.
#include <iostream>

#include "app/converter.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  // A write past the file-size limit fails with an error the converter reports, also on standard
  // output, instead of killing it without a word; an interrupted save leaves nothing behind.
  pixdraft::platform::SetUpProgram();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return pixdraft::RunConverter(args, std::cout, std::cerr);
}
