#pragma once
// "Exposure data": the station, image and meteor names, date and time,
// reference time, objective, shutter and astrometry method of the session,
// on the record it is given. Choosing "New station" closes it with OK and
// status -16, so that the caller can run the new-station dialog; the field
// checks and the choices of the lists are the core's (files/exposure_fields.h).
#include <filesystem>

#include "session/dialog_data.h"
#include "ui/resources/resource_builder.h"

class MessageBoxService;
class TextInputService;

class TDataDialog : public ResourceDialog {
    Q_OBJECT
public:
    // video: the image is a video, whose reference time is its exposure time.
    TDataDialog(QWidget* parent, DialogData* data, std::filesystem::path stationfile, bool video,
                MessageBoxService& messages, TextInputService& text);

    // Stores the field texts in the record and checks them; false (after the
    // message) keeps the dialog open.
    bool CanClose();
    void accept() override;

private:
    void SetupWindow();
    void FillStations();
    void FillShutters();
    // Selection in the station list: "New station" detours.
    void CBNSelChange(int index);
    // Selection in the shutter list: the custom entry asks for its value.
    void NBrCustom(int index);
    QString Text(int id) const;
    void SetText(int id, const char* text);

    DialogData* data_;
    std::filesystem::path stationfile_;
    bool video_;
    MessageBoxService& messages_;
    TextInputService& text_;
};
