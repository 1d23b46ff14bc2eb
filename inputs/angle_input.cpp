#include "angle_input.h"

#include <cmath>
#include <optional>

#include "controls.h"
#include "fault.h"
#include "number_text.h"
#include "regional.h"

namespace kx {

namespace {

// The angle of the text where it is wholly a number of the regional format
// within the range.
std::optional<float> inRange(const QString& text, const AngleRange& r) {
    if (text.isEmpty())
        return std::nullopt;
    const std::optional<float> v = regionalToSingle(text);
    if (v && float(r.low) <= *v && *v <= float(r.high))
        return v;
    return std::nullopt;
}

// The scroll position that goes with an angle text: its leading number
// rounded half to even, or nothing when that lies outside the arrow pair's
// range (only contrived texts, such as "700,0e-1" read with "," as decimal
// separator, are valid angles that do this).
std::optional<int> scrollPosition(const QString& text, const AngleRange& r) {
    double v = 0;
    try {
        v = leadingNumber(text.toStdString());
    } catch (const CalcFault&) {
        return std::nullopt;
    }
    const double rounded = std::nearbyint(v);
    if (!(rounded >= r.low && rounded <= r.high))
        return std::nullopt;
    return static_cast<int>(rounded);
}

}  // namespace

AngleRange angleRange(Inclination kind) {
    if (kind == Inclination::Sagittal)
        return {0, 70, 45};
    return {-10, 25, 6};
}

bool checkSCI(const QString& text) { return inRange(text, angleRange(Inclination::Sagittal)).has_value(); }
bool checkTCI(const QString& text) { return inRange(text, angleRange(Inclination::Transversal)).has_value(); }

AngleInput::AngleInput(Inclination kind, bool recalcOnInsert, Controls controls, Worksheet& sheet, Hooks hooks,
                       QObject* parent)
    : QObject(parent),
      kind_(kind),
      recalcOnInsert_(recalcOnInsert),
      c_(controls),
      sheet_(sheet),
      hooks_(std::move(hooks)) {
    connect(c_.angle, &QLineEdit::textChanged, this, &AngleInput::angleChanged);
    connect(c_.scroll, &ArrowScrollBar::changed, this, &AngleInput::scrollChanged);
    connect(c_.list, &InsertList::clicked, this, &AngleInput::insertClicked);
    connect(c_.list, &InsertList::edited, this, &AngleInput::insertTextChanged);
}

void AngleInput::angleChanged() {
    const AngleRange range = angleRange(kind_);
    const QString text = c_.angle->text();
    const std::optional<float> angle = inRange(text, range);
    const std::optional<int> position = angle ? scrollPosition(text, range) : std::nullopt;
    if (!position) {
        // The nested run on the default text does all the rest.
        c_.angle->write(range.defaultText());
        return;
    }
    // A new position rewrites this field as a whole number, which runs this
    // handler once more, nested; the steps below then read the field afresh.
    // Where it stayed as it was, the check has read its angle already.
    c_.scroll->setAngle(*position);
    if (c_.angle->text() == text)
        writeEffective(*angle);
    else
        writeEffective();
    if (sheet_.autocalc)
        hooks_.calctable();
}

void AngleInput::scrollChanged() { c_.angle->write(QString::number(c_.scroll->angle())); }

void AngleInput::insertClicked() {
    const InsertLook look = insertLook(kind_, c_.list->selectedIndex());
    setControlColors(c_.list, QColor(look.back.r, look.back.g, look.back.b),
                     QColor(look.fore.r, look.fore.g, look.fore.b));
    writeEffective();
    if (recalcOnInsert_ && sheet_.autocalc)
        hooks_.calctable();
}

void AngleInput::insertTextChanged() {
    c_.list->setSelectedIndex(*listIndex(kind_, defaultInsert(kind_)));
    insertClicked();
}

void AngleInput::writeEffective() {
    // The angle field always holds a valid angle here: every invalid text is
    // replaced the moment it appears.
    const std::optional<float> angle = regionalToSingle(c_.angle->text());
    writeEffective(angle ? *angle : float(angleRange(kind_).defaultAngle));
}

void AngleInput::writeEffective(float angle) {
    sheet_[c_.effective] = effectiveValueText(withInsert(kind_, c_.list->selectedIndex(), angle));
    hooks_.written();
}

}  // namespace kx
