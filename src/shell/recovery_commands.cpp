// Recovery after a crash: the copy of unsaved work kept after every change,
// and the offer to restore it at the next start.
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "files/options.h"
#include "image/fake_image.h"
#include "platform/diagnostics.h"
#include "platform/message_box.h"
#include "shell/main_commands.h"
#include "shell/shell_view.h"
#include "shell/state_flags.h"

namespace {

constexpr const char* kCaption = "Velkarn";
constexpr const char* kRestoreQuestion = "Velkarn did not end normally. Restore the unsaved session?";

// The image as the copy records it; a path is kept whole and absolute, so
// that the image is found again whatever directory the next start runs in.
RecoveryImage RecordedImage(const MeteorImage* image, int pcd_resolution) {
    RecoveryImage r;
    if (image == nullptr) return r;
    std::error_code ec;
    if (!image->filename.empty()) r.path = std::filesystem::absolute(image->filename, ec).string();
    if (ec) r.path = image->filename;
    r.type = image->type;
    r.width = image->width;
    r.height = image->height;
    r.pcd_resolution = (image->type & ImageType::PhotoCD) != 0 ? pcd_resolution : 0;
    return r;
}

// The blank stand-in for the image of a copy: of the size the image had, so
// that the plate origin stays where it was on it, and of its kind.
std::unique_ptr<FakeImage> BlankFor(const RecoveryImage& image, float x0, float y0) {
    const int kind = (image.type & ImageType::Frames) != 0 ? ImageType::BlankVideo : ImageType::BlankPhoto;
    if (image.width <= 0 || image.height <= 0) return MakeBlankImage(x0, y0, kind);
    return std::make_unique<FakeImage>(image.width, image.height, kind);
}

}  // namespace

void MainCommands::UpdateRecoveryCopy(bool tell_failure) {
    // A recomputation outside a command brings the current step's
    // reduction up to date as well.
    history_.Record(*session_, SessionData::dlgdat);
    if (!sf.changed || !recovery_.enabled()) return;
    if (recovery_.Keep(RecoveryText(*session_, RecordedImage(image_.get(), image_resolution_)))) {
        recovery_failure_told_ = false;
        return;
    }
    const std::string reason = std::strerror(errno);
    Diagnose("recovery", "the recovery copy cannot be written to " + recovery_.file().string() + ": " + reason);
    // A state directory that cannot be written costs the safety net, not
    // the work. The observer is told once, not after every click, so that
    // nobody measures on trusting a copy that is not there.
    if (recovery_failure_told_ || !tell_failure) return;
    recovery_failure_told_ = true;
    s_.messages.Show("The recovery copy of unsaved work cannot be written:\n" + recovery_.file().string() + "\n" +
                         reason + "\nSave the session to keep the work safe.",
                     kCaption, MbButtons::Ok, MbIcon::Exclamation);
}

void MainCommands::OfferRecovery() {
    if (!recovery_.Exists()) return;
    // A session of its own resets the exposure record, which stays as it is
    // until the copy is taken.
    const DialogData before = SessionData::dlgdat;
    auto recovered = std::make_unique<SessionData>();
    SessionData::dlgdat = before;
    DialogData exposure;
    RecoveryImage image;
    std::string text;
    bool readable = recovery_.Read(text);
    try {
        if (readable) ReadRecoveryText(text, *recovered, exposure, image);
    } catch (const RecoveryFileError& e) {
        Diagnose("recovery", e.what());
        readable = false;
    }
    if (!readable) return KeepUnreadableCopyAside();
    if (s_.messages.Show(kRestoreQuestion, kCaption, MbButtons::YesNo, MbIcon::Question) != MbAnswer::Yes) {
        recovery_.Remove();
        return;
    }
    RestoreRecovered(std::move(recovered), exposure, image);
}

void MainCommands::KeepUnreadableCopyAside() {
    const std::filesystem::path aside = recovery_.KeepAside(std::time(nullptr));
    const std::string text =
        aside.empty() ? "The recovery copy of an unsaved session cannot be read, nor moved aside:\n" +
                            recovery_.file().string()
                      : "The recovery copy of an unsaved session cannot be read.\nIt is kept as " + aside.string();
    s_.messages.Show(text, kCaption, MbButtons::Ok, MbIcon::Exclamation);
}

void MainCommands::RestoreRecovered(std::unique_ptr<SessionData> session, const DialogData& exposure,
                                    const RecoveryImage& image) {
    OpenRecoveredImage(image, session->x0, session->y0);
    session_ = std::move(session);
    Session = session_.get();
    SessionData::dlgdat = exposure;
    SelectedStar::iselect = -1;
    sf.changed = 1;
    sf.recalc = 1;
    // The work restored is unsaved, and nothing before it can be undone.
    ResetHistory(false);
    SetMenuState();
    s_.view.PaintMarkers();
    s_.view.RepaintStatus();
    s_.view.RepaintAnalysis();
}

void MainCommands::OpenRecoveredImage(const RecoveryImage& image, float x0, float y0) {
    const bool blank = image.path.empty() || (image.type & ImageType::Blank) != 0;
    std::error_code ec;
    if (!blank && std::filesystem::exists(image.path, ec)) {
        s_.view.SetWaitCursor(true);
        const int resolution = image.pcd_resolution > 0 ? image.pcd_resolution : opt.pcdres;
        if (std::unique_ptr<MeteorImage> opened = LoadImageFile(image.path, resolution)) {
            ConstructImage(std::move(opened), image.path, resolution);
        }
        s_.view.SetWaitCursor(false);
        // An image that no longer loads was reported; its session is still
        // restored on a blank image.
        if (image_) return;
    } else if (!blank) {
        s_.messages.Show("The image " + image.path + " cannot be found.\nThe session is restored on a blank image.",
                         "Restore session", MbButtons::Ok, MbIcon::Exclamation);
    }
    ConstructImage(BlankFor(image, x0, y0), "No image");
}
