#pragma once
// The open and save dialogs through QFileDialog (Qt's own dialog, the same
// on every desktop): the filters, the filter selected at the start, the
// initial directory and the preset name. The save dialog never asks about
// overwriting; the caller does.
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "platform/file_dialog.h"

class QFileDialog;

class QtFileDialog : public FileDialogService {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<std::string> Open(const FileDialogRequest& request) override;
    std::optional<std::string> Save(const FileDialogRequest& request) override;

private:
    std::optional<std::string> Run(const FileDialogRequest& request, bool save);
    QPointer<QWidget> parent_;
};

// The name filters Qt shows for a request: "Bitmap (*.bmp)" for the
// description "Bitmap (*.bmp)" or "Bitmap" with the pattern "*.bmp"; several
// patterns ("*.avi;*.mp4") are listed with blanks between them.
QStringList QtNameFilters(const std::vector<FileFilter>& filters);
