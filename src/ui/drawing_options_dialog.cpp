#include "ui/drawing_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <exception>

#include "base/error_text.h"
#include "conversion/window_drawing.h"

namespace pixdraft {
namespace {

constexpr int kPreviewSide = 256;

// The drawing as the preview shows it: its colours, left-out pixels as a light checkerboard,
// and every outline the export writes in dark grey, scaled to fit kPreviewSide.
QImage PreviewImage(const DrawingPreview& preview) {
  const Raster& raster = preview.raster;
  const double scale = double(kPreviewSide) / std::max({raster.width, raster.height, 1});
  QImage image(std::max(1, int(raster.width * scale)), std::max(1, int(raster.height * scale)),
               QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  for (int y = 0; y < raster.height; ++y) {
    for (int x = 0; x < raster.width; ++x) {
      const TColor pixel = raster.Pixel(x, y);
      const QColor shown = pixel == kNoSquare
                               ? ((x + y) % 2 ? QColor(0xE6E6E6) : QColor(Qt::white))
                               : QColor(pixel & 0xFF, pixel >> 8 & 0xFF, pixel >> 16 & 0xFF);
      painter.fillRect(QRectF(x * scale, y * scale, scale, scale), shown);
    }
  }
  // Outlines only where they leave room to see the colours between them: not around each
  // square of a plain drawing shown at two preview pixels a pixel.
  if (scale >= 4 || preview.loopEnds.size() <= 2048) {
    painter.setPen(QPen(QColor(0, 0, 0, 160), 0));
    std::uint32_t begin = 0;
    for (const std::uint32_t end : preview.loopEnds) {
      QPolygonF loop;
      for (std::uint32_t i = begin; i < end; ++i) {
        loop << QPointF(preview.corners[i].x * scale, preview.corners[i].y * scale);
      }
      painter.drawPolygon(loop);
      begin = end;
    }
  }
  return image;
}

}  // namespace

TDrawingOptionsDialog::TDrawingOptionsDialog(const DrawingChoice& choice, Raster fitted,
                                             QWidget* parent)
    : QDialog(parent), fitted_(std::move(fitted)) {
  setWindowTitle(QStringLiteral("Options"));

  profileBox = new QComboBox(this);
  for (const Profile& profile : Profiles()) {
    profileBox->addItem(QString::fromUtf8(profile.name.data(), qsizetype(profile.name.size())));
  }
  descriptionLabel = new QLabel(this);
  descriptionLabel->setWordWrap(true);

  pixelSizeEdit = new QLineEdit(this);
  unitBox = new QComboBox(this);
  unitBox->addItem(QStringLiteral("drawing units"), QString());
  for (const char* unit : {"mm", "cm", "m", "in", "ft"}) {
    unitBox->addItem(QString::fromLatin1(unit), QString::fromLatin1(unit));
  }
  auto* pixelRow = new QHBoxLayout;
  pixelRow->addWidget(pixelSizeEdit);
  pixelRow->addWidget(unitBox);

  transparentBox = new QCheckBox(QStringLiteral("Leave out the transparent background"), this);
  coloursBox = new QSpinBox(this);
  coloursBox->setRange(0, 256);
  coloursBox->setSpecialValueText(QStringLiteral("the picture's own colours"));
  coloursBox->setSuffix(QStringLiteral(" colours"));
  paletteEdit = new QLineEdit(this);
  paletteEdit->setPlaceholderText(QStringLiteral("none"));
  browseButton = new QPushButton(QStringLiteral("Browse..."), this);
  auto* paletteRow = new QHBoxLayout;
  paletteRow->addWidget(paletteEdit);
  paletteRow->addWidget(browseButton);
  layersBox = new QCheckBox(QStringLiteral("One layer per colour"), this);
  countsBox = new QCheckBox(QStringLiteral("Write the counts beside the DXF (CSV)"), this);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Profile:"), profileBox);
  form->addRow(QString(), descriptionLabel);
  form->addRow(QStringLiteral("One pixel:"), pixelRow);
  form->addRow(QString(), transparentBox);
  form->addRow(QStringLiteral("At most:"), coloursBox);
  form->addRow(QStringLiteral("Palette file:"), paletteRow);
  form->addRow(QString(), layersBox);
  form->addRow(QString(), countsBox);

  previewLabel = new QLabel(this);
  previewLabel->setFixedSize(kPreviewSide, kPreviewSide);
  previewLabel->setAlignment(Qt::AlignCenter);
  previewLabel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  entitiesLabel = new QLabel(this);
  entitiesLabel->setWordWrap(true);
  entitiesLabel->setMaximumWidth(kPreviewSide);
  auto* previewColumn = new QVBoxLayout;
  previewColumn->addWidget(previewLabel);
  previewColumn->addWidget(entitiesLabel);
  previewColumn->addStretch();

  auto* columns = new QHBoxLayout;
  columns->addLayout(form);
  columns->addLayout(previewColumn);
  buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(buttons);

  Show(choice);
  connect(profileBox, &QComboBox::currentIndexChanged, this, &TDrawingOptionsDialog::ProfileChosen);
  for (QLineEdit* edit : {pixelSizeEdit, paletteEdit}) {
    connect(edit, &QLineEdit::textChanged, this, &TDrawingOptionsDialog::UpdatePreview);
  }
  connect(unitBox, &QComboBox::currentIndexChanged, this, &TDrawingOptionsDialog::UpdatePreview);
  for (QCheckBox* box : {transparentBox, layersBox, countsBox}) {
    connect(box, &QCheckBox::toggled, this, &TDrawingOptionsDialog::UpdatePreview);
  }
  connect(coloursBox, &QSpinBox::valueChanged, this, &TDrawingOptionsDialog::UpdatePreview);
  connect(browseButton, &QPushButton::clicked, this, &TDrawingOptionsDialog::BrowsePalette);
  connect(buttons, &QDialogButtonBox::accepted, this, &TDrawingOptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TDrawingOptionsDialog::reject);
}

DrawingChoice TDrawingOptionsDialog::Choice() const {
  DrawingChoice choice;
  choice.profile = profileBox->currentText().toStdString();
  choice.pixelSize = pixelSizeEdit->text().trimmed().toStdString();
  choice.units = unitBox->currentData().toString().toStdString();
  choice.leaveOutTransparent = transparentBox->isChecked();
  choice.colours = coloursBox->value();
  choice.palette = QFile::encodeName(paletteEdit->text()).toStdString();
  choice.layers = layersBox->isChecked();
  choice.counts = countsBox->isChecked();
  return choice;
}

void TDrawingOptionsDialog::accept() {
  if (const auto problem = ChoiceProblem(Choice())) {
    entitiesLabel->setText(QString::fromStdString(*problem));
    return;
  }
  QDialog::accept();
}

void TDrawingOptionsDialog::Show(const DrawingChoice& choice) {
  showing_ = true;
  profileBox->setCurrentText(QString::fromStdString(choice.profile));
  if (const Profile* profile = FindProfile(choice.profile)) {
    descriptionLabel->setText(
        QString::fromUtf8(profile->description.data(), qsizetype(profile->description.size())));
  }
  pixelSizeEdit->setText(QString::fromStdString(choice.pixelSize));
  unitBox->setCurrentIndex(std::max(0, unitBox->findData(QString::fromStdString(choice.units))));
  transparentBox->setChecked(choice.leaveOutTransparent);
  coloursBox->setValue(choice.colours);
  paletteEdit->setText(QFile::decodeName(choice.palette.c_str()));
  layersBox->setChecked(choice.layers);
  countsBox->setChecked(choice.counts);
  showing_ = false;
  UpdatePreview();
}

void TDrawingOptionsDialog::ProfileChosen() {
  if (showing_) return;
  if (const Profile* profile = FindProfile(profileBox->currentText().toStdString())) {
    Show(ChooseProfile(Choice(), *profile));
  }
}

void TDrawingOptionsDialog::BrowsePalette() {
  const QString file =
      QFileDialog::getOpenFileName(this, QStringLiteral("Palette file"), paletteEdit->text(),
                                   QStringLiteral("Palettes (*.txt);;All files (*)"));
  if (!file.isEmpty()) paletteEdit->setText(file);
}

void TDrawingOptionsDialog::UpdatePreview() {
  if (showing_) return;
  if (fitted_.pixels.empty()) {
    previewLabel->clear();
    entitiesLabel->setText(QStringLiteral("Load a picture to see its drawing here."));
    return;
  }
  try {
    const DrawingPreview preview = PreviewOf(fitted_, OptionsFor(Choice()));
    previewLabel->setPixmap(QPixmap::fromImage(PreviewImage(preview)));
    entitiesLabel->setText(
        QLocale(QLocale::English).toString(qulonglong(preview.entities)) +
        (preview.entities == 1 ? QStringLiteral(" entity") : QStringLiteral(" entities")));
  } catch (const std::exception& error) {
    previewLabel->clear();
    entitiesLabel->setText(QString::fromStdString(ErrorDisplayText(error)));
  }
}

}  // namespace pixdraft
