#include "ui/measure/meteor_dialog_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

using namespace meteor_dialog;

namespace {

// The read-out's lines are separated as the core writes them, "\r\n".
QString ReadoutText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

}  // namespace

TMeteorDialog::TMeteorDialog(QWidget* parent, SessionData& session, MeteorImage& image, int column, int row,
                             MessageBoxService& messages, std::function<void()> point_stored)
    : TMeasureDialog("METEOR_DIALOG", parent, image, messages), point_stored_(std::move(point_stored)) {
    SetCore(std::make_unique<MeteorDialog>(session, image, column, row, messages));
    bar_ = ControlAs<QScrollBar>(kFrameBar);
    maximum_ = ControlAs<QCheckBox>(kMaximum);
    values_ = ControlAs<QLabel>(kReadoutValues);
    captions_ = ControlAs<QLabel>(kReadoutCaptions);
    for (QLabel* l : {values_, captions_}) l->setAlignment(Qt::AlignRight | Qt::AlignTop);
    bar_->setSingleStep(1);
    bar_->setPageStep(FrameBar::kPage);
    connect(ControlAs<QPushButton>(kAccept), &QPushButton::clicked, this, &TMeteorDialog::WMMeteorAccept);
    connect(ControlAs<QPushButton>(kOk), &QPushButton::clicked, this, &TMeteorDialog::WMMeasOk);
    connect(maximum_, &QCheckBox::clicked, this, &TMeteorDialog::WMMaximum);
    connect(bar_, &QScrollBar::valueChanged, this, &TMeteorDialog::WMMeteorFrame);
    SetupWindow();
    SyncControls();
}

void TMeteorDialog::WMMeteorAccept() {
    bool stored = false;
    Run([&] { stored = meteor().Accept(); });
    if (stored && point_stored_) point_stored_();
}

void TMeteorDialog::WMMeteorFrame(int position) {
    Run([&] { meteor().MoveFrameBar(position); });
}

void TMeteorDialog::WMMaximum(bool checked) {
    Run([&] { meteor().SetMaximum(checked); });
}

void TMeteorDialog::WMMeasOk() {
    Run([&] { meteor().Ok(); });
}

void TMeteorDialog::SyncControls() {
    const FrameBar& b = meteor().frame_bar();
    {
        const QSignalBlocker block(bar_);
        bar_->setRange(b.min, b.max);
        bar_->setValue(b.pos);
        bar_->setEnabled(b.enabled);
    }
    maximum_->setEnabled(meteor().maximum_enabled());
    maximum_->setChecked(meteor().maximum_checked());
    values_->setText(ReadoutText(meteor().readout().values));
    captions_->setText(ReadoutText(meteor().readout().captions));
}
