// A label that reports the mouse entering, leaving and clicking it, for the main window's link.
#pragma once

#include <QLabel>

namespace pixdraft {

class TLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void MouseEnter();
  void MouseLeave();
  // A left-button press and release both on the label.
  void Click();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace pixdraft
