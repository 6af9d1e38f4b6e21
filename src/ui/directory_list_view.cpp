#include "directory_list_view.h"

#include <QFileSystemModel>
#include <QHeaderView>

namespace ui {

DirectoryListView::DirectoryListView(QWidget* parent)
    : QTreeView(parent), m_model(new QFileSystemModel(this)) {
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QString());
    setModel(m_model);
    for (int c = 1; c < m_model->columnCount(); ++c) hideColumn(c);
    header()->hide();
    setUniformRowHeights(true);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) Q_EMIT directoryChosen(m_model->filePath(current));
            });
}

void DirectoryListView::setDirectory(const QString& path) {
    const QModelIndex index = m_model->index(path);
    if (!index.isValid() || index == currentIndex()) return;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) expand(up);
    const QSignalBlocker quiet(selectionModel());
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
}

QString DirectoryListView::directory() const { return m_model->filePath(currentIndex()); }

}  // namespace ui
