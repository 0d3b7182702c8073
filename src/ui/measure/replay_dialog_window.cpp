#include "ui/measure/replay_dialog_window.h"

#include <QLabel>
#include <QPushButton>

using namespace replay_dialog;

TReplayDialog::TReplayDialog(QWidget* parent, MeteorImage& image, MessageBoxService& messages,
                             std::unique_ptr<ReplayDialog> core)
    : TMeasureDialog("REPLAY_DIALOG", parent, image, messages) {
    setWindowTitle(QString::fromStdString(core->caption()));
    SetCore(std::move(core));
    difference_ = ControlAs<QLabel>(kDifference);
    difference_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    connect(ControlAs<QPushButton>(kBreak), &QPushButton::clicked, this, &TReplayDialog::WMBreak);
    SetupWindow();
    SyncControls();
}

void TReplayDialog::WMBreak() {
    Run([&] { replay().Break(); });
}

void TReplayDialog::SyncControls() {
    QString text = QString::fromStdString(replay().difference());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    difference_->setText(text);
}
