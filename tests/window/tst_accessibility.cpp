// What a person who relies on a screen reader or on the keyboard meets in the
// window, read through the toolkit's accessibility interface as assistive
// technology reads it.
#include <QAccessible>
#include <QApplication>
#include <QMetaEnum>
#include <QTest>

#include "controls.h"
#include "kxcalc.h"
#include "stand_ins.h"

using namespace kx;

namespace {

// A window with recording services, loaded in one language, shown and active
// (at once and on every platform: the offscreen platform activates no window
// on Windows).
struct Window : StandIns {
    KXcalc window{services()};
    QString word;

    explicit Window(const QString& languageWord) : word(languageWord) {
        settings.values.insert(MemorySettings::languageKey(), word);
        window.formLoad();
        window.show();
        QApplication::setActiveWindow(&window);
    }
    QWidget* operator[](const QString& name) const { return window.control(name); }
    QAccessibleInterface* reader(const QString& c) const { return QAccessible::queryAccessibleInterface((*this)[c]); }
    QString shown(const QString& field) const { return qobject_cast<QLineEdit*>((*this)[field])->text(); }
    QString focusName() const { return qApp->focusWidget() ? qApp->focusWidget()->objectName() : u"(none)"_qs; }
    // What the commands did: the window's new language (and whether it was
    // kept in the setting), "printed", "ended", "opened" (the link's address).
    QString effects() const {
        const QString now = QLatin1StringView(kLanguages[std::size_t(window.langIndex())].settingWord),
                      link = qobject_cast<QLabel*>((*this)[u"lblHyperlink"_qs])->text();
        QStringList e{now == word ? QString() : now,
                      settings.values.value(MemorySettings::languageKey()) == now ? QString() : u"unsaved"_qs,
                      printer.count ? u"printed"_qs : QString(), end.ended ? u"ended"_qs : QString(),
                      browser.opened && browser.last == link ? u"opened"_qs : QString()};
        e.removeAll(QString());
        return e.join(u", "_qs);
    }
};

// Rows of words, each row named by itself.
void addRows(const auto& rows) {
    QTest::addColumn<QStringList>("row");
    for (const char* row : rows)
        QTest::newRow(row) << QString::fromLatin1(row).split(u' ');
}

// clang-format off
const QStringList kTabOrder = QString::fromLatin1(
    "PicLogo picUS picGe colorSCIright colorSCIleft colorTCIright colorTCIleft angleSCIright angleSCIleft "
    "angleTCIright angleTCIleft scrSCIright scrTCIright scrSCIleft scrTCIleft picKxtable txtRightTableColor "
    "txtLeftTableColor txtFrontTableColor notetxt copyrighttxt notetitletxt cmdPrint picIT cmdEnd Picture1").split(u' ');

// The window's language, the language chosen, and the End button's name in it.
const char* const kLanguageChoices[] = {"english german Beenden", "italian english End", "german italian Esci"};

// The window's language, a control, how it is operated and what that did: a
// key while the control has the focus, a mouse button pressed on the control
// and let go there (or beside it, "-out"), or, where the row names the
// control's accessible role instead, the accessible press action.
const char* const kCommands[] = {
    "english picGe Space german",     "english picGe Return german",     "english picGe Enter german",
    "italian picUS Space english",    "italian picUS Return english",    "italian picUS Enter english",
    "german picIT Space italian",     "german picIT Return italian",     "german picIT Enter italian",
    "english cmdPrint Space printed", "english cmdPrint Return printed", "english cmdPrint Enter printed",
    "english cmdEnd Space ended",     "english cmdEnd Return ended",     "english cmdEnd Enter ended",
    "english picGe Button german",    "german picUS Button english",     "english picIT Button italian",
    "english cmdPrint Button printed", "italian cmdEnd Button ended",    "german lblHyperlink Link opened",
    // The link has no place in the Tab order: its shortcut opens it from anywhere.
    "english PicLogo Alt+W opened",   "english angleSCIleft Alt+W opened", "english colorTCIright Alt+W opened",
    // The decorative pictures do nothing: they take the focus only so that a
    // screen reader reads them on the way.
    "english PicLogo Space", "english PicLogo Graphic", "english Picture1 Graphic", "english picKxtable Graphic",
    // Only the left button, let go where it was pressed, is a click.
    "english picGe LeftButton german", "english picGe RightButton",   "english picGe MiddleButton",
    "english picGe LeftButton-out",    "english lblHyperlink RightButton", "english lblHyperlink LeftButton-out",
    "english cmdEnd LeftButton-out",   "english cmdPrint RightButton"};

// The arrows of an input and what a screen reader hears: their bottom, top
// and step, the angle at the reset, then each step and the angle after it:
// "=52" sets the value through the value interface, "Decrease" and "Increase"
// are its actions, "Up" and "Down" the keys.
const char* const kArrowPairs[] = {
    "SCIright 0 70 1 45 =52 52 Decrease 51 Increase 52 Increase 53 Up 54 Down 53 PgUp 54 PgDown 53",
    "TCIleft -10 25 1 6 =-7 -7 Decrease -8 Increase -7 Increase -6 Up -5 Down -6",
    "SCIleft 0 70 1 45 =90 70 Decrease 69 Increase 70 Increase 70 Up 70 Down 69"};
// clang-format on

}  // namespace

class Accessibility : public QObject {
    Q_OBJECT
private slots:
    void namesFollowTheLanguageAndTheCalculation_data() { addRows(kLanguageChoices); }
    void namesFollowTheLanguageAndTheCalculation() {
        QFETCH(QStringList, row);
        const int lang = languageOfWord(row[1]);
        Window w(row[0]);
        w.window.chooseLanguage(lang);
        // Every shown control a person reaches by Tab, or the link by a screen
        // reader's review, has a name.
        for (QWidget* c : w.window.findChildren<QWidget*>())
            if (((c->focusPolicy() & Qt::TabFocus) || qobject_cast<LinkLabel*>(c)) && c->isVisibleTo(&w.window))
                QVERIFY2(!QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).trimmed().isEmpty(),
                         qPrintable(c->objectName() + u" in "_qs + c->parentWidget()->objectName()));
        QCOMPARE(w.reader(u"cmdEnd"_qs)->text(QAccessible::Name), row[2]);
        QCOMPARE(w.reader(u"lblHyperlink"_qs)->text(QAccessible::Accelerator),  // announced with the link
                 QKeySequence(u"Alt+W"_qs).toString(QKeySequence::NativeText));
        const QString press = QAccessibleActionInterface::pressAction();
        QCOMPARE(w.reader(kLanguages[0].flag)->actionInterface()->keyBindingsForAction(press),  // announced with a flag
                 QStringList{QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText)});
        const LanguageTables& texts = w.window.texts();
        QVERIFY(w.window.windowTitle().startsWith(texts.windowTitle[lang]));  // announced first
        QVERIFY(!qobject_cast<InsertList*>(w[u"colorTCIleft"_qs])->shownText().isEmpty());
        // The tiles tell the elements the calculation chose, also after a new
        // choice: the white insert on the right SCI brings orange to the front.
        qobject_cast<InsertList*>(w[u"colorSCIright"_qs])->setSelectedIndex(0);
        const QString front = u"txtFrontTableColor"_qs, orange = texts.elementName[int(TableElement::Orange)][lang];
        QCOMPARE(w.shown(front), orange);
        for (const QString& tile : {u"txtRightTableColor"_qs, u"txtLeftTableColor"_qs, front})
            QCOMPARE(w.reader(tile)->text(QAccessible::Description), texts.tileDescription[lang].arg(w.shown(tile)));
        // Text a person types over a tile is not what the calculation chose.
        QTest::keyClicks(w[front], u"x"_qs);
        QCOMPARE(w.reader(front)->text(QAccessible::Description), texts.tileDescription[lang].arg(orange));
    }

    void tabVisitsTheControlsInTheirOrder() {
        Window w(u"english"_qs);
        QStringList seen{w.focusName()};
        for (const QKeySequence& keys : {QKeySequence(Qt::Key_Tab), QKeySequence(Qt::SHIFT | Qt::Key_Backtab)})
            for (qsizetype i = 0; i < kTabOrder.size(); ++i) {
                QTest::keySequence(QApplication::focusWidget(), keys);
                seen << w.focusName();
            }
        // Round once, and back.
        QCOMPARE(seen, kTabOrder + QStringList{kTabOrder.first()} + QStringList(kTabOrder.rbegin(), kTabOrder.rend()));
    }

    void commandsRun_data() { addRows(kCommands); }
    void commandsRun() {
        QFETCH(QStringList, row);
        const QString control = row[1], how = row[2], effect = row.value(3),
                      press = QAccessibleActionInterface::pressAction();
        Window w(row[0]);
        QAccessibleInterface* iface = w.reader(control);
        const int role = QMetaEnum::fromType<QAccessible::Role>().keyToValue(qPrintable(how));
        if (role > 0) {
            QCOMPARE(iface->role(), QAccessible::Role(role));
            QCOMPARE(iface->actionInterface()->actionNames().contains(press), !effect.isEmpty());
            iface->actionInterface()->doAction(press);
        } else if (const int button =
                       QMetaEnum::fromType<Qt::MouseButtons>().keyToValue(qPrintable(how.section(u'-', 0, 0)));
                   button > 0) {
            QWidget* c = w[control];
            const QPoint at = c->rect().center(), beside(c->width() + 4, at.y());
            QTest::mousePress(c, Qt::MouseButton(button), {}, at);
            QTest::mouseRelease(c, Qt::MouseButton(button), {}, how.endsWith(u"-out") ? beside : at);
        } else {
            w[control]->setFocus(Qt::TabFocusReason);
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(how));
            QCOMPARE(w.focusName(), control);  // the focus stays
        }
        // A push button shows itself pressed for a moment before it acts.
        QTRY_COMPARE(w.effects(), effect);
    }

    void arrowPairReportsAndStepsTheAngle_data() { addRows(kArrowPairs); }
    void arrowPairReportsAndStepsTheAngle() {
        QFETCH(QStringList, row);
        Window w(u"english"_qs);
        QWidget* bar = w[u"scr"_qs + row[0]];
        QAccessibleInterface* iface = w.reader(u"scr"_qs + row[0]);
        QAccessibleValueInterface* value = iface->valueInterface();
        QStringList heard{value->minimumValue().toString(), value->maximumValue().toString(),
                          value->minimumStepSize().toString(), iface->text(QAccessible::Value)};
        for (qsizetype i = 5; i + 1 < row.size(); i += 2) {
            if (row[i].startsWith(u'='))
                value->setCurrentValue(row[i].mid(1).toInt());
            else if (iface->actionInterface()->actionNames().contains(row[i]))
                iface->actionInterface()->doAction(row[i]);
            else
                QTest::keySequence(bar, QKeySequence(row[i]));
            heard << row[i] << iface->text(QAccessible::Value);
            // The angle field follows, and the value interface tells the same.
            QCOMPARE(w.shown(u"angle"_qs + row[0]), heard.last());
            QCOMPARE(value->currentValue().toString(), heard.last());
        }
        QCOMPARE(heard, row.mid(1));
    }
};

QTEST_MAIN(Accessibility)
#include "tst_accessibility.moc"
