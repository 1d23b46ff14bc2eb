// The controls of the working area and the coordinate block: hidden, below
// the client area, and no person ever reaches them. The worksheet holds what
// they would show, so they are made only when something asks for one by its
// name (a scenario, a test, the debug picture). From then on they show the
// worksheet, and what the program writes into them goes into the worksheet,
// as it did when they were the calculation's own fields.
#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "worksheet.h"

class QCheckBox;
class QLabel;

namespace kx {

class TextBox;
class WindowControls;

class WorkingArea : public QObject {
    Q_OBJECT
public:
    // What the working area's buttons do: Calculate, and a click on the
    // debug box once its value is in the worksheet.
    struct Handlers {
        std::function<void()> calculate, debugClicked;
    };
    // Makes the hidden controls among `controls` and binds them.
    WorkingArea(QWidget* window, WindowControls& controls, Worksheet& sheet, Handlers handlers);

    // The worksheet into the controls; only what differs raises their events.
    void show();
    // The coordinate block's headings, in the window's language.
    void setHeadings(const QString& right, const QString& left);

private:
    Worksheet& sheet_;
    std::array<TextBox*, kFieldCount> fields_{};
    QCheckBox *autocalc_, *debug_;
    QLabel *rightTeeth_, *leftTeeth_;
};

}  // namespace kx
