#include "ui/dialogs/image_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "image/meteor_image.h"
#include "image/still_file_image.h"

namespace {

StillFileImage* DeepStill(MeteorImage& image) {
    auto* still = dynamic_cast<StillFileImage*>(&image);
    return still && still->IsDeep() ? still : nullptr;
}

}  // namespace

TImageDialog::TImageDialog(QWidget* parent, MeteorImage& image, std::function<void()> repaint,
                           std::function<void()> repixel)
    : ResourceDialog(DeepStill(image) ? "DEEP_IMAGE_DIALOG" : "IMAGE_DIALOG", parent),
      image_(image),
      deep_(DeepStill(image)),
      repaint_(std::move(repaint)),
      repixel_(repixel ? std::move(repixel) : repaint_) {
    const std::pair<int, void (TImageDialog::*)()> handlers[] = {
        {141, &TImageDialog::WMBrightDn}, {142, &TImageDialog::WMBrightUp}, {143, &TImageDialog::WMContrDn},
        {144, &TImageDialog::WMContrUp},  {145, &TImageDialog::WMInvert},   {146, &TImageDialog::WMBlackDn},
        {147, &TImageDialog::WMBlackUp},  {148, &TImageDialog::WMWhiteDn},  {149, &TImageDialog::WMWhiteUp},
    };
    for (const auto& [id, handler] : handlers)
        if (auto* button = ControlAs<QPushButton>(id)) connect(button, &QPushButton::clicked, this, handler);
    ShowPoints();
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

void TImageDialog::WMBlackDn() {
    if (deep_) deep_->SetBlackStep(deep_->black_step - 1);
    Restretched(146);
}

void TImageDialog::WMBlackUp() {
    if (deep_) deep_->SetBlackStep(deep_->black_step + 1);
    Restretched(147);
}

void TImageDialog::WMWhiteDn() {
    if (deep_) deep_->SetWhiteStep(deep_->white_step - 1);
    Restretched(148);
}

void TImageDialog::WMWhiteUp() {
    if (deep_) deep_->SetWhiteStep(deep_->white_step + 1);
    Restretched(149);
}

void TImageDialog::Stepped(int button) {
    if (repaint_) repaint_();
    // The pressed button keeps the focus but never the default.
    ControlAs<QPushButton>(button)->setDefault(false);
    ControlAs<QPushButton>(1)->setDefault(true);
}

void TImageDialog::Restretched(int button) {
    ShowPoints();
    if (repixel_) repixel_();
    ControlAs<QPushButton>(button)->setDefault(false);
    ControlAs<QPushButton>(1)->setDefault(true);
}

void TImageDialog::ShowPoints() {
    if (auto* label = ControlAs<QLabel>(150); label && deep_)
        label->setText(QString::fromStdString(StretchPointsText(deep_->stretch)));
}
