// The application object: its name and icon, the tooltip timing, and Qt's own texts in the
// user's language.
#pragma once

#include <QApplication>
#include <QLocale>
#include <optional>
#include <string>

class QTranslator;

namespace pixdraft {

class TApplication : public QApplication {
  Q_OBJECT

 public:
  // Sets the name "PixDraft", the program's icon, tooltips shown after 500 ms, and the
  // translation of Qt's own texts.
  TApplication(int& argc, char** argv);
};

// Installs Qt's translation of its own texts (standard buttons and the like) for `locale` into
// `application`, from Qt's translations folder, and returns it; nothing when there is none.
// The program's own texts stay as they are.
QTranslator* InstallQtTranslation(QCoreApplication& application, const QLocale& locale);

// The picture named on the command line, byte for byte: Qt's own list of arguments cannot hold a
// name that is not UTF-8. Call it after the application has taken its own options out of argv.
std::optional<std::string> PictureArgument(int argc, char** argv);

}  // namespace pixdraft
