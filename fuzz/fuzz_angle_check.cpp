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

void checkRange(const QString& text, kx::Inclination kind, float low, float high) {
    const auto accepts = kind == kx::Inclination::Sagittal ? &kx::checkSCI : &kx::checkTCI;
    const bool accepted = accepts(text);
    const std::optional<float> v = kx::regionalToSingle(text);
    if ((accepted && !(v && *v >= low && *v <= high)) || accepts(u' ' + text + u' ') != accepted)
        std::abort();
    for (int insert = -1; accepted && insert <= 5; ++insert) {
        const float e = kx::withInsert(kind, insert, *v);
        if (kx::effectiveValueText(e).find_first_not_of(" 0123456789.+-E") != std::string::npos ||
            !kx::fuzz::comesBack(kx::resultText(e)))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    QLocale::setDefault(QLocale(QString::fromLatin1(kLocales[data[0] % std::size(kLocales)])));
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    checkRange(text, kx::Inclination::Sagittal, 0.0f, 70.0f);
    checkRange(text, kx::Inclination::Transversal, -10.0f, 25.0f);
    return 0;
}
