#include "ui/open_picture_dialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QLineEdit>

#include "decoder/picture_file.h"
#include "ui/localised_file_types.h"
#include "ui/open_dialog_fit.h"
#include "ui/picture_filter_model.h"
#include "ui/preview_decoder.h"
#include "ui/preview_panel.h"

using namespace Qt::StringLiterals;

namespace pixdraft {

namespace {

constexpr QSize kSmallestSize(780, 440);

// Keeps `path` whole in the name box. Whenever its selection changes while the name box lacks
// the focus, the dialog writes the selected file's bare name there; so it did when the listing
// of the picture's folder came in just after the dialog showed.
void KeepFullPathShown(QFileDialog& dialog, QLineEdit& nameBox, const QString& path) {
  const QString folder = QFileInfo(path).absolutePath();
  const QString bareName = QFileInfo(path).fileName();
  QObject::connect(&nameBox, &QLineEdit::textChanged, &nameBox,
                   [&dialog, &nameBox, path, folder, bareName] {
                     if (!nameBox.hasFocus() && nameBox.text() == bareName &&
                         dialog.directory().absolutePath() == folder) {
                       nameBox.setText(path);
                     }
                   });
}

// A path typed into the name box and confirmed with Enter opens that folder, and the
// completions that typing it brought up would stay open and swallow the next click: close them
// whenever the dialog changes folder, and after Enter, which may open the folder already listed.
void CloseCompletionsOnFolderChange(QFileDialog& dialog, QLineEdit& nameBox) {
  QCompleter* completer = nameBox.completer();
  auto* files = dialog.findChild<QFileSystemModel*>();
  if (completer == nullptr || files == nullptr) return;
  const auto close = [completer] {
    if (completer->popup() != nullptr) completer->popup()->hide();
  };
  // Queued: the dialog sets the completions' new prefix after the folder has changed.
  QObject::connect(files, &QFileSystemModel::rootPathChanged, completer, close,
                   Qt::QueuedConnection);
  QObject::connect(&nameBox, &QLineEdit::returnPressed, completer, close, Qt::QueuedConnection);
}

}  // namespace

TOpenPictureDialog::TOpenPictureDialog(QWidget* owner)
    : owner_(owner),
      filter_(ComposePictureFilter(RegisteredPictureFormats(), PictureFileExtensions())),
      entries_(SplitFilter(filter_)) {}

TOpenPictureDialog::~TOpenPictureDialog() = default;

bool TOpenPictureDialog::Execute() {
  // Outlives the dialog, which does not own it.
  LocalisedFileTypes fileTypes;
  // Qt's own dialog rather than the desktop's: only there can the listing be filtered by our
  // masks and the preview sit beside it. No title and no starting folder of our own.
  QFileDialog dialog(owner_);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setIconProvider(&fileTypes);
  // One file; a typed name that does not exist is returned too, and the load reports it.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);

  QStringList names;
  for (const FilterEntry& entry : entries_) names << entry.name;
  auto* listing = new PictureFilterModel(&dialog);
  dialog.setProxyModel(listing);
  dialog.setNameFilters(names);
  const auto usePatterns = [this, listing](qsizetype index) {
    if (index >= 0 && index < qsizetype(entries_.size()))
      listing->SetPatterns(entries_[index].patterns);
  };
  const qsizetype selected =
      filterIndex_ >= 1 && filterIndex_ <= qsizetype(entries_.size()) ? filterIndex_ - 1 : 0;
  if (!names.isEmpty()) dialog.selectNameFilter(names[selected]);
  usePatterns(selected);
  QObject::connect(&dialog, &QFileDialog::filterSelected, listing,
                   [names, usePatterns](const QString& name) { usePatterns(names.indexOf(name)); });

  // The last picture's folder, however it was chosen: picked from the listing, typed, or named on
  // the command line. Its name in the name box then selects it.
  if (const QFileInfo last(fileName_); !fileName_.isEmpty() && last.absoluteDir().exists()) {
    dialog.setDirectory(last.absolutePath());
  }
  if (auto* nameBox = dialog.findChild<QLineEdit*>(u"fileNameEdit"_s)) {
    // The whole path in the name box; selectFile would keep only the name.
    if (!fileName_.isEmpty()) {
      nameBox->setText(fileName_);
      KeepFullPathShown(dialog, *nameBox, fileName_);
    }
    CloseCompletionsOnFolderChange(dialog, *nameBox);
    // Another folder lists other files: a name left from the last one would have Open offer a
    // file the listing does not show. A folder's path typed and opened with Enter has done its
    // work, also when that folder was listed already.
    if (auto* files = dialog.findChild<QFileSystemModel*>()) {
      QObject::connect(files, &QFileSystemModel::rootPathChanged, nameBox, &QLineEdit::clear);
    }
    QObject::connect(
        nameBox, &QLineEdit::returnPressed, nameBox,
        [&dialog, nameBox] {
          if (QFileInfo(dialog.directory(), nameBox->text()).isDir()) nameBox->clear();
        },
        Qt::QueuedConnection);
  } else if (!fileName_.isEmpty()) {
    dialog.selectFile(fileName_);
  }

  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    if (!decoder_) decoder_ = std::make_unique<PreviewDecoder>();
    auto* preview = new PreviewPanel(*decoder_, &dialog);
    grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, &PreviewPanel::ShowFile);
    if (!fileName_.isEmpty()) preview->ShowFile(fileName_);
    // Another folder lists other files: the picture of the last one leaves the preview with it.
    if (auto* files = dialog.findChild<QFileSystemModel*>()) {
      QObject::connect(files, &QFileSystemModel::rootPathChanged, preview,
                       [preview] { preview->ShowFile({}); });
    }
  }

  // Room for the preview beside the listing's columns and the type list.
  SizeForContents(dialog, kSmallestSize);

  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  // As the system writes names: with backslashes on Windows.
  fileName_ =
      QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(chosen.first()).absoluteFilePath()));
  if (const qsizetype index = names.indexOf(dialog.selectedNameFilter()); index >= 0) {
    filterIndex_ = int(index) + 1;
  }
  return true;
}

}  // namespace pixdraft
