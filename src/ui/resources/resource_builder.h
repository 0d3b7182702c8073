#pragma once
// Builds the widgets of a dialog template or a menu from the compiled-in
// tables (resource_types.h). One dialog unit is two screen pixels in each
// direction. A control carries its id and is found by it; a menu action
// carries its command id as its data.
#include <QDialog>
#include <functional>
#include <string_view>

#include "ui/resources/resource_types.h"

class QAction;
class QMenu;
class QMenuBar;

// Screen pixels of a length in dialog units.
constexpr int DialogUnits(int units) { return 2 * units; }

// Makes the widget of a Custom control (or of any control the dialog wants
// to make itself); returning nullptr leaves the control to the builder.
using ControlFactory = std::function<QWidget*(const ControlSpec&, QWidget* parent)>;

// Gives the dialog its title and fixed size and creates every control of
// the template on it. Controls 1 and 2 (OK, CANCEL) call accept() and
// reject(), so a dialog that overrides accept() checks its fields there.
// Push buttons never become the default by taking the focus: Enter always
// means the template's default button.
void BuildDialog(const DialogSpec& plan, QDialog& dialog, const ControlFactory& factory = {});

// The control with this id among the dialog's descendants; nullptr if none.
QWidget* FindControl(const QWidget* dialog, int id);
// The id a control was built with; -1 for widgets not built from a table.
int ControlId(const QWidget* control);

// A modal dialog built from the named template. Throws std::invalid_argument
// for a name no table carries (a programming error).
class ResourceDialog : public QDialog {
    Q_OBJECT
public:
    ResourceDialog(std::string_view resource, QWidget* parent, const ControlFactory& factory = {});
    QWidget* Control(int id) const { return FindControl(this, id); }
    template <class T>
    T* ControlAs(int id) const {
        return qobject_cast<T*>(Control(id));
    }
};

// Fills a menu bar with the popups of a menu resource, in order.
void BuildMenuBar(const MenuSpec& plan, QMenuBar& bar);
// A new context menu from the popup at this position (0-based) or with this
// name; the caller owns it. nullptr when there is no such popup.
QMenu* BuildPopupMenu(const MenuSpec& plan, int position, QWidget* parent = nullptr);
QMenu* BuildPopupMenu(const MenuSpec& plan, std::string_view name, QWidget* parent = nullptr);
// The action with this command id in a menu bar or menu (sub-menus
// included); nullptr if none.
QAction* FindCommand(const QWidget* menuOrBar, int id);
// The command id an action carries; 0 for separators and foreign actions.
int CommandOf(const QAction* action);
