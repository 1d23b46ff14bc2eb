// The calculator's one window: its controls (made by WindowControls from the
// control table), its language, its commands, and the fields the calculation
// reads and writes. Printing, the PDF and the copy are a SettingRecord's.
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

#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "angle_input.h"
#include "calculation.h"
#include "fields.h"
#include "services.h"
#include "setting_record.h"
#include "texts.h"
#include "window_controls.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace kx {

class LinkLabel;
class NoteBox;
class Picture;

class KXcalc : public QWidget, public CalcFields, public FaultReporter {
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
    // and tests, which name the controls as a person reads them.
    QWidget* control(const QString& name) const { return controls_.find(name); }
    // The four inclination inputs in the order of kInputSpecs (window_controls.h).
    const AngleInput& input(std::size_t i) const { return *inputs_[i]; }
    // The outer height in twips as last set by the window.
    int outerHeightTwips() const { return outerHeightTwips_; }
    const LanguageTables& texts() const { return tables_; }
    int langIndex() const { return langIndex_; }

    // CalcFields
    std::string text(Field f) const override;
    void setText(Field f, std::string_view utf8) override;
    void setBackColor(Field f, Rgb c) override;
    void setForeColor(Field f, Rgb c) override;
    std::string elementName(TableElement e) const override;

    // FaultReporter
    void reportFault(const CalcFault& fault) override;

private:
    void bindControls();
    void connectHandlers();
    void connectPrintMenu();
    void applyAccessibleTexts();
    void writeInsertLists();
    void setOuterHeight(int twips);

    Services services_;
    LanguageTables tables_;
    int langIndex_ = 0;
    int outerHeightTwips_;
    WindowControls controls_;

    // The controls the window's own code works with, each found once, by name
    // and type, when the window is made.
    struct Ui {
        QLabel *lblTitleB, *lblArticulatorSetting, *lblRightSide, *lblLeftSide, *lblRightTeeth, *lblLeftTeeth;
        LinkLabel* lblHyperlink;
        NoteBox *notetitletxt, *notetxt, *copyrighttxt;
        QPushButton *cmdCalculate, *cmdPrint, *cmdEnd;
        QCheckBox *chkDebug, *chkAutocalc;
        std::array<Picture*, kLanguageCount> flags;
        std::array<InputControls, 4> inputs;
    } ui_{};
    // A field is a text box, or a label for a tile's box.
    struct FieldControl {
        QWidget* widget;
        TextBox* box;
        QLabel* label;
    };
    std::array<FieldControl, kFieldCount> fields_{};
    // What the accessible texts are written to, in the order of their table.
    std::vector<QWidget*> accessibleTargets_;

    std::array<std::unique_ptr<AngleInput>, 4> inputs_;
    Calculation calc_;
    std::unique_ptr<SettingRecord> record_;
};

}  // namespace kx
