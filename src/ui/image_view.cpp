#include "ui/image_view.h"

#include <QPainter>
#include <algorithm>

namespace pixdraft {

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::SetPicture(const QImage& picture) {
  picture_ = picture;
  resize(std::min(picture.width(), kMaxSide), std::min(picture.height(), kMaxSide));
  update();
}

void TImage::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter(this).drawImage(0, 0, picture_);
}

}  // namespace pixdraft
