// The picture formats the program registers, and the open dialog's filter composed from them.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace pixdraft {

struct PictureFormat {
  QString extension;  // lower case, without the dot
  QString description;
};

// The registered formats in order of registration: the built-in ones, then those added at
// start-up.
const std::vector<PictureFormat>& RegisteredPictureFormats();

// The open dialog's filter for `formats`: display names and masks alternating, separated by "|".
// One entry per format, from the last registered to the first, and in front of them a "Tous"
// entry whose mask joins all theirs with ";" when there is more than one format, and after them
// those of the `alsoRead` extensions they lack: every picture the program reads is listed there.
QString ComposePictureFilter(const std::vector<PictureFormat>& formats,
                             const std::vector<std::string>& alsoRead = {});

// One type entry of a filter.
struct FilterEntry {
  QString name;          // as the type list shows it
  QStringList patterns;  // the mask split at ";"
};

// The entries of `filter`, in order; a display name without a mask gets no patterns.
std::vector<FilterEntry> SplitFilter(const QString& filter);

}  // namespace pixdraft
