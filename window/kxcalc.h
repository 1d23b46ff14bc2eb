// The calculator's one window: its controls (made by WindowControls from the
// control table), its language, its commands, and the worksheet the
// calculation reads and writes. Printing, the PDF and the copy are a
// SettingRecord's.
//
// The handlers of the design, by their names, and where they live:
//   Form_Load                              KXcalc::formLoad
//   picGe_Click, picUS_Click, picIT_Click  KXcalc::chooseLanguage (the flag of
//                                          each language: kLanguages, texts.h)
//   cmdCalculate_Click, cmdPrint_Click, cmdEnd_Click, chkDebug_Click,
//   lblHyperlink_Click                     KXcalc, under their own names
//   angle..._Change, scr..._Change,
//   color..._Click, color..._Change        AngleInput (angle_input.h), one
//                                          object for each of the four inputs
#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "angle_input.h"
#include "calculation.h"
#include "services.h"
#include "setting_record.h"
#include "texts.h"
#include "window_controls.h"
#include "worksheet.h"

class QLabel;
class QPushButton;

namespace kx {

class LinkLabel;
class NoteBox;
class Picture;
class WorkingArea;

class KXcalc : public QWidget {
    Q_OBJECT
public:
    explicit KXcalc(Services services, QWidget* parent = nullptr);
    ~KXcalc() override;

    // Reads the language setting, writes every text of the window in that
    // language and resets the inputs, which calculates them. Runs once,
    // before the window is first shown.
    void formLoad();

    // The window's own procedures.
    void applyLanguage();
    void resetInputs();
    void chooseLanguage(int lang);
    void HyperJump(const QString& url);

    // Event handlers of the controls.
    void cmdCalculate_Click();
    void cmdPrint_Click();
    void cmdEnd_Click();
    void chkDebug_Click();
    void lblHyperlink_Click();

    // A control by its name in the control table, or nullptr: for scripts
    // and tests, which name the controls as a person reads them. The hidden
    // ones are made, all at once, when one of them is first asked for.
    QWidget* control(const QString& name);
    // The four inclination inputs in the order of kInputSpecs (window_controls.h).
    const AngleInput& input(std::size_t i) const { return *inputs_[i]; }
    // The outer height in twips as last set by the window.
    int outerHeightTwips() const { return outerHeightTwips_; }
    const LanguageTables& texts() const { return tables_; }
    int langIndex() const { return langIndex_; }
    // What the calculation works on: its fields, its tiles, its switches.
    const Worksheet& worksheet() const { return sheet_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void bindControls();
    void connectHandlers();
    void connectPrintMenu();
    void applyAccessibleTexts();
    void writeInsertLists();
    void setOuterHeight(int twips);
    // A run of the calculation on the worksheet, and the tiles shown from it
    // when the run got that far; a fault is told to the person.
    void calculate();
    void showTiles();
    // The working area's controls, where they were made, follow the worksheet.
    void worksheetWritten();

    Services services_;
    LanguageTables tables_;
    int langIndex_ = 0;
    bool languageWritten_ = false;
    bool iconGiven_ = false;
    QTimer iconLater_;
    int outerHeightTwips_;
    WindowControls controls_;

    // The controls the window's own code works with, each found once, by name
    // and type, when the window is made.
    struct Ui {
        QLabel *lblTitleB, *lblArticulatorSetting, *lblRightSide, *lblLeftSide;
        LinkLabel* lblHyperlink;
        NoteBox *notetitletxt, *notetxt, *copyrighttxt;
        QPushButton *cmdPrint, *cmdEnd;
        std::array<Picture*, kLanguageCount> flags;
        std::array<InputControls, 4> inputs;
        std::array<TileShown, kTileCount> tiles;  // by TilePosition
    } ui_{};
    // What the accessible texts are written to, in the order of their table.
    std::vector<QWidget*> accessibleTargets_;

    Worksheet sheet_;
    Calculation calc_;
    // The table elements' names in each language, as the calculation writes them.
    std::array<ElementNames, kLanguageCount> elementNames_;
    std::array<std::unique_ptr<AngleInput>, 4> inputs_;
    std::unique_ptr<SettingRecord> record_;
    std::unique_ptr<WorkingArea> workingArea_;  // once something has asked for a hidden control
};

}  // namespace kx
