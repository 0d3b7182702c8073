#include "files/exposure_dialogs.h"

#include "session/fixed_text.h"

int RunExposureDialogs(DialogData& d, ExposureDialogRunner& ui, const std::filesystem::path& stationfile) {
    // Cancel gives the observer back the record as it was: texts stored by a
    // refused OK or before a detour, and a status the detour reset to 0,
    // would otherwise pass for entered data.
    const DialogData opened = d;
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
    if (result == 2) d = opened;
    return result;
}
