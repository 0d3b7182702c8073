#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "ui/resources/resource_builder.h"

namespace {

void AddItems(const MenuPopupSpec& popup, QMenu& menu) {
    for (const MenuItemSpec& item : popup.items) {
        if (item.flags & menu_flag::Separator) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromUtf8(item.text));
        action->setData(item.id);
        if (item.shortcut) action->setShortcut(QKeySequence(QString::fromUtf8(item.shortcut)));
        action->setEnabled((item.flags & menu_flag::Grayed) == 0);
        if (item.flags & (menu_flag::Checked | menu_flag::Checkable)) {
            action->setCheckable(true);
            action->setChecked((item.flags & menu_flag::Checked) != 0);
        }
    }
}

QAction* FindIn(const QList<QAction*>& actions, int id) {
    for (QAction* a : actions) {
        if (a->menu() != nullptr) {
            if (QAction* found = FindIn(a->menu()->actions(), id)) return found;
        } else if (CommandOf(a) == id) {
            return a;
        }
    }
    return nullptr;
}

}  // namespace

void BuildMenuBar(const MenuSpec& plan, QMenuBar& bar) {
    for (const MenuPopupSpec& popup : plan.popups) {
        QMenu* menu = bar.addMenu(QString::fromUtf8(popup.name));
        AddItems(popup, *menu);
    }
}

QMenu* BuildPopupMenu(const MenuSpec& plan, int position, QWidget* parent) {
    if (position < 0 || position >= static_cast<int>(plan.popups.size())) return nullptr;
    const MenuPopupSpec& popup = plan.popups[static_cast<std::size_t>(position)];
    auto* menu = new QMenu(QString::fromUtf8(popup.name), parent);
    AddItems(popup, *menu);
    return menu;
}

QMenu* BuildPopupMenu(const MenuSpec& plan, std::string_view name, QWidget* parent) {
    for (std::size_t i = 0; i < plan.popups.size(); ++i)
        if (name == plan.popups[i].name) return BuildPopupMenu(plan, static_cast<int>(i), parent);
    return nullptr;
}

QAction* FindCommand(const QWidget* menuOrBar, int id) {
    if (menuOrBar == nullptr || id == 0) return nullptr;
    return FindIn(menuOrBar->actions(), id);
}

int CommandOf(const QAction* action) {
    if (action == nullptr || action->isSeparator()) return 0;
    const QVariant v = action->data();
    return v.isValid() ? v.toInt() : 0;
}
