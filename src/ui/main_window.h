// The program's only window: the picture view with the maker's link under it, the tool bar with
// "Load image", "Save to DXF", "Options" and "Exit", and the status line. Its handlers only wire
// the tool buttons to the picture session and show what it yields. An error ends its command and is
// shown in the error box; the window stays as the session left it.
#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

#include "conversion/picture_session.h"
#include "conversion/window_drawing.h"
#include "ui/image_view.h"
#include "ui/link_label.h"
#include "ui/message_display.h"
#include "ui/open_picture_dialog.h"

class QFrame;
class QGroupBox;
class QStatusBar;
class QToolButton;

namespace pixdraft {

class DecodeCancel;

// The maker's web page, opened by the link label whose caption is its host name.
inline constexpr char kMakerHost[] = "www.korvane.example";
inline constexpr char kMakerUrl[] = "http://www.korvane.example/";

// Where an export reads the header and footer templates, asked again at every export.
using TemplateFinder = std::function<TemplatePaths()>;

// The status line after a load: "Image : cat.png | Width : 256 | Height : 256", the name being
// the text after the last "/" (or a backslash on Windows).
std::string StatusText(const std::string& path, int width, int height);
// The confirmation shown after an export, the path on a line of its own, then the profile's name
// unless it is the plain drawing, then the counts file's path when there is one.
std::string ConfirmationText(const SavedDrawing& saved, const std::string& profile = "plain");

// Fixed-size 298 x 376 window titled "PixDraft", centred on the screen, without minimise or
// maximise buttons; every control sits at fixed pixel bounds. Accepts one dropped picture file,
// loaded as if chosen in the dialog.
// One command runs at a time: its dialog and message boxes are modal, and while its picture
// decodes "Load image", "Save to DXF" and "Options" are disabled and drops refused; Exit always
// acts. The drawing options are read from the user's settings (UserSettings) when the window
// opens, and kept there when the options dialog is confirmed.
class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // `messages` shows the export's confirmation and every command's error, and must outlive the
  // window. Without `templates`, each export reads them from the current directory.
  explicit TForm1(MessageDisplay& messages, TemplateFinder templates = {},
                  QWidget* parent = nullptr);
  ~TForm1() override;

  // Loads the file named by the bytes `path` as if it had been chosen in the open dialog, once the
  // event loop gets to it.
  void OpenPictureLater(const std::string& path);

  // Whether a picture is decoding: its result, shown or reported, comes through the event loop.
  bool Loading() const { return loading_ != nullptr; }

  // The controls, by the names the handlers use. `ouvrir` may be replaced, e.g. by a stand-in for
  // the person at the dialog.
  TImage* Image1;
  std::unique_ptr<TOpenPictureDialog> ouvrir;
  QGroupBox* GroupBox1;
  QWidget* tlb1;
  QToolButton* btn1;
  QToolButton* btn2;
  QList<QIcon> ImageList1;  // the tool buttons' 16 x 16 images: btn1, btn2, btn3, btn5
  QToolButton* btn5;        // "Options"
  QToolButton* btn3;
  QFrame* btn4;  // the separator before "Exit"
  QStatusBar* StatusBar1;
  QWidget* Panel1;
  TLabel* Label1;

 public slots:
  // "Load image": runs the dialog; on confirmation loads the chosen picture into the session,
  // shows its working raster and names it in the status line.
  void btn1Click();
  // "Save to DXF": exports beside the picture as the options choose, and confirms with the DXF
  // file's path; nothing at all before the first load.
  void btn2Click();
  // "Options": the drawing options dialog, showing the current picture as they draw it; kept
  // once confirmed.
  void btn5Click();
  void Label1MouseEnter();
  void Label1MouseLeave();
  void Label1Click();
  // "Exit": stops a picture's decode in progress, asks the application to quit, and returns.
  void btn3Click();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Runs one command to its end: an error it raises ends it and is shown in the error box, with
  // ErrorDisplayText's text. Every command runs through here, so no error leaves a handler.
  void Run(const std::function<void()>& command);
  // Starts decoding the picture at `path` on a thread of its own; LoadEnded shows the result.
  void LoadPicture(const std::string& path);
  void LoadEnded(const std::exception_ptr& failure);

  MessageDisplay& messages_;
  TemplateFinder templates_;
  PictureSession session_{ConversionOptions{WindowFit(), {}, {}}};
  DrawingChoice choice_;
  // While a picture decodes: its stop, and the thread that waits for its helper.
  std::shared_ptr<DecodeCancel> loading_;
  std::thread loader_;
};

}  // namespace pixdraft
