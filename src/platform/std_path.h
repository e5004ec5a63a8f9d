// The standard library's paths for the program's names, and back. Names are UTF-8 inside the
// program (on Windows too, where the library would otherwise read them in a code page of its
// own); elsewhere they are bytes as the system gives them, and pass unchanged.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pixdraft {

inline std::filesystem::path StdPath(std::string_view name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

inline std::string NameOf(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

}  // namespace pixdraft
