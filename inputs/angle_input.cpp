#include "angle_input.h"

#include <cmath>

#include "controls.h"
#include "fault.h"
#include "number_text.h"
#include "regional.h"

namespace kx {

namespace {

bool inRange(const QString& text, const AngleRange& r) {
    if (text.isEmpty())
        return false;
    const std::optional<float> v = regionalToSingle(text);
    return v && float(r.low) <= *v && *v <= float(r.high);
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

bool checkSCI(const QString& text) { return inRange(text, angleRange(Inclination::Sagittal)); }
bool checkTCI(const QString& text) { return inRange(text, angleRange(Inclination::Transversal)); }

AngleInput::AngleInput(Inclination kind, bool recalcOnInsert, Controls controls, Hooks hooks, QObject* parent)
    : QObject(parent), kind_(kind), recalcOnInsert_(recalcOnInsert), c_(controls), hooks_(std::move(hooks)) {
    connect(c_.angle, &QLineEdit::textChanged, this, &AngleInput::angleChanged);
    connect(c_.scroll, &ArrowScrollBar::changed, this, &AngleInput::scrollChanged);
    connect(c_.list, &InsertList::clicked, this, &AngleInput::insertClicked);
    connect(c_.list, &InsertList::edited, this, &AngleInput::insertTextChanged);
}

bool AngleInput::accepts(const QString& text) const {
    return kind_ == Inclination::Sagittal ? checkSCI(text) : checkTCI(text);
}

void AngleInput::angleChanged() {
    const AngleRange range = angleRange(kind_);
    const QString text = c_.angle->text();
    const std::optional<int> position = accepts(text) ? scrollPosition(text, range) : std::nullopt;
    if (!position) {
        // The nested run on the default text does all the rest.
        c_.angle->write(range.defaultText());
        return;
    }
    // A new position rewrites this field as a whole number, which runs this
    // handler once more, nested; the steps below then read the field afresh.
    c_.scroll->setAngle(*position);
    writeEffective();
    if (hooks_.autocalc())
        hooks_.calctable();
}

void AngleInput::scrollChanged() { c_.angle->write(QString::number(c_.scroll->angle())); }

void AngleInput::insertClicked() {
    const InsertLook look = insertLook(kind_, c_.list->selectedIndex());
    setControlColors(c_.list, QColor(look.back.r, look.back.g, look.back.b),
                     QColor(look.fore.r, look.fore.g, look.fore.b));
    writeEffective();
    if (recalcOnInsert_ && hooks_.autocalc())
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
    const float a = angle ? *angle : float(angleRange(kind_).defaultAngle);
    const float e = withInsert(kind_, c_.list->selectedIndex(), a);
    c_.effective->write(QString::fromStdString(effectiveValueText(e)));
}

}  // namespace kx
