// The main window on the offscreen platform: where every control sits, and what "Load image",
// "Save to DXF", "Exit", the link label and a dropped file show, errors included.
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QEnterEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QUrl>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>

#include "base/errors.h"
#include "qt_application.h"
#include "temp_dir.h"
#include "ui/drawing_choice_settings.h"
#include "ui/drawing_options_dialog.h"
#include "ui/window_test_support.h"

namespace pixdraft {
namespace {

testing::Environment* const kQt =
    testing::AddGlobalTestEnvironment(new QtApplication<QApplication>);

TEST(WindowTexts, StatusNamesTheFileAfterTheLastSlash) {
  EXPECT_EQ(StatusText("/pics/leaf.png", 256, 256),
            "Image : leaf.png | Width : 256 | Height : 256");
  EXPECT_EQ(StatusText("/pics.old/a b.tar.gz", 1, 12),
            "Image : a b.tar.gz | Width : 1 | Height : 12");
  EXPECT_EQ(StatusText("leaf.png", 3, 2), "Image : leaf.png | Width : 3 | Height : 2");
  EXPECT_EQ(StatusText("/été/feuille\xFF.png", 0, 40),
            "Image : feuille\xFF.png | Width : 0 | Height : 40");
}

// The user's settings in a folder of their own, empty: every window starts with nothing chosen.
class FreshSettings {
 public:
  FreshSettings() {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(folder_.path()));
  }

 private:
  TempDir folder_;
};

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    auto chosen = std::make_unique<ChosenFile>(&window);
    dialog = chosen.get();
    window.ouvrir = std::move(chosen);
    window.show();
  }

  // The status line as shown.
  std::string Status() const { return window.StatusBar1->currentMessage().toStdString(); }

  // Lets the events come until the picture being decoded, if any, is shown or its error reported.
  void Settle() {
    while (window.Loading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }

  // Writes `picture` into the pictures folder as `name` and loads it through the dialog.
  std::string Load(const std::string& name, const QImage& picture) {
    const std::string path = pictures / name;
    WritePng(path, picture);
    dialog->Choose(path);
    Click(window.btn1);
    Settle();
    return path;
  }

  FreshSettings settings;
  TempDir pictures;
  RecordingMessages messages;
  TForm1 window{messages};
  ChosenFile* dialog = nullptr;
};

// What a user sees of the window: every control whole inside its frame, the picture at its full
// 256 x 256, a click at the middle of each button reaching that button and nothing over it.
TEST_F(MainWindowTest, EveryControlSitsAtItsBounds) {
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_EQ(window.Image1->size(), QSize(256, 256));
  const QToolButton* buttons[] = {window.btn1, window.btn2, window.btn5, window.btn3};
  const QWidget* controls[] = {window.Image1, window.Label1, window.StatusBar1, buttons[0],
                               buttons[1],    buttons[2],    buttons[3]};
  for (const QWidget* control : controls) {
    EXPECT_TRUE(control->isVisible()) << control->objectName().toStdString();
    // Whole inside each of its parents, which would cut off what passes their edge.
    for (const QWidget* part = control; part != &window; part = part->parentWidget()) {
      EXPECT_TRUE(part->parentWidget()->rect().contains(part->geometry()))
          << part->objectName().toStdString();
    }
  }
  for (const QToolButton* button : buttons) {
    const QPoint middle = button->mapTo(&window, button->rect().center());
    EXPECT_EQ(window.childAt(middle), button) << button->text().toStdString();
  }
}

// At first: four buttons a user tells apart by their captions and icons, and no picture.
TEST_F(MainWindowTest, ShowsItsCaptionsAndImagesAndNoPictureAtFirst) {
  std::set<QString> captions;
  std::set<QByteArray> icons;
  for (const QToolButton* button : {window.btn1, window.btn2, window.btn5, window.btn3}) {
    captions.insert(button->text());
    const QImage icon = button->icon().pixmap(button->iconSize()).toImage();
    EXPECT_FALSE(icon.isNull()) << button->text().toStdString();
    icons.insert(QByteArray(reinterpret_cast<const char*>(icon.constBits()), icon.sizeInBytes()));
  }
  EXPECT_EQ(captions, (std::set<QString>{"Load image", "Save to DXF", "Options", "Exit"}));
  EXPECT_EQ(icons.size(), 4u);
  EXPECT_EQ(Status(), "");
  EXPECT_TRUE(window.Image1->Picture().isNull());
}

TEST_F(MainWindowTest, LinkLabelIsUnderlinedWithTheHandWhileTheMouseIsOnIt) {
  const auto look = [&] {
    return std::pair(window.Label1->font().underline(),
                     window.Label1->testAttribute(Qt::WA_SetCursor)
                         ? window.Label1->cursor().shape()
                         : Qt::ArrowCursor);
  };
  EXPECT_EQ(look(), std::pair(false, Qt::ArrowCursor));

  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), window.Label1->mapToGlobal(QPointF(2, 2)));
  QApplication::sendEvent(window.Label1, &enter);
  EXPECT_EQ(look(), std::pair(true, Qt::PointingHandCursor));
  EXPECT_FALSE(window.font().underline());

  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(window.Label1, &leave);
  EXPECT_EQ(look(), std::pair(false, Qt::ArrowCursor));
}

// Stands in for the browser.
class Browser : public QObject {
  Q_OBJECT

 public slots:
  void Open(const QUrl& url) { opened.push_back(url); }

 public:
  QList<QUrl> opened;
};

TEST_F(MainWindowTest, ClickingTheLinkOpensTheMakersPage) {
  Browser browser;
  QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "Open");
  QTest::mouseClick(window.Label1, Qt::LeftButton);
  QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

  EXPECT_EQ(browser.opened, QList<QUrl>{QUrl(QStringLiteral("http://www.korvane.example/"))});
  EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(MainWindowTest, SaveBeforeAnyLoadDoesNothing) {
  TempDir work;
  CopyTemplates(work.path());
  CurrentDirectory inWork(work.path());

  Click(window.btn2);

  EXPECT_TRUE(messages.messages.isEmpty());
  EXPECT_EQ(ListFolder(work.path()), (std::vector<std::string>{"pixdraft.dx1", "pixdraft.dx2"}));
  EXPECT_TRUE(ListFolder(pictures.path()).empty());
  EXPECT_EQ(Status(), "");
}

TEST_F(MainWindowTest, LoadShowsTheRasterUnscaledFromTheTopLeftAndNamesIt) {
  const QImage picture = TestPicture(40, 30);
  const std::string path = Load("cat.png", picture);

  EXPECT_EQ(Status(), "Image : cat.png | Width : 40 | Height : 30");
  EXPECT_EQ(window.Image1->geometry(), QRect(16, 24, 40, 30));
  EXPECT_EQ(window.Image1->grab().toImage().convertToFormat(QImage::Format_RGB32), picture);
  EXPECT_EQ(window.ouvrir->FileName().toStdString(), path);
  EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(MainWindowTest, SaveWritesTheDxfBesideThePictureAndConfirmsWithItsPath) {
  TempDir work;
  CopyTemplates(work.path());
  CurrentDirectory inWork(work.path());
  Load("cat.png", TestPicture(3, 2));

  Click(window.btn2);

  const std::string dxf = pictures / "cat.dxf";
  EXPECT_EQ(messages.messages,
            QStringList{QString::fromStdString("DXF File saved to : \r\n" + dxf)});
  const std::string written = ReadFile(dxf);
  const std::string header = ReadFile(work / "pixdraft.dx1");
  const std::string footer = ReadFile(work / "pixdraft.dx2");
  EXPECT_EQ(written.substr(0, header.size()), header);
  EXPECT_TRUE(written.ends_with(footer));
  EXPECT_EQ(Status(), "Image : cat.png | Width : 3 | Height : 2");
}

// The profiles' logo (tests/data/profiles) and its drawings.
std::string ProfileFile(const std::string& name) {
  return ReadFile(std::string(PIXDRAFT_PROFILES_DIR "/") + name);
}

// Fault: the picture fitted for the options lost its white transparent squares by default.
TEST_F(MainWindowTest, SaveWithNothingChosenWritesThePlainDrawing) {
  TempDir work;
  CopyTemplates(work.path());
  CurrentDirectory inWork(work.path());
  WriteFile(pictures / "logo.png", ProfileFile("logo.png"));
  dialog->Choose(pictures / "logo.png");
  Click(window.btn1);
  Settle();

  Click(window.btn2);

  EXPECT_EQ(ReadFile(pictures / "logo.dxf"), ProfileFile("plain.dxf"));
  EXPECT_EQ(messages.messages, QStringList{QString::fromStdString("DXF File saved to : \r\n" +
                                                                  pictures / "logo.dxf")});
}

// The options dialog shows the drawing before it is saved, refuses what cannot be drawn, and its
// choice is kept for the next run's saves.
TEST_F(MainWindowTest, OptionsShowTheDrawingAndTheirChoiceReachesTheNextRunsSave) {
  TempDir work;
  CopyTemplates(work.path());
  CurrentDirectory inWork(work.path());
  WriteFile(pictures / "logo.png", ProfileFile("logo.png"));
  dialog->Choose(pictures / "logo.png");
  Click(window.btn1);
  Settle();
  QString refused, entities;
  QImage preview;
  QTimer::singleShot(0, [&] {
    auto* options = qobject_cast<TDrawingOptionsDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(options, nullptr);
    options->profileBox->setCurrentText(QStringLiteral("mosaic"));
    options->buttons->button(QDialogButtonBox::Ok)->click();
    refused = options->entitiesLabel->text();
    options->profileBox->setCurrentText(QStringLiteral("laser"));
    entities = options->entitiesLabel->text();
    preview = options->previewLabel->pixmap().toImage();
    options->buttons->button(QDialogButtonBox::Ok)->click();
  });
  Click(window.btn5);
  EXPECT_EQ(refused, "The mosaic profile needs a palette file.");
  EXPECT_EQ(entities, "3 entities");
  // 64 preview pixels a pixel: red at (1, 1); the white background left out, grey at (1, 0).
  EXPECT_EQ(preview.pixel(96, 96), qRgb(200, 16, 46));
  EXPECT_EQ(preview.pixel(96, 32), qRgb(0xE6, 0xE6, 0xE6));

  RecordingMessages nextMessages;
  TForm1 next(nextMessages);
  next.OpenPictureLater(pictures / "logo.png");
  QCoreApplication::processEvents();
  while (next.Loading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  Click(next.btn2);

  EXPECT_EQ(ReadFile(pictures / "logo.dxf"), ProfileFile("laser.dxf"));
  EXPECT_EQ(nextMessages.messages,
            QStringList{QString::fromStdString("DXF File saved to : \r\n" + pictures / "logo.dxf" +
                                               "\r\nProfile : laser")});
}

TEST_F(MainWindowTest, ViewTakesItsPictureSizeUpTo512) {
  window.Image1->SetPicture(TestPicture(600, 520));
  EXPECT_EQ(window.Image1->size(), QSize(512, 512));
  window.Image1->SetPicture(TestPicture(70, 9));
  EXPECT_EQ(window.Image1->size(), QSize(70, 9));
}

// A drop as the platform delivers it: the enter, then the drop itself.
bool Drop(QWidget& target, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&target, &drop);
  QCoreApplication::processEvents();
  return drop.isAccepted();
}

TEST_F(MainWindowTest, DroppedPictureLoadsAsIfChosenInTheDialog) {
  const std::string path = pictures / "dropped.png";
  WritePng(path, TestPicture(12, 8));
  const QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));

  EXPECT_FALSE(Drop(window, {url, url}));
  EXPECT_FALSE(Drop(window, {QUrl(QStringLiteral("http://www.korvane.example/a.png"))}));
  EXPECT_EQ(Status(), "");

  EXPECT_TRUE(Drop(window, {url}));
  Settle();
  EXPECT_EQ(Status(), "Image : dropped.png | Width : 12 | Height : 8");
  EXPECT_EQ(window.ouvrir->FileName().toStdString(), path);
}

TEST_F(MainWindowTest, PictureNamedOnTheCommandLineLoadsByItsFullPath) {
  WritePng(pictures / "named.png", TestPicture(5, 6));
  CurrentDirectory inPictures(pictures.path());

  window.OpenPictureLater("named.png");
  EXPECT_EQ(Status(), "");  // not before the event loop gets to it
  QCoreApplication::processEvents();
  Settle();

  EXPECT_EQ(Status(), "Image : named.png | Width : 5 | Height : 6");
  EXPECT_EQ(window.ouvrir->FileName().toStdString(), pictures / "named.png");
}

// Fault: a click or a drop while a picture decoded started a second command inside the first.
TEST_F(MainWindowTest, NothingButExitStartsWhileAPictureDecodes) {
  Load("cat.png", TestPicture(3, 2));
  WritePng(pictures / "dog.png", TestPicture(5, 5));
  std::vector<bool> enabled;
  bool dropped = true;

  window.OpenPictureLater(pictures / "dog.png");
  QMetaObject::invokeMethod(
      &window,
      [&] {  // while the picture decodes, the load having come first
        Click(window.btn1);
        Click(window.btn2);
        dropped = Drop(window, {QUrl::fromLocalFile(QString::fromStdString(pictures / "cat.png"))});
        enabled = {window.btn1->isEnabled(), window.btn2->isEnabled(), window.btn5->isEnabled(),
                   window.btn3->isEnabled()};
      },
      Qt::QueuedConnection);
  QCoreApplication::processEvents();
  Settle();

  EXPECT_EQ(enabled, (std::vector<bool>{false, false, false, true}));
  EXPECT_FALSE(dropped);
  EXPECT_EQ(dialog->executed, 1);
  EXPECT_TRUE(messages.messages.isEmpty() && messages.errors.isEmpty());  // no save, no error
  EXPECT_EQ(Status(), "Image : dog.png | Width : 5 | Height : 5");
  EXPECT_TRUE(window.btn1->isEnabled() && window.btn2->isEnabled());
}

// Fault: a name that is not UTF-8 came back from QString with U+FFFD in place of its byte, and
// named no file.
TEST_F(MainWindowTest, NamesThatAreNotUtf8LoadFromEveryEntry) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows names are UTF-16 text, never stray bytes";
#endif
  const std::string path = pictures / "bad\xFF.png";
  WritePng(pictures / "good.png", TestPicture(4, 3));
  std::filesystem::rename(pictures / "good.png", path);
  const std::string status = "Image : bad\uFFFD.png | Width : 4 | Height : 3";
  const std::pair<const char*, std::function<void()>> entries[] = {
      {"command line", [&] { window.OpenPictureLater(path); }},
      {"drop",
       [&] {
         Drop(window, {QUrl(QString::fromLatin1(
                          "file://" + QByteArray::fromStdString(path).toPercentEncoding("/")))});
       }},
      {"dialog", [&] {
         dialog->Choose(path);
         Click(window.btn1);
       }}};
  for (const auto& [entry, open] : entries) {
    SCOPED_TRACE(entry);
    window.StatusBar1->clearMessage();
    open();
    QCoreApplication::processEvents();
    Settle();
    EXPECT_EQ(window.StatusBar1->currentMessage(), QString::fromUtf8(status.c_str()));
  }
}

TEST_F(MainWindowTest, FailedLoadShowsTheErrorAndKeepsThePreviousPicture) {
  Load("good.png", TestPicture(20, 10));
  const QImage shown = window.Image1->Picture();

  const std::string bad = pictures / "bad.png";
  WriteFile(bad, "not a picture");
  dialog->Choose(bad);
  Click(window.btn1);
  Settle();

  EXPECT_EQ(messages.errors, QStringList{"Image non valide."});
  EXPECT_EQ(Status(), "Image : good.png | Width : 20 | Height : 10");
  EXPECT_EQ(window.Image1->size(), QSize(20, 10));
  EXPECT_EQ(window.Image1->Picture(), shown);

  // The window goes on working.
  WritePng(bad, TestPicture(4, 4));
  Click(window.btn1);
  Settle();
  EXPECT_EQ(Status(), "Image : bad.png | Width : 4 | Height : 4");
  EXPECT_EQ(messages.errors.size(), 1);
}

// The picture named on the command line and the export show their errors too: here a file that
// is missing, the picture and the header template.
TEST_F(MainWindowTest, StartUpLoadAndSaveShowWhichFileIsMissing) {
  TempDir empty;
  CurrentDirectory inEmpty(empty.path());
  window.OpenPictureLater(pictures / "missing.png");
  QCoreApplication::processEvents();
  Settle();
  EXPECT_EQ(Status(), "");
  Load("cat.png", TestPicture(2, 2));
  Click(window.btn2);

  const auto missing = [](const std::string& path) {
    return QString::fromStdString("Impossible d'ouvrir le fichier \"" + path + "\". " +
                                  SystemErrorText(ENOENT) + ".");
  };
  EXPECT_EQ(messages.errors,
            (QStringList{missing(pictures / "missing.png"), missing(empty / "pixdraft.dx1")}));
  EXPECT_TRUE(messages.messages.isEmpty());
  EXPECT_EQ(ListFolder(pictures.path()), std::vector<std::string>{"cat.png"});
}

TEST_F(MainWindowTest, ExitEndsTheEventLoopWithCodeZero) {
  QMetaObject::invokeMethod(
      window.btn3, [this] { QTest::mouseClick(window.btn3, Qt::LeftButton); },
      Qt::QueuedConnection);
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheEventLoopWithCodeZero) {
  QMetaObject::invokeMethod(
      &window, [this] { window.close(); }, Qt::QueuedConnection);
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace pixdraft

#include "main_window_test.moc"
