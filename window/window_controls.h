// The window's controls, made from the control table (layout.cpp): each with
// its place, font and colours, visibility and place in the Tab order; and
// which of them make up each inclination input. The hidden ones are made
// only when something asks for them.
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

// The four inclination inputs by their controls and the worksheet's field of
// each, in the order the window writes them: SCIright, SCIleft, TCIright,
// TCIleft.
struct InputSpec {
    Inclination kind;
    bool right;  // a right-side insert change recalculates at once
    const char *caption, *list, *angle, *scroll, *degree;
    Field effective;
};
// clang-format off
inline constexpr std::array<InputSpec, 4> kInputSpecs{{
    {Inclination::Sagittal,    true,  "lblSCIright", "colorSCIright", "angleSCIright", "scrSCIright", "lblAngleSCIright", Field::SCIright},
    {Inclination::Sagittal,    false, "lblSCIleft",  "colorSCIleft",  "angleSCIleft",  "scrSCIleft",  "lblAngleSCIleft",  Field::SCIleft},
    {Inclination::Transversal, true,  "lblTCIright", "colorTCIright", "angleTCIright", "scrTCIright", "lblAngleTCIright", Field::TCIright},
    {Inclination::Transversal, false, "lblTCIleft",  "colorTCIleft",  "angleTCIleft",  "scrTCIleft",  "lblAngleTCIleft",  Field::TCIleft},
}};
// clang-format on

// The controls of one inclination input, as the window works with them.
struct InputControls {
    QLabel *caption, *degree;
    AngleInput::Controls io;
};

// A colour tile as a person sees it: its box and the text field inside it.
struct TileShown {
    QLabel* box;
    TextBox* text;
};

class WindowControls {
public:
    // Makes the controls of the table that a person can see inside `window`,
    // in the table's order, in their Tab order, with the focus on the first.
    void build(QWidget* window);
    // Makes the hidden ones too: then the window holds every control of the
    // table, stacked and in the Tab order as if all had been made at once.
    void buildHidden(QWidget* window);
    // Whether the table has a hidden control of that name.
    static bool isHidden(const QString& name);

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
    TileShown tile(TilePosition position) const;

    // The worksheet as the table starts it: the initial texts of the working
    // area's fields and of the tiles, the tiles' colours, the check boxes'
    // values.
    static Worksheet initialWorksheet();

private:
    // Makes the shown or the hidden controls, then stacks all made so far
    // and sets their Tab order; returns that order.
    std::vector<QWidget*> make(QWidget* window, bool hidden);

    QHash<QString, QWidget*> byName_;
    std::vector<QWidget*> byRow_;  // in the table's order; null until made
    bool hiddenBuilt_ = false;
};

}  // namespace kx
