#include "ui/app/main_window.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QThread>

#include "files/options.h"
#include "image/meteor_image.h"
#include "platform/message_box.h"
#include "shell/command_ids.h"
#include "shell/main_commands.h"
#include "shell/pane_layout.h"
#include "shell/state_flags.h"
#include "ui/app/about_text.h"
#include "ui/app/analysis_window.h"
#include "ui/app/display_window.h"
#include "ui/app/help_window.h"
#include "ui/app/qt_services.h"
#include "ui/app/status_window.h"
#include "ui/dialogs/image_dialog.h"
#include "ui/dialogs/resolution_dialog.h"
#include "ui/resources/program_art.h"
#include "ui/resources/resource_builder.h"

TMainWindow::TMainWindow(const ProgramPaths& paths, const SettingsEnvironment& env, const UiServices& services) {
    setWindowTitle(QString::fromUtf8(kNoImageCaption));
    setWindowIcon(ProgramIcon());

    client_ = new QWidget(this);
    setCentralWidget(client_);
    client_->installEventFilter(this);
    status_ = new TStatusWindow(*this, client_);
    analysis_ = new TAnalysisWindow(*this, client_);
    display_ = new TDisplayWindow(*this, client_);

    qt_ = std::make_unique<QtServices>(this, status_, services);
    const UiServices& use = qt_->in_use;
    commands_ = std::make_unique<MainCommands>(
        ShellServices{*use.messages, *use.files, *use.text, qt_->progress, *use.clipboard, *use.desktop,
                      *use.exposure, *use.measure, *this},
        paths, env);
    qt_->qt_clipboard.SetCallback([this] { commands_->ExamineClipboard(); });
    qt_->qt_measure->SetContext(*commands_, *this);

    BuildMenus();
    ShowPane(false);
    commands_->SetupWindow();
}

TMainWindow::~TMainWindow() {
    qt_->qt_clipboard.Watch(false);
    // The panes read the session while they go; the commands own it.
    delete client_;
    client_ = nullptr;
    commands_.reset();
}

void TMainWindow::ShowAtStart() {
    const WindowPlacement& w = commands_->start().window;
    setGeometry(w.left, w.top, w.width, w.height);
    show();
    // The question is modal, so the window takes no input before it is
    // answered.
    commands_->OfferRecovery();
}

// --- Menus ---

void TMainWindow::BuildMenus() {
    BuildMenuBar(*FindMenuResource("MAIN_MENU"), *menuBar());
    for (QAction* top : menuBar()->actions()) {
        QMenu* menu = top->menu();
        if (!menu) continue;
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { EnableItems(menu); });
        connect(menu, &QMenu::hovered, this, [this] { EvMenuSelect(); });
        connect(menu, &QMenu::aboutToHide, this, [this] { EvMenuSelect(); });
    }
    connect(menuBar(), &QMenuBar::triggered, this, [this](QAction* action) { Command(CommandOf(action)); });
}

QAction* TMainWindow::CommandAction(int id) const { return FindCommand(menuBar(), id); }

void TMainWindow::EnableItems(QMenu* menu) {
    if (!commands_) return;
    for (QAction* action : menu->actions()) {
        const int id = CommandOf(action);
        if (id != 0) action->setEnabled(commands_->Enabled(id));
    }
    if (QAction* mark = CommandAction(cmd::OptionMarkCenter)) mark->setChecked(opt.markcenter != 0);
    if (QAction* snap = CommandAction(cmd::OptionSnapCentre)) snap->setChecked(opt.snapcentre != 0);
    if (QAction* r = CommandAction(cmd::ImageShowResiduals)) r->setChecked(opt.showresiduals != 0);
    if (QAction* c = CommandAction(cmd::ImageShowCatalogue)) c->setChecked(opt.catoverlay != 0);
}

void TMainWindow::MenuStateChanged() {
    if (!commands_) return;
    for (QAction* top : menuBar()->actions())
        if (QMenu* menu = top->menu()) EnableItems(menu);
}

void TMainWindow::EvMenuSelect() { display_->DiscardPendingClick(); }

// --- Commands ---

void TMainWindow::Command(int id) {
    if (in_command_ || id == 0) return;
    in_command_ = true;
    MainCommands& c = *commands_;
    switch (id) {
        case cmd::NewSession: c.WMNewSession(); break;
        case cmd::ImgFileOpen: c.WMImgFileOpen(); break;
        case cmd::Template: c.WMTemplate(); break;
        case cmd::RetrieveSession: c.WMRetrieveSession(); break;
        case cmd::SaveSession: c.WMSaveSession(); break;
        case cmd::FileExit: WMFileExit(); break;
        case cmd::EditHide:
        case cmd::CtxHide: c.WMEditHide(); break;
        case cmd::EditUnhide:
        case cmd::CtxUnhide: c.WMEditUnhide(); break;
        case cmd::ImgPaste: c.WMImgPaste(); break;
        case cmd::EditDelete:
        case cmd::CtxDelete: c.WMEditDelete(); break;
        case cmd::EditDelall: c.WMEditDelall(); break;
        case cmd::ImageZoom: c.WMImageZoom(); break;
        case cmd::ImagePixel: c.WMImagePixel(); break;
        case cmd::ImageBrightness: WMImageBrightness(); break;
        case cmd::ImagePlay: c.WMImagePlay(); break;
        case cmd::ImageInfo: c.WMImageInfo(); break;
        case cmd::ExpData: c.WMExpData(); break;
        case cmd::StarMode: c.WMStarMode(); break;
        case cmd::MeteorMode: c.WMMeteorMode(); break;
        case cmd::MReplay: c.WMMReplay(); break;
        case cmd::Replay: c.WMReplay(); break;
        case cmd::IdentifyStars: c.WMIdentifyStars(); break;
        case cmd::OptionPhotoCD: WMOptionPhotoCD(); break;
        case cmd::OptionRandom: c.WMOptionRandom(); break;
        case cmd::OptionSearch: c.WMOptionSearch(); break;
        case cmd::OptionLimit: c.WMOptionLimit(); break;
        case cmd::OptionIdentifyTime: c.WMOptionIdentifyTime(); break;
        case cmd::OptionMarkCenter: c.WMOptionMarkCenter(); break;
        case cmd::OptionSnapCentre: c.WMOptionSnapCentre(); break;
        case cmd::ImageShowResiduals: c.WMImageShowResiduals(); break;
        case cmd::ImageShowCatalogue: c.WMImageShowCatalogue(); break;
        case cmd::WindowMeasure: c.WMWindowMeasure(); break;
        case cmd::WindowAnalysis: c.WMWindowAnalysis(); break;
        case cmd::CtxSwitch:
            if (sf.analysis) {
                c.WMWindowMeasure();
            } else {
                c.WMWindowAnalysis();
            }
            break;
        case cmd::CtxLabel: c.LabelSelected(); break;
        case cmd::CtxMax: c.ToggleMaximumSelected(); break;
        case cmd::HelpManual: WMHelpManual(); break;
        case cmd::HelpAbout: WMHelpAbout(); break;
        case cmd::EditUndo: c.WMEditUndo(); break;
        case cmd::EditRedo: c.WMEditRedo(); break;
        case cmd::ExportReport: c.WMExportReport(); break;
        default: break;
    }
    in_command_ = false;
}

void TMainWindow::WMFileExit() { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); }

void TMainWindow::WMImageBrightness() {
    if (!Mimg) return;
    TImageDialog dialog(this, *Mimg, [this] { display_->PictureColoursChanged(); },
                        [this] { display_->PicturePixelsChanged(); });
    dialog.exec();
}

void TMainWindow::WMOptionPhotoCD() {
    TResolutionDialog dialog(this, &opt.pcdres);
    dialog.exec();
}

void TMainWindow::WMHelpManual() {
    const QString index =
        QString::fromStdString((commands_->paths().manual_dir / "index.html").string());
    if (!QFileInfo::exists(index)) {
        qt_->in_use.messages->Show("The manual cannot be found:\n" + index.toStdString(), "Manual",
                                   MbButtons::Ok, MbIcon::Exclamation);
        return;
    }
    if (!help_) help_ = new THelpWindow(index, this);
    help_->ShowContents();
}

void TMainWindow::WMHelpAbout() {
    qt_->in_use.messages->Show(AboutText(), kAboutCaption, MbButtons::Ok, MbIcon::Information);
}

// --- Window events ---

void TMainWindow::closeEvent(QCloseEvent* event) {
    if (in_command_ || !commands_->CanClose()) {
        event->ignore();
        return;
    }
    if (help_) help_->close();
    event->accept();
}

bool TMainWindow::event(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && commands_) EvActivateApp();
    return QMainWindow::event(event);
}

void TMainWindow::EvActivateApp() {
    commands_->ExamineClipboard();
    display_->viewport()->update();
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) EvSize(client_->width(), client_->height());
    return QMainWindow::eventFilter(watched, event);
}

void TMainWindow::EvSize(int w, int h) {
    const PaneLayout layout = LayoutPanes(w, h);
    const auto place = [](QWidget* pane, const CanvasRect& r) { pane->setGeometry(r.x, r.y, r.w, r.h); };
    place(analysis_, layout.analysis);
    analysis_->update();
    place(status_, layout.status);
    status_->PlaceButtons(layout.plus, layout.minus);
    place(display_, layout.display);
    display_->SetScroller();
    if (KeepsScrollOnResize(Mimg, sf.dispmode)) display_->KeepScrollPosition();
    display_->viewport()->update();
}

// --- ShellView ---

void TMainWindow::SetCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

void TMainWindow::ShowPane(bool analysis) {
    display_->setVisible(!analysis);
    analysis_->setVisible(analysis);
}

void TMainWindow::RepaintMain(bool) {
    update();
    display_->viewport()->update();
    analysis_->update();
    status_->update();
}

void TMainWindow::RepaintDisplay(bool) { display_->viewport()->update(); }
void TMainWindow::PaintMarkers() { display_->viewport()->update(); }
void TMainWindow::RepaintStatus() { status_->update(); }
void TMainWindow::RepaintAnalysis() { analysis_->update(); }
void TMainWindow::ShowStatusButtons(bool show) { status_->ShowButtons(show); }
void TMainWindow::DisplaySetScroller() { display_->SetScroller(); }
void TMainWindow::DisplaySetImageZoom() { display_->SetImageZoom(); }
void TMainWindow::DisplaySetImagePixel() { display_->SetImagePixel(); }
void TMainWindow::DisplayResetZoom() { display_->ResetZoom(); }

void TMainWindow::SetWaitCursor(bool wait) {
    if (wait) {
        if (wait_depth_++ == 0) wait_cursor_.emplace();
    } else if (wait_depth_ > 0 && --wait_depth_ == 0) {
        wait_cursor_.reset();
    }
}

void TMainWindow::WatchClipboard(bool watch) { qt_->qt_clipboard.Watch(watch); }

void TMainWindow::Beep() { QApplication::beep(); }

void TMainWindow::Pause(int milliseconds) {
    // Repaints go on; no input is taken, so nothing can come between the
    // two beeps of a replay.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(5);
    }
}

std::optional<std::string> TMainWindow::ImageViewPng() {
    // The pane as it stands, scroll bars included, drawn afresh: picture,
    // markers and whatever else the view paints.
    const QImage picture = display_->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (picture.isNull() || !buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) return std::string();
    return bytes.toStdString();
}

void TMainWindow::GetPlacement(WindowPlacement& normal, bool& maximised) {
    QRect r = normalGeometry();
    if (!r.isValid()) r = geometry();
    normal = WindowPlacement{r.x(), r.y(), r.width(), r.height()};
    maximised = isMaximized();
}
