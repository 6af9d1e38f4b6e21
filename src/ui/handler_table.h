#pragma once
// How a page connects its controls to their handlers: one table of control, event and
// handler per page, wired in one place, every call under the default error display.
#include <functional>
#include <vector>

class QWidget;

namespace core {
class MainForm;
}

namespace ui {

using Handler = void (*)(core::MainForm&);

enum class UserEvent {
    Click,        // a button or picture pressed (mouse, keys, assistive technology)
    Checked,      // a radio button becoming the checked one of its group, however
    DoubleClick,  // a double-click on a grid's cell
    Chosen,       // a combo box item chosen, or typed text confirmed with Enter
    Entered,      // a text box entered (a click into it, or Tab)
    TitleClick,   // a click on a column title of a data grid (the grid records the column)
};

struct HandlerRow {
    const char* control;  // the control's name (the widget's objectName)
    UserEvent event;
    Handler handler;
};
using HandlerTable = std::vector<HandlerRow>;

// Connects each row's widget, found by name among the page's children, to its handler.
// A name the page does not hold is a programming error and stops the program.
void wireHandlers(QWidget* page, core::MainForm& form, const HandlerTable& table);

// What a wired event does: by default core::runHandler. Tests put a recorder in its place
// while they build a window, and restore the default after.
using HandlerDispatch = std::function<void(core::MainForm&, Handler)>;
void setHandlerDispatch(HandlerDispatch dispatch);

// The handler tables of the pages.
const HandlerTable& foodProcessorHandlers();
const HandlerTable& editFoodDatabaseHandlers();
const HandlerTable& foodAnalysisHandlers();
const HandlerTable& setupHandlers();
const HandlerTable& subjectHandlers();

}  // namespace ui
