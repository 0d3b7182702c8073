// File > Open image file, Edit > Paste image, and what both do once an
// image source exists.
#include <exception>

#include "image/bmp_clip_image.h"
#include "image/image_status.h"
#include "image/open_image.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "session/fixed_text.h"
#include "shell/image_file_names.h"
#include "shell/main_commands.h"
#include "shell/shell_view.h"
#include "shell/state_flags.h"

namespace {

// Every failed load is reported, except an Escape the user pressed.
std::string ConstructMessage(int status) {
    if (status == kStatusAborted) return std::string();
    std::string text = ImageStatusMessage(status);
    if (text.empty()) text = "Image cannot be opened (status " + std::to_string(status) + ")";
    return text;
}

}  // namespace

void MainCommands::ConstructImage(std::unique_ptr<MeteorImage> image, const std::string& name, int pcd_resolution) {
    if (image->status == kStatusOk) {
        image_ = std::move(image);
        Mimg = image_.get();
        image_resolution_ = pcd_resolution;
        sf.imgloaded = 1;
        sf.dispmode = kFitMode;
        sf.measmode = kStarMode;
        s_.view.SetCaption("Velkarn - [" + name + "]");
        s_.view.DisplaySetScroller();
        // Nothing before the new image can be undone.
        ResetHistory(true);
        LeaveClipboardWatch();
        s_.view.ShowStatusButtons(true);
    } else {
        const std::string text = ConstructMessage(image->status);
        if (!text.empty()) s_.messages.Show(text, "Construct image", MbButtons::Ok, MbIcon::None);
    }
    s_.view.RepaintMain(false);
}

void MainCommands::WMImgFileOpen() {
    FileDialogRequest request;
    request.filters = ImageFileFilters();
    request.filter_index = ImageFilterIndex(ImageKindOf(opt.image));
    request.directory = DirectoryPart(opt.image);
    const std::optional<std::string> path = s_.files.Open(request);
    if (!path) return;

    s_.view.SetWaitCursor(true);
    // The remembered directory is kept only when it fits the settings'
    // field whole; a cut path would name another directory.
    const std::string pattern = ImagePattern(*path);
    if (FitsOptionPath(pattern)) {
        copy_text(opt.image, pattern);
    } else {
        s_.messages.Show(OverlongPathText(pattern, "The directory is not remembered for the next image."),
                         "Open image", MbButtons::Ok, MbIcon::Exclamation);
    }
    const int resolution = opt.pcdres;
    std::unique_ptr<MeteorImage> image = LoadImageFile(*path, resolution);
    if (image) {
        // A failed load leaves the exposure record as it was.
        if (image->status == kStatusOk) copy_text(SessionData::dlgdat.image, ImageNameOf(*path));
        ConstructImage(std::move(image), *path, resolution);
    }
    s_.view.SetWaitCursor(false);
}

std::unique_ptr<MeteorImage> MainCommands::LoadImageFile(const std::string& path, int pcd_resolution) {
    try {
        ImageOpenContext context{s_.progress, pcd_resolution, &s_.messages};
        return OpenImageFile(path, context);
    } catch (const std::exception&) {
        s_.messages.Show("Invalid format", "Open image", MbButtons::Ok, MbIcon::None);
    }
    return nullptr;
}

void MainCommands::WMImgPaste() {
    s_.view.SetWaitCursor(true);
    try {
        if (ClipAvail == 1) ConstructImage(std::make_unique<BMPClipImage>(s_.clipboard), "Bitmap from clipboard");
    } catch (const std::exception&) {
        s_.messages.Show("Unspecified error", "Open image", MbButtons::Ok, MbIcon::None);
    }
    s_.view.SetWaitCursor(false);
}
