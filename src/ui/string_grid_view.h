#pragma once
// A grid of text cells bound to a core::StringGrid: the fixed title row is the header, the
// other rows are the model's rows, so grid cell (col, row) is model index (row - 1, col).
// Column widths and the row height come from the control, scaled for the screen.
#include <QAbstractTableModel>
#include <QTableView>

#include "core/controls.h"

namespace ui {

class StringGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit StringGridModel(core::StringGrid& grid, QObject* parent = nullptr);
    ~StringGridModel() override;

    core::StringGrid& grid() const { return m_grid; }
    int fixedRows() const { return m_grid.fixedRows() > 0 ? 1 : 0; }
    void setFarsiFont(const QFont& font) { m_farsiFont = font; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    void refresh();

    core::StringGrid& m_grid;
    QFont m_farsiFont;
    int m_changedId = 0;
    bool m_writing = false;
};

class StringGridView : public QTableView {
    Q_OBJECT
  public:
    explicit StringGridView(core::StringGrid& grid, QWidget* parent = nullptr);
    ~StringGridView() override;

    core::StringGrid& grid() const { return m_model->grid(); }
    StringGridModel* gridModel() const { return m_model; }
    // The width all columns take, for laying the grid out without a horizontal scroll bar.
    int contentWidth() const;
    // The height all rows and the title row take.
    int contentHeight() const;
    QSize sizeHint() const override;

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  private:
    void applyControl();
    void showCurrentCell();

    StringGridModel* m_model;
    int m_changedId = 0;
    bool m_syncing = false;
};

}  // namespace ui
