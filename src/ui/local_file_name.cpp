#include "ui/local_file_name.h"

#include <QDir>
#include <QFile>
#include <filesystem>

namespace pixdraft {

QString DisplayName(const std::string& name) {
  return QFile::decodeName(QByteArray::fromStdString(name));
}

std::string LocalFileName(const QString& name) {
  std::string path = QFile::encodeName(name).toStdString();
  std::error_code error;
  if (!name.contains(QChar::ReplacementCharacter) ||
      std::filesystem::symlink_status(path, error).type() !=
          std::filesystem::file_type::not_found) {
    return path;
  }

  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const QString shown = name.mid(name.lastIndexOf(u'/') + 1);
  // The folder's names as bytes, which are what a POSIX path holds.
  std::string found;
  int matches = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string entryName = entry.path().filename().string();
    if (QFile::decodeName(QByteArray::fromStdString(entryName)) == shown) {
      found = entryName;
      ++matches;
    }
  }
  if (matches != 1) return path;
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + found;
}

std::string LocalFileName(const QUrl& url) {
  if (!url.isLocalFile()) return {};
#ifdef Q_OS_WIN
  // Names are UTF-16 here, with no stray bytes to keep; the path's "/C:/" is no file name.
  return QFile::encodeName(QDir::toNativeSeparators(url.toLocalFile())).toStdString();
#endif
  // The encoded path keeps every byte of the name, UTF-8 or not.
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

}  // namespace pixdraft
