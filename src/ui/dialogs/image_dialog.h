#pragma once
// "Display image": steps the brightness and contrast of the image's grey
// ramp and inverts it, each step shown at once in the image view (only the
// colour table changes). A picture deeper than 8 bits also gets steps of the
// black and white points of its display stretch (its pixels are re-made),
// with the points shown below them. There is no Cancel: OK closes, and Enter
// always means OK, whichever step button was pressed last.
#include <functional>

#include "ui/resources/resource_builder.h"

class MeteorImage;
class StillFileImage;

class TImageDialog : public ResourceDialog {
    Q_OBJECT
public:
    // repaint redraws the image view (without erasing it) after a change of
    // the colour table; repixel after a change of the pixels (none: repaint).
    TImageDialog(QWidget* parent, MeteorImage& image, std::function<void()> repaint,
                 std::function<void()> repixel = {});

    void WMBrightDn();
    void WMBrightUp();
    void WMContrDn();
    void WMContrUp();
    void WMInvert();
    void WMBlackDn();
    void WMBlackUp();
    void WMWhiteDn();
    void WMWhiteUp();

private:
    void Stepped(int button);
    void Restretched(int button);
    void ShowPoints();
    MeteorImage& image_;
    StillFileImage* deep_;  // the image when it has deep samples, else nullptr
    std::function<void()> repaint_;
    std::function<void()> repixel_;
};
