// Replacing a file so that it is never left half written, whatever happens meanwhile.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>

#include "base/byte_sink.h"

namespace pixdraft {

// Writes a new version of a file and puts it in place only on Commit. A failure, a full disk or
// the end of the process at any point leaves the file as it was, and nothing else behind.
//
// The content is staged in an unnamed file of the target's folder, named only once complete.
// Where the file system has no unnamed files, a hidden ".pixdraft-XXXXXX" stands in; SIGTERM,
// SIGINT and SIGHUP then remove it before the process ends. Where the folder may not be written
// but the file may, the content is staged in the temporary folder and copied over the file once
// the file's space is reserved, as an ordinary save would.
//
// Only a regular file is replaced. A link is written through to its target, which is created
// when missing. The new file keeps the old one's permission bits, without set-user-ID,
// set-group-ID and sticky, and its owner and group where the process may set them.
//
// The first writer also makes a file-size limit fail the write instead of ending the process
// (SIGXFSZ ignored), and installs the signal clean-up, both only where the default action stood.
class SafeFileWriter : public ByteSink {
 public:
  enum class Staging {
    Unnamed,  // where the file system allows
    Named,    // as on a file system without unnamed files
  };

  // Throws EFCreateError naming `fileName` when it cannot be written there.
  explicit SafeFileWriter(std::string fileName, Staging staging = Staging::Unnamed);
  ~SafeFileWriter() override;
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Throws EWriteError when the write fails or stops short (disk full, file-size limit).
  void Write(std::string_view bytes) override;
  // Puts the content in place of the file. Throws EWriteError, or EFCreateError when the file
  // cannot be replaced after all.
  void Commit();

 private:
  enum class Mode { Unnamed, Named, InPlace };

  void StageBesideTarget(Staging staging);
  void StageElsewhere(int createError);
  void SetOwnerAndMode();
  void CloseStaging();
  void PutInPlace(const std::string& stagedName);
  void CopyOverTarget();
  void Discard();

  std::string fileName_;  // as errors name it
  std::string target_;    // the file replaced: fileName_, or the end of the links it starts
  std::string folder_;    // the target's folder
  std::optional<struct stat> existing_;
  Mode mode_ = Mode::Unnamed;
  int fd_ = -1;             // the staged content
  int targetFd_ = -1;       // in place: the target itself
  std::string stagedName_;  // Named: the hidden file
  std::uint64_t written_ = 0;
};

}  // namespace pixdraft
