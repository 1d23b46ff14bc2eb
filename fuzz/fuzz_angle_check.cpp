// The angle checks under several regional formats. The first byte picks the
// format, the rest is the typed text (UTF-8). For every text: no crash; an
// accepted text lies in the valid range; blanks around a text do not change
// the answer; and the effective value made from it with every insert is
// written in plain ASCII and reads back as the same single value, whatever
// the format.
#include <QLocale>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "angle_input.h"
#include "insert_rules.h"
#include "number_text.h"
#include "regional.h"
#include "shown_again.h"

namespace {

const char* const kLocales[] = {"en_US", "de_DE", "fr_FR", "it_IT", "de_CH", "ar_EG",
                                "fa_IR", "hi_IN", "C",     "sv_SE", "pt_BR", "ja_JP"};

void checkRange(const QString& text, bool sci) {
    const bool accepted = sci ? kx::checkSCI(text) : kx::checkTCI(text);
    const std::optional<float> v = kx::regionalToSingle(text);
    const float low = sci ? 0.0f : -10.0f, high = sci ? 70.0f : 25.0f;
    if (accepted && !(v && *v >= low && *v <= high))
        std::abort();
    // Leading and trailing blanks are allowed and change nothing.
    const QString padded = QStringLiteral(" ") + text + QStringLiteral(" ");
    if ((sci ? kx::checkSCI(padded) : kx::checkTCI(padded)) != accepted)
        std::abort();
    if (!accepted || !v)
        return;
    for (int insert = -1; insert <= 5; ++insert) {
        const float e = kx::withInsert(sci ? kx::Inclination::Sagittal : kx::Inclination::Transversal, insert, *v);
        const std::string written = kx::effectiveValueText(e);
        for (char c : written)
            if (static_cast<unsigned char>(c) >= 0x80 || c == ',')
                std::abort();
        if (!kx::fuzz::comesBack(kx::resultText(e)))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static const char* current = nullptr;
    const char* name = kLocales[data[0] % std::size(kLocales)];
    if (name != current) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        current = name;
    }
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    checkRange(text, true);
    checkRange(text, false);
    return 0;
}
