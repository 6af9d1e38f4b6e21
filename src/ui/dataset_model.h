#pragma once
// A grid model over one data set: chosen fields as columns, the data set's rows as
// rows. It listens to the data set's notices instead of polling.
#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "dbf/dataset.h"

namespace ui {

struct GridColumn {
    QString fieldName;
    QString title;
};

class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DataSetModel(dbf::DataSet& dataSet, std::vector<GridColumn> columns, QObject* parent = nullptr);
    ~DataSetModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void onDataSetEvent(dbf::DataSetEvent event);
    int fieldOf(int column) const;

    dbf::DataSet& m_dataSet;
    std::vector<GridColumn> m_columns;
    std::vector<int> m_fieldIndexes;
    int m_listener = 0;
};

// Text of a value as grids show it: code page 1256 bytes to Unicode, numbers in the
// general number format.
QString displayText(const dbf::Value& value);

}  // namespace ui
