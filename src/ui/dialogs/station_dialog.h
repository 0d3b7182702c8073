#pragma once
// "New station": the name, latitude, longitude and height of a station to
// add to the station list. It always opens empty; a valid OK sets the
// record's accepted to 0.
#include "files/station_list.h"
#include "ui/resources/resource_builder.h"

class MessageBoxService;

class TStationDialog : public ResourceDialog {
    Q_OBJECT
public:
    TStationDialog(QWidget* parent, StationData* data, MessageBoxService& messages);

    bool CanClose();
    void accept() override;

private:
    StationData* data_;
    MessageBoxService& messages_;
};
