#include "shell/popup_placement.h"

PopupPlacement PlacePopup(int x, int y, int pane_width) {
    PopupPlacement p;
    p.right_aligned = x > pane_width - 170;
    p.anchor = {p.right_aligned ? x - 10 : x + 10, y - 10};
    p.keep_open = {x - 10, y - 10, x + 10, y + 10};
    return p;
}
