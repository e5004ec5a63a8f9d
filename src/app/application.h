// The application object: its name and icon, the tooltip timing, and Qt's own texts in the
// user's language.
#pragma once

#include <QApplication>
#include <QLocale>
#include <memory>

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

// The application on the window system Qt chooses. When no display can be opened, says so in one
// line on standard error instead of Qt's abort, and ends the program with exit status 1. Qt's
// messages while it starts are held back until then, and shown once it has.
std::unique_ptr<TApplication> OpenApplication(int& argc, char** argv);

}  // namespace pixdraft
