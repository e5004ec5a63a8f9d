// The program's messages as real Qt message boxes, owned by the active window.
#pragma once

#include "ui/message_display.h"

class QMessageBox;

namespace pixdraft {

class MessageBoxes : public MessageDisplay {
 public:
  void ShowMessage(const QString& text) override;
  void ShowError(const QString& text) override;

 protected:
  // Runs the finished box modally. The one place where the boxes meet the person, so tests can
  // look at a box instead of waiting for a click.
  virtual void Run(QMessageBox& box);
};

}  // namespace pixdraft
