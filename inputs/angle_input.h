// One inclination input: the angle field, its arrow pair, the insert list and
// the worksheet's field that holds the effective inclination.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "insert_rules.h"
#include "worksheet.h"

namespace kx {

class TextBox;
class ArrowScrollBar;
class InsertList;

// Whether an angle text is a valid inclination: wholly a number in the
// regional format, within the valid range.
bool checkSCI(const QString& text);
bool checkTCI(const QString& text);

// The valid angles of a kind and the angle that replaces an invalid text,
// which is also where the inputs start after a reset.
struct AngleRange {
    int low, high;
    int defaultAngle;
    QString defaultText() const { return QString::number(defaultAngle); }
};
AngleRange angleRange(Inclination kind);

// One object serves each of the four inputs; the handlers of the design, by
// their names:
//   angleSCIright_Change, angleSCIleft_Change,
//   angleTCIright_Change, angleTCIleft_Change      AngleInput::angleChanged
//   scrSCIright_Change, scrSCIleft_Change,
//   scrTCIright_Change, scrTCIleft_Change          AngleInput::scrollChanged
//   colorSCIright_Click, colorSCIleft_Click,
//   colorTCIright_Click, colorTCIleft_Click        AngleInput::insertClicked
//   colorSCIright_Change, colorSCIleft_Change,
//   colorTCIright_Change, colorTCIleft_Change      AngleInput::insertTextChanged
// Which object serves which controls: kInputSpecs in window/window_controls.h.
class AngleInput : public QObject {
    Q_OBJECT
public:
    struct Controls {
        TextBox* angle;
        ArrowScrollBar* scroll;
        InsertList* list;
        Field effective;
    };
    struct Hooks {
        std::function<void()> calctable;
        // After each write of the effective field, for whatever mirrors the
        // worksheet.
        std::function<void()> written;
    };
    // A right-side insert change recalculates at once; a left-side one waits
    // for the next calculation. With the worksheet's automatic calculation off
    // nothing recalculates.
    AngleInput(Inclination kind, bool recalcOnInsert, Controls controls, Worksheet& sheet, Hooks hooks,
               QObject* parent = nullptr);

    void angleChanged();       // the angle field's text changed
    void scrollChanged();      // the arrow pair's value changed
    void insertClicked();      // an insert was chosen
    void insertTextChanged();  // someone typed into the list's edit part

    // The insert rule over the list's selection and the angle field's text,
    // written into the effective field.
    void writeEffective();

    const Controls& controls() const { return c_; }
    Inclination kind() const { return kind_; }

private:
    void writeEffective(float angle);

    Inclination kind_;
    bool recalcOnInsert_;
    Controls c_;
    Worksheet& sheet_;
    Hooks hooks_;
};

}  // namespace kx
