#include "ui/picture_filter_model.h"

#include <QFileSystemModel>

namespace pixdraft {

void PictureFilterModel::SetPatterns(const QStringList& patterns) {
  patterns_.clear();
  for (const QString& pattern : patterns) {
    patterns_.emplace_back(QRegularExpression::wildcardToRegularExpression(pattern),
                           QRegularExpression::CaseInsensitiveOption);
  }
  invalidateFilter();
}

void PictureFilterModel::setSourceModel(QAbstractItemModel* source) {
  if (auto* files = qobject_cast<QFileSystemModel*>(source)) files->setNameFilterDisables(true);
  QSortFilterProxyModel::setSourceModel(source);
}

Qt::ItemFlags PictureFilterModel::flags(const QModelIndex& index) const {
  // The file-system model disables what its own (unsplit) name filters reject; whatever this
  // model lets through is meant to be chosen.
  Qt::ItemFlags flags = QSortFilterProxyModel::flags(index);
  if (index.isValid()) flags |= Qt::ItemIsEnabled;
  return flags;
}

void PictureFilterModel::sort(int column, Qt::SortOrder order) {
  if (sourceModel() != nullptr) sourceModel()->sort(column, order);
}

bool PictureFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
  auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
  if (files == nullptr || patterns_.empty()) return true;
  const QModelIndex index = files->index(sourceRow, 0, sourceParent);
  if (files->isDir(index)) return true;
  const QString name = files->fileName(index);
  for (const QRegularExpression& pattern : patterns_) {
    if (pattern.match(name).hasMatch()) return true;
  }
  return false;
}

}  // namespace pixdraft
