#include <gtest/gtest.h>

#include "shell/image_file_names.h"
#include "shell_fixture.h"

namespace shell_test {

TEST(ImageFileNames, TheNameIsCutToEightAndStillsRememberTheirOwnExtensionAndStartTheDialogOnTheirFilter) {
    EXPECT_EQ(ImageNameOf("/pics/LONGFILENAME.bmp"), "LONGFILE");
    EXPECT_EQ(ImageNameOf("/pics/a.b.c.avi"), "a.b.c");
    EXPECT_EQ(ImagePattern("/pics/clip.mp4"), "/pics/*.avi");
    EXPECT_EQ(ImagePattern("/sky/a.b/frame"), "/sky/a.b/*.avi");
    const std::vector<FileFilter> filters = ImageFileFilters();
    for (const auto& [remembered, description] :
         {std::pair{"/sky/*.cr2", "Camera RAW"}, std::pair{"/sky/*.fits", "FITS"}, std::pair{"/sky/*.tif", "TIFF"},
          std::pair{"/sky/*.jpeg", "JPEG"}, std::pair{"/sky/*.png", "PNG"}, std::pair{"/sky/*.pcd", "Photo CD"}}) {
        const FileFilter& f = filters.at(ImageFilterIndex(ImageKindOf(remembered)));
        EXPECT_TRUE(f.description.starts_with(description)) << remembered;
        const std::string ext = std::string(remembered).substr(6);
        EXPECT_NE(f.pattern.find(ext), std::string::npos) << remembered;
        EXPECT_NE(filters.at(0).pattern.find(ext), std::string::npos) << "All images lacks " << ext;
    }
}

TEST_F(Shell, OpeningABitmapStartsInFitAndStarModeAndRemembersItsDirectoryAndName) {
    sf.measmode = kMeteorMode;
    copy_text(opt.image, (dir_ / "old.pcd").string());
    OpenImage("M1.BMP", 120, 80);

    const auto& asked = files_.asked.at(0);
    EXPECT_FALSE(asked.save);
    EXPECT_EQ(asked.request.filter_index, 2);  // Photo CD, after All images and Bitmap
    EXPECT_EQ(asked.request.directory, dir_.string() + "/");
    EXPECT_EQ(std::string(opt.image), (dir_ / "*.bmp").string());
    EXPECT_STREQ(SessionData::dlgdat.image, "M1");
    EXPECT_EQ(view_.caption, "Velkarn - [" + Path("M1.BMP").string() + "]");
    EXPECT_EQ(sf.dispmode, kFitMode);
    EXPECT_EQ(sf.measmode, kStarMode);
    EXPECT_EQ(view_.calls.back(), "Arrow");
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(Shell, AFileThatNoReaderOpensOrAClipboardWithoutABitmapEndsWithItsMessageAndNoImage) {
    bmp_test::Layout damaged;
    damaged.magic[0] = 'X';
    files_.answers.push_back(WriteFile("bad.bmp", bmp_test::File(damaged)));
    // An unknown extension goes to the video reader, which cannot read it.
    files_.answers.push_back(WriteFile("notes.txt", {'h', 'e', 'l', 'l', 'o'}));
    cmd().WMImgFileOpen();
    cmd().WMImgFileOpen();
    cmd().WMImgFileOpen();  // cancelled: nothing at all
    clipboard_.dib = std::vector<std::uint8_t>(10, 0);
    cmd().ExamineClipboard();
    cmd().WMImgPaste();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Construct image: File has wrong format",
                                                    "Construct image: File cannot be opened!",
                                                    "Construct image: No valid image on Clipboard"}));
    EXPECT_EQ(Mimg, nullptr);
    EXPECT_EQ(sf.imgloaded, 0);

    clipboard_.dib = bmp_test::Dib(bmp_test::Layout{.width = 40, .height = 30});
    cmd().WMImgPaste();
    EXPECT_EQ(view_.caption, "Velkarn - [Bitmap from clipboard]");
    EXPECT_FALSE(cmd().Enabled(6));  // Paste
}

}  // namespace shell_test
