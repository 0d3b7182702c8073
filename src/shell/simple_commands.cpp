// The main window's commands that change only the view, the measuring mode
// or an option.
#include <cstdio>

#include "platform/message_box.h"
#include "shell/main_commands.h"
#include "shell/option_inputs.h"
#include "shell/shell_view.h"
#include "shell/state_flags.h"

void MainCommands::WMImageZoom() {
    if (sf.dispmode == kFitMode) {
        s_.view.DisplayResetZoom();
        return;
    }
    s_.view.DisplaySetImageZoom();
    sf.dispmode = kFitMode;
    s_.view.RepaintDisplay(true);
}

void MainCommands::WMImagePixel() {
    if (sf.dispmode == kPixelMode) {
        s_.view.DisplayResetZoom();
        return;
    }
    sf.dispmode = kPixelMode;
    s_.view.DisplaySetImagePixel();
}

void MainCommands::WMImagePlay() {
    if (image_) image_->Play(s_.desktop);
}

void MainCommands::WMImageInfo() {
    if (!image_) return;
    char text[128];
    int n = std::snprintf(text, sizeof text, "Width: %i\nHeight: %i\n", image_->width, image_->height);
    if (image_->IsVideo()) {
        std::snprintf(text + n, sizeof text - n, "Frames: %i", image_->GetNFr());
    } else {
        std::snprintf(text + n, sizeof text - n, "Size: %li",
                      static_cast<long>(image_->width) * static_cast<long>(image_->height));
    }
    s_.messages.Show(text, "      Image info      ", MbButtons::Ok, MbIcon::None);
}

void MainCommands::WMStarMode() {
    sf.measmode = kStarMode;
    s_.view.RepaintStatus();
}

void MainCommands::WMMeteorMode() {
    sf.measmode = kMeteorMode;
    s_.view.RepaintStatus();
}

void MainCommands::WMMReplay() { ReplayProcess(200); }

void MainCommands::WMReplay() { ReplayProcess(-1); }

void MainCommands::WMWindowMeasure() {
    s_.view.ShowPane(false);
    sf.analysis = 0;
    SetMenuState();
}

void MainCommands::WMWindowAnalysis() {
    s_.view.ShowPane(true);
    sf.analysis = 1;
    SetMenuState();
}

void MainCommands::WMOptionRandom() { AskIntOption(s_.text, kRandomnessInput, opt.randomness); }

void MainCommands::WMOptionSearch() { AskFloatOption(s_.text, kSearchAreaInput, opt.radius); }

void MainCommands::WMOptionLimit() { AskFloatOption(s_.text, kLimitInput, opt.limit); }

void MainCommands::WMOptionIdentifyTime() { AskFloatOption(s_.text, kIdentifyTimeInput, opt.identifytime); }

void MainCommands::WMOptionSnapCentre() {
    opt.snapcentre = opt.snapcentre == 0 ? 1 : 0;
    s_.view.MenuStateChanged();
}

void MainCommands::WMImageShowResiduals() {
    opt.showresiduals = opt.showresiduals == 0 ? 1 : 0;
    s_.view.MenuStateChanged();
    s_.view.RepaintDisplay(false);
}

void MainCommands::WMImageShowCatalogue() {
    opt.catoverlay = opt.catoverlay == 0 ? 1 : 0;
    s_.view.MenuStateChanged();
    s_.view.RepaintDisplay(false);
}

void MainCommands::WMOptionMarkCenter() {
    opt.markcenter = opt.markcenter == 0 ? 1 : 0;
    // The menu's check mark follows opt.markcenter.
    s_.view.MenuStateChanged();
    s_.view.RepaintDisplay(false);
}
