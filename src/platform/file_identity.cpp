#include "platform/file_identity.h"

#include <filesystem>

#include "platform/platform.h"
#include "platform/std_path.h"

namespace pixdraft::platform {
constexpr int kMaxLinkHops = 40;

int EndOfLinks(const std::string& fileName, std::string& end) {
  end = fileName;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    FileInfo info;
    if (Inspect(end, info, false) != 0 || info.kind != Kind::kLink) return 0;
    std::string target;
    if (const int error = ReadLink(end, target)) return error;
    end = IsAbsolute(target) ? target : FolderOf(end) + "/" + target;
  }
  return kTooManyLinks;
}

std::string FileIdentity(const std::string& fileName) {
  FileInfo info;
  if (Inspect(fileName, info) == 0) {
    return "file " + std::to_string(info.device) + ":" + std::to_string(info.inode);
  }
  // Not there yet: the name it would get, its folders' links resolved as far as they exist.
  std::string end;
  if (EndOfLinks(fileName, end) != 0) end = fileName;
  std::error_code ignored;
  std::filesystem::path path =
      std::filesystem::weakly_canonical(std::filesystem::absolute(StdPath(end)), ignored);
  if (path.empty()) path = std::filesystem::absolute(StdPath(end), ignored).lexically_normal();
  return "name " + NameOf(path);
}

bool SameFile(const std::string& a, const std::string& b) {
  return FileIdentity(a) == FileIdentity(b);
}

}  // namespace pixdraft::platform
