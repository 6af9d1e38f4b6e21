#include "directory_list_view.h"

#include <QDir>
#include <QFileIconProvider>
#include <QTimer>

namespace ui {

namespace {
constexpr int kPathRole = Qt::UserRole;
}

DirectoryListView::DirectoryListView(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
    setIconSize(QSize(16, 16));
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const QString path = item->data(kPathRole).toString();
        // The list is rebuilt once the click has been handled, not under it.
        QTimer::singleShot(0, this, [this, path] {
            setDirectory(path);
            Q_EMIT directoryChosen(path);
        });
    });
}

void DirectoryListView::setDirectory(const QString& path) {
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    if (clean == m_directory && count() > 0) return;
    m_directory = clean;
    clear();
    const QFileIconProvider icons;
    QStringList way;
    for (QDir up(clean);;) {
        way.prepend(up.absolutePath());
        if (!up.cdUp()) break;
    }
    int depth = 0;
    for (const QString& folder : way) {
        const QString name = QDir(folder).isRoot() ? folder : QDir(folder).dirName();
        auto* item = new QListWidgetItem(icons.icon(QFileIconProvider::Folder),
                                         QString(depth * 3, QLatin1Char(' ')) + name, this);
        item->setData(kPathRole, folder);
        if (folder == clean) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            setCurrentItem(item);
        }
        ++depth;
    }
    const QStringList inside =
        QDir(clean).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : inside) {
        auto* item = new QListWidgetItem(icons.icon(QFileIconProvider::Folder),
                                         QString(depth * 3, QLatin1Char(' ')) + name, this);
        item->setData(kPathRole, QDir(clean).filePath(name));
    }
}

}  // namespace ui
