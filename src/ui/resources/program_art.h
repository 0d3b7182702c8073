#pragma once
// The program's own pictures: the icon "ICON_1" (a meteor streak over a few
// stars on a night sky) and the cursor "RING" (a ring whose centre is the
// hot spot, so the pixel to be measured stays visible inside it).
#include <QCursor>
#include <QIcon>
#include <QPixmap>

// The icon at one size (square, pixels).
QPixmap ProgramIconPixmap(int size);
// The icon at 16, 24, 32, 48, 64 and 128 pixels.
QIcon ProgramIcon();
QCursor RingCursor();
