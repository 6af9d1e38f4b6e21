#include "data_grid_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>

#include "bindings.h"
#include "core/dialogs.h"
#include "dbf/table.h"
#include "farsi_delegate.h"
#include "fonts.h"
#include "screen_scale.h"

namespace ui {

namespace {

bool sameColumns(const std::vector<core::GridColumn>& a, const std::vector<core::GridColumn>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].fieldName != b[i].fieldName || a[i].title != b[i].title ||
            a[i].readOnly != b[i].readOnly || a[i].titleBold != b[i].titleBold ||
            a[i].width != b[i].width)
            return false;
    return true;
}

}  // namespace

DataGridView::DataGridView(core::DataGrid& grid, core::Dialogs* dialogs, QWidget* parent)
    : QTableView(parent), m_grid(grid), m_dialogs(dialogs), m_model(new DataSetModel(this)) {
    setObjectName(QString::fromStdString(grid.name()));
    setItemDelegate(new FarsiDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1Char('W')) + 8);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    m_model->setFarsiFont(farsiFont(font()));
    m_model->setErrorHandler([this](const std::string& text) {
        if (m_dialogs) m_dialogs->showError(text);
    });
    setModel(m_model);
    applyControlFont(this, grid.font);
    connect(m_model, &DataSetModel::currentRowChanged, this, &DataGridView::showDataSetRow);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DataGridView::applyColumnWidths);
    m_changedId = m_grid.changed.connect([this] { applyModel(); });
    m_redrawId = m_grid.redrawRequested.connect([this] {
        viewport()->update();
        showDataSetRow(m_model->currentRow());
    });
    applyModel();
}

DataGridView::~DataGridView() {
    m_grid.changed.disconnect(m_changedId);
    m_grid.redrawRequested.disconnect(m_redrawId);
}

void DataGridView::applyModel() {
    setEnabled(m_grid.enabled());
    applyVisible(this, m_grid.visible());
    setToolTip(QString::fromStdString(m_grid.hint()));
    if (!m_grid.hint().empty()) setAccessibleDescription(toolTip());
    if (!m_grid.fontName().empty()) {
        const QFont named = namedFont(QString::fromStdString(m_grid.fontName()), font());
        if (named != font()) setFont(named);
    }
    m_model->setReadOnly(m_grid.readOnly());
    dbf::DataSet* dataSet = m_grid.source() ? m_grid.source()->dataSet() : nullptr;
    const bool columnsChanged = !sameColumns(m_model->columns(), m_grid.columns());
    if (dataSet != m_model->dataSet()) {
        if (columnsChanged) m_model->setColumns(m_grid.columns());
        m_model->setDataSet(dataSet);
    } else if (columnsChanged) {
        m_model->setColumns(m_grid.columns());
    }
}

void DataGridView::applyColumnWidths() {
    const dbf::DataSet* dataSet = m_model->dataSet();
    const int charWidth = fontMetrics().averageCharWidth();
    m_naturalWidths.clear();
    m_fixedWidth.clear();
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const auto& columns = m_model->columns();
        int width =
            c < static_cast<int>(columns.size()) ? columns[static_cast<std::size_t>(c)].width : 0;
        const bool given = width > 0;
        if (given) {
            width = scaled(width, this);
        } else {
            const int field = m_model->fieldOf(c);
            int chars = 10;
            bool text = true;
            if (field >= 0 && dataSet && dataSet->isOpen()) {
                const dbf::FieldInfo& info = dataSet->field(field);
                text = info.type == dbf::DataType::String || info.type == dbf::DataType::Memo;
                chars = info.displayWidth;
            }
            // Codes and amounts need a few digits; names get room up to a point.
            chars = std::min(chars, text ? 30 : 7);
            const QString title =
                m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            width = std::max(chars * charWidth, fontMetrics().horizontalAdvance(title)) + 16;
        }
        m_naturalWidths.push_back(width);
        m_fixedWidth.push_back(given);
    }
    fitColumns();
    showDataSetRow(m_model->currentRow());
}

void DataGridView::fitColumns() {
    // Columns without a width of their own give up width when the grid is narrower than
    // they would like, so that the last column, often a right-to-left name, stays in view.
    const int available = viewport()->width() - 2;
    int total = 0, shrinkable = 0;
    for (std::size_t c = 0; c < m_naturalWidths.size(); ++c) {
        total += m_naturalWidths[c];
        if (!m_fixedWidth[c]) shrinkable += m_naturalWidths[c];
    }
    const double excess = total - available;
    std::vector<int> widths = m_naturalWidths;
    int sum = 0;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        if (excess > 0 && shrinkable > 0 && !m_fixedWidth[c])
            widths[c] = std::max(48, widths[c] - static_cast<int>(excess * widths[c] / shrinkable));
        sum += widths[c];
    }
    // What the narrowest columns could not give up, the widest gives.
    if (excess > 0 && sum > available && !widths.empty()) {
        auto widest = std::max_element(widths.begin(), widths.end());
        *widest = std::max(48, *widest - (sum - available));
    }
    for (std::size_t c = 0; c < widths.size(); ++c) setColumnWidth(static_cast<int>(c), widths[c]);
}

void DataGridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    fitColumns();
}

void DataGridView::showDataSetRow(int row) {
    if (row < 0 || m_syncing) return;
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() == row) return;
    m_syncing = true;
    const int column = current.isValid() ? current.column() : 0;
    const QModelIndex target = m_model->index(row, std::max(0, column));
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
    m_syncing = false;
}

void DataGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (m_syncing || !current.isValid() || current.row() == m_model->currentRow()) return;
    // Moving the cursor may post the row just left and so change the rows; do it once the
    // view has finished its own change of the current cell.
    const int row = current.row();
    QTimer::singleShot(0, this, [this, row] { m_model->moveToRow(row); });
}

bool DataGridView::editable() const {
    return !m_grid.readOnly() && dynamic_cast<dbf::Table*>(m_model->dataSet()) != nullptr &&
           m_model->dataSet()->isOpen();
}

void DataGridView::appendRow() {
    auto* table = dynamic_cast<dbf::Table*>(m_model->dataSet());
    try {
        table->append();
    } catch (const std::exception& e) {
        if (m_dialogs) m_dialogs->showError(e.what());
    }
}

void DataGridView::deleteRow() {
    auto* table = dynamic_cast<dbf::Table*>(m_model->dataSet());
    if (table->isEmpty() && table->state() != dbf::Table::State::Insert) return;
    if (m_dialogs && !m_dialogs->askYesNo("Delete record?")) return;
    try {
        table->deleteRecord();
    } catch (const std::exception& e) {
        if (m_dialogs) m_dialogs->showError(e.what());
    }
}

void DataGridView::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState && editable()) {
        const QModelIndex current = currentIndex();
        const bool onLastRow = current.isValid() && current.row() == m_model->rowCount() - 1;
        if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier)) {
            deleteRow();
            return;
        }
        if (event->key() == Qt::Key_Insert ||
            (event->key() == Qt::Key_Down && onLastRow && event->modifiers() == Qt::NoModifier)) {
            auto* table = dynamic_cast<dbf::Table*>(m_model->dataSet());
            // An untouched appended row is not appended twice.
            if (table->state() != dbf::Table::State::Insert || table->modified()) appendRow();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

}  // namespace ui
