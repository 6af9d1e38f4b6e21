#include "food_list_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QTableView>

#include "dataset_model.h"

namespace ui {

FoodListWindow::FoodListWindow(const QString& dataDirectory, QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Halvora Software"));
    auto* grid = new QTableView(this);
    grid->setObjectName(QStringLiteral("DBGrid2"));
    grid->verticalHeader()->setDefaultSectionSize(20);
    setCentralWidget(grid);
    m_foods.setDirectory(dataDirectory.toStdString());
    m_foods.setSql({"Select N1,N2,N3 ", "FROM FOODS.dbf ", "WHERE N1>0 "});
    m_foods.setRequestLive(true);
    try {
        m_foods.open();
        statusBar()->showMessage(tr("%1 foods").arg(m_foods.recordCount()));
    } catch (const std::exception& e) {
        statusBar()->showMessage(QString::fromUtf8(e.what()));
    }
    auto* model = new DataSetModel(
        m_foods, {{"N1", "Code"}, {"N3", "Farsi Name"}, {"N2", "NAME"}}, grid);
    grid->setModel(model);
    grid->horizontalHeader()->setStretchLastSection(true);
    resize(900, 600);
}

FoodListWindow::~FoodListWindow() = default;

}  // namespace ui
