#include "ui/localised_file_types.h"

#include <QMimeDatabase>

namespace pixdraft {

QString LocalisedFileTypes::type(const QFileInfo& info) const {
  // A database per call: it is cheap to make, and safe from any thread.
  const QMimeType mimeType = QMimeDatabase().mimeTypeForFile(info);
  return mimeType.comment().isEmpty() ? mimeType.name() : mimeType.comment();
}

}  // namespace pixdraft
