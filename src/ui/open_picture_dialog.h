// The open-picture dialog of "Load image": the registered picture types as its filter, a preview
// of the selected picture, and the last path and type entry remembered for the run.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "ui/picture_formats.h"

class QWidget;

namespace pixdraft {

class PreviewDecoder;

class TOpenPictureDialog {
 public:
  // `owner` owns the dialog, and takes no input while it is shown: the dialog is modal.
  explicit TOpenPictureDialog(QWidget* owner);
  virtual ~TOpenPictureDialog();
  TOpenPictureDialog(const TOpenPictureDialog&) = delete;
  TOpenPictureDialog& operator=(const TOpenPictureDialog&) = delete;

  // Shows the dialog modally. True when the user confirmed a file: FileName() then holds its
  // full path and FilterIndex() the type entry selected at that moment. A cancel changes neither.
  // Virtual so tests can stand in for the person at the dialog.
  virtual bool Execute();

  const QString& FileName() const { return fileName_; }
  void SetFileName(const QString& fileName) { fileName_ = fileName; }
  // The selected type entry, counted from 1.
  int FilterIndex() const { return filterIndex_; }
  // Display names and masks alternating, separated by "|".
  const QString& Filter() const { return filter_; }

 protected:
  QWidget* owner_;
  QString fileName_;
  int filterIndex_ = 1;
  QString filter_;

 private:
  std::vector<FilterEntry> entries_;  // filter_ taken apart
  // Kept from one Execute to the next, so that closing the dialog never waits for a decode.
  std::unique_ptr<PreviewDecoder> decoder_;
};

}  // namespace pixdraft
