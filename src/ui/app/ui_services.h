#pragma once
// The services the main window's commands ask of the desktop. A test puts
// scripted ones in place (answers queued in advance); every one left null
// is the desktop's own (Qt) implementation.
class ClipboardService;
class DesktopShell;
class ExposureDialogRunner;
class FileDialogService;
class MeasureDialogs;
class MessageBoxService;
class TextInputService;

struct UiServices {
    MessageBoxService* messages = nullptr;
    FileDialogService* files = nullptr;
    TextInputService* text = nullptr;
    ExposureDialogRunner* exposure = nullptr;
    MeasureDialogs* measure = nullptr;
    ClipboardService* clipboard = nullptr;
    DesktopShell* desktop = nullptr;
};
