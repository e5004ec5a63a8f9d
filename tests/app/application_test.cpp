// The application object on the offscreen platform: its name, icon, tooltip timing and Qt's own
// texts, and the picture named on its command line.
#include "app/application.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QStyle>
#include <QTranslator>

#include "qt_application.h"

namespace pixdraft {
namespace {

testing::Environment* const kApplication =
    testing::AddGlobalTestEnvironment(new QtApplication<TApplication>);

TEST(Application, IsNamedPixDraftWithItsIconAndTooltipTiming) {
  EXPECT_EQ(QApplication::applicationName(), "PixDraft");
  EXPECT_EQ(QApplication::applicationDisplayName(), "PixDraft");
  EXPECT_EQ(QApplication::windowIcon().availableSizes(),
            (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {256, 256}}));
  EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
}

// Fault: a display name set apart from the name, which Qt appends to the title of every window
// whose title does not already end in it: "Aperçu — PixDraft", "Ouvrir — PixDraft".
TEST(Application, LeavesWindowTitlesAsTheyAre) {
  QCoreApplication::setApplicationName(QStringLiteral("Renamed"));
  const QString displayName = QGuiApplication::applicationDisplayName();
  QCoreApplication::setApplicationName(QStringLiteral("PixDraft"));
  EXPECT_EQ(displayName, "Renamed");
}

TEST(Application, QtsOwnTextsFollowTheUsersLanguage) {
  QTranslator* german = InstallQtTranslation(*qApp, QLocale(QLocale::German, QLocale::Germany));
  ASSERT_NE(german, nullptr);
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
  delete german;
}

// Fault: the picture named on the command line went through Qt's QString, which turned a byte
// that is not UTF-8 into U+FFFD, naming no file.
TEST(Application, PictureArgumentKeepsTheNamesBytes) {
  struct Case {
    std::vector<std::string> arguments;
    std::optional<std::string> picture;
  };
  for (const Case& c :
       {Case{{"pixdraft"}, std::nullopt}, Case{{"pixdraft", "bad\xFF.png"}, "bad\xFF.png"},
        Case{{"pixdraft", "--reverse", "a.png", "b.png"}, "a.png"},
        Case{{"pixdraft", "--", "-odd.png"}, "-odd.png"}, Case{{"pixdraft", "-"}, "-"}}) {
    std::vector<char*> argv;
    for (const std::string& argument : c.arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    EXPECT_EQ(PictureArgument(int(argv.size()), argv.data()), c.picture) << c.arguments.back();
  }
}

}  // namespace
}  // namespace pixdraft
