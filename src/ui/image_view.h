// The picture view of the main window.
#pragma once

#include <QImage>
#include <QWidget>

namespace pixdraft {

// Shows one picture at its natural size from its top-left corner, without scaling or centring,
// and takes the picture's size, up to 512 x 512 (a larger picture is cut at the right and
// bottom). Before the first picture it draws nothing and keeps the size it was given.
class TImage : public QWidget {
 public:
  static constexpr int kMaxSide = 512;

  explicit TImage(QWidget* parent);

  const QImage& Picture() const { return picture_; }
  // Keeps its own copy of `picture` and resizes to it.
  void SetPicture(const QImage& picture);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace pixdraft
