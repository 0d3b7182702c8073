#include "ui/dialogs/image_dialog.h"

#include <QPushButton>

#include "image/meteor_image.h"

TImageDialog::TImageDialog(QWidget* parent, MeteorImage& image, std::function<void()> repaint)
    : ResourceDialog("IMAGE_DIALOG", parent), image_(image), repaint_(std::move(repaint)) {
    const std::pair<int, void (TImageDialog::*)()> handlers[] = {
        {141, &TImageDialog::WMBrightDn}, {142, &TImageDialog::WMBrightUp}, {143, &TImageDialog::WMContrDn},
        {144, &TImageDialog::WMContrUp},  {145, &TImageDialog::WMInvert},
    };
    for (const auto& [id, handler] : handlers) connect(ControlAs<QPushButton>(id), &QPushButton::clicked, this, handler);
}

void TImageDialog::WMBrightDn() {
    image_.SetBrightness(image_.brightness - 1);
    Stepped(141);
}

void TImageDialog::WMBrightUp() {
    image_.SetBrightness(image_.brightness + 1);
    Stepped(142);
}

void TImageDialog::WMContrDn() {
    image_.SetContrast(image_.contrast - 1);
    Stepped(143);
}

void TImageDialog::WMContrUp() {
    image_.SetContrast(image_.contrast + 1);
    Stepped(144);
}

void TImageDialog::WMInvert() {
    image_.InvertGradation();
    Stepped(145);
}

void TImageDialog::Stepped(int button) {
    if (repaint_) repaint_();
    // The pressed button keeps the focus but never the default.
    ControlAs<QPushButton>(button)->setDefault(false);
    ControlAs<QPushButton>(1)->setDefault(true);
}
