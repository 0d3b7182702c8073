#pragma once
// Shows the wait cursor over the whole program while it lives. Guards nest:
// the arrow returns when the last one ends. A window that switches the
// cursor on and off by calls keeps a std::optional<WaitCursor>.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
