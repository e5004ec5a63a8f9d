// How the system words a missing file at the end of a message: strerror's words here, Windows'
// own there (FormatMessage's, which the program shows on Windows).
#pragma once

#include <string>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef NOGDI
#define NOGDI  // its RGB macro would stand for the program's own
#endif
#include <windows.h>
#endif

// Whether this runs under wine, which holds jobs to no limit of CPU time or memory; Windows does.
inline bool UnderWine() {
#ifdef _WIN32
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
#else
  return false;
#endif
}

inline std::string MissingFileReason() {
#ifdef _WIN32
  char* text = nullptr;
  FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, ERROR_FILE_NOT_FOUND, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string reason = text != nullptr ? text : "";
  LocalFree(text);
  while (!reason.empty() &&
         (static_cast<unsigned char>(reason.back()) <= 32 || reason.back() == '.')) {
    reason.pop_back();
  }
  return reason;
#else
  return "No such file or directory";
#endif
}
