// The application object on the offscreen platform: its name, icon, tooltip timing and Qt's own
// texts, and what its command line names.
#include "app/application.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QStyle>
#include <QTranslator>

#include "app/window_command_line.h"
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

// The program speaks French: a French user's dialogs show Qt's buttons in French too, from the
// catalogue the program loads (qt6-translations-l10n), not English beside French messages.
TEST(Application, QtsOwnTextsFollowTheUsersLanguage) {
  QTranslator* french = InstallQtTranslation(*qApp, QLocale(QLocale::French, QLocale::France));
  ASSERT_NE(french, nullptr);
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Annuler");
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Save"), "Enregistrer");
  delete french;
}

// Faults: the picture named on the command line went through Qt's QString, which turned a byte
// that is not UTF-8 into U+FFFD, naming no file; a second picture was ignored; a Qt option's
// value was taken for the picture.
TEST(Application, CommandLineKeepsThePicturesBytesAndRefusesASecondPicture) {
  struct Case {
    std::vector<std::string> arguments;
    std::optional<std::string> picture;
    std::string problem;
  };
  for (const Case& c : {
           Case{{"pixdraft"}, std::nullopt, ""},
           Case{{"pixdraft", "bad\xFF.png"}, "bad\xFF.png", ""},
           Case{{"pixdraft", "--reverse", "-platform", "offscreen", "a.png"}, "a.png", ""},
           Case{{"pixdraft", "--style=fusion", "--", "-odd.png"}, "-odd.png", ""},
           Case{{"pixdraft", "-"}, "-", ""},
           Case{{"pixdraft", "a.png", "b.png"}, "a.png", "the window opens one picture, not 2"},
           Case{{"pixdraft", "--platform"}, std::nullopt, ""},  // Qt's to refuse
           Case{{"pixdraft", "--bogus", "--help"}, std::nullopt, "unknown option --bogus"},
       }) {
    std::vector<char*> argv;
    for (const std::string& argument : c.arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    const WindowCommandLine command = ParseWindowArguments(int(argv.size()), argv.data());
    EXPECT_EQ(command.problem, c.problem) << c.arguments.back();
    if (c.problem.empty()) {
      EXPECT_EQ(command.picture, c.picture) << c.arguments.back();
    }
  }
}

}  // namespace
}  // namespace pixdraft
