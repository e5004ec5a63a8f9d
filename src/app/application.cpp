#include "app/application.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QTranslator>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace pixdraft {
namespace {

// Tooltips wake up after 500 ms instead of the style's own delay.
class HintTimingStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return 500;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 256}) {
    icon.addFile(QStringLiteral(":/pixdraft/pixdraft-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

// What Qt says while the application starts. Its places (file, function, category) are texts
// that live as long as the program.
struct HeldMessage {
  QtMsgType type;
  const char* file;
  int line;
  const char* function;
  const char* category;
  QString text;
};
std::vector<HeldMessage> heldMessages;

// Qt's last word when no platform plugin could start, whatever the reason, is a fatal message
// after which it aborts; the warnings before it explain it in Qt's terms.
void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    std::fputs("pixdraft: no display could be opened (pixdraft-convert converts without one)\n",
               stderr);
    std::_Exit(1);
  }
  heldMessages.push_back(
      {type, context.file, context.line, context.function, context.category, text});
}

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // The name only: a display name of its own would be appended to every other window's title
  // on screen ("Aperçu — PixDraft").
  setApplicationName(QStringLiteral("PixDraft"));
  setApplicationVersion(QStringLiteral(PIXDRAFT_VERSION));
  setDesktopFileName(QStringLiteral("pixdraft"));
  setWindowIcon(ProgramIcon());
  setStyle(new HintTimingStyle);
  InstallQtTranslation(*this, QLocale());
}

QTranslator* InstallQtTranslation(QCoreApplication& application, const QLocale& locale) {
  auto* translator = new QTranslator(&application);
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return nullptr;
  }
  return translator;
}

std::unique_ptr<TApplication> OpenApplication(int& argc, char** argv) {
  heldMessages.clear();
  const QtMessageHandler previous = qInstallMessageHandler(HoldMessage);
  auto application = std::make_unique<TApplication>(argc, argv);
  qInstallMessageHandler(previous);
  for (const HeldMessage& held : heldMessages) {
    QMessageLogger logger(held.file, held.line, held.function, held.category);
    const QByteArray text = held.text.toLocal8Bit();
    switch (held.type) {
      case QtDebugMsg:
        logger.debug("%s", text.constData());
        break;
      case QtInfoMsg:
        logger.info("%s", text.constData());
        break;
      case QtWarningMsg:
        logger.warning("%s", text.constData());
        break;
      default:
        logger.critical("%s", text.constData());
    }
  }
  heldMessages.clear();
  return application;
}

}  // namespace pixdraft
