#pragma once
// Runs the exposure-data and new-station dialogs for RunExposureDialogs
// (files/exposure_dialogs.h), modal over the main window.
#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "files/exposure_dialogs.h"

class MessageBoxService;
class TextInputService;

class QtExposureDialogRunner : public ExposureDialogRunner {
public:
    // stationfile and video are asked each time a dialog opens; by default
    // they are the setting opt.stationfile and whether Mimg is a video.
    QtExposureDialogRunner(QWidget* parent, MessageBoxService& messages, TextInputService& text,
                           std::function<std::filesystem::path()> stationfile = {},
                           std::function<bool()> video = {});
    void SetParent(QWidget* parent) { parent_ = parent; }

    int RunDataDialog(DialogData& d) override;
    void RunStationDialog(StationData& s) override;

private:
    QPointer<QWidget> parent_;
    MessageBoxService& messages_;
    TextInputService& text_;
    std::function<std::filesystem::path()> stationfile_;
    std::function<bool()> video_;
};
