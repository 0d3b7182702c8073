#pragma once
// What the data-entry dialogs share: placing a dialog over its parent, and
// moving texts between fixed-size record fields and the widgets.
#include <QString>
#include <cstddef>
#include <string>

class QWidget;

// Puts the dialog's top-left corner where CentreOverParent says (screen
// coordinates, the parent's frame); nothing without a parent.
void PlaceOverParent(QWidget& dialog);

// The text as UTF-8, cut to at most maxBytes bytes without splitting a
// character (the record fields and file columns count bytes).
std::string FitText(const QString& text, std::size_t maxBytes);

// A record field's text for a widget.
inline QString FieldQString(const char* text) { return QString::fromUtf8(text); }
