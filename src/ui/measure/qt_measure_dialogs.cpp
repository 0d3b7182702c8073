#include "ui/measure/qt_measure_dialogs.h"

#include "files/options.h"
#include "image/meteor_image.h"
#include "session/session_data.h"
#include "shell/main_commands.h"
#include "shell/program_paths.h"
#include "shell/shell_view.h"
#include "ui/measure/identify_dialog.h"
#include "ui/measure/meteor_dialog_window.h"
#include "ui/measure/replay_dialog_window.h"
#include "ui/measure/star_dialog_window.h"

QtMeasureDialogs::QtMeasureDialogs(QWidget* main, MessageBoxService& messages, std::uint64_t seed)
    : main_(main), messages_(messages), random_(seed) {}

void QtMeasureDialogs::SetContext(const MainCommands& commands, ShellView& view) {
    commands_ = &commands;
    view_ = &view;
}

StarSearchSettings QtMeasureDialogs::SearchSettings() const {
    StarSearchSettings s;
    if (commands_ != nullptr) {
        s.files = CatalogueFilesFor(opt, commands_->paths());
    } else {
        s.files.catalogue_dir = opt.skycatdir;
        s.files.index_dir = opt.skycatdir;
    }
    s.radius = opt.radius;
    s.limit = opt.limit;
    return s;
}

void QtMeasureDialogs::RunStarDialog(int column, int row) {
    if (Session == nullptr || Mimg == nullptr) return;
    TStarDialog dialog(main_, *Session, *Mimg, column, row, messages_, SearchSettings());
    dialog.exec();
}

void QtMeasureDialogs::RunStarDialogFor(int column, int row, const CatStar& star) {
    if (Session == nullptr || Mimg == nullptr) return;
    StarSearchSettings settings = SearchSettings();
    settings.preselect = star;
    TStarDialog dialog(main_, *Session, *Mimg, column, row, messages_, settings);
    dialog.exec();
}

void QtMeasureDialogs::RunMeteorDialog(int column, int row) {
    if (Session == nullptr || Mimg == nullptr) return;
    ShellView* view = view_;
    TMeteorDialog dialog(main_, *Session, *Mimg, column, row, messages_, [view] {
        if (view != nullptr) view->RepaintDisplay(false);
    });
    dialog.exec();
}

DialogEnd QtMeasureDialogs::RunStarReplay(int column, int row, int index) {
    if (Session == nullptr || Mimg == nullptr) return DialogEnd::Break;
    const ReplayOffsets offsets = random_.Offsets(opt.randomness);
    TReplayDialog dialog(main_, *Mimg, messages_,
                         std::make_unique<StarReplay>(*Session, *Mimg, column, row, index, offsets));
    return DialogEndOf(dialog.exec());
}

DialogEnd QtMeasureDialogs::RunMeteorReplay(int column, int row, int index) {
    if (Session == nullptr || Mimg == nullptr) return DialogEnd::Break;
    const ReplayOffsets offsets = random_.Offsets(opt.randomness);
    TReplayDialog dialog(main_, *Mimg, messages_,
                         std::make_unique<MeteorReplay>(*Session, *Mimg, column, row, index, offsets));
    return DialogEndOf(dialog.exec());
}

DialogEnd QtMeasureDialogs::RunTemplateStar(int column, int row, const CatStar& star) {
    if (Session == nullptr || Mimg == nullptr) return DialogEnd::Break;
    TReplayDialog dialog(main_, *Mimg, messages_, std::make_unique<StarTemplate>(*Session, *Mimg, column, row, star));
    return DialogEndOf(dialog.exec());
}

std::optional<std::vector<StarProposal>> QtMeasureDialogs::RunIdentifyProposals(
    const SkyPointing& solution, const std::vector<StarProposal>& proposals) {
    TIdentifyDialog dialog(main_, solution, proposals);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Ticked();
}
