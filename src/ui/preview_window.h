// The picture area of the open dialog's preview, and the "Aperçu" window that shows the picture
// larger.
#pragma once

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPixmap>

namespace pixdraft {

// Shows a picture scaled to fit, keeping its proportions, centred; without one, the text "(vide)".
class PicturePane : public QLabel {
  Q_OBJECT

 public:
  explicit PicturePane(QWidget* parent = nullptr);

  // A null picture shows "(vide)".
  void SetPicture(const QImage& picture);
  const QImage& picture() const { return picture_; }

 signals:
  void DoubleClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QImage picture_;
  QPixmap scaled_;  // picture_ at the size last painted
};

// The size of the "Aperçu" window's inside for a picture of `picture` pixels on a screen of
// `screen` pixels: the picture with a margin of 5 pixels all round, at most three quarters of
// the screen's width and height.
QSize PreviewWindowSize(QSize picture, QSize screen);

// The modal, resizable "Aperçu" window: the picture scaled to the window, keeping its
// proportions, centred. Opens centred on the screen; Esc closes it.
class PreviewWindow : public QDialog {
  Q_OBJECT

 public:
  // `size` is the picture's own size, which `picture` may show reduced.
  PreviewWindow(const QImage& picture, QSize size, QWidget* parent);
};

}  // namespace pixdraft
