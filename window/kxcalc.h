// The calculator's one window.
#pragma once

#include <QHash>
#include <QWidget>
#include <array>
#include <memory>

#include "calculation.h"
#include "fields.h"
#include "services.h"
#include "texts.h"

class QCheckBox;

namespace kx {

class AngleInput;
class InsertList;
class TextBox;

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

    // A control by its name, or nullptr.
    QWidget* control(const QString& name) const { return controls_.value(name); }
    const QHash<QString, QWidget*>& controls() const { return controls_; }
    // The outer height in twips as last set by the window.
    int outerHeightTwips() const { return outerHeightTwips_; }
    Calculation& calculation() { return calc_; }
    const LanguageTables& texts() const { return tables_; }

    // CalcFields
    std::string text(Field f) const override;
    void setText(Field f, std::string_view utf8) override;
    void setBackColor(Field f, Rgb c) override;
    void setForeColor(Field f, Rgb c) override;
    int langIndex() const override { return langIndex_; }

    // FaultReporter
    void reportFault(const CalcFault& fault) override;

private:
    void createControls();
    void connectHandlers();
    void setTabOrder();
    void applyAccessibleTexts();
    void setOuterHeight(int twips);
    TextBox* textBox(const char* name) const;
    InsertList* insertList(const char* name) const;

    Services services_;
    LanguageTables tables_;
    int langIndex_ = 0;
    int outerHeightTwips_;
    QHash<QString, QWidget*> controls_;
    std::array<QWidget*, kFieldCount> fieldControls_{};
    std::array<std::unique_ptr<AngleInput>, 4> inputs_;
    QCheckBox* autocalc_ = nullptr;
    Calculation calc_;
};

}  // namespace kx
