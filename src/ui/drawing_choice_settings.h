// The window's drawing choice kept between runs in the user's settings.
#pragma once

#include <QSettings>
#include <memory>

#include "conversion/drawing_choice.h"

namespace pixdraft {

// The user's settings of PixDraft (an INI file in the user's configuration folder).
std::unique_ptr<QSettings> UserSettings();

// The choice kept in `settings`; the plain drawing when none is, or when what is kept cannot be
// drawn (a profile of a newer version, a file edited by hand).
DrawingChoice ReadDrawingChoice(QSettings& settings);
void WriteDrawingChoice(QSettings& settings, const DrawingChoice& choice);

}  // namespace pixdraft
