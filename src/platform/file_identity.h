// Whether two names reach one file: the one rule by which no output lands on an input or on
// another output.
#pragma once

#include <string>

namespace pixdraft::platform {

// The file that writing `fileName` would change: links followed to their end, which may not
// exist yet. Returns 0, or why a link could not be read (kTooManyLinks).
int EndOfLinks(const std::string& fileName, std::string& end);

// What identifies the file `fileName` reaches, links followed: its device and inode when it
// exists, else the absolute name it would be made under. Equal for two names exactly when
// writing one would change the other.
std::string FileIdentity(const std::string& fileName);

// True when both names reach the same file, or would once it exists.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace pixdraft::platform
