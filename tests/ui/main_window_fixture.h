#pragma once
// The main window over a small application directory (nine small tables, recording dialogs
// and display), shown at 1366x768 as the active window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "core/app_fixture.h"
#include "dbf/table.h"
#include "ui/data_grid_view.h"
#include "ui/main_window.h"

namespace ui::testing {

using core::testing::DataContent;

class MainWindowTest : public core::testing::AppTest {
  protected:
    ui::MainWindow& open(const DataContent& content = {}) {
        core::testing::writeDataDirectory(app() / "data", content);
        makeForm();
        window = std::make_unique<ui::MainWindow>(*form);
        window->resize(1366, 768);
        window->show();
        QApplication::setActiveWindow(window.get());
        return *window;
    }
    template <typename W>
    W* widget(const char* name) {
        W* found = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    std::string stored(const char* table, const char* field, int recNo) {
        dbf::Table other;
        other.setDirectory(app() / "data");
        other.setTableName(table);
        other.open();
        other.moveBy(recNo - 1);
        return other.value(field).bytes();
    }
    // Typing into a grid cell as a user does: open the editor, type, confirm, leave the row.
    void typeIntoCell(ui::DataGridView* grid, int row, int column, const QString& keys) {
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(row, column));
        QCoreApplication::processEvents();
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, keys);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QTest::keyClick(grid, row == 0 ? Qt::Key_Down : Qt::Key_Up);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<ui::MainWindow> window;  // goes before the form it shows
};

}  // namespace ui::testing
