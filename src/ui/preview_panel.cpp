#include "ui/preview_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/preview_window.h"

using namespace Qt::StringLiterals;

namespace pixdraft {

namespace {

constexpr int kPaneSide = 160;

}  // namespace

PreviewPanel::PreviewPanel(PreviewDecoder& decoder, QWidget* parent)
    : QWidget(parent),
      decoder_(decoder),
      caption_(new QLabel(this)),
      previewButton_(new QToolButton(this)),
      pane_(new PicturePane(this)) {
  caption_->setObjectName(u"previewCaption"_s);
  previewButton_->setObjectName(u"previewButton"_s);
  previewButton_->setToolTip(u"Aperçu"_s);
  previewButton_->setIcon(
      QIcon::fromTheme(u"zoom-in"_s, style()->standardIcon(QStyle::SP_FileDialogContentsView)));
  previewButton_->setAutoRaise(true);
  pane_->setObjectName(u"previewPane"_s);
  pane_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  pane_->setMinimumSize(kPaneSide, kPaneSide);
  pane_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);

  auto* top = new QHBoxLayout;
  top->addWidget(caption_, 1);
  top->addWidget(previewButton_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(top);
  layout->addWidget(pane_, 1);

  connect(previewButton_, &QToolButton::clicked, this, &PreviewPanel::OpenPreviewWindow);
  connect(pane_, &PicturePane::DoubleClicked, this, &PreviewPanel::OpenPreviewWindow);
  Show({});
}

PreviewPanel::~PreviewPanel() { decoder_.Cancel(); }

void PreviewPanel::ShowFile(const QString& path) {
  Show({});
  if (path.isEmpty()) {
    decoder_.Cancel();
    emit Settled();
    return;
  }
  decoder_.Request(path, this, [this](const PreviewDecoder::Result& result) {
    Show(result);
    emit Settled();
  });
}

void PreviewPanel::Show(const PreviewDecoder::Result& result) {
  const bool shown = !result.picture.isNull();
  size_ = shown ? result.size : QSize();
  caption_->setText(shown ? u" (%1x%2)"_s.arg(size_.width()).arg(size_.height()) : u"Image :"_s);
  pane_->SetPicture(result.picture);
  previewButton_->setEnabled(shown);
}

void PreviewPanel::OpenPreviewWindow() {
  if (pane_->picture().isNull()) return;
  PreviewWindow window(pane_->picture(), size_, this);
  window.exec();
}

}  // namespace pixdraft
