// Measure > Identify stars automatically.
#include <cstdio>

#include "astro/numerical_error.h"
#include "files/options.h"
#include "identify/deep_picture.h"
#include "identify/identify_stars.h"
#include "image/fits_file_image.h"
#include "platform/message_box.h"
#include "platform/progress.h"
#include "shell/main_commands.h"
#include "shell/measure_dialogs.h"
#include "shell/shell_view.h"
#include "shell/state_flags.h"

void MainCommands::WMIdentifyStars() {
    if (!image_ || !image_->HasPicture() || (image_->type & ImageType::Blank) != 0) return;
    IdentifyRequest request;
    request.files = CatalogueFilesFor(opt, paths_);
    request.limit = opt.limit > 0 ? opt.limit : 8.0f;
    request.time_limit_s = opt.identifytime > 0 ? opt.identifytime : 30.0;
    request.width_deg = SessionFieldWidth(*session_, image_->width);
    if (const auto* fits = dynamic_cast<const FITSFileImage*>(image_.get()); fits && !fits->wcs.empty())
        request.header_wcs = ReadTanWcs(fits->filename);
    MeasuringPicture deep;
    const GreyView picture = IdentificationView(*image_, deep);
    const IdentifyResult result = IdentifyStars(picture, request, s_.progress);
    s_.progress.Clear();
    if (result.status == IdentifyStatus::Cancelled) return;
    if (result.status != IdentifyStatus::Found) {
        s_.messages.Show(IdentifyStatusText(result.status), kIdentifyCaption, MbButtons::Ok, MbIcon::Exclamation);
        return;
    }
    const std::vector<StarProposal> fresh = NewProposals(*session_, result.proposals);
    if (fresh.empty()) {
        s_.messages.Show("Every star found is in the session already.", kIdentifyCaption, MbButtons::Ok,
                         MbIcon::Information);
        return;
    }
    const auto chosen = s_.measure.RunIdentifyProposals(result.solution, fresh);
    if (!chosen || chosen->empty()) return;
    try {
        AddProposals(*session_, *chosen);
    } catch (const std::exception& e) {
        // The stars stay: they were measured; the reduction is what failed.
        ShowNumericalError(e, kIdentifyCaption);
    }
    sf.changed = 1;
    sf.recalc = 1;
    SelectedStar::iselect = -1;
    SetMenuState();
    s_.view.RepaintStatus();
    s_.view.RepaintAnalysis();
    s_.view.PaintMarkers();
}
