#include "ui/preview_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace pixdraft {

namespace {

constexpr int kMargin = 5;

}  // namespace

PicturePane::PicturePane(QWidget* parent) : QLabel(u"(vide)"_s, parent) {
  setAlignment(Qt::AlignCenter);
  setMinimumSize(1, 1);
}

void PicturePane::SetPicture(const QImage& picture) {
  picture_ = picture;
  scaled_ = QPixmap();
  setText(picture_.isNull() ? u"(vide)"_s : QString());
  update();
}

void PicturePane::paintEvent(QPaintEvent* event) {
  if (picture_.isNull()) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  drawFrame(&painter);
  const QRect area = contentsRect();
  const QSize size = picture_.size().scaled(area.size(), Qt::KeepAspectRatio);
  if (size.isEmpty()) return;
  if (scaled_.size() != size) {
    // Enlarged pixels stay sharp squares, as the drawing will show them; reductions are smoothed.
    const Qt::TransformationMode mode =
        size.width() > picture_.width() ? Qt::FastTransformation : Qt::SmoothTransformation;
    scaled_ = QPixmap::fromImage(picture_.scaled(size, Qt::IgnoreAspectRatio, mode));
  }
  painter.drawPixmap(QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, size, area), scaled_);
}

void PicturePane::mouseDoubleClickEvent(QMouseEvent* event) {
  QLabel::mouseDoubleClickEvent(event);
  emit DoubleClicked();
}

QSize PreviewWindowSize(QSize picture, QSize screen) {
  const QSize wanted = picture + QSize(2 * kMargin, 2 * kMargin);
  const QSize largest(screen.width() * 3 / 4, screen.height() * 3 / 4);
  return wanted.boundedTo(largest);
}

PreviewWindow::PreviewWindow(const QImage& picture, QSize size, QWidget* parent)
    : QDialog(parent, Qt::Tool) {
  setWindowTitle(u"Aperçu"_s);
  setModal(true);
  auto* pane = new PicturePane(this);
  pane->SetPicture(picture);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->addWidget(pane);
  const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
  const QRect area = screen->geometry();
  setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter,
                                  PreviewWindowSize(size, area.size()), area));
}

}  // namespace pixdraft
