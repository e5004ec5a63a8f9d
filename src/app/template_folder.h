// Where pixdraft-convert reads the header and footer templates when no folder is named, so that
// an installed converter works from any folder.
#pragma once

#include <string>

#include "dxf/dxf_export.h"

namespace pixdraft {

// The current folder's templates when it holds both, as the window reads them; else those
// installed for the program in `programFolder` (its ../share/pixdraft, on Windows the folder
// itself) when that folder holds both; else the current folder's again, whose absence the export
// then reports.
TemplatePaths DefaultTemplatePaths(const std::string& programFolder);

}  // namespace pixdraft
