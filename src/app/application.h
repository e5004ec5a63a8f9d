// The application object: its name and icon, the tooltip timing, Qt's own texts in the user's
// language, and the one display of every error that escapes a handler.
#pragma once

#include <QApplication>
#include <QLocale>
#include <exception>
#include <optional>
#include <string>

#include "ui/message_display.h"

class QTranslator;

namespace pixdraft {

class TApplication : public QApplication {
  Q_OBJECT

 public:
  // `errors` shows the errors and must outlive the application. Sets the name "PixDraft", the
  // program's icon, tooltips shown after 500 ms, and the translation of Qt's own texts.
  TApplication(int& argc, char** argv, MessageDisplay& errors);

  // Delivers `event`. An error (a std::exception) that escapes its handling is shown with
  // ErrorDisplayText and the event counts as handled; the loop goes on. No handler catches
  // errors on its own: they all end up here.
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  MessageDisplay& errors_;
};

// Installs Qt's translation of its own texts (standard buttons and the like) for `locale` into
// `application`, from Qt's translations folder, and returns it; nothing when there is none.
// The program's own texts stay as they are.
QTranslator* InstallQtTranslation(QCoreApplication& application, const QLocale& locale);

// The picture named on the command line, byte for byte: Qt's own list of arguments cannot hold a
// name that is not UTF-8. Call it after the application has taken its own options out of argv.
std::optional<std::string> PictureArgument(int argc, char** argv);

}  // namespace pixdraft
