#include <QApplication>

#include "ui/food_list_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("HALVORA"));
    // The data directory lies under the application directory, which is the current one.
    ui::FoodListWindow window(QStringLiteral("data"));
    window.show();
    return QApplication::exec();
}
