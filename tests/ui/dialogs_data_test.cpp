#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QPushButton>
#include <QTest>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "files/exposure_dialogs.h"
#include "files/station_list.h"
#include "platform/scripted.h"
#include "session/fixed_text.h"
#include "support/scratch_dir.h"
#include "ui/dialogs/data_dialog.h"
#include "ui/dialogs/exposure_dialog_runner.h"
#include "ui/dialogs/station_dialog.h"
#include "ui_test_support.h"

namespace fs = std::filesystem;
using ui_test::WhenModal;

namespace {

const char* kList =
    "    STATION             EN       LATITUDE         LONGITUDE     HEIGHT\n"
    "\n"
    "  Darnholm               0    48.  30.   0.0    11.  15.   2.5   450.\n"
    "  Ondrejov               0    49.  54.  38.0    14.  46.  48.0   527.\n"
    "  End of file\n";

DialogData Record() {
    DialogData d;
    const std::pair<char*, const char*> fields[] = {
        {d.station, "Ondrejov"}, {d.image, "IMG7"},     {d.meteor, "12"},      {d.year, "2026"},
        {d.month, "8"},          {d.day, "12"},         {d.hour, "21"},        {d.minute, "07"},
        {d.second, "30"},        {d.refhour, "21"},     {d.refminute, "00"},   {d.refsecond, "00"},
        {d.objective, "Zeiss Biotar 1.4/50"},            {d.shutter, "25.000"}};
    for (const auto& [field, text] : fields) std::strcpy(field, text);
    d.astrometry = 0;
    return d;
}

// Types the eight fields of a station dialog: name, latitude and longitude
// (degrees, minutes, seconds) and height.
void TypeStation(QWidget* dialog, const std::vector<const char*>& texts) {
    for (int i = 0; i < 8; ++i) QTest::keyClicks(static_cast<TStationDialog*>(dialog)->ControlAs<QLineEdit>(251 + i), texts[i]);
}

class DataDialog : public testing::Test {
protected:
    void SetUp() override { std::ofstream(list_) << kList; }

    std::unique_ptr<TDataDialog> Open(bool video = false) {
        auto dialog = std::make_unique<TDataDialog>(nullptr, &d_, list_, video, messages_, text_);
        dialog->show();
        return dialog;
    }
    static QLineEdit* Edit(const TDataDialog& dlg, int id) { return dlg.ControlAs<QLineEdit>(id); }
    static QComboBox* Combo(const TDataDialog& dlg, int id) { return dlg.ControlAs<QComboBox>(id); }
    // Replaces a field's text by typing, as a user does.
    static void Type(const TDataDialog& dlg, int id, const char* text) {
        QLineEdit* e = Edit(dlg, id);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    }
    static void PressOk(TDataDialog& dlg) { QTest::mouseClick(dlg.ControlAs<QPushButton>(1), Qt::LeftButton); }

    testing_support::ScratchDir dir_;
    fs::path list_ = dir_.path() / "station.dat";
    DialogData d_ = Record();
    ScriptedMessageBox messages_;
    ScriptedTextInput text_;
};

// A field out of range keeps the dialog open with the message and that field
// focused; the custom shutter entry asks for its value; OK stores what the
// user typed and marks the data entered.
TEST_F(DataDialog, ShowsTheRecordRefusesAFieldOutOfRangeOkStoresWhatWasTypedAndAVideoTakesNoReferenceTime) {
    auto dlg = Open();
    QComboBox* stations = Combo(*dlg, 151);
    ASSERT_EQ(stations->count(), 3);
    EXPECT_EQ(stations->currentText(), "Ondrejov          ");
    for (const auto& [id, text] : {std::pair{152, "IMG7"}, {157, "21"}, {161, "00"}, {163, "Zeiss Biotar 1.4/50"}})
        EXPECT_EQ(Edit(*dlg, id)->text(), text) << id;
    EXPECT_EQ(Combo(*dlg, 164)->currentIndex(), 5);
    EXPECT_TRUE(dlg->ControlAs<QRadioButton>(166)->isChecked());

    Type(*dlg, 158, "60");
    QTest::keyClick(Edit(*dlg, 163), Qt::Key_Return);
    EXPECT_TRUE(dlg->isVisible());
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption + ": " + messages_.shown[0].text, "Exposure Data: Item missing or\nout of range");
    EXPECT_EQ(dlg->focusWidget(), Edit(*dlg, 158));
    EXPECT_EQ(d_.status, -8);

    Type(*dlg, 158, "07");
    Type(*dlg, 152, "IMG8");
    Type(*dlg, 155, "9");
    Type(*dlg, 160, "2x2");  // the letter is dropped
    stations->setFocus();
    QTest::keyClick(stations, Qt::Key_Up);  // Darnholm
    QTest::mouseClick(dlg->ControlAs<QRadioButton>(165), Qt::LeftButton);
    text_.answers = {{true, "12.5"}};
    QComboBox* shutters = Combo(*dlg, 164);
    shutters->setFocus();
    QTest::keyClick(shutters, Qt::Key_Home);  // "0.0   "
    QTest::keyClick(shutters, Qt::Key_Down);  // the custom entry
    ASSERT_EQ(text_.asked.size(), 1u);
    EXPECT_EQ(text_.asked[0].title, "Custom shutter speed");
    EXPECT_EQ(shutters->currentText(), "12.5");
    PressOk(*dlg);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(std::string(d_.station) + "|" + d_.image + "|" + d_.month + "|" + d_.refhour + "|" + d_.shutter + "|" +
                  d_.customshutter,
              "Darnholm          |IMG8|9|22|12.5|12.5");
    EXPECT_EQ(d_.astrometry, 1);
    EXPECT_EQ(d_.status, 0);
    EXPECT_EQ(messages_.shown.size(), 1u);

    // For a video the reference time is greyed, empty, and takes the
    // exposure time.
    dlg = Open(true);
    for (int id : {160, 161, 162}) EXPECT_FALSE(Edit(*dlg, id)->isEnabled() || !Edit(*dlg, id)->text().isEmpty()) << id;
    EXPECT_FALSE(dlg->ControlAs<QLabel>(1160)->isEnabled());
    PressOk(*dlg);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(std::string(d_.refhour) + ":" + d_.refminute + ":" + d_.refsecond, "21:07:30");
}

TEST_F(DataDialog, WithoutAStationListSaysSoAndOffersNewStation) {
    fs::remove(list_);
    copy_text(d_.station, "");
    auto dlg = Open();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption + ": " + messages_.shown[0].text, "Exposure data: Station file cannot be opened!");
    EXPECT_EQ(Combo(*dlg, 151)->count(), 1);
}

// The whole command as a user meets it: the exposure dialog, "New station",
// the station dialog, and the exposure dialog again with the new station.
// (Cancel after such a detour is tested on the dialogs' sequence.)
TEST_F(DataDialog, ANewStationEnteredOnTheWayIsListedFirstAndSelectedInTheReopenedDialog) {
    QtExposureDialogRunner runner(nullptr, messages_, text_, [this] { return list_; }, [] { return false; });
    WhenModal("DATA_DIALOG", [](QWidget* w) {
        QTest::keyClicks(static_cast<TDataDialog*>(w)->ControlAs<QLineEdit>(153), "3");
        auto* stations = static_cast<TDataDialog*>(w)->ControlAs<QComboBox>(151);
        stations->setFocus();
        QTest::keyClick(stations, Qt::Key_Home);
        WhenModal("STATION_DIALOG", [](QWidget* s) {
            TypeStation(s, {"Skalnate Pleso", "49", "11", "20.5", "20", "14", "2", "1786"});
            QTest::keyClick(s, Qt::Key_Return);
            WhenModal("DATA_DIALOG", [](QWidget* again) {
                auto* dlg = static_cast<TDataDialog*>(again);
                EXPECT_EQ(dlg->ControlAs<QComboBox>(151)->currentIndex(), 1);
                EXPECT_EQ(dlg->ControlAs<QComboBox>(151)->currentText(), "Skalnate Pleso    ");
                QTest::keyClick(dlg, Qt::Key_Return);
            });
        });
    });
    EXPECT_EQ(RunExposureDialogs(d_, runner, list_), 1);
    EXPECT_STREQ(d_.station, "Skalnate Pleso    ");
    EXPECT_STREQ(d_.meteor, "123") << "what was typed before the detour is kept";
    EXPECT_EQ(d_.status, 0);
    EXPECT_EQ(*ReadStationNames(list_),
              (std::vector<std::string>{"Skalnate Pleso    ", "Darnholm          ", "Ondrejov          "}));
}

// Empty at first; a field out of range (which fields are, is checked on the
// exposure fields) keeps it open; a valid OK fills the record.
TEST(StationDialog, OpensEmptyRefusesBadFieldsAndAValidOkFillsTheRecord) {
    ScriptedMessageBox messages;
    StationData s;
    const auto ok = [&messages, &s](std::vector<const char*> texts) {
        s = StationData{};
        TStationDialog dlg(nullptr, &s, messages);
        dlg.show();
        for (int id = 251; id <= 258; ++id) EXPECT_EQ(dlg.ControlAs<QLineEdit>(id)->text(), "") << id;
        TypeStation(&dlg, texts);
        QTest::keyClick(&dlg, Qt::Key_Return);
        const bool closed = !dlg.isVisible();
        EXPECT_EQ(s.accepted, closed ? 0 : -1);
        EXPECT_EQ(closed, dlg.result() == QDialog::Accepted);
        return closed;
    };
    EXPECT_FALSE(ok({"Darnholm", "90", "5", "0", "14", "0", "0", "300"}));
    EXPECT_EQ(messages.shown.back().caption + ": " + messages.shown.back().text,
              "New station: Item missing or\nout of range");
    const std::size_t refusals = messages.shown.size();
    EXPECT_TRUE(ok({"Darnholm", "-89", "5", "59.9", "-359", "59", "12.5", "9999"}));
    EXPECT_EQ(messages.shown.size(), refusals);
    EXPECT_EQ(std::string(s.name) + " " + s.latdeg + " " + s.lonsec + " " + s.height, "Darnholm -89 12.5 9999");
}

}  // namespace
