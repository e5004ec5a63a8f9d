#include "app/application.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QTranslator>

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

std::optional<std::string> PictureArgument(int argc, char** argv) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      return std::string(argument);
    }
  }
  return std::nullopt;
}

}  // namespace pixdraft
