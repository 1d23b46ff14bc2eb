// The soak: a seeded stream of random scenario lines, what a person can do to
// the window (typing and pasting any text into the angle fields and the
// lists, arrow clicks, list choices, keys, flags, Calculate), with the
// window's invariants checked after every line: each angle field holds a
// valid angle of the regional format, its arrows stand at its leading number
// rounded, its effective field holds the angle plus its insert's offset, and
// the results are up to date: Calculate, pressed then, changes none of them
// (unless a left insert changed, which waits for the next calculation). A
// fresh window every 2,500 lines, in six regional formats in turn.
#include <QCoreApplication>
#include <QLocale>
#include <cmath>
#include <random>

#include "controls.h"
#include "number_text.h"
#include "runner.h"

using namespace std::literals;

namespace kx::scenario {

namespace {

const char* const kLocales[] = {"en_US", "de_DE", "fr_FR", "it_IT", "de_CH", "ar_EG"};
// What each insert adds to a scale angle, by list item; the last for none.
const std::vector<float> kSciOffsets{1.61f, 1.61f, 1.61f, 0.0f, 1.61f, 1.61f}, kTciOffsets{0, 9.2f, 16.4f, 23.2f, 0};
const QStringList kKeys =
    u"Backspace Del Home End Left Right Up Down PgUp PgDown Tab Shift+Tab Return Esc Space "
    u"Ctrl+Z Ctrl+Y Ctrl+X Ctrl+V Shift+End"_qs.split(u' ');
// Written into `ag` before each line: every calculation rewrites `ag`, so
// the text gone means the line calculated.
const QString kUntouched = u"untouched"_qs;

struct Random {
    std::mt19937_64 rng;
    int below(qsizetype n) { return int(rng() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }

    // Mostly short texts near what a person types, now mostly digits, now
    // mostly characters of every other kind; now and then a huge paste.
    QString text(bool typed) {
        static constexpr std::u32string_view kinds[] = {
            U"0123456789012345678901234567890.,-+eE "sv,
            U"\x00\x01\b\t\n\r\x1B\x7F\u00A0\u202F\u2009\u2212\u2019\u066B\u066C\u060C\u0660\u0664\u06F5\uFF11\u0967"
            U"\u00DF\u03A9\u05D0\u0639\u4E2D\u200E\u202E\u0301\uFEFF\uFFFD\u221E\U0001F600\U0001D7D8&HhOxanif%'\"\\"sv};
        const int length = !typed && !below(250) ? 100000 : 1 + below(typed ? (chance(95) ? 5 : 40) : 400);
        QString s;
        for (const int numberShare = below(100); s.size() < length;) {
            const int r = below(100);
            const std::u32string_view kind = kinds[r >= numberShare];
            const char32_t c = r >= numberShare && r % 2 ? char32_t(0x20 + below(0x2FE0))
                                                         : kind[std::size_t(below(qsizetype(kind.size())))];
            s += QString::fromUcs4(&c, 1);
        }
        return s;
    }
};

// The shown results: the six result fields and the three tiles.
QStringList results(const Runner& r) {
    QStringList shown;
    for (const char* name : {"ag", "agtable", "canineright", "caninetableright", "canineleft", "caninetableleft",
                             "txtRightTableColor", "txtLeftTableColor", "txtFrontTableColor"})
        shown << editOf(r.control(QLatin1StringView(name)))->text();
    return shown;
}

// What breaks the input rules after a line, or nothing.
QString brokenInputRule(const Runner& r) {
    for (std::size_t i = 0; i < kInputSpecs.size(); ++i) {
        const AngleInput::Controls& c = r.window->input(i).controls();
        const std::string& effective = r.window->worksheet()[c.effective];
        const bool sci = r.window->input(i).kind() == Inclination::Sagittal;
        const QString angle = c.angle->text();
        bool valid = false;
        const float a = QLocale().toFloat(angle, &valid);
        const std::vector<float>& offsets = sci ? kSciOffsets : kTciOffsets;
        const float offset = offsets[std::min(std::size_t(c.list->selectedIndex()), offsets.size() - 1)];
        if (!valid || !(a >= (sci ? 0 : -10) && a <= (sci ? 70 : 25)) ||
            std::nearbyint(leadingNumber(angle.toStdString())) != double(c.scroll->angle()) ||
            effective != effectiveValueText(offset + a))
            return u"%1: angle %2, arrows at %3, item %4, effective value %5"_qs.arg(
                c.angle->objectName(), quoted(angle), QString::number(c.scroll->angle()),
                QString::number(c.list->selectedIndex()), quoted(QString::fromStdString(effective)));
    }
    return {};
}

}  // namespace

bool Runner::soak(quint64 seed, qint64 count) {
    Random random{std::mt19937_64(seed)};
    QStringList lines;  // since the window opened, for the failure message
    bool leftChanged = false, tileTyped = false;
    for (qint64 done = 0; done < count; ++done) {
        if (done % 2500 == 0 || stand.end.ended) {
            localeName = QLatin1StringView(kLocales[(done / 2500) % std::size(kLocales)]);
            lines = QStringList{u"locale "_qs + localeName};
            stop();
            start();
            for (const char* left : {"SCIleft", "TCIleft"})
                QObject::connect(editOf(control(QLatin1StringView(left))), &QLineEdit::textChanged,
                                 [this, &leftChanged] {
                                     // Only a calculation after a left change counts.
                                     leftChanged = true;
                                     qobject_cast<TextBox*>(control(u"ag"_qs))->write(kUntouched);
                                 });
            // A person may type over a tile (Tab leads there); the next
            // calculation puts the element back.
            for (const char* tile : {"txtRightTableColor", "txtLeftTableColor", "txtFrontTableColor"})
                QObject::connect(editOf(control(QLatin1StringView(tile))), &QLineEdit::textEdited,
                                 [&tileTyped] { tileTyped = true; });
        }
        if (done % 64 == 0)
            QCoreApplication::processEvents();  // deferred deletes, popups closing
        const InputSpec& input = kInputSpecs[std::size_t(random.below(4))];
        const int what = random.below(1000);
        QString text;
        if (what < 460) {  // text into an angle field or a list's edit part
            const bool typed = what < 280 || (what >= 380 && random.chance(80));
            text = u"%1 %2 %3"_qs.arg(typed ? u"type"_qs : u"paste"_qs,
                                      QLatin1StringView(what < 380 ? input.angle : input.list),
                                      quoted(random.text(typed)));
        } else if (what < 660) {
            text = u"arrow %1 %2 %3"_qs.arg(QLatin1StringView(input.scroll), random.chance(50) ? u"up"_qs : u"down"_qs)
                       .arg(random.chance(80) ? 1 : 1 + random.below(30));
        } else if (what < 700) {
            const int items = qobject_cast<QComboBox*>(control(QLatin1StringView(input.list)))->count();
            text = u"choose %1 %2"_qs.arg(QLatin1StringView(input.list)).arg(random.below(items));
        } else if (what < 940) {
            // A key where the focus is: Space on a button or a flag clicks it,
            // Up and Down in a list choose another item, Tab moves on.
            text = u"key KXcalc "_qs + kKeys[random.below(kKeys.size())];
        } else {
            text = u"click "_qs +
                   QLatin1StringView(what < 955 ? kLanguages[std::size_t(random.below(qsizetype(kLanguageCount)))].flag
                                                : "cmdCalculate");
        }
        const Line line{int(done + 1), splitWords(text)};
        lines << (text.size() > 100 ? text.left(100) + u"..."_qs : text);
        auto* ag = qobject_cast<TextBox*>(control(u"ag"_qs));
        const QString agBefore = ag->text();
        ag->write(kUntouched);
        leftChanged = tileTyped = false;
        QString problem;
        try {
            execute(line);
        } catch (const Abort& a) {
            problem = a.why;
        }
        const bool calculated = ag->text() != kUntouched;
        if (!calculated)
            ag->write(agBefore);
        if (problem.isEmpty())
            problem = brokenInputRule(*this);
        if (problem.isEmpty() && line.words[0].text == u"choose" && !input.right && calculated)
            problem = u"choosing a left insert calculated"_qs;
        const qsizetype compared = tileTyped ? 6 : 9;  // the result fields, and the tiles where no one typed
        const QStringList shown = results(*this).mid(0, compared);
        qobject_cast<QPushButton*>(control(u"cmdCalculate"_qs))->click();
        if (problem.isEmpty() && (calculated || !leftChanged) && results(*this).mid(0, compared) != shown)
            problem = u"the results %1 were not up to date: Calculate gave %2"_qs.arg(shown.join(u", "),
                                                                                      results(*this).join(u", "));
        if (!problem.isEmpty()) {
            out << "soak: seed " << seed << ", line " << done + 1 << ": " << problem << "\n  " << lines.first()
                << "\n  ...\n    " << lines.mid(lines.size() - 40).join(u"\n    ") << "\nreplay: kx-scenario --soak "
                << done + 1 << " --seed " << seed << Qt::endl;
            stop();
            return false;
        }
    }
    stop();
    out << "soak: seed " << seed << ", " << count << " lines, every invariant held" << Qt::endl;
    return true;
}

}  // namespace kx::scenario
