#include "ui/picture_formats.h"

using namespace Qt::StringLiterals;

namespace pixdraft {

const std::vector<PictureFormat>& RegisteredPictureFormats() {
  static const std::vector<PictureFormat> formats = {
      {u"wmf"_s, u"Métafichiers"_s},
      {u"emf"_s, u"Métafichiers évolués"_s},
      {u"ico"_s, u"Icônes"_s},
      {u"tiff"_s, u"Images TIFF"_s},
      {u"tif"_s, u"Images TIFF"_s},
      {u"bmp"_s, u"Bitmaps"_s},
      {u"jpeg"_s, u"Fichier image JPEG"_s},
      {u"jpg"_s, u"Fichier image JPEG"_s},
      {u"png"_s, u"Portable Network Graphics"_s},
      {u"png_old"_s, u"Portable Network Graphics"_s},
  };
  return formats;
}

QString ComposePictureFilter(const std::vector<PictureFormat>& formats,
                             const std::vector<std::string>& alsoRead) {
  QStringList entries;
  QStringList masks;
  for (auto format = formats.rbegin(); format != formats.rend(); ++format) {
    entries << u"%1 (*.%2)|*.%2"_s.arg(format->description, format->extension);
    masks << u"*.%1"_s.arg(format->extension);
  }
  for (const std::string& extension : alsoRead) {
    const QString mask = u"*."_s + QString::fromStdString(extension);
    if (!masks.contains(mask)) masks << mask;
  }
  QString filter = entries.join(u'|');
  if (formats.size() > 1) {
    filter.prepend(u"%1 (%2)|%2|"_s.arg(u"Tous"_s, masks.join(u';')));
  }
  return filter;
}

std::vector<FilterEntry> SplitFilter(const QString& filter) {
  std::vector<FilterEntry> entries;
  if (filter.isEmpty()) return entries;
  const QStringList parts = filter.split(u'|');
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    FilterEntry entry{parts[i], {}};
    if (i + 1 < parts.size()) entry.patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace pixdraft
