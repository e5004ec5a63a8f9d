// Where pixdraft-convert reads the header and footer templates when no folder is named, so that
// an installed converter works from any folder.
#pragma once

#include <filesystem>

#include "dxf/dxf_export.h"

namespace pixdraft {

// The current folder's templates when it holds both, as the window reads them; else those
// installed beside the program in `programFolder` (its ../share/pixdraft) when that folder holds
// both; else the current folder's again, whose absence the export then reports.
TemplatePaths DefaultTemplatePaths(const std::filesystem::path& programFolder);

}  // namespace pixdraft
