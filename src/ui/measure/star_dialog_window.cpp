#include "ui/measure/star_dialog_window.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <optional>

#include "ui/dialogs/dialog_support.h"
#include "ui/measure/candidate_list.h"
#include "ui/measure/meas_control.h"
#include "ui/platform/wait_cursor.h"

using namespace star_dialog;

namespace {

constexpr std::size_t kFieldBytes[3] = {9, 5, 6};

// The separator lines round the search fields, client pixels.
constexpr int kSeparators[4][4] = {{458, 114, 120, 1}, {343, 9, 234, 1}, {343, 9, 1, 106}, {576, 9, 1, 106}};

}  // namespace

TStarDialog::TStarDialog(QWidget* parent, SessionData& session, MeteorImage& image, int column, int row,
                         MessageBoxService& messages, StarSearchSettings settings)
    : TMeasureDialog("STAR_DIALOG", parent, image, messages) {
    SetCore(std::make_unique<StarDialog>(session, image, column, row, messages, std::move(settings)));
    for (const auto& s : kSeparators) new TLineControl(this, s[0], s[1], s[2], s[3]);

    // The real default button: no size, never in the tab chain, pressed by
    // Enter.
    return_ = new QPushButton(this);
    return_->setObjectName(QStringLiteral("ctl%1").arg(kReturn));
    return_->setGeometry(DialogUnits(80), DialogUnits(80), 0, 0);
    return_->setFocusPolicy(Qt::NoFocus);
    return_->setAutoDefault(false);
    connect(return_, &QPushButton::clicked, this, &TStarDialog::WMStarReturn);

    list_ = ControlAs<QListWidget>(kCandidateList);
    SetCandidateTabStops(*list_);
    connect(list_, &QListWidget::currentRowChanged, this,
            [this](int row) { Run([&] { star().SelectLine(row); }); });
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { Run([&] { star().DoubleClickLine(list_->row(item)); }); });
    for (StarField f : {StarField::Name, StarField::RA, StarField::DE})
        connect(Field(f), &QLineEdit::textEdited, this, [this, f](const QString& text) { FieldEdited(f, text); });
    connect(ControlAs<QPushButton>(kSearchButton), &QPushButton::clicked, this, &TStarDialog::WMStarSearch);
    connect(ControlAs<QPushButton>(kOkButton), &QPushButton::clicked, this, &TStarDialog::WMStarOk);
    SetupWindow();
}

void TStarDialog::SetupWindow() {
    TMeasureDialog::SetupWindow();
    Field(StarField::Name)->setFocus();
    SyncControls();
}

QLineEdit* TStarDialog::Field(StarField field) const {
    static constexpr int ids[3] = {kNameField, kRaField, kDeField};
    return ControlAs<QLineEdit>(ids[static_cast<int>(field)]);
}

void TStarDialog::FieldEdited(StarField field, const QString& text) {
    const std::string fitted = FitText(text, kFieldBytes[static_cast<int>(field)]);
    Run([&] { star().EditField(field, fitted); });
}

void TStarDialog::WMStarReturn() {
    Run([&] {
        WaitCursor wait;
        star().Return();
    });
}

void TStarDialog::WMStarSearch() {
    Run([&] {
        WaitCursor wait;
        star().Search();
    });
}

void TStarDialog::WMPosition(ControlPoint p) {
    std::optional<WaitCursor> wait;
    if (!star().list_valid()) wait.emplace();
    TMeasureDialog::WMPosition(p);
}

void TStarDialog::WMStarOk() {
    Run([&] { star().Ok(); });
}

void TStarDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        return_->click();
        return;
    }
    TMeasureDialog::keyPressEvent(event);
}

void TStarDialog::SetButtonStates() {
    const int def = star().default_button();
    ControlAs<QPushButton>(def)->setDefault(true);
    ControlAs<QPushButton>(kSearchButton + kOkButton - def)->setDefault(false);
}

void TStarDialog::ShowList() {
    if (star().lines() != shown_lines_) {
        shown_lines_ = star().lines();
        const QSignalBlocker block(list_);
        list_->clear();
        for (const std::string& line : shown_lines_) list_->addItem(QString::fromStdString(line));
    }
    const QSignalBlocker block(list_);
    const int selected = star().selected();
    list_->setCurrentRow(selected);
    if (selected < 0) list_->clearSelection();
    else list_->scrollToItem(list_->item(selected));
}

void TStarDialog::SyncControls() {
    for (StarField f : {StarField::Name, StarField::RA, StarField::DE}) {
        const QString text = QString::fromStdString(star().field(f));
        if (Field(f)->text() != text) Field(f)->setText(text);
    }
    ShowList();
    SetButtonStates();
}
