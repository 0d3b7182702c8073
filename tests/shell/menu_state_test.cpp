#include "shell/menu_state.h"

#include <gtest/gtest.h>

#include <set>

#include "image/meteor_image.h"

namespace {

std::set<int> Enabled(const MenuInputs& in) {
    std::set<int> ids;
    const unsigned int mask = ComputeMenuMask(in);
    for (int id = 1; id <= 24; ++id) {
        if (MaskEnables(mask, id)) ids.insert(id);
    }
    return ids;
}

MenuInputs Loaded(int type = ImageType::Still) {
    MenuInputs in;
    in.imgloaded = true;
    in.image_type = type;
    return in;
}

}  // namespace

// The window tests follow the items through no image, a loaded image, a
// retrieved session and the analysis view; here the clipboard, a blank
// image and the selection.
TEST(MenuState, PasteFollowsTheClipboardABlankImageOffersNoImageCommandAndTheSelectionDecidesHideAndDelete) {
    MenuInputs in;
    in.clip_avail = true;
    EXPECT_EQ(Enabled(in), (std::set<int>{1, 6, 22}));
    in = Loaded();
    in.clip_avail = true;
    EXPECT_EQ(Enabled(in), (std::set<int>{1, 2, 9, 10, 11, 12, 13, 14, 15, 16, 19}));
    in = Loaded(ImageType::BlankVideo);
    in.nstar = 19;
    in.nmet = 12;
    EXPECT_EQ(Enabled(in), (std::set<int>{3, 8, 14, 19, 20, 21}));

    // The selection decides Hide, Unhide and Delete.
    in = Loaded();
    in.nstar = 2;
    in.nmet = 1;
    const std::set<int> base{3, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
    auto with = [&base](std::set<int> extra) {
        extra.insert(base.begin(), base.end());
        return extra;
    };
    in.iselect = 1;
    in.selected_hidden = true;
    EXPECT_EQ(Enabled(in), with({5, 7}));
    in.iselect = 2;  // a meteor point is never hidden
    EXPECT_EQ(Enabled(in), with({4, 7}));
    in.iselect = 3;  // names no measurement
    EXPECT_EQ(Enabled(in), base);
}
