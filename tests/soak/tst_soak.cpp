// A random soak: a seeded stream of what a person can do to the window
// (typing and pasting any text, arrow clicks, list choices, typing into the
// lists, flags, keys, Calculate), with the window's invariants checked
// against the input rules and the engine after every single action.
//
//   KX_SOAK_SEED     the seed (default: a random one, printed)
//   KX_SOAK_ACTIONS  the number of actions (default 100000)
//
// A failure prints the seed, the action index and the last actions, so that
//   KX_SOAK_SEED=<seed> KX_SOAK_ACTIONS=<index + 1> tst_soak
// replays it.
#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QPushButton>
#include <QRandomGenerator>
#include <QWheelEvent>
#include <cmath>
#include <deque>
#include <memory>
#include <random>

#include "calculation.h"
#include "controls.h"
#include "kxcalc.h"
#include "map_fields.h"
#include "number_text.h"
#include "person.h"
#include "regional.h"
#include "stand_ins.h"

using namespace kx;

namespace {

// The regional formats the window meets in the soak, one fresh window each.
const char* const kLocales[] = {"en_US", "de_DE", "fr_FR", "it_IT", "de_CH", "ar_EG"};

const Field kResults[] = {Field::ag,         Field::agtable,        Field::canineright, Field::caninetableright,
                          Field::canineleft, Field::caninetableleft};
const Field kTiles[] = {Field::lblRightTableColor, Field::txtRightTableColor, Field::lblLeftTableColor,
                        Field::txtLeftTableColor,  Field::lblFrontTableColor, Field::txtFrontTableColor};
const Field kInputFields[] = {Field::txtFrontX, Field::txtFrontZ, Field::SCIleft,   Field::SCIright,
                              Field::TCIleft,   Field::TCIright,  Field::txtLeftX,  Field::txtLeftY,
                              Field::txtLeftZ,  Field::txtRightX, Field::txtRightY, Field::txtRightZ};

// A text written into `ag` before each action: a run always rewrites `ag`
// (no handler reads it), so seeing it gone afterwards tells that the action
// recalculated.
const QString kUntouched = QStringLiteral("untouched");

QString fieldText(const KXcalc& w, Field f) { return QString::fromStdString(w.text(f)); }

// A widget for the log: its name, or its class inside its named parent.
QString describe(const QWidget* w) {
    if (!w->objectName().isEmpty())
        return w->objectName();
    const QWidget* p = w->parentWidget();
    while (p && p->objectName().isEmpty())
        p = p->parentWidget();
    return QStringLiteral("%1 in %2")
        .arg(QLatin1StringView(w->metaObject()->className()), p ? p->objectName() : QStringLiteral("nothing"));
}

using person::hex;
QString hex(Rgb c) { return hex(QColor(c.r, c.g, c.b)); }

// Visible form of a text for the log: control characters escaped, long texts cut.
QString shown(const QString& s) {
    QString out;
    for (qsizetype i = 0; i < s.size() && i < 60; ++i) {
        const QChar c = s[i];
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    if (s.size() > 60)
        out += QStringLiteral("...(%1 characters)").arg(s.size());
    return u'"' + out + u'"';
}

class Soak {
public:
    explicit Soak(quint64 seed) : rng_(seed) {}

    // Runs `actions` actions; returns an empty text or what went wrong.
    QString run(qint64 actions, qint64* done);

private:
    void startWindow(const char* locale);
    void act();
    // The actions, by what they act on.
    void typeAngle(const AngleInput::Controls& set);
    void pasteAngle(const AngleInput::Controls& set);
    void clickArrows(const AngleInput::Controls& set);
    void chooseInsert(const AngleInput::Controls& set);
    void typeIntoList(const AngleInput::Controls& set);
    void pressAKey(const AngleInput::Controls& set);
    void turnWheel(const AngleInput::Controls& set);
    // These act on other controls than the input chosen for the action.
    void clickFlag(const AngleInput::Controls&);
    void calculate(const AngleInput::Controls&);
    void useAnotherControl(const AngleInput::Controls&);
    QString check(bool recalculated, bool leftChanged, int faultsBefore, const std::map<Field, std::string>& before);

    // Random choices.
    int below(int n) { return int(rng_() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }
    // Typed texts are short (every key recalculates); pasted ones may be long.
    QString randomText(bool typed);

    // A person's actions.
    void clickOn(QWidget* w, QPoint at);
    void focusByClick(QWidget* w);
    void typeInto(QWidget* w, const QString& text, bool replace);
    void pasteInto(QWidget* w, const QString& text);
    void clickArrow(ArrowScrollBar* bar, bool up);
    void wheel(QWidget* w, bool up);

    QWidget* control(const char* name) const { return window_->control(QLatin1StringView(name)); }
    void log(const QString& what) {
        recent_.push_back(what);
        if (recent_.size() > 25)
            recent_.pop_front();
    }

    std::mt19937_64 rng_;
    StandIns stand_;
    std::unique_ptr<KXcalc> window_;
    QString locale_;
    // A left insert change does not recalculate: when one happens during an
    // action, the sentinel goes back into `ag`, so that only a calculation
    // after it counts.
    bool armed_ = false, leftChanged_ = false;
    QString agLast_;

public:
    std::deque<QString> recent_;
    qint64 longPastes = 0, recalculations = 0, faults = 0;
    QString locale() const { return locale_; }
};

void Soak::startWindow(const char* locale) {
    window_.reset();
    QCoreApplication::processEvents();
    locale_ = QString::fromLatin1(locale);
    QLocale::setDefault(QLocale(locale_));
    stand_.settings.values.clear();
    window_ = std::make_unique<KXcalc>(stand_.services());
    window_->formLoad();
    auto* ag = qobject_cast<TextBox*>(control("ag"));
    for (std::size_t i = 0; i < kInputSpecs.size(); ++i) {
        if (kInputSpecs[i].right)
            continue;
        QObject::connect(window_->input(i).controls().effective, &QLineEdit::textChanged, window_.get(), [this, ag] {
            if (!armed_)
                return;
            leftChanged_ = true;
            if (ag->text() != kUntouched)
                agLast_ = ag->text();
            ag->write(kUntouched);
        });
    }
    window_->show();
    QApplication::setActiveWindow(window_.get());
    QCoreApplication::processEvents();
    log(QStringLiteral("new window, regional format %1").arg(locale_));
}

QString Soak::randomText(bool typed) {
    // Mostly short texts near what a person types into these fields, with
    // every kind of character mixed in.
    static const QString numberish = QStringLiteral("0123456789012345678901234567890.,-+eE ");
    static const char16_t others[] = {
        0x0000, 0x0001, 0x0008, 0x0009, 0x000A, 0x000D, 0x001B, 0x007F,  // control characters
        0x00A0, 0x202F, 0x2009, 0x2212, 0x2019, 0x066B, 0x066C, 0x060C,  // spaces, minus, separators
        0x0660, 0x0664, 0x0665, 0x06F5, 0xFF11, 0xFF15, 0x0967,          // other digits
        0x00E4, 0x00DF, 0x00E9, 0x03A9, 0x0416, 0x05D0, 0x0639, 0x4E2D,  // letters
        0x200E, 0x200F, 0x202E, 0x0301, 0xFEFF, 0xFFFD, 0x221E, 0x00BD,  // marks, BOM, infinity
        u'&',   u'H',   u'h',   u'O',   u'x',   u'a',   u'n',   u'i',   u'f', u'%', u'\'', u'"', u'\\',
    };
    qsizetype length = typed ? 1 + below(chance(95) ? 5 : 40) : 1 + below(chance(80) ? 8 : 400);
    if (!typed && below(250) == 0)
        length = 100000;  // a huge paste, rare enough to keep the run short
    QString s;
    s.reserve(length + 2);
    const int numberShare = below(100);
    while (s.size() < length) {
        const int r = below(100);
        if (r < numberShare)
            s += numberish[below(int(numberish.size()))];
        else if (r < numberShare + (100 - numberShare) / 2)
            s += QChar(others[below(int(std::size(others)))]);
        else if (below(4) == 0) {
            // an emoji or another character outside the basic plane
            static const char32_t astral[] = {0x1F600, 0x1F9B7, 0x1D7D8, 0x10348, 0x1F1E9};
            s += QString::fromUcs4(&astral[below(int(std::size(astral)))], 1);
        } else {
            s += QChar(char16_t(0x20 + below(0x2FE0)));
        }
    }
    return s;
}

void Soak::clickOn(QWidget* w, QPoint at) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at); }

void Soak::focusByClick(QWidget* w) {
    QWidget* target = w;
    if (auto* list = qobject_cast<InsertList*>(w))
        target = list->lineEdit();
    clickOn(target, target->rect().center());
}

void Soak::typeInto(QWidget* w, const QString& text, bool replace) {
    focusByClick(w);
    if (replace)
        person::pressKey(person::keyTarget(w), Qt::Key_A, Qt::ControlModifier);
    // Control characters too go in as typed text, as any other character.
    person::typeText(window_.get(), text, person::ControlChars::AsText, [] { return false; });
}

void Soak::pasteInto(QWidget* w, const QString& text) {
    if (text.size() >= 100000)
        ++longPastes;
    focusByClick(w);
    QWidget* target = person::keyTarget(w);
    person::pressKey(target, Qt::Key_A, Qt::ControlModifier);
    person::pasteFromClipboard(target, text);
}

void Soak::clickArrow(ArrowScrollBar* bar, bool up) {
    clickOn(bar, (up ? bar->upArrowRect() : bar->downArrowRect()).center());
}

void Soak::wheel(QWidget* w, bool up) {
    const QPointF at = QPointF(w->rect().center());
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, up ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

void Soak::act() {
    // Each action with its share in a thousand.
    using Action = void (Soak::*)(const AngleInput::Controls&);
    static constexpr std::pair<int, Action> actions[] = {
        {280, &Soak::typeAngle},        {100, &Soak::pasteAngle},  {200, &Soak::clickArrows},
        {120, &Soak::chooseInsert},     {80, &Soak::typeIntoList}, {100, &Soak::pressAKey},
        {40, &Soak::turnWheel},         {15, &Soak::clickFlag},    {55, &Soak::calculate},
        {10, &Soak::useAnotherControl},
    };
    int what = below(1000);
    const AngleInput::Controls& set = window_->input(std::size_t(below(4))).controls();
    for (const auto& [share, action] : actions) {
        if (what < share) {
            (this->*action)(set);
            return;
        }
        what -= share;
    }
}

void Soak::typeAngle(const AngleInput::Controls& set) {
    const QString text = randomText(true);
    const bool replace = chance(70);
    log(QStringLiteral("type %1 %2%3")
            .arg(set.angle->objectName(), shown(text), replace ? QString() : QStringLiteral(" (appended)")));
    typeInto(set.angle, text, replace);
}

void Soak::pasteAngle(const AngleInput::Controls& set) {
    const QString text = randomText(false);
    log(QStringLiteral("paste %1 %2").arg(set.angle->objectName(), shown(text)));
    pasteInto(set.angle, text);
}

void Soak::clickArrows(const AngleInput::Controls& set) {
    const bool up = chance(50);
    const int times = 1 + (chance(20) ? below(30) : 0);
    log(QStringLiteral("arrow %1 %2 %3").arg(set.scroll->objectName(), up ? u"up"_qs : u"down"_qs).arg(times));
    for (int i = 0; i < times; ++i)
        clickArrow(set.scroll, up);
}

void Soak::chooseInsert(const AngleInput::Controls& set) {
    InsertList* list = set.list;
    if (chance(35)) {
        // From the opened list with the mouse.
        const int index = below(list->count());
        log(QStringLiteral("choose %1 %2").arg(list->objectName()).arg(index));
        person::chooseItem(list, index);
        return;
    }
    // With the arrow keys in the closed list (cheaper than a popup).
    const bool down = chance(50);
    const int times = 1 + below(2);
    log(QStringLiteral("click %1, key %2 x%3").arg(list->objectName(), down ? u"Down"_qs : u"Up"_qs).arg(times));
    focusByClick(list);
    for (int k = 0; k < times; ++k)
        person::pressKey(person::keyTarget(list), down ? Qt::Key_Down : Qt::Key_Up);
}

void Soak::typeIntoList(const AngleInput::Controls& set) {
    const QString text = randomText(chance(80));
    if (text.size() > 40) {
        log(QStringLiteral("paste %1 %2").arg(set.list->objectName(), shown(text)));
        pasteInto(set.list, text);
    } else {
        log(QStringLiteral("type %1 %2").arg(set.list->objectName(), shown(text)));
        typeInto(set.list, text, chance(50));
    }
}

// A key where the focus is, or into a control clicked first.
void Soak::pressAKey(const AngleInput::Controls& set) {
    static const Qt::Key keys[] = {Qt::Key_Backspace, Qt::Key_Delete,  Qt::Key_Home,   Qt::Key_End,    Qt::Key_Left,
                                   Qt::Key_Right,     Qt::Key_Up,      Qt::Key_Down,   Qt::Key_PageUp, Qt::Key_PageDown,
                                   Qt::Key_Tab,       Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Z,
                                   Qt::Key_Y,         Qt::Key_X,       Qt::Key_V,      Qt::Key_Space,  Qt::Key_F4};
    const Qt::Key key = keys[below(int(std::size(keys)))];
    const bool withControl = key == Qt::Key_Z || key == Qt::Key_Y || key == Qt::Key_X || key == Qt::Key_V;
    const bool withShift = chance(10);
    if (chance(40)) {
        QWidget* const choices[] = {set.angle, set.list, set.scroll};
        QWidget* w = choices[below(3)];
        log(QStringLiteral("click %1").arg(w->objectName()));
        focusByClick(w);
    }
    QWidget* target = person::keyTarget(window_.get());
    Qt::KeyboardModifiers mods = withControl ? Qt::ControlModifier : Qt::NoModifier;
    if (withShift)
        mods |= Qt::ShiftModifier;
    // Space on the end button or a flag acts like a click; F4 and the
    // Up/Down keys may open a list, which Escape closes again.
    log(QStringLiteral("key %1 on %2").arg(QKeySequence(QKeyCombination(mods, key)).toString(), describe(target)));
    person::pressKey(target, key, mods);
    if (auto* list = qobject_cast<QComboBox*>(target->parentWidget()); list && list->view()->isVisible())
        list->hidePopup();
    if (auto* list = qobject_cast<QComboBox*>(target); list && list->view()->isVisible())
        list->hidePopup();
}

void Soak::turnWheel(const AngleInput::Controls& set) {
    QWidget* const choices[] = {set.list, set.scroll};
    QWidget* w = choices[below(2)];
    const bool up = chance(50);
    log(QStringLiteral("wheel %1 %2").arg(w->objectName(), up ? u"up"_qs : u"down"_qs));
    wheel(w, up);
}

void Soak::clickFlag(const AngleInput::Controls&) {
    QWidget* flag = control(kLanguages[std::size_t(below(int(kLanguageCount)))].flag);
    log(QStringLiteral("click %1").arg(flag->objectName()));
    clickOn(flag, flag->rect().center());
}

void Soak::calculate(const AngleInput::Controls&) {
    log(QStringLiteral("click cmdCalculate"));
    qobject_cast<QPushButton*>(control("cmdCalculate"))->click();
}

void Soak::useAnotherControl(const AngleInput::Controls&) {
    const char* names[] = {"cmdPrint", "lblHyperlink", "cmdEnd", "notetxt", "txtFrontTableColor"};
    QWidget* w = control(names[below(int(std::size(names)))]);
    if (qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QLineEdit*>(w)) {
        const QString text = randomText(true);
        log(QStringLiteral("type %1 %2").arg(w->objectName(), shown(text)));
        typeInto(w, text, chance(50));
    } else {
        log(QStringLiteral("click %1").arg(w->objectName()));
        clickOn(w, w->rect().center());
    }
}

// The window's invariants, read against the input rules and the engine.
QString Soak::check(bool recalculated, bool leftChanged, int faultsBefore, const std::map<Field, std::string>& before) {
    KXcalc& w = *window_;
    for (std::size_t i = 0; i < kInputSpecs.size(); ++i) {
        const Inclination kind = w.input(i).kind();
        const AngleInput::Controls& set = w.input(i).controls();
        const QString angle = set.angle->text();
        const bool valid = kind == Inclination::Sagittal ? checkSCI(angle) : checkTCI(angle);
        if (!valid)
            return QStringLiteral("%1 holds %2, which the angle check refuses")
                .arg(set.angle->objectName(), shown(angle));
        const double leading = leadingNumber(angle.toStdString());
        const double position = std::nearbyint(leading);
        const int scroll = set.scroll->angle();
        if (position != double(scroll))
            return QStringLiteral("%1 holds %2 but %3 stands at %4")
                .arg(set.angle->objectName(), shown(angle), set.scroll->objectName())
                .arg(scroll);
        const int index = set.list->selectedIndex();
        const std::optional<float> a = regionalToSingle(angle);
        const QString wanted = QString::fromStdString(effectiveValueText(withInsert(kind, index, *a)));
        const QString effective = set.effective->text();
        if (effective != wanted)
            return QStringLiteral("%1 holds %2, but the insert rule over %3 (item %4) gives %5")
                .arg(set.effective->objectName(), shown(effective), shown(angle))
                .arg(index)
                .arg(shown(wanted));
    }

    if (!recalculated) {
        // A left insert changed after the last calculation: the results wait
        // for the next one, whatever they are now.
        if (leftChanged)
            return {};
        // Nothing recalculated: the results are those from before.
        for (Field f : kResults)
            if (f != Field::ag && w.text(f) != before.at(f))
                return QStringLiteral("%1 changed without a calculation").arg(QLatin1StringView(fieldName(f)));
        return {};
    }

    // A fresh calculation over the window's current fields; the results
    // start from the texts they had before the action, so that a run that
    // stops at a fault leaves the same fields as the window's run.
    test::MapFields fresh;
    for (Field f : kInputFields)
        fresh.texts[f] = w.text(f);
    for (Field f : kResults)
        fresh.texts[f] = before.at(f);
    for (std::size_t e = 0; e < kTableElementCount; ++e)
        fresh.elementNames[e] = w.elementName(TableElement(e));
    fresh.writes.clear();
    test::FaultLog faultLog;
    Calculation calc(fresh, faultLog);
    calc.calctable();
    const bool windowFaulted = stand_.messages.faults > faultsBefore;
    if (!faultLog.faults.empty()) {
        ++faults;
        if (!windowFaulted)
            return QStringLiteral("a fresh calculation faults (%1) but the window reported nothing")
                .arg(QString::fromUtf8(faultLog.faults.front().what()));
    }
    for (Field f : fresh.writes)
        if (w.text(f) != fresh.texts[f])
            return QStringLiteral("%1 shows %2, a fresh calculation gives %3")
                .arg(QLatin1StringView(fieldName(f)), shown(fieldText(w, f)),
                     shown(QString::fromStdString(fresh.texts[f])));
    for (Field f : kTiles) {
        QWidget* tile = control(fieldName(f).data());
        if (fresh.back.count(f) && hex(controlBackColor(tile)) != hex(fresh.back[f]))
            return QStringLiteral("%1 has the background %2, a fresh calculation gives %3")
                .arg(QLatin1StringView(fieldName(f)), hex(controlBackColor(tile)), hex(fresh.back[f]));
        if (fresh.fore.count(f) && hex(controlForeColor(tile)) != hex(fresh.fore[f]))
            return QStringLiteral("%1 has the text colour %2, a fresh calculation gives %3")
                .arg(QLatin1StringView(fieldName(f)), hex(controlForeColor(tile)), hex(fresh.fore[f]));
    }
    return {};
}

QString Soak::run(qint64 actions, qint64* done) {
    // A fresh window every few thousand actions, the regional formats in
    // turn; fixed, so that a shorter run replays the start of a longer one.
    constexpr qint64 perWindow = 2500;
    for (qint64 i = 0; i < actions; ++i) {
        *done = i;
        if (i % perWindow == 0)
            startWindow(kLocales[(i / perWindow) % std::size(kLocales)]);
        KXcalc& w = *window_;
        auto* agBox = qobject_cast<TextBox*>(w.control(QStringLiteral("ag")));
        std::map<Field, std::string> before;
        for (Field f : kResults)
            before[f] = w.text(f);
        agLast_ = agBox->text();
        agBox->write(kUntouched);
        before[Field::ag] = kUntouched.toStdString();
        const int faultsBefore = stand_.messages.faults;

        leftChanged_ = false;
        armed_ = true;
        act();
        armed_ = false;

        const bool recalculated = agBox->text() != kUntouched || stand_.messages.faults > faultsBefore;
        if (recalculated)
            ++recalculations;
        const QString problem = check(recalculated, leftChanged_, faultsBefore, before);
        if (!recalculated)
            agBox->write(agLast_);
        if (!problem.isEmpty())
            return problem;
        if (i % 64 == 63)
            QCoreApplication::processEvents();  // deferred deletes, popups closing
    }
    *done = actions;
    return {};
}

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT
private slots:
    void personActions();
};

void SoakTest::personActions() {
    person::quietToolkitMessages();
    bool ok = false;
    quint64 seed = qEnvironmentVariable("KX_SOAK_SEED").toULongLong(&ok);
    if (!ok)
        seed = QRandomGenerator::system()->generate64();
    qint64 actions = qEnvironmentVariable("KX_SOAK_ACTIONS").toLongLong(&ok);
    if (!ok)
        actions = 100000;
    qInfo("soak: seed %llu, %lld actions (replay: KX_SOAK_SEED=%llu KX_SOAK_ACTIONS=%lld)", seed, actions, seed,
          actions);

    Soak soak(seed);
    QElapsedTimer timer;
    timer.start();
    qint64 done = 0;
    const QString problem = soak.run(actions, &done);
    if (!problem.isEmpty()) {
        QString recent;
        for (const QString& a : soak.recent_)
            recent += QStringLiteral("\n    ") + a;
        QFAIL(qPrintable(QStringLiteral("seed %1, action %2 (regional format %3): %4\n  last actions:%5\n  replay: "
                                        "KX_SOAK_SEED=%1 KX_SOAK_ACTIONS=%6")
                             .arg(seed)
                             .arg(done)
                             .arg(soak.locale(), problem, recent)
                             .arg(done + 1)));
    }
    qInfo("soak: %lld actions in %.1f s (%lld recalculated, %lld huge pastes, %lld calculation faults), seed %llu",
          done, double(timer.elapsed()) / 1000.0, soak.recalculations, soak.longPastes, soak.faults, seed);
}

QTEST_MAIN(SoakTest)
#include "tst_soak.moc"
