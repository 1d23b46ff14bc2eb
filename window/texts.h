// Every language-dependent text of the window: German (0), English (1),
// Italian (2), indexed by the window's current language.
#pragma once

#include <QString>
#include <array>

#include "fault.h"

namespace kx {

using LangTexts = std::array<QString, 3>;

struct LanguageTables {
    LangTexts windowTitle, titleB, articulatorSetting, right, left, sci, tci, rightSetting,
        leftSetting, degree, white, yellow, red, blue, black, orangeYellow, orange, green,
        noteTitle, note, version, copyright;
    LangTexts settingWord;  // the word that stands for each language in the settings

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
