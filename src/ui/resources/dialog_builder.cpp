#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QScrollBar>
#include <stdexcept>
#include <string>

#include "ui/dialogs/numeric_edits.h"
#include "ui/resources/resource_builder.h"

namespace {

constexpr const char* kIdProperty = "velkarnControlId";

QString ObjectNameOf(int id) { return QStringLiteral("ctl%1").arg(id); }

QLabel* MakeLabel(const ControlSpec& c, QWidget* parent, Qt::Alignment align) {
    auto* label = new QLabel(QString::fromUtf8(c.text), parent);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

QPushButton* MakeButton(const ControlSpec& c, QDialog& dialog, bool isDefault) {
    auto* button = new QPushButton(QString::fromUtf8(c.text), &dialog);
    button->setAutoDefault(false);
    button->setDefault(isDefault);
    if (c.id == 1) QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::accept);
    if (c.id == 2) QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::reject);
    return button;
}

QWidget* MakeControl(const ControlSpec& c, QDialog& dialog) {
    switch (c.kind) {
        case ControlKind::Label: return MakeLabel(c, &dialog, Qt::AlignLeft);
        case ControlKind::LabelRight: return MakeLabel(c, &dialog, Qt::AlignRight);
        case ControlKind::LabelCentre: return MakeLabel(c, &dialog, Qt::AlignHCenter);
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(&dialog);
            if (c.limit > 0) edit->setMaxLength(c.limit);
            return edit;
        }
        case ControlKind::UIntEdit: return new T_UINTEdit(c.limit, &dialog);
        case ControlKind::IntEdit: return new T_INTEdit(c.limit, &dialog);
        case ControlKind::UFloatEdit: return new T_UFLOATEdit(c.limit, &dialog);
        case ControlKind::DropList: {
            auto* combo = new QComboBox(&dialog);
            combo->setEditable(false);
            combo->setMaxVisibleItems(12);
            return combo;
        }
        case ControlKind::ListBox: {
            auto* list = new QListWidget(&dialog);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            return list;
        }
        case ControlKind::Button: return MakeButton(c, dialog, false);
        case ControlKind::DefButton: return MakeButton(c, dialog, true);
        case ControlKind::GroupBox: return new QGroupBox(QString::fromUtf8(c.text), &dialog);
        case ControlKind::Radio: return new QRadioButton(QString::fromUtf8(c.text), &dialog);
        case ControlKind::Check: return new QCheckBox(QString::fromUtf8(c.text), &dialog);
        case ControlKind::HScroll: return new QScrollBar(Qt::Horizontal, &dialog);
        case ControlKind::Custom: return new QWidget(&dialog);
    }
    return new QWidget(&dialog);
}

}  // namespace

void BuildDialog(const DialogSpec& plan, QDialog& dialog, const ControlFactory& factory) {
    dialog.setWindowTitle(QString::fromUtf8(plan.title));
    dialog.setFixedSize(DialogUnits(plan.w), DialogUnits(plan.h));
    QButtonGroup* radios = nullptr;
    for (const ControlSpec& c : plan.controls) {
        QWidget* w = factory ? factory(c, &dialog) : nullptr;
        if (w == nullptr) w = MakeControl(c, dialog);
        if (w->parentWidget() != &dialog) w->setParent(&dialog);
        w->setGeometry(DialogUnits(c.x), DialogUnits(c.y), DialogUnits(c.w), DialogUnits(c.h));
        w->setProperty(kIdProperty, c.id);
        if (c.id != -1) w->setObjectName(ObjectNameOf(c.id));
        // A group box frames controls made before or after it; it stays
        // underneath them all.
        if (c.kind == ControlKind::GroupBox) w->lower();
        // A run of radio buttons is one group, as consecutive radio
        // buttons of a dialog template are.
        if (c.kind == ControlKind::Radio) {
            if (radios == nullptr) radios = new QButtonGroup(&dialog);
            radios->addButton(static_cast<QRadioButton*>(w));
        } else {
            radios = nullptr;
        }
        w->show();
    }
}

QWidget* FindControl(const QWidget* dialog, int id) {
    if (dialog == nullptr || id == -1) return nullptr;
    return dialog->findChild<QWidget*>(ObjectNameOf(id));
}

int ControlId(const QWidget* control) {
    if (control == nullptr) return -1;
    const QVariant v = control->property(kIdProperty);
    return v.isValid() ? v.toInt() : -1;
}

ResourceDialog::ResourceDialog(std::string_view resource, QWidget* parent, const ControlFactory& factory)
    : QDialog(parent) {
    const DialogSpec* plan = FindDialogResource(resource);
    if (plan == nullptr) throw std::invalid_argument("no dialog resource " + std::string(resource));
    setObjectName(QString::fromUtf8(plan->name));
    BuildDialog(*plan, *this, factory);
}
