// Every language-dependent text of the window: German (0), English (1),
// Italian (2), indexed by the window's current language.
#pragma once

#include <QString>
#include <array>
#include <vector>

#include "fault.h"

namespace kx {

using LangTexts = std::array<QString, 3>;

struct LanguageTables {
    LangTexts windowTitle, titleB, articulatorSetting, right, left, sci, tci, rightSetting, leftSetting, degree, white,
        yellow, red, blue, black, orangeYellow, orange, green, noteTitle, note, version, copyright;
    LangTexts settingWord;  // the word that stands for each language in the settings

    // What assistive technology reads for a control a person can reach: its
    // name and, where the name alone does not say what the control does, a
    // description. An empty name leaves the control's own caption as its name.
    struct Accessible {
        const char* control;
        LangTexts name, description;
    };
    std::vector<Accessible> accessible;
    // The description of a colour tile: the element the last calculation
    // chose for it (%1, its colour name).
    LangTexts tileDescription;

    // What the person reads when a calculation stops on a fault.
    QString faultMessage(int lang, FaultKind kind, CalcStage stage) const;
    QString noPrinterMessage(int lang) const;
    QString printFailedMessage(int lang, const QString& printer) const;
};

// The tables as the window fills them when it loads.
LanguageTables makeLanguageTables();

// The project version set in CMake: one number for the window, the packages
// and the operating system's version information.
inline constexpr const char* kProgramVersion = KX_PROGRAM_VERSION;

}  // namespace kx
