#pragma once
// The directory list of the Setup tab: the folders from the root down to the current one,
// then the folders inside it. A click on a folder makes it current and chosen.
#include <QListWidget>

namespace ui {

class DirectoryListView : public QListWidget {
    Q_OBJECT
  public:
    explicit DirectoryListView(QWidget* parent = nullptr);
    // Lists the folder with the way to it and what it holds.
    void setDirectory(const QString& path);
    QString directory() const { return m_directory; }

  Q_SIGNALS:
    void directoryChosen(const QString& path);

  private:
    QString m_directory;
};

}  // namespace ui
