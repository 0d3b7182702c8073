#include "ui/dialogs/numeric_edits.h"

#include <QApplication>

namespace {

// One byte per QChar, so that positions in the filtered text are positions
// in the field; anything outside ASCII is a character no field keeps.
std::string AsFilterText(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) out.push_back(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x7f');
    return out;
}

}  // namespace

NumericEdit::NumericEdit(NumericKind kind, int maxChars, QWidget* parent) : QLineEdit(parent), kind_(kind) {
    if (maxChars > 0) setMaxLength(maxChars);
    connect(this, &QLineEdit::textEdited, this, &NumericEdit::ENUpdate);
}

void NumericEdit::ENUpdate() {
    const QString current = text();
    int start = cursorPosition(), end = start;
    if (hasSelectedText()) {
        start = selectionStart();
        end = start + static_cast<int>(selectedText().size());
    }
    const FilteredText f = FilterNumericText(kind_, AsFilterText(current), start, end);
    if (f.beeps == 0) return;
    // Every kept character is ASCII, so the filtered bytes are the new text.
    setText(QString::fromLatin1(f.text.data(), static_cast<qsizetype>(f.text.size())));
    if (f.selStart == f.selEnd)
        setCursorPosition(f.selStart);
    else
        setSelection(f.selStart, f.selEnd - f.selStart);
    for (int i = 0; i < f.beeps; ++i) QApplication::beep();
    emit charactersDropped(f.beeps);
}
