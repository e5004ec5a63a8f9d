// File names are bytes, QString is Unicode. Qt shows the bytes of a name that is not UTF-8 as
// U+FFFD and cannot encode them back, so the window keeps names as bytes wherever it gets them
// as bytes, and takes a QString from Qt's own widgets back to the file it shows.
#pragma once

#include <QString>
#include <QUrl>
#include <string>

namespace pixdraft {

// `name` as text to show; bytes that are not UTF-8 show as U+FFFD.
QString DisplayName(const std::string& name);

// The file a name from Qt's widgets stands for: its encoding; or, when that names nothing and the
// folder holds exactly one entry that Qt shows under this name, that entry.
std::string LocalFileName(const QString& name);

// The local file a "file:" URL names, byte for byte; empty for any other URL.
std::string LocalFileName(const QUrl& url);

}  // namespace pixdraft
