// A Qt plugin that lets a test end the real pixdraft program as a person would, with nothing in
// the program itself to help: Qt loads it at start-up when the environment holds
//   QT_PLUGIN_PATH=<this plugin's folder above "generic">
//   QT_QPA_GENERIC_PLUGINS=pixdraft-window-closer:<how>
// Once the event loop runs, <how> "Exit" clicks the main window's "Exit" button and "close"
// closes the window as its close box or Alt+F4 would; "Exit@500" clicks it 500 ms later. "save"
// waits for the picture named on the command line, clicks "Save to DXF", answers the
// confirmation and clicks "Exit"; "grab:FILE" waits for the picture, saves a picture of the
// window as FILE (a PNG) and clicks "Exit". Anything unexpected ends the process with exit code
// 3, so the test fails instead of waiting.
#include <QAbstractButton>
#include <QApplication>
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
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (button->text() == how) return button->click();
  }
  Fail("no such button");
}

// Runs `step` every 20 ms, within any modal loop too, until it returns true; fails after 30 s.
template <typename Step>
void Every20Ms(QObject* owner, Step step) {
  auto* timer = new QTimer(owner);
  QObject::connect(timer, &QTimer::timeout, owner, [timer, step, tries = 1500]() mutable {
    if (step()) {
      timer->stop();
    } else if (--tries == 0) {
      Fail("waited 30 s");
    }
  });
  timer->start(20);
}

// Runs `then` once the picture named on the command line is in.
template <typename Then>
void WhenLoaded(QObject* agent, Then then) {
  Every20Ms(agent, [then] {
    const auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box != nullptr) Fail(qPrintable(box->text()));  // the load failed
    if (MainWindow()->findChild<QStatusBar*>()->currentMessage().isEmpty()) return false;
    then();
    return true;
  });
}

void SaveThenExit(QObject* agent) {
  WhenLoaded(agent, [agent] {
    Close(QStringLiteral("Save to DXF"));
    Every20Ms(agent, [] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return false;
      std::fprintf(stderr, "%s\n", qPrintable(box->text()));
      if (!box->text().startsWith(QLatin1String("DXF File saved to"))) Fail("no confirmation");
      box->close();
      QTimer::singleShot(0, [] { Close(QStringLiteral("Exit")); });
      return true;
    });
  });
}

void GrabThenExit(QObject* agent, const QString& file) {
  WhenLoaded(agent, [file] {
    if (!MainWindow()->grab().save(file, "PNG")) Fail("the picture of the window was not saved");
    Close(QStringLiteral("Exit"));
  });
}

}  // namespace

class WindowCloserPlugin : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "window_closer_plugin.json")

 public:
  QObject* create(const QString&, const QString& how) override {
    auto* agent = new QObject;
    // Queued or timed: it runs once the program has shown its window and entered the event loop.
    if (how == QLatin1String("save")) {
      QMetaObject::invokeMethod(
          agent, [agent] { SaveThenExit(agent); }, Qt::QueuedConnection);
    } else if (how.startsWith(QLatin1String("grab:"))) {
      QMetaObject::invokeMethod(
          agent, [agent, file = how.mid(5)] { GrabThenExit(agent, file); }, Qt::QueuedConnection);
    } else {
      const QStringList parts = how.split(u'@');
      QTimer::singleShot(parts.value(1).toInt(), agent, [what = parts[0]] { Close(what); });
    }
    return agent;
  }
};

#include "window_closer_plugin.moc"
