// The compiled-in resources. Each table is a file under resources/ holding
// one or more braced entries; a new dialog adds its file to the list below.
#include "ui/resources/resource_types.h"

namespace {

using enum ControlKind;
using menu_flag::Checkable;
using menu_flag::Checked;
using menu_flag::Grayed;
using menu_flag::Separator;

const std::vector<DialogSpec>& Dialogs() {
    static const std::vector<DialogSpec> dialogs = {
#include "../../../resources/data_dialog.inc"
#include "../../../resources/station_dialog.inc"
#include "../../../resources/image_dialog.inc"
#include "../../../resources/resolution_dialog.inc"
#include "../../../resources/star_dialog.inc"
#include "../../../resources/meteor_dialog.inc"
#include "../../../resources/replay_dialog.inc"
    };
    return dialogs;
}

const std::vector<MenuSpec>& Menus() {
    static const std::vector<MenuSpec> menus = {
#include "../../../resources/menus.inc"
    };
    return menus;
}

}  // namespace

const DialogSpec* FindDialogResource(std::string_view name) {
    for (const DialogSpec& d : Dialogs())
        if (name == d.name) return &d;
    return nullptr;
}

std::vector<const DialogSpec*> DialogResources() {
    std::vector<const DialogSpec*> all;
    for (const DialogSpec& d : Dialogs()) all.push_back(&d);
    return all;
}

const MenuSpec* FindMenuResource(std::string_view name) {
    for (const MenuSpec& m : Menus())
        if (name == m.name) return &m;
    return nullptr;
}
