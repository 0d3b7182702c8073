#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "support/scratch_dir.h"
#include "ui/platform/qt_file_dialog.h"
#include "ui/platform/qt_message_box.h"
#include "ui/platform/qt_text_input.h"
#include "ui_test_support.h"

namespace fs = std::filesystem;
using ui_test::WhenModal;

namespace {

TEST(QtMessageBox, ShowsTheExactTextCaptionButtonsAndIconAndReturnsTheAnswer) {
    QtMessageBox boxes;
    WhenModal("VelkarnMessageBox", [](QWidget* w) {
        auto* box = static_cast<QMessageBox*>(w);
        EXPECT_EQ(box->windowTitle() + ": " + box->text(), "Exit: Session not saved. Save first?");
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(box->standardButton(box->defaultButton()), QMessageBox::Yes);
        QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
    });
    EXPECT_EQ(boxes.Show("Session not saved. Save first?", "Exit", MbButtons::YesNoCancel, MbIcon::Question),
              MbAnswer::No);
    // Escape is Cancel.
    WhenModal("VelkarnMessageBox", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(boxes.Show("Continue?", "Star measurement", MbButtons::OkCancel, MbIcon::Exclamation),
              MbAnswer::Cancel);
}

TEST(QtTextInputAsks, WithTheTitlePromptAndLimitAndOkStoresTheText) {
    QtTextInput input;
    std::string text = "custom";
    WhenModal("VelkarnTextInput", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle() + ": " + w->findChild<QLabel*>()->text(),
                  "Custom shutter speed: Enter number of breaks per second");
        auto* edit = w->findChild<QLineEdit*>();
        EXPECT_EQ(edit->maxLength(), 6);
        EXPECT_EQ(edit->text(), "custom");
        edit->selectAll();
        QTest::keyClicks(edit, "12.5000000");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_TRUE(input.Ask("Custom shutter speed", "Enter number of breaks per second", text, 7));
    EXPECT_EQ(text, "12.500");
    WhenModal("VelkarnTextInput", [](QWidget* w) {
        QTest::keyClicks(w->findChild<QLineEdit*>(), "x");
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_FALSE(input.Ask("Edit/view label", "Enter text for this meteor point", text, 16));
    EXPECT_EQ(text, "12.500");
}

TEST(QtFileDialogOpens, InTheGivenDirectoryWithTheFiltersAndReturnsTheChosenFile) {
    const testing_support::ScratchDir scratch;
    const fs::path& dir = scratch.path();
    std::ofstream(dir / "m1.bmp") << "BM";
    QtFileDialog files;
    FileDialogRequest request{
        {{"Video", "*.avi;*.mp4;*.mkv"}, {"Bitmap (*.bmp)", "*.bmp"}, {"All files (*.*)", ""}}, 1, dir.string(), ""};
    WhenModal("VelkarnFileDialog", [&dir](QWidget* w) {
        auto* dialog = static_cast<QFileDialog*>(w);
        EXPECT_EQ(dialog->directory().absolutePath().toStdString(), fs::canonical(dir).string());
        // Each filter lists its patterns once, with blanks between.
        EXPECT_EQ(dialog->nameFilters(), (QStringList{"Video (*.avi *.mp4 *.mkv)", "Bitmap (*.bmp)", "All files (*)"}));
        EXPECT_EQ(dialog->selectedNameFilter(), "Bitmap (*.bmp)");
        dialog->selectFile("m1.bmp");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_EQ(files.Open(request).value_or(""), (fs::canonical(dir) / "m1.bmp").string());
    // Save presets the name and never asks about overwriting.
    request.file_name = "m1.bmp";
    WhenModal("VelkarnFileDialog", [](QWidget* w) {
        auto* dialog = static_cast<QFileDialog*>(w);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_EQ(files.Save(request).value_or(""), (fs::canonical(dir) / "m1.bmp").string());
    WhenModal("VelkarnFileDialog", [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    EXPECT_FALSE(files.Open(request));
}

}  // namespace
