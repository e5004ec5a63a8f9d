// A Qt plugin that lets a test end the real pixdraft program as a person would, with nothing in
// the program itself to help: Qt loads it at start-up when the environment holds
//   QT_PLUGIN_PATH=<this plugin's folder above "generic">
//   QT_QPA_GENERIC_PLUGINS=pixdraft-window-closer:<how>
// Once the event loop runs, <how> "Exit" clicks the main window's "Exit" button and "close"
// closes the window as its close box or Alt+F4 would; "Exit@500" clicks it 500 ms later. Once
// the picture named on the command line is in, "save" clicks "Save to DXF" and ends the program
// at its confirmation, "grab:FILE" saves a picture of the window as FILE (a PNG) and ends it, and
// "grab-options:FILE" clicks "Options" and saves a picture of that dialog instead.
// Anything unexpected ends the process with exit code 3, so the test fails instead of waiting.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGenericPlugin>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "window closer: %s\n", what);
  std::_Exit(3);
}

QWidget* MainWindow() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && window->windowTitle() == QLatin1String("PixDraft")) return window;
  }
  Fail("no visible window titled PixDraft");
}

void Close(const QString& how) {
  QWidget* window = MainWindow();
  if (how == QLatin1String("close")) {
    window->close();
    return;
  }
  // Clicked from the event loop, as a person's click comes: not from within this agent's timer,
  // which would not fire again while the command's message box is up.
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (button->text() == how) return QTimer::singleShot(0, button, &QAbstractButton::click);
  }
  Fail("no such button");
}

// "save", "grab:FILE" and "grab-options:FILE": looks every 20 ms, within the confirmation's modal
// loop too, for the picture in the status line, then for the confirmation; fails after 30 s or on
// an error box.
void SaveOrGrab(QObject* agent, const QString& how) {
  auto* timer = new QTimer(agent);
  QObject::connect(timer, &QTimer::timeout, agent, [how, tries = 1500, saving = false]() mutable {
    if (--tries == 0) Fail("waited 30 s");
    const QString options = QStringLiteral("grab-options:");
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        dialog && how.startsWith(options) && dialog->windowTitle() == QLatin1String("Options")) {
      if (!dialog->grab().save(how.mid(options.size()), "PNG")) Fail("the dialog was not saved");
      return QApplication::exit(0);
    }
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      if (!box->text().startsWith(QLatin1String("DXF File saved to")))
        Fail(qPrintable(box->text()));
      return QApplication::exit(0);  // ends the box's loop and the program's
    }
    if (saving || MainWindow()->findChild<QStatusBar*>()->currentMessage().isEmpty()) return;
    saving = how == QLatin1String("save") || how.startsWith(options);
    if (saving)
      return Close(QString::fromLatin1(how == QLatin1String("save") ? "Save to DXF" : "Options"));
    if (!MainWindow()->grab().save(how.mid(5), "PNG")) Fail("the window's picture was not saved");
    QApplication::exit(0);
  });
  timer->start(20);
}

}  // namespace

class WindowCloserPlugin : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "window_closer_plugin.json")

 public:
  QObject* create(const QString&, const QString& how) override {
    auto* agent = new QObject;
    // Timed: it runs once the program has shown its window and entered the event loop.
    if (how == QLatin1String("save") || how.startsWith(QLatin1String("grab"))) {
      SaveOrGrab(agent, how);
      return agent;
    }
    const QStringList parts = how.split(u'@');
    QTimer::singleShot(parts.value(1).toInt(), agent, [what = parts[0]] { Close(what); });
    return agent;
  }
};

#include "window_closer_plugin.moc"
