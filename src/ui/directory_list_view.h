#pragma once
// The directory list of the Setup tab: the folders of the file system as a tree, with the
// chosen folder current.
#include <QTreeView>

class QFileSystemModel;

namespace ui {

class DirectoryListView : public QTreeView {
    Q_OBJECT
  public:
    explicit DirectoryListView(QWidget* parent = nullptr);
    // Makes the folder current and opens the tree down to it.
    void setDirectory(const QString& path);
    QString directory() const;

  Q_SIGNALS:
    void directoryChosen(const QString& path);

  private:
    QFileSystemModel* m_model;
};

}  // namespace ui
