#pragma once
// The commands of the main window, without the window: they own the session
// and the image source, change the state flags `sf` and the options `opt`,
// ask their questions through the platform services and tell the window
// what to repaint through ShellView. The Qt main window forwards its menu
// commands, clicks and close request here; tests drive the same functions
// with scripted services.
//
// Every change of the session's measurements passes through this class, so
// that it is marked unsaved (sf.changed) and recomputed (sf.recalc) in one
// place.
#include <array>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "files/settings_file.h"
#include "image/meteor_image.h"
#include "session/session_data.h"
#include "shell/menu_state.h"
#include "shell/program_paths.h"
#include "shell/recovery_copy.h"
#include "shell/recovery_file.h"
#include "shell/undo_history.h"

class ClipboardService;
class DesktopShell;
class ExposureDialogRunner;
class FileDialogService;
class MeasureDialogs;
class MessageBoxService;
class ProgressService;
class ShellView;
class TextInputService;

struct ShellServices {
    MessageBoxService& messages;
    FileDialogService& files;
    TextInputService& text;
    ProgressService& progress;
    ClipboardService& clipboard;
    DesktopShell& desktop;
    ExposureDialogRunner& exposure;
    MeasureDialogs& measure;
    ShellView& view;
};

class MainCommands {
public:
    // Reads the settings (GetIniValues), creates the empty session (Session)
    // with the default station, initialises sf; no image (Mimg = none).
    MainCommands(ShellServices services, ProgramPaths paths, SettingsEnvironment env);
    ~MainCommands();
    MainCommands(const MainCommands&) = delete;
    MainCommands& operator=(const MainCommands&) = delete;

    // Run once when the window exists (its SetupWindow): joins the clipboard
    // watch and computes the enable state.
    void SetupWindow();

    // The window's placement read from the settings.
    const StartSettings& start() const { return start_; }
    const ProgramPaths& paths() const { return paths_; }

    // --- Enable state ---
    // Recomputes sf.menumask and CmdEnabled, then view.MenuStateChanged().
    // It ends every command that changes the session, after the command's
    // last change: it also brings the recovery copy up to date.
    void SetMenuState();
    // Enabled state of any command id; commands without an enable rule are
    // always enabled.
    bool Enabled(int id) const;
    int ClipAvail = 0;
    // Re-reads whether the clipboard holds a bitmap (nothing while an image
    // is loaded), then SetMenuState.
    void ExamineClipboard();

    // --- Session and image commands ---
    void WMNewSession();
    void WMImgFileOpen();
    void WMImgPaste();
    void WMRetrieveSession();
    void WMTemplate();
    // True when the session file was written.
    bool WMSaveSession();

    // --- Simple commands ---
    // Hide, Unhide and Delete act on SelectedStar::iselect and clear it;
    // they are also the context commands 901, 902 and 904 of both views.
    // With the image view shown the residuals are recomputed at once, with
    // the analysis view shown at its next paint (sf.recalc).
    void WMEditHide();
    void WMEditUnhide();
    void WMEditDelete();
    void WMEditDelall();
    void WMImageZoom();
    void WMImagePixel();
    void WMImagePlay();
    void WMImageInfo();
    int WMExpData();  // 1 OK, 2 Cancel
    void WMStarMode();
    void WMMeteorMode();
    void WMMReplay();
    void WMReplay();
    void WMOptionRandom();
    void WMOptionSearch();
    void WMOptionLimit();
    void WMOptionIdentifyTime();
    void WMOptionMarkCenter();
    void WMOptionSnapCentre();
    void WMImageShowResiduals();
    void WMImageShowCatalogue();
    // Also "Switch to measuring" and "Switch to analysis" (903); the
    // selection stays.
    void WMWindowMeasure();
    void WMWindowAnalysis();
    void ReplayProcess(int selector);
    // Measure > Identify stars automatically: solves the picture (a video's
    // averaged picture), proposes every catalogue star found on it that is
    // not in the session yet, and adds those the observer keeps.
    void WMIdentifyStars();

    // --- Undo, redo and the reduction report ---
    // Edit > Undo and Redo: the session and the exposure record as they
    // stood one change earlier or later, exactly; the selection ends, the
    // views follow and the unsaved-changes flag is set unless the state is
    // the one on disk. New session, Retrieve session and a new image start
    // the history afresh.
    void WMEditUndo();
    void WMEditRedo();
    // File > Export report: asks for a name and writes NAME.csv, NAME.json
    // and, when the window gives a picture of the image view, NAME.png; all
    // of them or none.
    void WMExportReport();

    // --- Image view and analysis view ---
    // A left click on image pixel (column, row): star or meteor dialog.
    // Ignored without a real image or outside it; clears the selection.
    // preselect: a catalogue star the star dialog offers first (a click on
    // its ring in the catalogue overlay); nullptr: none.
    void MeasureAt(int column, int row, const CatStar* preselect = nullptr);
    // Edit label (905) and Mark / unmark as maximum (906) on the selected
    // meteor point; both clear the selection.
    void LabelSelected();
    void ToggleMaximumSelected();
    // "+" and "-" of the status strip; false when the order cannot change.
    bool PlusOrder();
    bool MinOrder();

    // --- Recovery after a crash ---
    // While the session has unsaved changes, writes the recovery copy when
    // its text changed; SetMenuState calls it, and so does whatever
    // recomputes the session outside a command (the analysis view's paint).
    // A copy that cannot be written is told once in a message box; a paint
    // passes tell_failure false, and the next command's end tells it.
    void UpdateRecoveryCopy(bool tell_failure = true);
    // Run once at start, when the window shows and before it takes input: a
    // copy left by a run that did not end normally is offered; Yes reopens
    // its image (a blank one when the file is gone) and restores the session
    // exactly, as unsaved work; No removes the copy. A copy that cannot be
    // read is moved aside under another name, and the user told where.
    void OfferRecovery();

    // --- Close ---
    // Asks to save unsaved work; true when the window may close, after the
    // settings file has been written.
    bool CanClose();

    // New session and Retrieve session replace both objects: read them
    // here (or through Session and Mimg) each time, never keep them.
    MeteorImage* image() const { return image_.get(); }
    SessionData* session() const { return session_.get(); }

private:
    void NewEmptySession();
    // pcd_resolution: the Photo CD resolution step the image was loaded at.
    void ConstructImage(std::unique_ptr<MeteorImage> image, const std::string& name, int pcd_resolution = 0);
    // Opens an image file as File > Open image file does; null after an
    // exception, which is reported.
    std::unique_ptr<MeteorImage> LoadImageFile(const std::string& path, int pcd_resolution);
    void JoinClipboardWatch();
    void LeaveClipboardWatch();
    // Surround and residuals of the session as it is; a singular star set
    // is reported under caption and changes nothing.
    void Recompute(const char* caption);
    bool CalculateOC(const char* caption);
    void ShowNumericalError(const std::exception& e, const char* caption);
    // The history starts afresh from the session as it is; saved: it is the
    // state on disk.
    void ResetHistory(bool saved);
    void RestoreState(const SessionState& state);
    std::optional<std::string> AskReportName();
    void ClearSelection();
    void SetSelectedHidden(bool hide);
    void ImageViewHide(bool hide);
    void ImageViewDelete();
    void AnalysisViewHide(bool hide);
    void AnalysisViewDelete();
    bool ChangeOrder(int (SessionData::*change)());
    std::optional<std::string> AskSessionFile();
    std::optional<std::string> AskSaveFile();
    bool SaveSessionQuestions();
    bool SaveTo(const std::string& path);
    // opt.station and opt.outputdir follow a session file read or written.
    void RememberSessionFile(const std::string& path);
    void MeasureTemplateStars(SessionData& tmpl, float dt);
    void KeepUnreadableCopyAside();
    void RestoreRecovered(std::unique_ptr<SessionData> session, const DialogData& exposure,
                          const RecoveryImage& image);
    void OpenRecoveredImage(const RecoveryImage& image, float x0, float y0);

    ShellServices s_;
    ProgramPaths paths_;
    SettingsEnvironment env_;
    StartSettings start_;
    std::unique_ptr<SessionData> session_;
    std::unique_ptr<MeteorImage> image_;
    std::array<bool, 31> cmd_enabled_{};
    int image_resolution_ = 0;  // the Photo CD resolution step of image_
    RecoveryCopy recovery_;
    // Told once when the copy cannot be written, again only after it could.
    bool recovery_failure_told_ = false;
    UndoHistory history_;
    ExtraMenuInputs extra_;
    // The session file last read or written, which the report names.
    std::string session_file_;
};
