// The listing filter of the open-picture dialog. Qt's own name filters split patterns only at
// spaces, so a mask such as "*.png_old;*.png" would match nothing there; this model applies the
// patterns itself on top of the dialog's file-system model.
#pragma once

#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <vector>

namespace pixdraft {

class PictureFilterModel : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  // Lists folders, and files whose names match one of `patterns` ("*" and "?" wildcards),
  // ignoring case. No patterns lists every file.
  void SetPatterns(const QStringList& patterns);

  // Expects a QFileSystemModel. Its own name filters then only mark entries, and stop hiding
  // them, so that this model alone decides.
  void setSourceModel(QAbstractItemModel* source) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Has the source model sort itself, and keeps its order: the file-system model puts folders
  // first and compares sizes and dates as numbers, where sorting the shown texts would not.
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  std::vector<QRegularExpression> patterns_;
};

}  // namespace pixdraft
