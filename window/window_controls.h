// The window's controls, made from the control table (layout.cpp): each with
// its place, font and colours, visibility and place in the Tab order; and
// which of them make up each inclination input.
#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QWidget>
#include <array>
#include <vector>

#include "angle_input.h"
#include "layout.h"

class QLabel;

namespace kx {

// The classic desktop's system colours at their usual values ("window",
// "windowtext", ...), so that the window looks the same under every desktop
// theme; or "#RRGGBB".
QColor namedColor(const char* name);

// A font as the control table names it: "Family size [bold] [underlined]";
// "" is the window's own font.
QFont tableFont(const char* spec);

// The four inclination inputs by their controls, in the order the window
// writes them: SCIright, SCIleft, TCIright, TCIleft.
struct InputSpec {
    Inclination kind;
    bool right;  // a right-side insert change recalculates at once
    const char *caption, *list, *angle, *scroll, *degree, *effective;
};
// clang-format off
inline constexpr std::array<InputSpec, 4> kInputSpecs{{
    {Inclination::Sagittal,    true,  "lblSCIright", "colorSCIright", "angleSCIright", "scrSCIright", "lblAngleSCIright", "SCIright"},
    {Inclination::Sagittal,    false, "lblSCIleft",  "colorSCIleft",  "angleSCIleft",  "scrSCIleft",  "lblAngleSCIleft",  "SCIleft"},
    {Inclination::Transversal, true,  "lblTCIright", "colorTCIright", "angleTCIright", "scrTCIright", "lblAngleTCIright", "TCIright"},
    {Inclination::Transversal, false, "lblTCIleft",  "colorTCIleft",  "angleTCIleft",  "scrTCIleft",  "lblAngleTCIleft",  "TCIleft"},
}};
// clang-format on

// The controls of one inclination input, as the window works with them.
struct InputControls {
    QLabel *caption, *degree;
    AngleInput::Controls io;
};

class WindowControls {
public:
    // Makes every control of the table inside `window`, in the table's order.
    void build(QWidget* window);

    // A control by its name in the table, or nullptr.
    QWidget* find(const QString& name) const { return byName_.value(name); }
    // A control of the table by its name and type. A name or a type that does
    // not match the table stops the program here, when the window is made.
    template <class T>
    T* bound(const char* name) const {
        auto* w = qobject_cast<T*>(find(QLatin1StringView(name)));
        if (!w)
            qFatal("KXcalc: the control table has no %s named %s", T::staticMetaObject.className(), name);
        return w;
    }
    // The controls of the input kInputSpecs[i].
    InputControls input(std::size_t i) const;

    // The Tab order of the table, over the controls that take the focus;
    // the focus on the first of them that is shown.
    void setTabOrder();

private:
    QHash<QString, QWidget*> byName_;
    std::vector<QWidget*> tableOrder_;
};

}  // namespace kx
