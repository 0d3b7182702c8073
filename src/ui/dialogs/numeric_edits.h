#pragma once
// The numeric entry fields: single-line edits that drop, as the user types or
// pastes, every character that cannot belong to their kind of number, with
// one warning beep per dropped character. Text the program puts in is never
// filtered; ranges are the closing dialog's business.
#include <QLineEdit>

#include "files/numeric_filter.h"

class NumericEdit : public QLineEdit {
    Q_OBJECT
public:
    // maxChars: the most characters the field takes (0: no limit).
    NumericEdit(NumericKind kind, int maxChars, QWidget* parent = nullptr);
    NumericKind kind() const { return kind_; }

signals:
    // After a user edit lost characters (each with its beep).
    void charactersDropped(int count);

private:
    // Runs after every user edit (QLineEdit::textEdited), never for setText.
    void ENUpdate();
    NumericKind kind_;
};

class T_UINTEdit : public NumericEdit {
    Q_OBJECT
public:
    explicit T_UINTEdit(int maxChars, QWidget* parent = nullptr)
        : NumericEdit(NumericKind::Unsigned, maxChars, parent) {}
};

class T_INTEdit : public NumericEdit {
    Q_OBJECT
public:
    explicit T_INTEdit(int maxChars, QWidget* parent = nullptr) : NumericEdit(NumericKind::Signed, maxChars, parent) {}
};

class T_UFLOATEdit : public NumericEdit {
    Q_OBJECT
public:
    explicit T_UFLOATEdit(int maxChars, QWidget* parent = nullptr)
        : NumericEdit(NumericKind::UnsignedFloat, maxChars, parent) {}
};
