// The languages of the window and every text that depends on them. A
// language is a column: its entry in kLanguages here and its text in every
// row of makeLanguageTables (texts.cpp); its flag picture has its place in
// the control table (layout.cpp).
#pragma once

#include <QString>
#include <array>
#include <vector>

#include "fault.h"
#include "insert_rules.h"
#include "language_setting.h"
#include "table_elements.h"

namespace kx {

inline constexpr std::size_t kLanguageCount = 3;

// A language by its index, the window's `langIndex`: the word that stands for
// it in the settings, the flag picture that chooses it, and its ISO 639 code
// (for the toolkit's own texts).
struct Language {
    const char *settingWord, *flag, *code;
};
inline constexpr std::array<Language, kLanguageCount> kLanguages{{
    {"german", "picGe", "de"},
    {"english", "picUS", "en"},
    {"italian", "picIT", "it"},
}};
// The language of a first start, with no setting yet, and of a setting that
// holds any other text (the setting then keeps that text).
inline constexpr int kFirstStartLanguage = 1;
inline constexpr int kOtherWordLanguage = 0;

// The language index of a setting's word, or kOtherWordLanguage; the words
// are compared exactly.
int languageOfWord(const QString& word);

using LangTexts = std::array<QString, kLanguageCount>;

struct LanguageTables {
    LangTexts windowTitle, titleB, articulatorSetting, right, left, sci, tci, rightSetting, leftSetting, degree,
        noteTitle, note, version, copyright;
    std::array<LangTexts, kInsertCount> insertName;         // by Insert
    std::array<LangTexts, kTableElementCount> elementName;  // by TableElement

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

    // The print button's context menu: print with the system's dialog, save
    // as PDF, copy.
    std::array<LangTexts, 3> printMenu;
    // The line under the printed window, and the last line of a copy; %1 is
    // the date and time in the regional format.
    LangTexts printedOn, copiedOn;
    // The PDF file dialog's title and its file type.
    LangTexts pdfTitle, pdfFilter;

    // What the person reads when a calculation stops on a fault.
    QString faultMessage(int lang, FaultKind kind, CalcStage stage) const;
    QString noPrinterMessage(int lang) const;
    QString printFailedMessage(int lang, const QString& printer) const;
    QString pdfFailedMessage(int lang, const QString& file, const QString& reason) const;
    QString clipboardFailedMessage(int lang) const;
};

// The tables as the window fills them when it loads.
LanguageTables makeLanguageTables();

// The project version set in CMake: one number for the window, the packages
// and the operating system's version information.
inline constexpr const char* kProgramVersion = KX_PROGRAM_VERSION;

}  // namespace kx
