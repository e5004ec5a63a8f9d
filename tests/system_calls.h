// What tests ask of the system beyond the platform layer and the standard library: a piece of a
// test run in a child process, which may give up root or lower its file-size limit without
// touching the test itself; root or not; the file mode mask; device nodes. POSIX only. The one
// test source that includes the system's headers, apart from the library that stands in for the
// system's open (app/no_unnamed_files.cpp).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace pixdraft {

// Runs `action` in a child process, set up as the programs set themselves up, and returns the
// message of the error of ours it raised, or "no error"; "child failed" when the child did not end
// normally.
std::string ErrorInChild(const std::function<void()>& action);

// In a child: root reads and writes through any permission, so a child that is root gives it up.
void BecomeUnprivileged();
// In a child: writes past `bytes` fail, as on a full disk ("File too large").
void LimitFileSize(std::uint64_t bytes);

bool RunsAsRoot();
// Runs `action` with the file mode mask `mask`, then sets the previous one back.
void WithFileModeMask(unsigned mask, const std::function<void()>& action);
// Makes a character device like /dev/null at `path`; only root may.
bool MakeDeviceNode(const std::string& path);

}  // namespace pixdraft
