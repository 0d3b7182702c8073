#include "files/exposure_dialogs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <vector>

#include "files/exposure_fields.h"
#include "session/fixed_text.h"

namespace fs = std::filesystem;

namespace {

// Each scripted data dialog plays one user action on the record and
// returns 1 (OK) or 2 (Cancel), as the real dialog's CanClose would leave it.
struct Script : ExposureDialogRunner {
    std::vector<std::function<int(DialogData&)>> dialogs;
    std::size_t shown = 0;
    bool confirmStation = true;
    int RunDataDialog(DialogData& d) override { return dialogs.at(shown++)(d); }
    void RunStationDialog(StationData& s) override {
        if (!confirmStation) return;
        copy_text(s.name, "Ondrejov");
        for (char* t : {s.latdeg, s.latmin, s.latsec, s.londeg, s.lonmin, s.lonsec, s.height}) std::strcpy(t, "1");
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

class ExposureCancel : public testing::Test {
protected:
    void SetUp() override {
        list_ = fs::temp_directory_path() / ("velkarn_expdlg_" + std::to_string(getpid()) + ".dat");
        fs::remove(list_);
    }
    void TearDown() override { fs::remove(list_); }
    fs::path list_;
};

TEST_F(ExposureCancel, AfterARefusedOkRestoresTheRecordAsItWasOpened) {
    DialogData d = Entered();
    const DialogData opened = d;
    Script ui;
    ui.dialogs = {RefusedOk};
    EXPECT_EQ(RunExposureDialogs(d, ui, list_), 2);
    EXPECT_TRUE(Same(d, opened));
}

TEST_F(ExposureCancel, AfterANewStationDetourRestoresTheRecordStatusIncludedButKeepsTheListedStation) {
    for (bool confirm : {true, false}) {
        fs::remove(list_);
        DialogData d = Entered();
        const DialogData opened = d;
        Script ui;
        ui.confirmStation = confirm;
        ui.dialogs = {PickNewStation, Cancel};
        EXPECT_EQ(RunExposureDialogs(d, ui, list_), 2);
        EXPECT_TRUE(Same(d, opened)) << "status " << d.status << ", station " << d.station;
        EXPECT_EQ(ReadStationNames(list_).has_value(), confirm);
    }
}

TEST_F(ExposureCancel, OkAfterTheDetourKeepsWhatWasEntered) {
    DialogData d = Entered();
    Script ui;
    ui.dialogs = {PickNewStation, [](DialogData& r) {
                      ExposureTexts t = kTyped;
                      t.station = r.station;  // the reopened dialog selects the new station
                      t.year = "2026";
                      return CloseExposureDialog(r, t, false) == ExposureField::None ? 1 : 2;
                  }};
    EXPECT_EQ(RunExposureDialogs(d, ui, list_), 1);
    EXPECT_STREQ(d.station, "Ondrejov");
    EXPECT_STREQ(d.objective, "typed");
    EXPECT_EQ(d.status, 0);
}

}  // namespace
