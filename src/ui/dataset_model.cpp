#include "dataset_model.h"

#include <QStringList>

#include "core/formats.h"
#include "dbf/codepage1256.h"
#include "dbf/errors.h"
#include "dbf/table.h"

namespace ui {

QString displayText(const dbf::Value& value) {
    using Kind = dbf::Value::Kind;
    switch (value.kind()) {
        case Kind::Null:
            return {};
        case Kind::String:
        case Kind::Memo:
            return QString::fromStdString(dbf::cp1256::toUtf8Farsi(value.bytes())).trimmed();
        case Kind::Blob:
            return QStringLiteral("(BLOB)");
        case Kind::Date:
        case Kind::DateTime:
            return QString::fromStdString(core::shortDate(value.number()));
        default:
            return QString::fromStdString(value.asString());
    }
}

namespace {

// A typed date in the short date format; a day the calendar lacks is refused.
dbf::Value dateFromText(const QString& text) {
    const auto value = core::dateValueOfText(text.toStdString());
    return value ? dbf::Value::date(*value) : dbf::Value::null();
}

}  // namespace

dbf::Value valueFromText(const QString& text, dbf::DataType type) {
    if (type == dbf::DataType::Date || type == dbf::DataType::DateTime) return dateFromText(text);
    return dbf::Value::string(dbf::cp1256::fromUtf8(text.toStdString()));
}

DataSetModel::DataSetModel(QObject* parent) : QAbstractTableModel(parent) {}

DataSetModel::DataSetModel(dbf::DataSet* dataSet, std::vector<core::GridColumn> columns,
                           QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns)) {
    setDataSet(dataSet);
}

DataSetModel::~DataSetModel() { detach(); }

void DataSetModel::attach() {
    m_table = dynamic_cast<dbf::Table*>(m_dataSet);
    if (m_dataSet)
        m_listener = m_dataSet->addListener([this](dbf::DataSetEvent e) { onDataSetEvent(e); });
}

void DataSetModel::detach() {
    if (m_dataSet && m_listener) m_dataSet->removeListener(m_listener);
    m_listener = 0;
    m_table = nullptr;
}

void DataSetModel::setDataSet(dbf::DataSet* dataSet) {
    if (dataSet == m_dataSet && (m_listener || !dataSet)) return;
    detach();
    m_dataSet = dataSet;
    attach();
    rebuild();
}

void DataSetModel::setColumns(std::vector<core::GridColumn> columns) {
    m_columns = std::move(columns);
    rebuild();
}

void DataSetModel::rebuild() {
    beginResetModel();
    m_shown = m_columns;
    const bool open = m_dataSet && m_dataSet->isOpen();
    if (m_shown.empty() && open) {
        for (int i = 0; i < m_dataSet->fieldCount(); ++i) {
            core::GridColumn column;
            column.fieldName = m_dataSet->field(i).name;
            column.title = m_dataSet->field(i).displayLabel;
            m_shown.push_back(std::move(column));
        }
    }
    m_fieldIndexes.clear();
    for (const auto& c : m_shown)
        m_fieldIndexes.push_back(open ? m_dataSet->findField(c.fieldName) : -1);
    m_rowCount = liveRowCount();
    m_pending = pendingRowShown();
    endResetModel();
    m_lastCurrent = currentRow();
    Q_EMIT currentRowChanged(m_lastCurrent);
}

bool DataSetModel::pendingRowShown() const {
    return m_table && m_table->isOpen() && m_table->state() == dbf::Table::State::Insert;
}

int DataSetModel::liveRowCount() const {
    if (!m_dataSet || !m_dataSet->isOpen()) return 0;
    return static_cast<int>(m_dataSet->recordCount()) + (pendingRowShown() ? 1 : 0);
}

int DataSetModel::currentRow() const {
    if (!m_dataSet || !m_dataSet->isOpen() || m_rowCount == 0) return -1;
    if (m_pending) return m_rowCount - 1;
    // Between the table's append and the model's showing the row there is no current row.
    if (pendingRowShown()) return -1;
    return static_cast<int>(m_dataSet->recNo()) - 1;
}

void DataSetModel::onDataSetEvent(dbf::DataSetEvent event) {
    switch (event) {
        case dbf::DataSetEvent::Opened:
        case dbf::DataSetEvent::Closed:
            rebuild();
            return;
        case dbf::DataSetEvent::RecordEdited: {
            const int row = currentRow();
            if (row >= 0) Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
            Q_EMIT headerDataChanged(Qt::Vertical, row < 0 ? 0 : row, row < 0 ? 0 : row);
            return;
        }
        case dbf::DataSetEvent::RowsChanged:
        case dbf::DataSetEvent::CurrentChanged: {
            const int count = liveRowCount();
            if (event == dbf::DataSetEvent::RowsChanged && count != m_rowCount) {
                rebuild();
                return;
            }
            // Only the appended row comes or goes while the cursor moves.
            if (count > m_rowCount) {
                beginInsertRows({}, m_rowCount, count - 1);
                m_rowCount = count;
                m_pending = pendingRowShown();
                endInsertRows();
            } else if (count < m_rowCount) {
                beginRemoveRows({}, count, m_rowCount - 1);
                m_rowCount = count;
                m_pending = pendingRowShown();
                endRemoveRows();
            } else {
                m_pending = pendingRowShown();  // a posted row is a row of the table now
            }
            if (m_rowCount > 0 && columnCount() > 0)
                Q_EMIT dataChanged(index(0, 0), index(m_rowCount - 1, columnCount() - 1));
            if (m_rowCount > 0) Q_EMIT headerDataChanged(Qt::Vertical, 0, m_rowCount - 1);
            m_lastCurrent = currentRow();
            Q_EMIT currentRowChanged(m_lastCurrent);
            return;
        }
    }
}

void DataSetModel::moveToRow(int row) {
    if (!m_dataSet || !m_dataSet->isOpen() || row < 0 || row >= m_rowCount) return;
    if (row == currentRow()) return;
    try {
        // Settle a pending row first: posting may reorder or add rows.
        if (m_table && m_table->state() != dbf::Table::State::Browse) {
            const bool appended = m_table->state() == dbf::Table::State::Insert;
            if (m_table->modified()) {
                m_table->post();
            } else {
                m_table->cancel();
                if (appended && row >= liveRowCount()) return;
            }
        }
        if (row >= liveRowCount()) return;
        const std::int64_t from = m_dataSet->recNo() - 1;
        if (row != from) m_dataSet->moveBy(row - from);
    } catch (const std::exception& e) {
        reportError(e.what());
    }
}

int DataSetModel::fieldOf(int column) const {
    return column >= 0 && column < static_cast<int>(m_fieldIndexes.size()) ? m_fieldIndexes[column]
                                                                           : -1;
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rowCount;
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

dbf::Value DataSetModel::valueAt(int row, int field) const {
    // The row a table appends, and the row it edits, show their pending values.
    if (m_pending && row == m_rowCount - 1) {
        if (m_table->state() != dbf::Table::State::Insert) return dbf::Value::null();
        return m_table->value(field);
    }
    if (m_table && m_table->state() == dbf::Table::State::Edit && row == m_dataSet->recNo() - 1)
        return m_table->value(field);
    return m_dataSet->peek(static_cast<std::size_t>(row), field);
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rowCount) return {};
    const int field = fieldOf(index.column());
    if (field < 0 || !m_dataSet || !m_dataSet->isOpen()) return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::FontRole &&
        role != Qt::TextAlignmentRole)
        return {};
    try {
        const dbf::Value value = valueAt(index.row(), field);
        if (role == Qt::TextAlignmentRole) {
            const bool number = value.isNumeric();
            return static_cast<int>(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
        }
        const QString text = displayText(value);
        if (role == Qt::FontRole) return text.isRightToLeft() ? QVariant(m_farsiFont) : QVariant();
        return text;
    } catch (const std::exception& e) {
        return role == Qt::DisplayRole ? QVariant(QString::fromUtf8(e.what())) : QVariant();
    }
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    const int field = fieldOf(index.column());
    try {
        if (index.row() != currentRow()) moveToRow(index.row());
        if (index.row() != currentRow()) return false;
        if (m_table->state() == dbf::Table::State::Browse) m_table->edit();
        const dbf::Value typed = valueFromText(value.toString(), m_table->field(field).type);
        m_table->setValue(field, typed);
        return true;
    } catch (const std::exception& e) {
        reportError(e.what());
        return false;
    }
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const auto column = static_cast<std::size_t>(index.column());
    if (m_table && !m_readOnly && fieldOf(index.column()) >= 0 && column < m_shown.size() &&
        !m_shown[column].readOnly)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role != Qt::DisplayRole || section != currentRow()) return {};
        // The row indicator of a data-bound grid: appending, editing, or the current row.
        if (m_pending) return QStringLiteral("*");
        if (m_table && m_table->state() == dbf::Table::State::Edit) return QStringLiteral("I");
        return QStringLiteral("\u25B8");
    }
    if (section < 0 || section >= columnCount()) return {};
    const auto& column = m_shown[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) return QString::fromStdString(column.title);
    if (role == Qt::FontRole && column.titleBold) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}

void DataSetModel::reportError(const std::string& text) const {
    if (m_errorHandler) m_errorHandler(text);
}

}  // namespace ui
