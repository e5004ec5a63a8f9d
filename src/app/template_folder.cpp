#include "app/template_folder.h"

#include <filesystem>
#include <system_error>

#include "platform/std_path.h"

namespace pixdraft {
namespace {

// Set by the build: the installed templates' folder relative to the installed programs'.
constexpr char kTemplatesFromProgram[] = PIXDRAFT_TEMPLATES_FROM_PROGRAM;

bool HoldsBoth(const std::filesystem::path& folder, const TemplatePaths& names) {
  std::error_code error;
  return std::filesystem::exists(folder / names.header, error) &&
         std::filesystem::exists(folder / names.footer, error);
}

}  // namespace

TemplatePaths DefaultTemplatePaths(const std::string& programFolder) {
  const TemplatePaths current;
  if (HoldsBoth(".", current) || programFolder.empty()) return current;
  const std::filesystem::path installed = StdPath(programFolder) / kTemplatesFromProgram;
  if (!HoldsBoth(installed, current)) return current;
  return {NameOf(installed / current.header), NameOf(installed / current.footer)};
}

}  // namespace pixdraft
