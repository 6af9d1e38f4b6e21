#pragma once
// The one grid model over a data set: the grid's columns over fields of the data set, the
// data set's rows as rows, and the row a table is appending shown after the last one. It
// listens to the data set's notices instead of polling and reads values through peek, so
// tables of any size scroll at once. Editing a cell edits the data set's current row; the
// engine posts the change when the cursor leaves the row.
#include <QAbstractTableModel>
#include <QFont>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "core/controls.h"
#include "dbf/dataset.h"

namespace dbf {
class Table;
}

namespace ui {

class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit DataSetModel(QObject* parent = nullptr);
    DataSetModel(dbf::DataSet* dataSet, std::vector<core::GridColumn> columns,
                 QObject* parent = nullptr);
    ~DataSetModel() override;

    // No data set, or a closed one, shows no rows. Empty columns show every field.
    void setDataSet(dbf::DataSet* dataSet);
    dbf::DataSet* dataSet() const { return m_dataSet; }
    void setColumns(std::vector<core::GridColumn> columns);
    const std::vector<core::GridColumn>& columns() const { return m_columns; }
    void setReadOnly(bool on) { m_readOnly = on; }
    bool readOnly() const { return m_readOnly; }
    // The font Farsi cells are shown in; other cells take the view's font.
    void setFarsiFont(const QFont& font) { m_farsiFont = font; }
    // Where errors of an edit go (a field that does not take the text); the edit is refused.
    void setErrorHandler(std::function<void(const std::string&)> handler) {
        m_errorHandler = std::move(handler);
    }

    // The row of the data set's cursor (the appended row while a table appends), -1 for none.
    int currentRow() const;
    // Moves the data set's cursor to a row; a pending edit is posted first, as leaving a
    // row in a data-bound grid does.
    void moveToRow(int row);
    // The field a column shows, -1 when the data set lacks it.
    int fieldOf(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  Q_SIGNALS:
    // The data set's cursor moved (or the rows changed under it).
    void currentRowChanged(int row);

  private:
    void attach();
    void detach();
    void onDataSetEvent(dbf::DataSetEvent event);
    void rebuild();
    int liveRowCount() const;
    bool pendingRowShown() const;
    dbf::Value valueAt(int row, int field) const;
    void reportError(const std::string& text) const;

    dbf::DataSet* m_dataSet = nullptr;
    dbf::Table* m_table = nullptr;  // the data set when it is a table (editable)
    std::vector<core::GridColumn> m_columns;
    std::vector<core::GridColumn> m_shown;  // m_columns, or every field when that is empty
    std::vector<int> m_fieldIndexes;
    int m_rowCount = 0;
    bool m_pending = false;  // the last row shown is the one the table appends
    int m_lastCurrent = -1;
    int m_listener = 0;
    bool m_readOnly = false;
    QFont m_farsiFont;
    std::function<void(const std::string&)> m_errorHandler;
};

// Text of a value as grids show it: code page 1256 bytes to Unicode, numbers in the
// general number format, dates in the short date format.
QString displayText(const dbf::Value& value);

// The value a grid cell's typed text stands for: Unicode to code page 1256 for text,
// short dates for date fields; the engine converts numbers and reports bad ones.
dbf::Value valueFromText(const QString& text, dbf::DataType type);

}  // namespace ui
