// Reading a whole file, and replacing a file without ever leaving it half written.
#pragma once

#include <string>

#include "byte_sink.h"

namespace pixdraft {

// The whole content of `fileName`. Throws EFOpenError when it cannot be opened (a folder
// included) and EReadError when reading fails.
std::string ReadWholeFile(const std::string& fileName);

// Writes a new file under a temporary name in the target's folder, and puts it in place of the
// target only on Commit, so a failure at any point leaves an existing target as it was. A writer
// destroyed without Commit removes its temporary file.
class SafeFileWriter : public ByteSink {
 public:
  // Throws EFCreateError naming `fileName` when the file cannot be created there.
  explicit SafeFileWriter(std::string fileName);
  ~SafeFileWriter() override;
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Throws EWriteError when the write fails or stops short (disk full).
  void Write(std::string_view bytes) override;
  // Closes the temporary file and renames it over the target.
  void Commit();

 private:
  void Discard();

  std::string fileName_;    // as errors name it
  std::string targetName_;  // the file replaced: fileName_, or the file it links to
  std::string tempName_;
  int fd_ = -1;
};

}  // namespace pixdraft
