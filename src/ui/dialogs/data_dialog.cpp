#include "ui/dialogs/data_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "files/exposure_fields.h"
#include "files/station_list.h"
#include "platform/message_box.h"
#include "platform/text_input.h"
#include "session/fixed_text.h"
#include "ui/dialogs/dialog_support.h"

namespace {

constexpr int kStation = 151, kImage = 152, kMeteor = 153, kYear = 154, kMonth = 155, kDay = 156;
constexpr int kHour = 157, kMinute = 158, kSecond = 159, kRefHour = 160, kRefMinute = 161, kRefSecond = 162;
constexpr int kRefLabel = 1160, kObjective = 163, kShutter = 164, kTurner = 165, kRedsky = 166;
constexpr int kNewStationStatus = -16;
constexpr int kCustomEntry = 1;
// The custom shutter value is typed into a buffer of 6 characters.
constexpr int kCustomShutterBuffer = 7;

}  // namespace

TDataDialog::TDataDialog(QWidget* parent, DialogData* data, std::filesystem::path stationfile, bool video,
                         MessageBoxService& messages, TextInputService& text)
    : ResourceDialog("DATA_DIALOG", parent),
      data_(data),
      stationfile_(std::move(stationfile)),
      video_(video),
      messages_(messages),
      text_(text) {
    SetupWindow();
    connect(ControlAs<QComboBox>(kStation), &QComboBox::activated, this, &TDataDialog::CBNSelChange);
    connect(ControlAs<QComboBox>(kShutter), &QComboBox::activated, this, &TDataDialog::NBrCustom);
}

void TDataDialog::SetupWindow() {
    PlaceOverParent(*this);
    FillStations();
    const DialogData& d = *data_;
    SetText(kImage, d.image);
    SetText(kMeteor, d.meteor);
    SetText(kYear, d.year);
    SetText(kMonth, d.month);
    SetText(kDay, d.day);
    SetText(kHour, d.hour);
    SetText(kMinute, d.minute);
    SetText(kSecond, d.second);
    if (video_) {
        // A video's reference time is its exposure time, taken on OK.
        for (int id : {kRefLabel, kRefHour, kRefMinute, kRefSecond}) Control(id)->setEnabled(false);
    } else {
        SetText(kRefHour, d.refhour);
        SetText(kRefMinute, d.refminute);
        SetText(kRefSecond, d.refsecond);
    }
    SetText(kObjective, d.objective);
    FillShutters();
    ControlAs<QRadioButton>(d.astrometry != 0 ? kTurner : kRedsky)->setChecked(true);
}

void TDataDialog::FillStations() {
    const auto names = ReadStationNames(stationfile_);
    if (!names) messages_.Show(kStationFileMissing, "Exposure data", MbButtons::Ok, MbIcon::None);
    const ListChoice choice = ChooseStation(names, data_->station);
    auto* combo = ControlAs<QComboBox>(kStation);
    for (const std::string& entry : choice.entries) combo->addItem(QString::fromStdString(entry));
    combo->setCurrentIndex(choice.selected);
}

void TDataDialog::FillShutters() {
    const int selected = ChooseShutter(*data_);
    auto* combo = ControlAs<QComboBox>(kShutter);
    for (const std::string& entry : ShutterEntries(*data_)) combo->addItem(QString::fromStdString(entry));
    combo->setCurrentIndex(selected);
}

void TDataDialog::CBNSelChange(int index) {
    if (index != 0) return;
    data_->status = kNewStationStatus;
    accept();
}

void TDataDialog::NBrCustom(int index) {
    if (index != kCustomEntry) return;
    std::string value = data_->customshutter;
    if (text_.Ask("Custom shutter speed", "Enter number of breaks per second", value, kCustomShutterBuffer))
        copy_text(data_->customshutter, value);
    auto* combo = ControlAs<QComboBox>(kShutter);
    combo->setItemText(kCustomEntry, FieldQString(data_->customshutter));
    combo->setCurrentIndex(kCustomEntry);
}

bool TDataDialog::CanClose() {
    DialogData& d = *data_;
    ExposureTexts t;
    t.station = FitText(ControlAs<QComboBox>(kStation)->currentText(), sizeof d.station - 1);
    t.image = FitText(Text(kImage), sizeof d.image - 1);
    t.meteor = FitText(Text(kMeteor), sizeof d.meteor - 1);
    t.year = Text(kYear).toStdString();
    t.month = Text(kMonth).toStdString();
    t.day = Text(kDay).toStdString();
    t.hour = Text(kHour).toStdString();
    t.minute = Text(kMinute).toStdString();
    t.second = Text(kSecond).toStdString();
    t.refhour = Text(kRefHour).toStdString();
    t.refminute = Text(kRefMinute).toStdString();
    t.refsecond = Text(kRefSecond).toStdString();
    t.objective = FitText(Text(kObjective), sizeof d.objective - 1);
    t.shutter = FitText(ControlAs<QComboBox>(kShutter)->currentText(), sizeof d.shutter - 1);
    t.turner = ControlAs<QRadioButton>(kTurner)->isChecked();
    const ExposureField bad = CloseExposureDialog(d, t, video_);
    if (bad == ExposureField::None) return true;
    messages_.Show(kItemMissing, kExposureCaption, MbButtons::Ok, MbIcon::None);
    if (QWidget* field = Control(static_cast<int>(bad))) {
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
    }
    return false;
}

void TDataDialog::accept() {
    if (CanClose()) ResourceDialog::accept();
}

QString TDataDialog::Text(int id) const { return ControlAs<QLineEdit>(id)->text(); }

void TDataDialog::SetText(int id, const char* text) { ControlAs<QLineEdit>(id)->setText(FieldQString(text)); }
