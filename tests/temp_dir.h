// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

class TempDir {
 public:
  TempDir() {
    std::random_device random;
    do {
      path_ = pixdraft::platform::TemporaryFolder() +
              char(std::filesystem::path::preferred_separator) + "pixdraft-test-" +
              std::to_string(random());
    } while (!std::filesystem::create_directory(path_));
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // With the system's own separator, so that a name reads as the program's messages show it.
  std::string operator/(std::string_view name) const {
    return path_ + char(std::filesystem::path::preferred_separator) + std::string(name);
  }

 private:
  std::string path_;
};

// Makes a symbolic link, or skips the test where the system makes none (wine).
#define CREATE_SYMLINK_OR_SKIP(target, link)                                                    \
  do {                                                                                          \
    std::error_code noLinks;                                                                    \
    std::filesystem::create_symlink(target, link, noLinks);                                     \
    if (noLinks == std::errc::function_not_supported) GTEST_SKIP() << "no symbolic links here"; \
    ASSERT_FALSE(noLinks) << noLinks.message();                                                 \
  } while (false)

// Makes `folder` the current directory (where relative names start, and the export looks for
// its templates) until the end of the scope.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::string& folder)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentDirectory() { std::filesystem::current_path(previous_); }
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

inline void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names in `folder`, to check that nothing stray was left behind.
inline std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}
