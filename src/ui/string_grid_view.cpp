#include "string_grid_view.h"

#include <QHeaderView>
#include <QPalette>

#include "bindings.h"
#include "farsi_delegate.h"
#include "fonts.h"
#include "screen_scale.h"

namespace ui {

StringGridModel::StringGridModel(core::StringGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), m_grid(grid) {
    m_changedId = m_grid.changed.connect([this] { refresh(); });
}

StringGridModel::~StringGridModel() { m_grid.changed.disconnect(m_changedId); }

void StringGridModel::refresh() {
    if (m_writing) return;
    if (rowCount() > 0 && columnCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    if (columnCount() > 0) Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int StringGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(0, m_grid.rowCount() - fixedRows());
}

int StringGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_grid.colCount();
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int col = index.column();
    const int row = index.row() + fixedRows();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return QString::fromStdString(m_grid.cell(col, row));
        case Qt::FontRole: {
            const bool farsi = QString::fromStdString(m_grid.cell(col, row)).isRightToLeft();
            if (!farsi && !m_grid.bold(col, row)) return {};
            QFont font = m_farsiFont;
            font.setBold(m_grid.bold(col, row));
            return font;
        }
        case Qt::BackgroundRole:
            if (col < m_grid.fixedCols()) return QPalette().button();
            return {};
        default:
            return {};
    }
}

bool StringGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    m_writing = true;
    m_grid.setCell(index.column(), index.row() + fixedRows(), value.toString().toStdString());
    m_writing = false;
    Q_EMIT dataChanged(index, index);
    return true;
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_grid.editable && index.column() >= m_grid.fixedCols()) flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical || fixedRows() == 0) return {};
    if (section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole) return QString::fromStdString(m_grid.cell(section, 0));
    if (role == Qt::FontRole && m_grid.bold(section, 0)) {
        QFont font = m_farsiFont;
        font.setBold(true);
        return font;
    }
    return {};
}

StringGridView::StringGridView(core::StringGrid& grid, QWidget* parent)
    : QTableView(parent), m_model(new StringGridModel(grid, this)) {
    setObjectName(QString::fromStdString(grid.name()));
    setItemDelegate(new FarsiDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setEditTriggers(grid.editable
                        ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed
                        : QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setVisible(m_model->fixedRows() > 0);
    setModel(m_model);
    applyControlFont(this, grid.font);
    m_changedId = grid.changed.connect([this] { applyControl(); });
    applyControl();
}

StringGridView::~StringGridView() { grid().changed.disconnect(m_changedId); }

void StringGridView::applyControl() {
    const core::StringGrid& g = grid();
    setEnabled(g.enabled());
    applyVisible(this, g.visible());
    setToolTip(QString::fromStdString(g.hint()));
    if (!g.hint().empty()) setAccessibleDescription(toolTip());
    if (g.rowHeight <= 0) {
        // The grid's defaults: rows of 24 and columns of 64 pixels.
        verticalHeader()->setDefaultSectionSize(
            std::max(scaled(24, this), fontMetrics().height() + 4));
        horizontalHeader()->setDefaultSectionSize(scaled(64, this));
    } else {
        // The rows keep the control's height; the text shrinks to fit them.
        const int height = scaled(g.rowHeight, this);
        if (verticalHeader()->defaultSectionSize() != height) {
            QFont small = font();
            small.setPixelSize(std::max(8, height - 3));
            setFont(small);
            verticalHeader()->setMinimumSectionSize(height);
            verticalHeader()->setDefaultSectionSize(height);
            horizontalHeader()->setFixedHeight(height + 4);
        }
    }
    const Qt::ScrollBarPolicy bars = g.scrollBars ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(bars);
    setVerticalScrollBarPolicy(bars);
    m_model->setFarsiFont(farsiFont(font()));
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const auto i = static_cast<std::size_t>(c);
        if (i < g.colWidths.size() && g.colWidths[i] > 0) {
            const int width = scaled(g.colWidths[i], this);
            if (columnWidth(c) != width) setColumnWidth(c, width);
        }
    }
    showCurrentCell();
}

int StringGridView::contentWidth() const {
    int width = 2 * frameWidth();
    for (int c = 0; c < m_model->columnCount(); ++c) width += columnWidth(c);
    return width;
}

int StringGridView::contentHeight() const {
    int height = 2 * frameWidth() + verticalHeader()->defaultSectionSize() * m_model->rowCount();
    if (!horizontalHeader()->isHidden()) height += horizontalHeader()->height();
    return height;
}

QSize StringGridView::sizeHint() const { return {contentWidth(), contentHeight()}; }

void StringGridView::showCurrentCell() {
    const core::StringGrid& g = grid();
    const int row = g.row() - m_model->fixedRows();
    if (row < 0 || row >= m_model->rowCount() || g.col() < 0 || g.col() >= m_model->columnCount())
        return;
    const QModelIndex target = m_model->index(row, g.col());
    if (currentIndex() == target) return;
    m_syncing = true;
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    m_syncing = false;
}

void StringGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (m_syncing || !current.isValid()) return;
    grid().setCurrentCell(current.column(), current.row() + m_model->fixedRows());
}

}  // namespace ui
