#include "ui/main_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGroupBox>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QUrl>
#include <utility>

#include "base/error_text.h"
#include "decoder/picture_fit.h"
#include "picture/decoder_process.h"
#include "ui/drawing_choice_settings.h"
#include "ui/drawing_options_dialog.h"
#include "ui/local_file_name.h"

namespace pixdraft {

namespace {

// Tahoma at 11 pixels. Where it is missing, a condensed face is tried before the system's own
// choice, whose wider letters would not let "Save to DXF" fit its 66-pixel button.
QFont Tahoma11() {
  QFont font;
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed")});
  font.setPixelSize(11);
  return font;
}

// The local file a drag carries, or an empty name unless it carries exactly one.
std::string DraggedFile(const QMimeData* data) {
  const QList<QUrl> urls = data->urls();
  if (urls.size() != 1) return {};
  return LocalFileName(urls.front());
}

}  // namespace

std::string StatusText(const std::string& path, int width, int height) {
#ifdef Q_OS_WIN
  const std::size_t folder = path.find_last_of("/\\:");  // a backslash and "C:" end folders too
#else
  const std::size_t folder = path.rfind('/');
#endif
  const std::string name = path.substr(folder + 1);  // npos + 1 == 0: the whole path
  return "Image : " + name + " | Width : " + std::to_string(width) +
         " | Height : " + std::to_string(height);
}

std::string ConfirmationText(const SavedDrawing& saved, const std::string& profile) {
  std::string text = "DXF File saved to : \r\n" + saved.dxfPath;
  if (profile != "plain") text += "\r\nProfile : " + profile;
  if (saved.countsPath) text += "\r\nCounts saved to : \r\n" + *saved.countsPath;
  return text;
}

TForm1::TForm1(MessageDisplay& messages, TemplateFinder templates, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      messages_(messages),
      templates_(std::move(templates)) {
  setWindowTitle(QStringLiteral("PixDraft"));
  setFont(Tahoma11());
  setFixedSize(298, 376);
  setAcceptDrops(true);

  GroupBox1 = new QGroupBox(QStringLiteral(" Image "), this);
  GroupBox1->setGeometry(3, 3, 286, 307);

  Image1 = new TImage(GroupBox1);
  Image1->setGeometry(16, 24, 256, 256);

  Label1 = new TLabel(QString::fromLatin1(kMakerHost) + u' ', GroupBox1);
  Label1->setGeometry(5, 289, 276, 13);
  Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Label1->setFont(Tahoma11());  // its own, so the underline never reaches the window's font
  // No background of its own: the navy text stands on the group box, as labels look with the
  // platform's visual styles.
  QPalette navy = Label1->palette();
  navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
  Label1->setPalette(navy);
  Label1->setToolTip(QStringLiteral("Go to Korvane website"));
  Label1->setToolTipDuration(2500);

  Panel1 = new QWidget(this);
  Panel1->setGeometry(0, 313, 298, 41);
  QPalette white = Panel1->palette();
  white.setColor(QPalette::Window, Qt::white);
  Panel1->setPalette(white);
  Panel1->setAutoFillBackground(true);

  tlb1 = new QWidget(Panel1);
  tlb1->setGeometry(3, 2, 292, 36);

  ImageList1 = {QIcon(QStringLiteral(":/icons/load-image.png")),
                QIcon(QStringLiteral(":/icons/save-to-dxf.png")),
                QIcon(QStringLiteral(":/icons/exit.png")),
                QIcon(QStringLiteral(":/icons/options.png"))};
  const auto toolButton = [this](const char* caption, int imageIndex, int left) {
    auto* button = new QToolButton(tlb1);
    button->setText(QString::fromLatin1(caption));
    button->setIcon(ImageList1[imageIndex]);
    button->setIconSize(QSize(16, 16));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(left, 0, 66, 36);
    return button;
  };
  btn1 = toolButton("Load image", 0, 0);
  btn2 = toolButton("Save to DXF", 1, 66);
  btn5 = toolButton("Options", 3, 132);
  btn4 = new QFrame(tlb1);
  btn4->setFrameStyle(QFrame::VLine | QFrame::Sunken);
  btn4->setGeometry(198, 0, 8, 36);
  btn3 = toolButton("Exit", 2, 206);

  // It keeps the window's narrow font: in the system's wider one the status line of an ordinary
  // file name would lose its height at the bar's right edge.
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setGeometry(0, 354, 298, 22);
  StatusBar1->setSizeGripEnabled(false);

  connect(btn1, &QToolButton::clicked, this, &TForm1::btn1Click);
  connect(btn2, &QToolButton::clicked, this, &TForm1::btn2Click);
  connect(btn3, &QToolButton::clicked, this, &TForm1::btn3Click);
  connect(btn5, &QToolButton::clicked, this, &TForm1::btn5Click);
  connect(Label1, &TLabel::MouseEnter, this, &TForm1::Label1MouseEnter);
  connect(Label1, &TLabel::MouseLeave, this, &TForm1::Label1MouseLeave);
  connect(Label1, &TLabel::Click, this, &TForm1::Label1Click);

  ouvrir = std::make_unique<TOpenPictureDialog>(this);
  choice_ = ReadDrawingChoice(*UserSettings());

  // Named as the handlers name them, for tests and accessibility tools that look controls up.
  const std::pair<QWidget*, const char*> names[] = {
      {Image1, "Image1"}, {GroupBox1, "GroupBox1"}, {tlb1, "tlb1"},
      {btn1, "btn1"},     {btn2, "btn2"},           {btn3, "btn3"},
      {btn4, "btn4"},     {btn5, "btn5"},           {StatusBar1, "StatusBar1"},
      {Panel1, "Panel1"}, {Label1, "Label1"}};
  for (const auto& [control, name] : names) control->setObjectName(QString::fromLatin1(name));

  if (const QScreen* display = screen()) {
    move(display->availableGeometry().center() - rect().center());
  }
}

TForm1::~TForm1() {
  // A decode still running is stopped; its result, queued for a window no more, is dropped.
  if (loading_) loading_->Cancel();
  if (loader_.joinable()) loader_.join();
}

void TForm1::OpenPictureLater(const std::string& path) {
  const std::string fullPath = AbsolutePath(path);
  QMetaObject::invokeMethod(
      this,
      [this, fullPath] {
        Run([&] {
          ouvrir->SetFileName(DisplayName(fullPath));
          LoadPicture(fullPath);
        });
      },
      Qt::QueuedConnection);
}

void TForm1::btn1Click() {
  Run([this] {
    if (ouvrir->Execute()) LoadPicture(LocalFileName(ouvrir->FileName()));
  });
}

void TForm1::btn2Click() {
  Run([this] {
    if (session_.CurrentImagePath().empty()) return;
    const SavedDrawing saved = SaveBeside(session_.raster(), session_.CurrentImagePath(),
                                          templates_ ? templates_() : TemplatePaths{}, choice_);
    messages_.ShowMessage(DisplayName(ConfirmationText(saved, choice_.profile)));
    repaint();
  });
}

void TForm1::btn5Click() {
  Run([this] {
    TDrawingOptionsDialog dialog(choice_, session_.raster(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    choice_ = dialog.Choice();
    WriteDrawingChoice(*UserSettings(), choice_);
  });
}

void TForm1::Label1MouseEnter() {
  QFont font = Label1->font();
  font.setUnderline(true);
  Label1->setFont(font);
  Label1->setCursor(Qt::PointingHandCursor);
}

void TForm1::Label1MouseLeave() {
  QFont font = Label1->font();
  font.setUnderline(false);
  Label1->setFont(font);
  Label1->unsetCursor();
}

void TForm1::Label1Click() { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kMakerUrl))); }

void TForm1::btn3Click() {
  Run([this] {
    // Even while a picture loads: its decode stops, and the program ends.
    if (loading_ != nullptr) loading_->Cancel();
    QCoreApplication::quit();
  });
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  // A drop is "Load image" by other means: taken only when a click on it would be.
  if (btn1->isEnabled() && QApplication::activeModalWidget() == nullptr &&
      !DraggedFile(event->mimeData()).empty()) {
    event->acceptProposedAction();
  }
}

void TForm1::dropEvent(QDropEvent* event) {
  const std::string path = DraggedFile(event->mimeData());
  if (path.empty()) return;
  event->acceptProposedAction();
  // Later, so the drag ends now and an error box does not keep the other program waiting.
  OpenPictureLater(path);
}

void TForm1::Run(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& error) {
    messages_.ShowError(QString::fromStdString(ErrorDisplayText(error)));
  }
}

void TForm1::LoadPicture(const std::string& path) {
  // The picture decodes in its helper process, waited for on a thread of its own, and the result
  // comes back through the event queue: the window goes on painting, and Exit (or the window's
  // end) stops the decode. Nothing else may start meanwhile.
  loading_ = std::make_shared<DecodeCancel>();
  for (QToolButton* button : {btn1, btn2, btn5}) button->setEnabled(false);
  loader_ = std::thread([this, path, cancel = loading_] {
    std::exception_ptr failure;
    try {
      session_.Load(path, cancel.get());
    } catch (...) {
      failure = std::current_exception();
    }
    QMetaObject::invokeMethod(
        this, [this, failure] { LoadEnded(failure); }, Qt::QueuedConnection);
  });
}

void TForm1::LoadEnded(const std::exception_ptr& failure) {
  loader_.join();
  loading_.reset();
  for (QToolButton* button : {btn1, btn2, btn5}) button->setEnabled(true);
  Run([&] {
    if (failure) {
      try {
        std::rethrow_exception(failure);
      } catch (const DecodeCancelled&) {
        return;
      }
    }
    Image1->SetPicture(RasterToImage(session_.raster()));
    const Raster& raster = session_.raster();
    StatusBar1->showMessage(
        DisplayName(StatusText(session_.CurrentImagePath(), raster.width, raster.height)));
  });
}

}  // namespace pixdraft
