#pragma once
// The measuring dialogs of the desktop program: MeasureDialogs (the seam
// the main window's commands call) over the Qt dialogs, modal over the main
// window, on the current session and image (Session, Mimg). The replay
// offsets come from one generator seeded at start-up.
#include <QPointer>
#include <QWidget>
#include <cstdint>

#include "measure/replay_random.h"
#include "measure/star_dialog.h"
#include "shell/measure_dialogs.h"

class MainCommands;
class MessageBoxService;
class ShellView;

class QtMeasureDialogs : public MeasureDialogs {
public:
    QtMeasureDialogs(QWidget* main, MessageBoxService& messages,
                     std::uint64_t seed = ReplayRandom::StartupSeed());

    // Where the star searches find the catalogue (the commands' program
    // paths and the options), and the view the meteor dialog repaints when
    // it stores a point. Until it is given, searches use the options'
    // catalogue directory alone.
    void SetContext(const MainCommands& commands, ShellView& view);

    void RunStarDialog(int column, int row) override;
    void RunStarDialogFor(int column, int row, const CatStar& star) override;
    void RunMeteorDialog(int column, int row) override;
    DialogEnd RunStarReplay(int column, int row, int index) override;
    DialogEnd RunMeteorReplay(int column, int row, int index) override;
    DialogEnd RunTemplateStar(int column, int row, const CatStar& star) override;
    std::optional<std::vector<StarProposal>> RunIdentifyProposals(const SkyPointing& solution,
                                                                  const std::vector<StarProposal>& proposals) override;

private:
    StarSearchSettings SearchSettings() const;

    QPointer<QWidget> main_;
    MessageBoxService& messages_;
    const MainCommands* commands_ = nullptr;
    ShellView* view_ = nullptr;
    ReplayRandom random_;
};
