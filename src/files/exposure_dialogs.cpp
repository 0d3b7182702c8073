#include "files/exposure_dialogs.h"

#include "session/fixed_text.h"

int RunExposureDialogs(DialogData& d, ExposureDialogRunner& ui, const std::filesystem::path& stationfile) {
    int result = ui.RunDataDialog(d);
    while (d.status == -16) {
        d.status = 0;
        StationData s;
        ui.RunStationDialog(s);
        if (s.accepted == 0) {
            copy_text(d.station, s.name);
            AddStation(stationfile, s);
        }
        result = ui.RunDataDialog(d);
    }
    return result;
}
