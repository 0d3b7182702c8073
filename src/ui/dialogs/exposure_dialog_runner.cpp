#include "ui/dialogs/exposure_dialog_runner.h"

#include "files/options.h"
#include "image/meteor_image.h"
#include "ui/dialogs/data_dialog.h"
#include "ui/dialogs/station_dialog.h"

QtExposureDialogRunner::QtExposureDialogRunner(QWidget* parent, MessageBoxService& messages, TextInputService& text,
                                               std::function<std::filesystem::path()> stationfile,
                                               std::function<bool()> video)
    : parent_(parent), messages_(messages), text_(text), stationfile_(std::move(stationfile)), video_(std::move(video)) {
    if (!stationfile_) stationfile_ = [] { return std::filesystem::path(opt.stationfile); };
    if (!video_) video_ = [] { return Mimg != nullptr && Mimg->IsVideo(); };
}

int QtExposureDialogRunner::RunDataDialog(DialogData& d) {
    TDataDialog dialog(parent_, &d, stationfile_(), video_(), messages_, text_);
    return dialog.exec() == QDialog::Accepted ? 1 : 2;
}

void QtExposureDialogRunner::RunStationDialog(StationData& s) {
    TStationDialog dialog(parent_, &s, messages_);
    dialog.exec();
}
