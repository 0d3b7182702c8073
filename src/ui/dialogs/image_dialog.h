#pragma once
// "Display image": steps the brightness and contrast of the image's grey
// ramp and inverts it, each step shown at once in the image view (only the
// colour table changes). There is no Cancel: OK closes, and Enter always
// means OK, whichever step button was pressed last.
#include <functional>

#include "ui/resources/resource_builder.h"

class MeteorImage;

class TImageDialog : public ResourceDialog {
    Q_OBJECT
public:
    // repaint redraws the image view (without erasing it).
    TImageDialog(QWidget* parent, MeteorImage& image, std::function<void()> repaint);

    void WMBrightDn();
    void WMBrightUp();
    void WMContrDn();
    void WMContrUp();
    void WMInvert();

private:
    void Stepped(int button);
    MeteorImage& image_;
    std::function<void()> repaint_;
};
