// Replacing a file so that it is never left half written, whatever happens meanwhile.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/byte_sink.h"
#include "platform/platform.h"

namespace pixdraft {

// Writes a new version of a file and puts it in place only on Commit. A failure, a full disk or
// the end of the process at any point leaves the file as it was, and nothing else behind.
//
// The content is staged in an unnamed file of the target's folder, named only once complete and
// on the disk, so that not even a power cut right after a save leaves less than the old file.
// Where the file system has no unnamed files, a hidden ".pixdraft-XXXXXX" stands in, which the
// termination signals remove (platform::SetUpProgram). Where the folder may not be written but
// the file may, the content is staged in the temporary folder and copied over the file once the
// file's space is reserved, as an ordinary save would; nothing can make that copy atomic.
//
// Only a regular file is replaced. A link is written through to its target, which is created
// when missing. The new file keeps the old one's permission bits, without set-user-ID,
// set-group-ID and sticky, and its owner and group where the process may set them; a new file
// gets 0666 less the process's file mode mask.
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
  std::optional<platform::FileInfo> existing_;
  Mode mode_ = Mode::Unnamed;
  platform::File staged_;      // the staged content
  platform::File targetFile_;  // in place: the target itself
  std::string stagedName_;     // Named: the hidden file
  std::uint64_t written_ = 0;
  std::uint64_t writtenOut_ = 0;  // what StartWritingOut was asked for
  static constexpr std::uint64_t kWriteOutBytes = 1 << 20;
};

// Makes `file` a private scratch file in `folder`, read and written, that no name reaches and that
// goes when it is closed: an unnamed file where the file system has them, else a hidden one
// removed at once. Returns 0, or why none could be made.
int CreatePrivateFile(const std::string& folder, platform::File& file);

}  // namespace pixdraft
