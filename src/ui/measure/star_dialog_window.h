#pragma once
// TStarDialog, "Star measurement": the observer clicks a star's centre in
// the magnifier and identifies it in the sky catalogue; OK adds it to the
// session. The decisions are the core's StarDialog (measure/star_dialog.h):
// this window forwards the typing, the buttons, the list and Enter, and
// shows the fields, the candidate list, its selection and the default
// button (Search or OK) after each.
//
// Enter always arrives as the invisible default button 181, whatever has
// the focus: OK when OK is the default, else Search.
#include "measure/star_dialog.h"
#include "ui/measure/measure_dialog_window.h"

class QLineEdit;
class QListWidget;
class QPushButton;

class TStarDialog : public TMeasureDialog {
    Q_OBJECT
public:
    // A new measurement opened for display pixel (column, row), row from
    // the top.
    TStarDialog(QWidget* parent, SessionData& session, MeteorImage& image, int column, int row,
                MessageBoxService& messages, StarSearchSettings settings);

    StarDialog& star() const { return static_cast<StarDialog&>(core()); }

    void WMStarReturn();  // control 181: Enter
    void WMStarSearch();  // control 175
    void WMStarOk();      // control 176
    // From three visible stars on, a click while the list is not valid
    // searches the catalogue: the wait cursor shows meanwhile.
    void WMPosition(ControlPoint p) override;

protected:
    void SyncControls() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetupWindow();
    void SetButtonStates();
    void FieldEdited(StarField field, const QString& text);
    void ShowList();
    QLineEdit* Field(StarField field) const;

    QListWidget* list_ = nullptr;
    QPushButton* return_ = nullptr;
    std::vector<std::string> shown_lines_;
};
