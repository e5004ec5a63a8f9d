// Stand-ins for the person at the main window, and the files its commands work on.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <string>

#include "message_display.h"
#include "open_picture_dialog.h"
#include "temp_dir.h"

namespace pixdraft {

// Reads the messages instead of a person: keeps every text in the order shown.
class RecordingMessages : public MessageDisplay {
 public:
  void ShowMessage(const QString& text) override { messages.push_back(text); }
  void ShowError(const QString& text) override { errors.push_back(text); }

  QStringList messages;
  QStringList errors;
};

// The person at the open dialog: confirms the file named by Choose, or cancels when none is.
class ChosenFile : public TOpenPictureDialog {
 public:
  using TOpenPictureDialog::TOpenPictureDialog;

  void Choose(const std::string& path) { choice_ = QString::fromStdString(path); }
  void Cancel() { choice_.clear(); }

  bool Execute() override {
    if (choice_.isEmpty()) return false;
    fileName_ = choice_;
    return true;
  }

 private:
  QString choice_;
};

// Clicks `button` and lets the command it starts run to its end.
inline void Click(QToolButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
  QCoreApplication::processEvents();
}

// Makes `folder` the current directory, where the export looks for its templates, until the end
// of the scope.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::string& folder)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentDirectory() { std::filesystem::current_path(previous_); }
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

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
