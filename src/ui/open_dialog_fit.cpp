#include "open_dialog_fit.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLayout>
#include <QScreen>
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
  if (listing == nullptr || files == nullptr) return;
  // Contents come in from a worker thread after the folder opens.
  QObject::connect(files, &QFileSystemModel::directoryLoaded, listing,
                   [listing, files](const QString& path) {
                     if (path == files->rootPath()) FitColumns(*listing);
                   });
  QTimer::singleShot(0, listing, [listing] { FitColumns(*listing); });
}

}  // namespace pixdraft
