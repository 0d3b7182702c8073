// The station list, and the record the exposure dialogs give back on Cancel
// after a refused OK or a detour through a new station.
#include "files/station_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "files/exposure_dialogs.h"
#include "files/exposure_fields.h"
#include "session/fixed_text.h"
#include "support/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

const std::string kHeading = std::string(kStationHeading) + "\n";
const std::string kDarnholm = "  Darnholm               0    48.  30.   0.0    11.  15.   2.5   450.\n";
const std::string kEnd = "  End of file\n";

const StationData kDarnholmData{"Darnholm", "48", "30", "0", "11", "15", "2.5", "450"};
const StationData kOndrejovData{"Ondrejov", "-49", "5", "59.9", "-14", "46", "12.5", "9999"};
const std::string kOndrejov = "  Ondrejov               0   -49.   5.  59.9   -14.  46.  12.5  9999.\n";

// Plays the user of the exposure dialogs: each data dialog runs the next
// scripted step, which returns 1 (OK) or 2 (Cancel) as the real dialog's
// CanClose would leave it; each station dialog enters Ondrejov or is
// cancelled, as scripted.
struct ScriptedDialogs : ExposureDialogRunner {
    std::vector<std::function<int(DialogData&)>> steps;
    std::vector<bool> confirm;
    std::size_t dataDialogs = 0, stationDialogs = 0;
    int RunDataDialog(DialogData& d) override { return steps.at(dataDialogs++)(d); }
    void RunStationDialog(StationData& s) override {
        if (!confirm.at(stationDialogs++)) return;
        s = kOndrejovData;
        CloseStationDialog(s);
    }
};

const ExposureTexts kTyped{"Darnholm", "X", "9", "1899", "1", "1", "0", "0", "0", "0", "0", "0", "typed", "8.333 "};

int RefusedOk(DialogData& d) {
    EXPECT_NE(CloseExposureDialog(d, kTyped, false), ExposureField::None);  // year 1899
    return 2;  // then Cancel
}
int PickNewStation(DialogData& d) {
    d.status = -16;
    CloseExposureDialog(d, kTyped, false);
    return 1;
}
int Cancel(DialogData&) { return 2; }

// The record as the exposure dialogs are opened on it.
DialogData Entered() {
    DialogData d;
    copy_text(d.station, "Darnholm");
    copy_text(d.image, "IMG1");
    copy_text(d.year, "2026");
    copy_text(d.shutter, "25.000");
    d.astrometry = 0;
    d.status = -8;
    return d;
}

bool Same(const DialogData& a, const DialogData& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class StationList : public testing::Test {
protected:
    void Write(const std::string& text) { testing_support::WriteText(list_, text); }
    std::string Read() const { return testing_support::ReadText(list_); }
    testing_support::ScratchDir scratch_;
    fs::path dir_ = scratch_.path(), list_ = dir_ / "station.dat";
};

TEST_F(StationList, ANewStationGoesOnTopAboveTheOlderRecordsAndTheEndLineWhichAMissingListGetsNot) {
    Write(kHeading + kDarnholm + kEnd + "  Dropped after the end line\n");
    ASSERT_TRUE(AddStation(list_, kOndrejovData));
    EXPECT_EQ(Read(), kHeading + kOndrejov + kDarnholm + kEnd);
    EXPECT_FALSE(fs::exists(dir_ / kStationTempName));
    // A missing list, or one without end line, is extended whole; a record
    // holding a NUL byte is copied byte for byte.
    fs::remove(list_);
    ASSERT_TRUE(AddStation(list_, kDarnholmData));
    EXPECT_EQ(Read(), kHeading + kDarnholm);
    const std::string odd = std::string("  Od\0d station", 14) + "     0    48.\n";
    Write(kHeading + odd + kDarnholm + "  Last");
    ASSERT_TRUE(AddStation(list_, kOndrejovData));
    EXPECT_EQ(Read(), kHeading + kOndrejov + odd + kDarnholm + "  Last\n");
}

TEST_F(StationList, AFailedAddLeavesTheOldListUntouchedAndNamesComeBackPaddedUpToTheEndLine) {
    Write(kHeading + kDarnholm + kEnd);
    fs::create_directory(dir_ / kStationTempName);  // the new list cannot be built
    EXPECT_FALSE(AddStation(list_, kOndrejovData));
    EXPECT_EQ(Read(), kHeading + kDarnholm + kEnd);
    // A list that is itself called tempstat.dat is not emptied by its rebuild.
    fs::remove(dir_ / kStationTempName);
    list_ = dir_ / kStationTempName;
    Write(kHeading + kDarnholm + kEnd);
    ASSERT_TRUE(AddStation(list_, kOndrejovData));
    EXPECT_EQ(Read(), kHeading + kOndrejov + kDarnholm + kEnd);

    list_ = dir_ / "names.dat";
    EXPECT_FALSE(ReadStationNames(list_));
    Write(kStationHeading + std::string("\r\n\r\n") + "  Ondrejov               0\r\n" + kDarnholm + kEnd + kOndrejov);
    EXPECT_EQ(ReadStationNames(list_), (std::vector<std::string>{"Ondrejov          ", "Darnholm          "}));
}

TEST_F(StationList, CancelAfterARefusedOkOrANewStationDetourRestoresTheRecordButKeepsTheListedStation) {
    // A refused OK, then the detour with the new station entered or not; the
    // status included.
    for (const int detour : {0, 1, 2}) {
        fs::remove(list_);
        DialogData d = Entered();
        const DialogData opened = d;
        ScriptedDialogs ui;
        ui.steps = detour ? decltype(ui.steps){PickNewStation, Cancel} : decltype(ui.steps){RefusedOk};
        ui.confirm = {detour == 1};
        EXPECT_EQ(RunExposureDialogs(d, ui, list_), 2);
        EXPECT_TRUE(Same(d, opened)) << "status " << d.status << ", station " << d.station;
        EXPECT_EQ(ReadStationNames(list_).has_value(), detour == 1);
    }
}

}  // namespace
