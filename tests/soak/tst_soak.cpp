// A random soak: a seeded stream of what a person can do to the window
// (typing and pasting any text into the angle fields and the lists, arrow
// clicks, list choices, keys, flags, Calculate), with the window's invariants
// checked against the input rules and a fresh engine calculation after every
// single action.
//
//   KX_SOAK_SEED     the seed (default: a random one, printed)
//   KX_SOAK_ACTIONS  the number of actions (default: the build's KX_SOAK_ACTIONS)
//
// A failure prints the seed, the action index and the last actions, so that
//   KX_SOAK_SEED=<seed> KX_SOAK_ACTIONS=<index + 1> tst_soak
// replays it.
#include <QDebug>
#include <QLocale>
#include <QRandomGenerator>
#include <cmath>
#include <random>

#include "controls.h"
#include "kxcalc.h"
#include "map_fields.h"
#include "number_text.h"
#include "person.h"
#include "regional.h"
#include "stand_ins.h"

using namespace kx;
using namespace std::literals;

// The regional formats the window meets in the soak, one fresh window each.
const char* const kLocales[] = {"en_US", "de_DE", "fr_FR", "it_IT", "de_CH", "ar_EG"};
const Field kResults[] = {Field::ag,         Field::agtable,        Field::canineright, Field::caninetableright,
                          Field::canineleft, Field::caninetableleft};
// A text written into `ag` before each action: a run always rewrites `ag`
// (no handler reads it), so seeing it gone afterwards tells that the action
// recalculated.
const QString kUntouched = QStringLiteral("untouched");

class SoakTest : public QObject {
    Q_OBJECT
    std::mt19937_64 rng;
    StandIns stand;
    std::unique_ptr<KXcalc> window;
    QStringList actions;  // since the window opened, for the failure message
    // A left insert change does not recalculate: when one happens during an
    // action, the sentinel goes back into `ag`, so that only a calculation
    // after it counts. Choosing a left insert must not recalculate at all.
    bool leftChanged = false, leftChoice = false;
    TextBox* ag = nullptr;

    int below(int n) { return int(rng() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }
    // A text for the log: quoted, control characters escaped, long texts cut.
    static QString shown(const QString& s) { return QDebug::toString(s.left(60)) + (s.size() > 60 ? "..." : ""); }
    static QString shown(const std::string& s) { return shown(QString::fromStdString(s)); }
    static QString name(Field f) { return QLatin1StringView(fieldName(f)); }
    void click(QWidget* w) {
        actions << u"click "_qs + w->objectName();
        QTest::mouseClick(w, Qt::LeftButton);
    }

    // Mostly short texts near what a person types into these fields, now
    // mostly digits, now mostly other characters of every kind: control
    // characters, other spaces, minus signs and separators, other digits,
    // letters, marks, characters outside the basic plane, any other.
    QString randomText(bool typed) {
        static constexpr std::u32string_view kinds[] = {
            U"0123456789012345678901234567890.,-+eE "sv,
            U"\x00\x01\b\t\n\r\x1B\x7F\u00A0\u202F\u2009\u2212\u2019\u066B\u066C\u060C\u0660\u0664\u06F5\uFF11\u0967"
            U"\u00DF\u03A9\u05D0\u0639\u4E2D\u200E\u202E\u0301\uFEFF\uFFFD\u221E\U0001F600\U0001D7D8&HhOxanif%'\"\\"sv};
        const int length = !typed && !below(250) ? 100000  // a huge paste, rare enough to keep the run short
                                                 : 1 + below(typed ? (chance(95) ? 5 : 40) : (chance(80) ? 8 : 400));
        QString s;
        for (const int numberShare = below(100); s.size() < length;) {
            const int r = below(100);
            const std::u32string_view kind = kinds[r >= numberShare];
            const char32_t c =
                r >= numberShare && r % 2 ? char32_t(0x20 + below(0x2FE0)) : kind[std::size_t(below(int(kind.size())))];
            s += QString::fromUcs4(&c, 1);
        }
        return s;
    }

    void act() {
        const std::size_t input = std::size_t(below(4));
        const AngleInput::Controls& set = window->input(input).controls();
        const int what = below(1000);
        if (what < 460) {  // text into an angle field or a list's edit part
            const bool typed = what < 280 || (what >= 380 && chance(80));
            const QString text = randomText(typed);
            click(what < 380 ? static_cast<QWidget*>(set.angle) : set.list);
            actions << (typed ? u"type "_qs : u"paste "_qs) + shown(text);
            person::pressKey(person::keyTarget(window.get()), Qt::Key_A, Qt::ControlModifier);
            if (typed)  // control characters too go in as typed text
                person::typeText(window.get(), text, person::ControlChars::AsText, [] { return false; });
            else
                person::pasteFromClipboard(person::keyTarget(window.get()), text);
        } else if (what < 660) {
            const bool up = chance(50);
            const int times = chance(80) ? 1 : 1 + below(30);
            actions << set.scroll->objectName() + (up ? u" up x"_qs : u" down x"_qs) + QString::number(times);
            for (int i = 0; i < times; ++i)
                QTest::mouseClick(set.scroll, Qt::LeftButton, {},
                                  (up ? set.scroll->upArrowRect() : set.scroll->downArrowRect()).center());
        } else if (what < 700) {
            const int index = below(set.list->count());
            actions << QStringLiteral("choose item %1 of %2").arg(QString::number(index), set.list->objectName());
            leftChoice = !kInputSpecs[input].right;
            person::chooseItem(set.list, index);
        } else if (what < 940) {
            // A key where the focus is: Space on a button or a flag clicks it,
            // Up and Down in a list choose another item, Tab moves on.
            static const QList<QKeySequence> keys = QKeySequence::listFromString(
                u"Backspace; Del; Home; End; Left; Right; Up; Down; Up; Down; PgUp; PgDown; Tab; Backtab; Return; "
                u"Esc; Space; Ctrl+Z; Ctrl+Y; Ctrl+X; Ctrl+V; Shift+End"_qs);
            const QKeySequence& key = keys[below(int(keys.size()))];
            actions << u"key "_qs + key.toString();
            person::pressKey(person::keyTarget(window.get()), key[0].key(), key[0].keyboardModifiers());
        } else {
            click(window->control(QLatin1StringView(
                what < 955 ? kLanguages[std::size_t(below(int(kLanguageCount)))].flag : "cmdCalculate")));
        }
    }

    // The window's invariants after an action, read against the input rules
    // and the engine; an empty text or what went wrong.
    QString check(bool recalculated, const std::map<Field, std::string>& before) {
        for (std::size_t i = 0; i < kInputSpecs.size(); ++i) {
            const Inclination kind = window->input(i).kind();
            const AngleInput::Controls& c = window->input(i).controls();
            const QString angle = c.angle->text(), effective = c.effective->text();
            const int scroll = c.scroll->angle(), item = c.list->selectedIndex();
            // A valid angle, the arrows at its rounded leading number, the insert rule in the effective field.
            if (!(kind == Inclination::Sagittal ? checkSCI(angle) : checkTCI(angle)) ||
                std::nearbyint(leadingNumber(angle.toStdString())) != double(scroll) ||
                effective.toStdString() != effectiveValueText(withInsert(kind, item, *regionalToSingle(angle))))
                return QStringLiteral("%1: angle %2, arrows at %3, item %4, effective value %5 break the input rules")
                    .arg(c.angle->objectName(), shown(angle), QString::number(scroll), QString::number(item),
                         shown(effective));
        }
        if (leftChoice && recalculated)
            return u"choosing a left insert recalculated"_qs;
        // A left insert changed after the last calculation: the results wait
        // for the next one, whatever they are now.
        if (leftChanged && !recalculated)
            return {};

        // A fresh calculation over the window's current inputs; the results
        // start from their texts before the action, so that a run that stops
        // at a fault leaves the same fields as the window's run. Without a
        // calculation the results are those from before.
        test::MapFields fresh;
        for (auto& [f, text] : fresh.texts)
            text = before.count(f) ? before.at(f) : window->text(f);
        for (std::size_t e = 0; e < kTableElementCount; ++e)
            fresh.elementNames[e] = window->elementName(TableElement(e));
        test::FaultLog faultLog;
        if (recalculated)
            Calculation(fresh, faultLog).calctable();
        for (Field f : recalculated ? fresh.writes : std::vector(std::begin(kResults), std::end(kResults)))
            if (window->text(f) != fresh.texts[f])
                return QStringLiteral("%1 shows %2, %3 gives %4")
                    .arg(name(f), shown(window->text(f)),
                         recalculated ? u"a fresh calculation"_qs : u"no calculation"_qs, shown(fresh.texts[f]));
        return {};
    }

private slots:
    // A fresh window every few thousand actions, the regional formats in turn
    // (fixed, so that a shorter run replays the start of a longer one).
    void personActions() {
        person::quietToolkitMessages();
        const QByteArray seedText = qgetenv("KX_SOAK_SEED"), countText = qgetenv("KX_SOAK_ACTIONS");
        const quint64 seed = seedText.isEmpty() ? QRandomGenerator::system()->generate64() : seedText.toULongLong();
        const qint64 count = countText.isEmpty() ? KX_SOAK_DEFAULT_ACTIONS : countText.toLongLong();
        qInfo("soak: seed %llu, %lld actions", seed, count);
        rng.seed(seed);
        for (qint64 done = 0; done < count; ++done) {
            if (done % 2500 == 0) {
                const QString format = QLatin1StringView(kLocales[(done / 2500) % std::size(kLocales)]);
                QLocale::setDefault(QLocale(format));
                actions = QStringList{u"new window, regional format "_qs + format};
                window = std::make_unique<KXcalc>(stand.services());
                window->formLoad();
                ag = qobject_cast<TextBox*>(window->control(u"ag"_qs));
                for (std::size_t i = 0; i < kInputSpecs.size(); ++i)
                    if (!kInputSpecs[i].right)
                        QObject::connect(window->input(i).controls().effective, &QLineEdit::textChanged, ag, [this] {
                            leftChanged = true;
                            ag->write(kUntouched);
                        });
                window->show();
                QApplication::setActiveWindow(window.get());
            }
            if (done % 2500 % 64 == 0)
                QCoreApplication::processEvents();  // a new window shown, deferred deletes, popups closing
            ag->write(kUntouched);
            std::map<Field, std::string> before;
            for (Field f : kResults)
                before[f] = window->text(f);
            leftChanged = leftChoice = false;
            act();
            if (const QString problem = check(ag->text() != kUntouched, before); !problem.isEmpty())
                QFAIL(qPrintable(
                    u"seed %1, action %2: %3\n  %4\n  ...\n    %5\n  replay: KX_SOAK_SEED=%1 KX_SOAK_ACTIONS=%6"_qs.arg(
                        QString::number(seed), QString::number(done), problem, actions.first(),
                        actions.mid(actions.size() - 40).join(u"\n    "), QString::number(done + 1))));
        }
    }
};

QTEST_MAIN(SoakTest)
#include "tst_soak.moc"
