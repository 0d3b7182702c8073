#pragma once
// Drawing the magnifier: the 80 x 80 window of the image enlarged onto the
// 320 x 320 control through the image source's Display (no blending), grey
// where the window reaches beyond the image, then the markers and the
// measuring cross of the last click. The control's top-left corner is the
// canvas's (0, 0); nothing is drawn outside the control.
#include <vector>

#include "measure/magnifier.h"
#include "measure/magnifier_markers.h"

class Canvas;
class MeteorImage;

// The grey beyond the image edges.
inline constexpr MarkerFill kMagnifierGrey{128, 128, 128};

// image may be nullptr: the control is then all grey.
void RenderMagnifier(Canvas& canvas, MeteorImage* image, const Magnifier& control,
                     const std::vector<MagnifierMarker>& markers);

// The measuring cross centred on p: a black three-pixel plus on a white
// five-pixel plus with a white 3 x 3 square behind its centre.
void DrawMeasuringCross(Canvas& canvas, ControlPoint p);

// A marker disc centred on p: a white ring round a 4 x 4 fill, 6 x 6 in all
// (p - 3 to p + 2 on each axis).
void DrawMarkerDisc(Canvas& canvas, ControlPoint p, MarkerFill fill);
