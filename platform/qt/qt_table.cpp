#include "platform/qt/qt_table.h"

#include <QHeaderView>
#include <QKeyEvent>

#include "platform/qt/qt_text.h"

namespace obrel {

int TableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || !table_ || !table_->rows) return 0;
  return table_->rows->count();
}

int TableModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid() || !table_) return 0;
  return static_cast<int>(table_->columns.size());
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
  return qs(table_->rows->cell(index.row(), index.column()));
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || !table_ || section < 0 ||
      section >= columnCount()) {
    return {};
  }
  return qs(table_->columns[static_cast<std::size_t>(section)]);
}

void TableModel::follow() {
  if (!table_ || table_->rowsRevision() == rowsRevision_) return;
  beginResetModel();
  rowsRevision_ = table_->rowsRevision();
  endResetModel();
}

void TableModel::detach() {
  beginResetModel();
  table_ = nullptr;
  endResetModel();
}

TableView::TableView(QWidget* parent) : QTableView(parent) {
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (picked && index.isValid()) picked(index.row());
  });
}

void TableView::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && picked && currentIndex().isValid()) {
    picked(currentIndex().row());
    return;
  }
  QTableView::keyPressEvent(event);
}

}  // namespace obrel
