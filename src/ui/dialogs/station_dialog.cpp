#include "ui/dialogs/station_dialog.h"

#include <QLineEdit>
#include <cstring>

#include "files/exposure_fields.h"
#include "platform/message_box.h"
#include "ui/dialogs/dialog_support.h"

namespace {

// Copies a field's text into a record text of N bytes (terminator included).
template <std::size_t N>
void Store(char (&field)[N], const QLineEdit* edit) {
    const std::string text = FitText(edit->text(), N - 1);
    std::memcpy(field, text.c_str(), text.size() + 1);
}

}  // namespace

TStationDialog::TStationDialog(QWidget* parent, StationData* data, MessageBoxService& messages)
    : ResourceDialog("STATION_DIALOG", parent), data_(data), messages_(messages) {
    PlaceOverParent(*this);
}

bool TStationDialog::CanClose() {
    StationData& s = *data_;
    Store(s.name, ControlAs<QLineEdit>(251));
    Store(s.latdeg, ControlAs<QLineEdit>(252));
    Store(s.latmin, ControlAs<QLineEdit>(253));
    Store(s.latsec, ControlAs<QLineEdit>(254));
    Store(s.londeg, ControlAs<QLineEdit>(255));
    Store(s.lonmin, ControlAs<QLineEdit>(256));
    Store(s.lonsec, ControlAs<QLineEdit>(257));
    Store(s.height, ControlAs<QLineEdit>(258));
    const StationField bad = CloseStationDialog(s);
    if (bad == StationField::None) return true;
    messages_.Show(kItemMissing, kStationCaption, MbButtons::Ok, MbIcon::None);
    if (auto* field = ControlAs<QLineEdit>(static_cast<int>(bad))) {
        field->setFocus();
        field->selectAll();
    }
    return false;
}

void TStationDialog::accept() {
    if (CanClose()) ResourceDialog::accept();
}
