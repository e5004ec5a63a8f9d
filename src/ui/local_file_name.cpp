#include "ui/local_file_name.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QFile>
#include <memory>

namespace pixdraft {

QString DisplayName(const std::string& name) {
  return QFile::decodeName(QByteArray::fromStdString(name));
}

std::string LocalFileName(const QString& name) {
  std::string path = QFile::encodeName(name).toStdString();
  struct stat info {};
  if (!name.contains(QChar::ReplacementCharacter) || ::lstat(path.c_str(), &info) == 0) return path;

  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const QString shown = name.mid(name.lastIndexOf(u'/') + 1);
  const std::unique_ptr<DIR, int (*)(DIR*)> entries(::opendir(folder.c_str()), ::closedir);
  if (!entries) return path;
  std::string found;
  int matches = 0;
  while (const dirent* entry = ::readdir(entries.get())) {
    if (QFile::decodeName(entry->d_name) == shown) {
      found = entry->d_name;
      ++matches;
    }
  }
  if (matches != 1) return path;
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + found;
}

std::string LocalFileName(const QUrl& url) {
  if (!url.isLocalFile()) return {};
  // The encoded path keeps every byte of the name, UTF-8 or not.
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

}  // namespace pixdraft
