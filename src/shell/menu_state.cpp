#include "shell/menu_state.h"

#include "image/meteor_image.h"
#include "shell/command_ids.h"

namespace {

constexpr unsigned int Bit(int id) { return 1u << id; }

// Hide, Unhide and Delete follow the selection. A selection that names no
// measurement of the session (left over from an earlier state) enables
// nothing.
unsigned int SelectionBits(const MenuInputs& in) {
    if (in.iselect < 0 || static_cast<unsigned int>(in.iselect) >= in.nstar + in.nmet) return 0;
    const bool hidden = static_cast<unsigned int>(in.iselect) < in.nstar && in.selected_hidden;
    return (hidden ? Bit(cmd::EditUnhide) : Bit(cmd::EditHide)) | Bit(cmd::EditDelete);
}

}  // namespace

unsigned int ComputeMenuMask(const MenuInputs& in) {
    if (!in.imgloaded) {
        unsigned int mask = Bit(cmd::RetrieveSession) | Bit(cmd::ImgFileOpen);
        if (in.clip_avail) mask |= Bit(cmd::ImgPaste);
        return mask;
    }
    unsigned int mask = Bit(cmd::ExpData) | Bit(cmd::NewSession) | SelectionBits(in);
    const bool shown = !in.analysis;
    if ((in.image_type & ImageType::Blank) == 0) {
        mask |= Bit(cmd::ImagePlay) | Bit(cmd::ImageInfo);
        if (shown) {
            mask |= Bit(cmd::ImageZoom) | Bit(cmd::ImagePixel) | Bit(cmd::ImageBrightness) |
                    Bit(cmd::StarMode) | Bit(cmd::MeteorMode);
            if (in.nmet > 0) mask |= Bit(cmd::MReplay);
            if (in.nstar > 0) mask |= Bit(cmd::Replay);
            if (in.has_picture) mask |= Bit(cmd::IdentifyStars);
        }
    }
    if (!in.changed && in.nstar == 0 && in.nmet == 0) {
        mask |= Bit(cmd::RetrieveSession) | Bit(cmd::Template);
    } else {
        mask |= Bit(cmd::SaveSession);
    }
    if (in.nmet > 0 && shown) mask |= Bit(cmd::EditDelall);
    if (in.nstar > 0) mask |= Bit(cmd::WindowMeasure) | Bit(cmd::WindowAnalysis);
    return mask;
}

bool MaskEnables(unsigned int mask, int id) {
    if (id < 1 || id > cmd::LastMasked) return true;
    return (mask & (1u << id)) != 0;
}

bool IsExtraCommand(int id) { return id == cmd::EditUndo || id == cmd::EditRedo || id == cmd::ExportReport; }

bool ExtraCommandEnabled(const ExtraMenuInputs& in, int id) {
    if (!in.imgloaded) return false;
    switch (id) {
        case cmd::EditUndo: return in.can_undo;
        case cmd::EditRedo: return in.can_redo;
        // The plate solution needs three stars (the CLI's reduce asks the same).
        case cmd::ExportReport: return in.visible >= 3;
        default: return false;
    }
}
