// The preview at the right of the open-picture dialog: a caption with the selected picture's
// size, the picture scaled to fit, and a button that opens it in the "Aperçu" window.
#pragma once

#include <QSize>
#include <QWidget>

#include "ui/preview_decoder.h"

class QLabel;
class QToolButton;

namespace pixdraft {

class PicturePane;

class PreviewPanel : public QWidget {
  Q_OBJECT

 public:
  // `decoder` must outlive the panel.
  explicit PreviewPanel(PreviewDecoder& decoder, QWidget* parent = nullptr);
  ~PreviewPanel() override;

  // Empties the preview and starts decoding the file at `path` for it; an empty path, a folder
  // or a file that does not decode leaves it empty.
  void ShowFile(const QString& path);

 signals:
  // The preview for the file last given to ShowFile is in place, picture or not.
  void Settled();

 private:
  void Show(const PreviewDecoder::Result& result);
  void OpenPreviewWindow();

  PreviewDecoder& decoder_;
  QLabel* caption_;
  QToolButton* previewButton_;
  PicturePane* pane_;
  QSize size_;  // the shown picture's own size
};

}  // namespace pixdraft
