#pragma once
// The order in which SessionData::ExpDataDialog runs its two dialogs: the
// exposure dialog, and as long as the user picks "New station" there, the
// new-station dialog followed by the exposure dialog again. A confirmed new
// station becomes the session's station and is added to the station list.
// The caller brings the stars to the date afterwards (ProperMotion(-1),
// CalculateOC()), also after Cancel.

#include <filesystem>

#include "files/station_list.h"
#include "session/dialog_data.h"

class ExposureDialogRunner {
public:
    virtual ~ExposureDialogRunner() = default;
    // The modal "Exposure data" dialog on the record: 1 for OK, 2 for Cancel.
    // Picking "New station" sets status to -16 and closes it with OK.
    virtual int RunDataDialog(DialogData& d) = 0;
    // The modal "New station" dialog on an empty record; a valid OK sets
    // accepted to 0.
    virtual void RunStationDialog(StationData& s) = 0;
};

// The result of the last exposure dialog: 1 for OK, 2 for Cancel. Cancel
// restores the record exactly as it was when the first dialog opened, status
// included; a station confirmed on the way stays in the list. A station that
// cannot be added to the list is still used for the session, silently.
int RunExposureDialogs(DialogData& d, ExposureDialogRunner& ui, const std::filesystem::path& stationfile);
