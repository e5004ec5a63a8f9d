#include "ui/link_label.h"

#include <QMouseEvent>

namespace pixdraft {

void TLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  emit MouseEnter();
}

void TLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  emit MouseLeave();
}

void TLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QLabel::mousePressEvent(event);
  pressed_ = true;
  event->accept();
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QLabel::mouseReleaseEvent(event);
  const bool wasPressed = pressed_;
  pressed_ = false;
  event->accept();
  if (wasPressed && rect().contains(event->position().toPoint())) emit Click();
}

}  // namespace pixdraft
