// Stand-ins for the person at the main window, and the files its commands work on.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <string>

#include "temp_dir.h"
#include "ui/message_display.h"
#include "ui/open_picture_dialog.h"

namespace pixdraft {

// Delivers what waits in the queue from a loop of its own, as a modal dialog or box does while it
// is up: a plain processEvents would hold back the events queued before it.
inline void RunModalLoopOnce() {
  QEventLoop loop;
  QTimer::singleShot(0, &loop, &QEventLoop::quit);
  loop.exec();
}

// Reads the messages instead of a person: keeps every text in the order shown. Events go on
// being delivered while a message is up, as in a real box's modal loop.
class RecordingMessages : public MessageDisplay {
 public:
  void ShowMessage(const QString& text) override {
    messages.push_back(text);
    RunModalLoopOnce();
  }
  void ShowError(const QString& text) override {
    errors.push_back(text);
    RunModalLoopOnce();
  }

  QStringList messages;
  QStringList errors;
};

// The person at the open dialog: confirms the file named by Choose, or cancels when none is.
class ChosenFile : public TOpenPictureDialog {
 public:
  using TOpenPictureDialog::TOpenPictureDialog;

  void Choose(const std::string& path) { choice_ = QFile::decodeName(path.c_str()); }
  void Cancel() { choice_.clear(); }

  // Delivers events while it is up, as the real dialog's modal loop does.
  bool Execute() override {
    ++executed;
    RunModalLoopOnce();
    if (choice_.isEmpty()) return false;
    fileName_ = choice_;
    return true;
  }

  int executed = 0;

 private:
  QString choice_;
};

// Clicks `button` and lets the command it starts run to its end.
inline void Click(QToolButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
  QCoreApplication::processEvents();
}

// Copies the program's header and footer templates into `folder`.
inline void CopyTemplates(const std::string& folder) {
  for (const char* name : {"pixdraft.dx1", "pixdraft.dx2"}) {
    std::filesystem::copy_file(std::string(PIXDRAFT_TEMPLATES_DIR) + "/" + name,
                               folder + "/" + name);
  }
}

// An opaque picture whose every pixel differs from its neighbours, so a shift or a scaling shows.
inline QImage TestPicture(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.setPixel(x, y, qRgb(x * 5 % 256, y * 7 % 256, 90));
  }
  return picture;
}

inline void WritePng(const std::string& path, const QImage& picture) {
  ASSERT_TRUE(picture.save(QString::fromStdString(path), "PNG")) << path;
}

}  // namespace pixdraft
