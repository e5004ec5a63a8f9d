// The Type column of the open dialog's listing in the user's language. Qt names files by their
// MIME type's comment, which the MIME database holds in the user's language, but folders, links
// and devices by texts of its own that its translations may lack ("Folder" in a French dialog).
#pragma once

#include <QFileIconProvider>

namespace pixdraft {

class LocalisedFileTypes : public QFileIconProvider {
 public:
  // The comment of the MIME type of whatever `info` names, as the MIME database gives it for
  // the default locale: "dossier" for a folder, "image PNG" for a PNG picture in French. Called
  // from the listing's worker thread too.
  QString type(const QFileInfo& info) const override;
};

}  // namespace pixdraft
