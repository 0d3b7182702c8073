#include "ui/dialogs/dialog_support.h"

#include <QWidget>

#include "files/exposure_fields.h"

void PlaceOverParent(QWidget& dialog) {
    const QWidget* parent = dialog.parentWidget();
    if (parent == nullptr) return;
    const QRect frame = parent->window()->frameGeometry();
    const DialogOrigin o =
        CentreOverParent(frame.x(), frame.y(), frame.width(), frame.height(), dialog.width(), dialog.height());
    dialog.move(o.x, o.y);
}

std::string FitText(const QString& text, std::size_t maxBytes) {
    std::string s = text.toStdString();
    if (s.size() <= maxBytes) return s;
    s.resize(maxBytes);
    // Drop a character whose bytes were cut off: its continuation bytes and
    // then its lead byte.
    std::size_t end = s.size();
    std::size_t lead = end;
    while (lead > 0 && (static_cast<unsigned char>(s[lead - 1]) & 0xC0) == 0x80) --lead;
    if (lead > 0) {
        const unsigned char c = static_cast<unsigned char>(s[lead - 1]);
        const std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (end - (lead - 1) < need) s.resize(lead - 1);
    }
    return s;
}
