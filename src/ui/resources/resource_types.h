#pragma once
// The program's menus and dialog templates as plain tables. The tables live
// in resources/*.inc (compiled in by resource_tables.cpp); the builder turns
// them into widgets. Positions and sizes are dialog units: one unit is two
// screen pixels in each direction.
#include <string_view>
#include <vector>

enum class ControlKind {
    Label,        // static text, left-aligned
    LabelRight,   // static text, right-aligned
    LabelCentre,  // static text, centred
    Edit,         // single-line edit
    UIntEdit,     // T_UINTEdit: digits only
    IntEdit,      // T_INTEdit: digits and a leading minus sign
    UFloatEdit,   // T_UFLOATEdit: digits and points
    DropList,     // drop-down list combo box (no typing)
    ListBox,      // list box of strings
    Button,       // push button
    DefButton,    // default push button (Enter presses it)
    GroupBox,     // frame with a title; drawn under the controls it frames
    Radio,        // radio button; consecutive radio rows form one group
    Check,        // check box
    HScroll,      // horizontal scroll bar
    Custom,       // made by the dialog's own control factory
};

struct ControlSpec {
    int id = -1;  // -1: a control nobody looks up (most labels)
    ControlKind kind = ControlKind::Label;
    const char* text = "";
    int x = 0, y = 0, w = 0, h = 0;
    int limit = 0;  // edits and combo boxes: most characters the field takes; 0 none
};

struct DialogSpec {
    const char* name;   // "DATA_DIALOG"
    const char* title;  // "Exposure data"
    int w = 0, h = 0;   // client size
    std::vector<ControlSpec> controls;
};

// Flags of a menu item; an item without flags is enabled and unchecked.
namespace menu_flag {
constexpr int Grayed = 1;     // disabled until its enable rule says otherwise
constexpr int Checked = 2;    // carries a check mark (and can carry one)
constexpr int Separator = 4;  // a separator line; id and text unused
constexpr int Checkable = 8;  // can carry a check mark, none at first
}  // namespace menu_flag

struct MenuItemSpec {
    int id = 0;  // the command id, kept as the action's data
    const char* text = "";
    int flags = 0;
    const char* shortcut = nullptr;  // "Ctrl+Z"; none for most items
};

struct MenuPopupSpec {
    const char* name;  // "&File" in a menu bar, "Meteor" among the context menus
    std::vector<MenuItemSpec> items;
};

struct MenuSpec {
    const char* name;  // "MAIN_MENU"
    std::vector<MenuPopupSpec> popups;
};

// The compiled-in resources by name; nullptr when there is none.
const DialogSpec* FindDialogResource(std::string_view name);
const MenuSpec* FindMenuResource(std::string_view name);
// Every compiled-in dialog template, in table order.
std::vector<const DialogSpec*> DialogResources();
