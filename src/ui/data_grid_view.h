#pragma once
// A data-bound grid: a table view over a DataSetModel, bound to a core::DataGrid. Moving in
// the grid moves the data set's cursor and a moving cursor moves the grid's current cell;
// Down on the last row and Insert append a row, Ctrl+Delete deletes one after asking.
#include <QTableView>
#include <vector>

#include "core/controls.h"
#include "dataset_model.h"

namespace core {
class Dialogs;
}

namespace ui {

class DataGridView : public QTableView {
    Q_OBJECT
  public:
    DataGridView(core::DataGrid& grid, core::Dialogs* dialogs, QWidget* parent = nullptr);
    ~DataGridView() override;

    core::DataGrid& grid() const { return m_grid; }
    DataSetModel* dataModel() const { return m_model; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void applyModel();
    void applyColumnWidths();
    void fitColumns();
    void showDataSetRow(int row);
    void appendRow();
    void deleteRow();
    bool editable() const;

    core::DataGrid& m_grid;
    core::Dialogs* m_dialogs;
    DataSetModel* m_model;
    std::vector<int> m_naturalWidths;  // pixels each column would like
    std::vector<bool> m_fixedWidth;    // widths the control gives are kept
    int m_changedId = 0;
    int m_redrawId = 0;
    bool m_syncing = false;
};

}  // namespace ui
