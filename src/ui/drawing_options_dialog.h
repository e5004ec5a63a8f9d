// The "Options" dialog: the profile and the few options a person sets beside it, with a look at
// the drawing they make of the current picture before anything is saved. It only shows and
// wires: what a choice means is decided in conversion/.
#pragma once

#include <QDialog>
#include <utility>

#include "colour/raster.h"
#include "conversion/drawing_choice.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace pixdraft {

class TDrawingOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows `choice`; `fitted` is the window's raster (WindowFit), empty before any picture: a
  // copy, which a picture loading meanwhile leaves alone.
  TDrawingOptionsDialog(const DrawingChoice& choice, Raster fitted, QWidget* parent = nullptr);

  // The choice as the controls show it.
  DrawingChoice Choice() const;

  // Refuses a choice that cannot be drawn, saying why under the controls.
  void accept() override;

  QComboBox* profileBox;
  QLabel* descriptionLabel;
  QLineEdit* pixelSizeEdit;
  QComboBox* unitBox;  // the unit's name, or "" for the template's own
  QCheckBox* transparentBox;
  QSpinBox* coloursBox;  // 0: the picture's own colours
  QLineEdit* paletteEdit;
  QPushButton* browseButton;
  QCheckBox* layersBox;
  QCheckBox* countsBox;
  QLabel* previewLabel;   // the drawing of the current picture
  QLabel* entitiesLabel;  // "1,234 entities", or why there is no drawing
  QDialogButtonBox* buttons;

 private:
  void Show(const DrawingChoice& choice);
  void ProfileChosen();
  void BrowsePalette();
  void UpdatePreview();

  const Raster fitted_;
  bool showing_ = false;  // while Show sets the controls: no preview for each
};

}  // namespace pixdraft
