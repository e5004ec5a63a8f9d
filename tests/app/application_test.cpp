// The application object with the main window on the offscreen platform: errors escaping any
// handler reach the one error display with their final full stop and leave the window usable,
// and "Exit" or closing the window ends the event loop with exit code 0.
#include "app/application.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTranslator>
#include <cerrno>
#include <exception>
#include <memory>

#include "app/message_boxes.h"
#include "base/errors.h"
#include "temp_dir.h"
#include "ui/main_window.h"
#include "ui/window_test_support.h"

// Readable failures.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}

namespace pixdraft {
namespace {

// Every error display of this process.
RecordingMessages display;

class ApplicationEnvironment : public testing::Environment {
 public:
  void SetUp() override { application_ = std::make_unique<TApplication>(argc_, argv_, display); }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "application";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<TApplication> application_;
};
testing::Environment* const kApplication =
    testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

// Runs `handler` the way the event loop runs a handler, and returns what the display showed.
template <typename Handler>
QStringList ErrorsShownFor(Handler handler) {
  display.errors.clear();
  QObject receiver;
  QMetaObject::invokeMethod(&receiver, handler, Qt::QueuedConnection);
  QCoreApplication::processEvents();
  return display.errors;
}

TEST(ErrorDisplay, AddsAFullStopOnlyAfterACharacterBeyondTheFullStop) {
  EXPECT_EQ(ErrorsShownFor([] { throw EInvalidGraphic(); }), QStringList{"Image non valide."});
  EXPECT_EQ(ErrorsShownFor([] { throw EOutOfMemory(); }), QStringList{"Mémoire insuffisante."});
  EXPECT_EQ(ErrorsShownFor([] { throw Exception("Impossible :"); }), QStringList{"Impossible :."});
  EXPECT_EQ(ErrorsShownFor([] { throw Exception("Fin."); }), QStringList{"Fin."});
  EXPECT_EQ(ErrorsShownFor([] { throw Exception("(voir plus haut)"); }),
            QStringList{"(voir plus haut)"});
  EXPECT_EQ(ErrorsShownFor([] { throw Exception(""); }), QStringList{""});
}

// Throws Exception(messages[at]) with the messages after it nested inside, the last innermost.
[[noreturn]] void ThrowNested(const std::vector<const char*>& messages, std::size_t at = 0) {
  if (at + 1 == messages.size()) throw Exception(messages[at]);
  try {
    ThrowNested(messages, at + 1);
  } catch (...) {
    std::throw_with_nested(Exception(messages[at]));
  }
}

TEST(ErrorDisplay, ShowsTheInnermostNonEmptyMessageOfNestedErrors) {
  const auto shown = [](std::vector<const char*> messages) {
    return ErrorsShownFor([messages] { ThrowNested(messages); });
  };
  EXPECT_EQ(shown({"Chargement", "", "Image non valide"}), QStringList{"Image non valide."});
  EXPECT_EQ(shown({"Chargement", "Image non valide", ""}), QStringList{"Image non valide."});
  EXPECT_EQ(shown({"", "", ""}), QStringList{""});
}

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    display.errors.clear();
    display.messages.clear();
    auto chosen = std::make_unique<ChosenFile>(&window);
    dialog = chosen.get();
    window.ouvrir = std::move(chosen);
    window.show();
  }

  std::string Status() const { return window.StatusBar1->currentMessage().toStdString(); }

  TempDir pictures;
  TForm1 window{display};
  ChosenFile* dialog = nullptr;
};

TEST_F(WindowTest, FailedLoadShowsTheErrorAndKeepsThePreviousPicture) {
  const std::string good = pictures / "good.png";
  WritePng(good, TestPicture(20, 10));
  dialog->Choose(good);
  Click(window.btn1);
  const QImage shown = window.Image1->Picture();

  const std::string bad = pictures / "bad.png";
  WriteFile(bad, "not a picture");
  dialog->Choose(bad);
  Click(window.btn1);

  EXPECT_EQ(display.errors, QStringList{"Image non valide."});
  EXPECT_EQ(Status(), "Image : good.png | Width : 20 | Height : 10");
  EXPECT_EQ(window.Image1->size(), QSize(20, 10));
  EXPECT_EQ(window.Image1->Picture(), shown);

  // The window goes on working.
  WritePng(bad, TestPicture(4, 4));
  Click(window.btn1);
  EXPECT_EQ(Status(), "Image : bad.png | Width : 4 | Height : 4");
  EXPECT_EQ(display.errors.size(), 1);
}

TEST_F(WindowTest, ExportWithoutTemplatesShowsWhichFileIsMissing) {
  TempDir empty;
  CurrentDirectory inEmpty(empty.path());
  dialog->Choose(pictures / "cat.png");
  WritePng(pictures / "cat.png", TestPicture(2, 2));
  Click(window.btn1);

  Click(window.btn2);

  EXPECT_EQ(display.errors, QStringList{QString::fromStdString("Impossible d'ouvrir le fichier \"" +
                                                               (empty / "pixdraft.dx1") + "\". " +
                                                               SystemErrorText(ENOENT) + ".")});
  EXPECT_TRUE(display.messages.isEmpty());
  EXPECT_EQ(ListFolder(pictures.path()), std::vector<std::string>{"cat.png"});
}

TEST_F(WindowTest, PictureThatFailsAtStartUpGoesToTheErrorDisplay) {
  window.OpenPictureLater(pictures / "missing.png");
  QCoreApplication::processEvents();

  EXPECT_EQ(display.errors, QStringList{QString::fromStdString("Impossible d'ouvrir le fichier \"" +
                                                               (pictures / "missing.png") + "\". " +
                                                               SystemErrorText(ENOENT) + ".")});
  EXPECT_EQ(Status(), "");
}

TEST_F(WindowTest, ExitEndsTheEventLoopWithCodeZero) {
  QMetaObject::invokeMethod(
      window.btn3, [this] { QTest::mouseClick(window.btn3, Qt::LeftButton); },
      Qt::QueuedConnection);
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_TRUE(display.errors.isEmpty());
}

TEST_F(WindowTest, ClosingTheWindowEndsTheEventLoopWithCodeZero) {
  QMetaObject::invokeMethod(
      &window, [this] { window.close(); }, Qt::QueuedConnection);
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_FALSE(window.isVisible());
}

// The real boxes, looked at instead of read by a person, and answered with Esc.
class BoxesAnsweredWithEscape : public MessageBoxes {
 public:
  struct Seen {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QStringList buttons;  // each as Describe gives it
    QString answer;       // the button Esc pressed
    bool answerIsDefault;
    int textIndent;  // from the box's left margin to the text, while shown
    int width;       // while shown
  };
  std::vector<Seen> seen;

  // What sets one button apart from another to the eye and to the keyboard.
  static QString Describe(const QMessageBox& box, QAbstractButton* button) {
    return QStringLiteral("%1, role %2, %3, standard %4")
        .arg(button->text())
        .arg(int(box.buttonRole(button)))
        .arg(button->icon().isNull() ? "no icon" : "icon")
        .arg(int(box.standardButton(button)));
  }

 protected:
  void Run(QMessageBox& box) override {
    int indent = -1, width = -1;
    QMetaObject::invokeMethod(
        &box,
        [&box, &indent, &width] {
          width = box.width();
          for (const QLabel* label : box.findChildren<QLabel*>()) {
            if (label->text() == box.text())
              indent = label->geometry().left() - box.layout()->contentsMargins().left();
          }
          QTest::keyClick(&box, Qt::Key_Escape);
        },
        Qt::QueuedConnection);
    box.exec();
    QStringList buttons;
    for (QAbstractButton* button : box.buttons()) buttons.push_back(Describe(box, button));
    const QAbstractButton* answer = box.clickedButton();
    seen.push_back({box.windowTitle(), box.text(), box.icon(), buttons,
                    answer ? answer->text() : QString(), answer && answer == box.defaultButton(),
                    indent, width});
  }
};

const QString kOkButton =
    QStringLiteral("OK, role %1, no icon, standard 0").arg(QMessageBox::AcceptRole);

// The width Qt gives a box of its own for `text` without an icon.
int PlainBoxWidth(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("PixDraft"), text);
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.show();
  QCoreApplication::processEvents();
  return box.width();
}

TEST(MessageBoxes, MessageIsCaptionedPixDraftWithoutIconOrIndentAndTheProgramsOwnOk) {
  BoxesAnsweredWithEscape boxes;
  boxes.ShowMessage(QStringLiteral("DXF File saved to : \r\n/pics/cat.dxf"));

  ASSERT_EQ(boxes.seen.size(), 1u);
  const auto& box = boxes.seen.front();
  EXPECT_EQ(box.title, "PixDraft");
  EXPECT_EQ(box.text, "DXF File saved to : \n/pics/cat.dxf");
  EXPECT_EQ(box.icon, QMessageBox::NoIcon);
  EXPECT_EQ(box.buttons, QStringList{kOkButton});
  EXPECT_EQ(box.answer, "OK");
  EXPECT_TRUE(box.answerIsDefault);
  EXPECT_EQ(box.textIndent, 0);
  // No narrower than Qt makes it: a short text leaves the window manager room for the caption.
  EXPECT_GE(box.width, PlainBoxWidth(QStringLiteral("DXF File saved to : \n/pics/cat.dxf")));
}

// Fault: the error box had Qt's standard OK, which some styles give a check-mark icon, and the
// message the program's own without one.
TEST(MessageBoxes, ErrorIsCaptionedPixDraftWithTheErrorIconAndTheSameOk) {
  BoxesAnsweredWithEscape boxes;
  boxes.ShowError(QStringLiteral("Image non valide."));

  ASSERT_EQ(boxes.seen.size(), 1u);
  const auto& box = boxes.seen.front();
  EXPECT_EQ(box.title, "PixDraft");
  EXPECT_EQ(box.text, "Image non valide.");
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  EXPECT_EQ(box.buttons, QStringList{kOkButton});
  EXPECT_EQ(box.answer, "OK");
  EXPECT_TRUE(box.answerIsDefault);
  EXPECT_GT(box.textIndent, 0);  // beside the icon
}

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
