#pragma once
// A first window over the data directory: the food listing in one grid.
#include <QMainWindow>
#include <memory>

#include "dbf/query.h"

namespace ui {

class FoodListWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit FoodListWindow(const QString& dataDirectory, QWidget* parent = nullptr);
    ~FoodListWindow() override;

private:
    dbf::Query m_foods;
};

}  // namespace ui
