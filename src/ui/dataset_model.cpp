#include "dataset_model.h"

#include "dbf/codepage1256.h"

namespace ui {

QString displayText(const dbf::Value& value) {
    if (value.isNull()) return {};
    if (value.isText()) return QString::fromStdString(dbf::cp1256::toUtf8(value.bytes()));
    if (value.kind() == dbf::Value::Kind::Blob) return QStringLiteral("(BLOB)");
    return QString::fromStdString(value.asString());
}

DataSetModel::DataSetModel(dbf::DataSet& dataSet, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_dataSet(dataSet), m_columns(std::move(columns)) {
    m_listener = m_dataSet.addListener([this](dbf::DataSetEvent e) { onDataSetEvent(e); });
    onDataSetEvent(dbf::DataSetEvent::Opened);
}

DataSetModel::~DataSetModel() { m_dataSet.removeListener(m_listener); }

void DataSetModel::onDataSetEvent(dbf::DataSetEvent event) {
    if (event == dbf::DataSetEvent::CurrentChanged || event == dbf::DataSetEvent::RecordEdited) {
        if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        return;
    }
    beginResetModel();
    m_fieldIndexes.clear();
    for (const auto& c : m_columns)
        m_fieldIndexes.push_back(m_dataSet.isOpen() ? m_dataSet.findField(c.fieldName.toStdString()) : -1);
    endResetModel();
}

int DataSetModel::fieldOf(int column) const {
    return column >= 0 && column < static_cast<int>(m_fieldIndexes.size()) ? m_fieldIndexes[column] : -1;
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_dataSet.isOpen()) return 0;
    return static_cast<int>(m_dataSet.recordCount());
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    const int field = fieldOf(index.column());
    if (field < 0) return {};
    try {
        return displayText(m_dataSet.peek(static_cast<std::size_t>(index.row()), field));
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return section < static_cast<int>(m_columns.size()) ? m_columns[section].title : QVariant();
}

}  // namespace ui
