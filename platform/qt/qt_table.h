#pragma once
// A table control's view: a model that reads the rows only as the view draws them, and a
// table widget that reports a double click or Enter on a row.
#include <QAbstractTableModel>
#include <QTableView>
#include <cstdint>
#include <functional>

#include "platform/controls.h"

namespace obrel {

class TableModel : public QAbstractTableModel {
 public:
  TableModel(const Table& table, QObject* parent) : QAbstractTableModel(parent), table_(&table) {}

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Reads the rows again when the table says they changed.
  void follow();
  // The table is gone: show no rows from now on.
  void detach();

 private:
  const Table* table_;
  std::uint64_t rowsRevision_ = 0;
};

class TableView : public QTableView {
 public:
  explicit TableView(QWidget* parent);
  // A double click or Enter on a row.
  std::function<void(int row)> picked;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace obrel
