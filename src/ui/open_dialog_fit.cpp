#include "ui/open_dialog_fit.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLayout>
#include <QListView>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace pixdraft {
namespace {

// The pixels `types` lacks to show its widest entry whole; 0 when it has them.
int MissingWidth(const QComboBox& types) {
  int widest = 0;
  for (int i = 0; i < types.count(); ++i) {
    widest = std::max(widest, types.fontMetrics().horizontalAdvance(types.itemText(i)));
  }
  // The style draws the text into the edit field less a pixel each side, and clips it there.
  QStyleOptionComboBox option;
  option.initFrom(&types);
  const QRect field = types.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, &types);
  return std::max(0, widest + 2 - field.width());
}

// The side panel at least as wide as its widest place: Qt sizes it to the first one and keeps
// the width of an earlier session, whose language may have had shorter names.
void FitSidePanel(QSplitter& splitter, const QListView& places) {
  int widest = 0;
  for (int row = 0; row < places.model()->rowCount(); ++row) {
    widest = std::max(widest, places.sizeHintForIndex(places.model()->index(row, 0)).width());
  }
  const int needed = widest + places.width() - places.viewport()->width();
  QList<int> sizes = splitter.sizes();
  if (sizes.size() < 2 || sizes[0] >= needed) return;
  sizes[1] -= needed - sizes[0];
  sizes[0] = needed;
  splitter.setSizes(sizes);
}

// Every column but the first to its header and contents, the first (the names) to the rest of
// the view's width, and to at least 16 average characters.
void FitColumns(QTreeView& listing) {
  QHeaderView* header = listing.header();
  int others = 0;
  for (int column = 1; column < header->count(); ++column) {
    if (header->isSectionHidden(column)) continue;
    listing.resizeColumnToContents(column);
    others += header->sectionSize(column);
  }
  const int smallest = 16 * listing.fontMetrics().averageCharWidth();
  header->resizeSection(0, std::max(smallest, listing.viewport()->width() - others));
}

}  // namespace

void SizeForContents(QFileDialog& dialog, QSize smallest) {
  dialog.resize(dialog.sizeHint().expandedTo(smallest));
  if (auto* types = dialog.findChild<QComboBox*>(u"fileTypeCombo"_s)) {
    dialog.layout()->activate();
    const int screenWidth = dialog.screen()->availableGeometry().width();
    dialog.resize(std::min(dialog.width() + MissingWidth(*types), screenWidth), dialog.height());
  }

  auto* listing = dialog.findChild<QTreeView*>(u"treeView"_s);
  auto* files = dialog.findChild<QFileSystemModel*>();
  auto* splitter = dialog.findChild<QSplitter*>(u"splitter"_s);
  auto* places = dialog.findChild<QListView*>(u"sidebar"_s);
  if (listing == nullptr || files == nullptr) return;
  const auto fit = [listing, splitter, places] {
    if (splitter != nullptr && places != nullptr) FitSidePanel(*splitter, *places);
    FitColumns(*listing);
  };
  // Contents come in from a worker thread after the folder opens; a folder whose contents the
  // completions of a typed path have already read is listed at once, with no word from the
  // thread, once the folder change is through.
  QObject::connect(files, &QFileSystemModel::directoryLoaded, listing,
                   [files, fit](const QString& path) {
                     if (path == files->rootPath()) fit();
                   });
  QObject::connect(files, &QFileSystemModel::rootPathChanged, listing, fit, Qt::QueuedConnection);
  QTimer::singleShot(0, listing, fit);
}

}  // namespace pixdraft
