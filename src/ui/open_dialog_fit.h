// Room for what the open dialog shows: Qt sizes the type list and the listing's columns for
// short English texts, which cuts off the long "Tous" entry and French headers, sizes and dates.
#pragma once

#include <QSize>

class QFileDialog;

namespace pixdraft {

// Gives `dialog` its first size: its size hint, at least `smallest`, widened (within the
// screen) until the type list shows its widest entry whole. Then, once shown and whenever the
// listed folder changes or its listing is in, widens the side panel to its widest place, sizes
// the listing's size, type and date columns to their headers and contents and leaves the rest of
// the view's width to the names.
void SizeForContents(QFileDialog& dialog, QSize smallest);

}  // namespace pixdraft
