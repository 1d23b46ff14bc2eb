// What a person who relies on a screen reader or on the keyboard meets in the
// window, read through the toolkit's accessibility interface as assistive
// technology reads it.
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "controls.h"
#include "kxcalc.h"
#include "stand_ins.h"

using namespace kx;

namespace {

const QString kLanguageKey = MemorySettings::languageKey();

// A window with recording services, loaded in one language and shown.
struct Window : StandIns {
    KXcalc window{services()};

    explicit Window(const QString& languageWord) {
        settings.values.insert(kLanguageKey, languageWord);
        window.formLoad();
        window.show();
        // At once and on every platform, as the runner and the soak do: the
        // offscreen platform activates no window on Windows.
        QApplication::setActiveWindow(&window);
    }
    QWidget* operator[](const char* name) const {
        QWidget* w = window.control(QLatin1StringView(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QString name(const char* control) const { return accessibleText(control, QAccessible::Name); }
    QString description(const char* control) const { return accessibleText(control, QAccessible::Description); }
    // What a screen reader announces when the control has the focus: for a
    // list that is its edit part (on Linux and macOS the toolkit gives the
    // list itself its shown text as its name).
    QString accessibleText(const char* control, QAccessible::Text t) const {
        QWidget* w = (*this)[control];
        if (auto* list = qobject_cast<QComboBox*>(w))
            w = list->lineEdit();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        return iface ? iface->text(t) : QString();
    }
    // The named control that has the keyboard focus (a list's edit part
    // counts as the list).
    QString focusName() const {
        for (QWidget* w = QApplication::focusWidget(); w && w != &window; w = w->parentWidget())
            if (window.control(w->objectName()) == w)
                return w->objectName();
        return u"(none)"_qs;
    }
};

// Every control a person can reach, by the Tab key or by the mouse and a
// screen reader's review: it takes the focus from Tab, or it is the link;
// it is shown and enabled. Lists those whose accessible name is empty.
QString unnamedReachableControls(const QWidget& window) {
    QStringList unnamed;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const bool reachable = ((w->focusPolicy() & Qt::TabFocus) || qobject_cast<LinkLabel*>(w)) &&
                               w->isVisibleTo(&window) && w->isEnabled();
        if (!reachable)
            continue;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) + u" in "_qs +
                                                        w->parentWidget()->objectName()
                                                  : w->objectName());
    }
    unnamed.sort();
    return unnamed.join(u", "_qs);
}

void addLanguageRows() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("lang");
    for (std::size_t i = 0; i < kLanguageCount; ++i)
        QTest::newRow(kLanguages[i].settingWord) << QString::fromLatin1(kLanguages[i].settingWord) << int(i);
}

// The controls in the order the Tab key visits them: the window's tab places
// without the labels and the hidden controls.
const char* const kTabOrder[] = {
    "PicLogo",
    "picUS",
    "picGe",
    "colorSCIright",
    "colorSCIleft",
    "colorTCIright",
    "colorTCIleft",
    "angleSCIright",
    "angleSCIleft",
    "angleTCIright",
    "angleTCIleft",
    "scrSCIright",
    "scrTCIright",
    "scrSCIleft",
    "scrTCIleft",
    "picKxtable",
    "txtRightTableColor",
    "txtLeftTableColor",
    "txtFrontTableColor",
    "notetxt",
    "copyrighttxt",
    "notetitletxt",
    "cmdPrint",
    "picIT",
    "cmdEnd",
    "Picture1",
};

}  // namespace

class Accessibility : public QObject {
    Q_OBJECT
private slots:
    void everyReachableControlHasAName_data() { addLanguageRows(); }
    void everyReachableControlHasAName();
    void aControlWithoutANameIsFound();
    void namesSpeakTheWindowsLanguage_data();
    void namesSpeakTheWindowsLanguage();
    void namesFollowALanguageChoice();
    void tileDescriptionsFollowTheCalculation_data() { addLanguageRows(); }
    void tileDescriptionsFollowTheCalculation();
    void tabVisitsTheControlsInTheirOrder();
    void keysOperateTheCommands_data();
    void keysOperateTheCommands();
    void shortcutOpensTheLinkFromAnywhere_data();
    void shortcutOpensTheLinkFromAnywhere();
    void pressActionRunsTheCommand_data();
    void pressActionRunsTheCommand();
    void decorativePicturesCannotBePressed_data();
    void decorativePicturesCannotBePressed();
    void arrowPairReportsTheAngle_data();
    void arrowPairReportsTheAngle();
    void arrowKeysStepTheArrowPair_data();
    void arrowKeysStepTheArrowPair();
};

void Accessibility::everyReachableControlHasAName() {
    QFETCH(QString, word);
    Window w(word);
    QCOMPARE(unnamedReachableControls(w.window), QString());
    // The check sees every control of the Tab order, the link and the tiles.
    int seen = 0;
    for (QWidget* c : w.window.findChildren<QWidget*>())
        if ((c->focusPolicy() & Qt::TabFocus) && c->isVisibleTo(&w.window))
            ++seen;
    QVERIFY2(seen >= int(std::size(kTabOrder)), qPrintable(QString::number(seen)));
}

void Accessibility::aControlWithoutANameIsFound() {
    Window w(u"english"_qs);
    w["angleSCIleft"]->setAccessibleName(QString());
    auto* extra = new QLineEdit(&w.window);
    extra->setObjectName(u"extraField"_qs);
    extra->show();
    auto* hiddenExtra = new QLineEdit(&w.window);
    hiddenExtra->setObjectName(u"hiddenField"_qs);
    hiddenExtra->hide();
    QCOMPARE(unnamedReachableControls(w.window), u"angleSCIleft, extraField"_qs);
}

void Accessibility::namesSpeakTheWindowsLanguage_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    const QString any = u"*"_qs;  // not checked
    struct Row {
        const char16_t *word, *control, *name, *description;
    };
    const Row rows[] = {
        {u"english", u"angleSCIleft", u"Left sagittal condylar inclination, angle", u"Degrees, 0 to 70"},
        {u"german", u"angleSCIleft", u"Linke sagittale Kondylenbahnneigung, Winkel", u"Grad, 0 bis 70"},
        {u"italian", u"angleSCIleft", u"Inclinazione condilare sagittale sinistra, angolo", u"Gradi, da 0 a 70"},
        {u"english", u"angleTCIright", u"Right transversal condylar inclination, angle", u"Degrees, -10 to 25"},
        {u"english", u"colorSCIleft", u"Insert colour, left SCI", nullptr},
        {u"german", u"colorSCIleft", u"Einsatzfarbe, linke SKN", nullptr},
        {u"italian", u"colorTCIright", u"Colore dell'inserto, TCI destra", nullptr},
        {u"english", u"scrTCIleft", u"Step the angle, left TCI", nullptr},
        {u"german", u"scrSCIright", u"Winkel einstellen, rechte SKN", nullptr},
        {u"english", u"picGe", u"German", u"Shows the window in German"},
        {u"german", u"picGe", u"Deutsch", u"Zeigt das Fenster auf Deutsch"},
        {u"italian", u"picGe", u"Tedesco", u"Mostra la finestra in tedesco"},
        {u"english", u"picUS", u"English", nullptr},
        {u"italian", u"picIT", u"Italiano", nullptr},
        {u"english", u"cmdPrint", u"Print", u"Prints the window on the default printer"},
        {u"german", u"cmdPrint", u"Drucken", nullptr},
        {u"italian", u"cmdPrint", u"Stampa", nullptr},
        {u"english", u"cmdEnd", u"End", u"Ends the program"},
        {u"german", u"cmdEnd", u"Beenden", u"Beendet das Programm"},
        {u"italian", u"cmdEnd", u"Esci", nullptr},
        {u"english", u"txtFrontTableColor", u"Table element, front position", nullptr},
        {u"german", u"txtRightTableColor", u"Tischelement, rechte Position", nullptr},
        {u"italian", u"txtLeftTableColor", u"Elemento del tavolo, posizione sinistra", nullptr},
        {u"english", u"notetxt", u"Important note", nullptr},
        {u"german", u"notetxt", u"Wichtiger Hinweis", nullptr},
        {u"english", u"PicLogo", u"ORBEL Dental logo", nullptr},
        {u"italian", u"picKxtable", u"Foto del tavolo incisale", nullptr},
        {u"english", u"lblHyperlink", u"www.orbel-dental.de", u"Opens the maker's web site in the browser"},
        {u"german", u"lblHyperlink", u"www.orbel-dental.de", u"Öffnet die Website des Herstellers im Browser"},
    };
    for (const Row& r : rows)
        QTest::addRow("%s %s", qPrintable(QString::fromUtf16(r.word)), qPrintable(QString::fromUtf16(r.control)))
            << QString::fromUtf16(r.word) << QString::fromUtf16(r.control) << QString::fromUtf16(r.name)
            << (r.description ? QString::fromUtf16(r.description) : any);
}

void Accessibility::namesSpeakTheWindowsLanguage() {
    QFETCH(QString, word);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, description);
    Window w(word);
    const QByteArray c = control.toLatin1();
    // The link is named by the address it shows, whatever the build chose.
    if (control == u"lblHyperlink"_qs)
        name = qobject_cast<QLabel*>(w["lblHyperlink"])->text();
    QCOMPARE(w.name(c.constData()), name);
    if (description != u"*"_qs)
        QCOMPARE(w.description(c.constData()), description);
    // The control itself carries the name too, which is what Windows reads.
    QCOMPARE(w[c.constData()]->accessibleName(), control == u"lblHyperlink"_qs ? QString() : name);
}

void Accessibility::namesFollowALanguageChoice() {
    Window w(u"english"_qs);
    QCOMPARE(w.name("cmdEnd"), u"End"_qs);
    w.window.chooseLanguage(0);
    QCOMPARE(w.name("cmdEnd"), u"Beenden"_qs);
    QCOMPARE(w.name("picIT"), u"Italienisch"_qs);
    QCOMPARE(w.description("picIT"), u"Zeigt das Fenster auf Italienisch"_qs);
    QCOMPARE(w.description("txtFrontTableColor"), u"Gewähltes Element: grün"_qs);
    w.window.chooseLanguage(2);
    QCOMPARE(w.name("cmdEnd"), u"Esci"_qs);
    QCOMPARE(w.description("txtFrontTableColor"), u"Elemento scelto: verde"_qs);
    QCOMPARE(unnamedReachableControls(w.window), QString());
}

void Accessibility::tileDescriptionsFollowTheCalculation() {
    QFETCH(QString, word);
    QFETCH(int, lang);
    Window w(word);
    const QString pattern = w.window.texts().tileDescription[lang];
    const auto tileText = [&](const char* tile) { return qobject_cast<QLineEdit*>(w[tile])->text(); };
    const char* const tiles[] = {"txtRightTableColor", "txtLeftTableColor", "txtFrontTableColor"};
    for (const char* tile : tiles) {
        QVERIFY(!tileText(tile).isEmpty());
        QCOMPARE(w.description(tile), pattern.arg(tileText(tile)));
    }
    // The white insert on the right SCI brings another element to the front.
    const QString frontBefore = tileText("txtFrontTableColor");
    qobject_cast<InsertList*>(w["colorSCIright"])->setSelectedIndex(0);
    QCOMPARE_NE(tileText("txtFrontTableColor"), frontBefore);
    QCOMPARE(tileText("txtFrontTableColor"), w.window.texts().elementName[std::size_t(TableElement::Orange)][lang]);
    for (const char* tile : tiles)
        QCOMPARE(w.description(tile), pattern.arg(tileText(tile)));
    // Text a person types over a tile is not what the calculation chose.
    const QString chosen = w.description("txtFrontTableColor");
    QTest::keyClicks(w["txtFrontTableColor"], u"x"_qs);
    QCOMPARE(w.description("txtFrontTableColor"), chosen);
}

void Accessibility::tabVisitsTheControlsInTheirOrder() {
    Window w(u"english"_qs);
    QVERIFY(w.window.isActiveWindow());
    QStringList forward{w.focusName()};
    for (std::size_t i = 0; i < std::size(kTabOrder); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        forward << w.focusName();
    }
    QStringList expected;
    for (const char* name : kTabOrder)
        expected << QString::fromLatin1(name);
    expected << expected.first();  // and round again
    QCOMPARE(forward, expected);

    QStringList backward{w.focusName()};
    for (std::size_t i = 0; i < std::size(kTabOrder); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        backward << w.focusName();
    }
    std::reverse(expected.begin(), expected.end());
    QCOMPARE(backward, expected);
}

void Accessibility::keysOperateTheCommands_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("effect");
    const std::pair<int, const char*> keys[] = {
        {Qt::Key_Space, "Space"}, {Qt::Key_Return, "Return"}, {Qt::Key_Enter, "Enter"}};
    for (const auto& [key, keyName] : keys) {
        QTest::addRow("picGe %s", keyName) << u"english"_qs << u"picGe"_qs << key << u"german"_qs;
        QTest::addRow("picUS %s", keyName) << u"italian"_qs << u"picUS"_qs << key << u"english"_qs;
        QTest::addRow("picIT %s", keyName) << u"german"_qs << u"picIT"_qs << key << u"italian"_qs;
        QTest::addRow("cmdPrint %s", keyName) << u"english"_qs << u"cmdPrint"_qs << key << u"printed"_qs;
        QTest::addRow("cmdEnd %s", keyName) << u"english"_qs << u"cmdEnd"_qs << key << u"ended"_qs;
    }
}

namespace {
// What a command left behind, in the words of the key and action tables.
QString effectOf(const Window& w, const QString& startWord) {
    QStringList effects;
    const QString word = w.settings.values.value(kLanguageKey);
    if (word != startWord)
        effects << word;
    if (w.printer.count)
        effects << u"printed"_qs;
    if (w.end.ended)
        effects << u"ended"_qs;
    if (w.browser.opened)
        effects << u"opened "_qs + w.browser.last;
    return effects.join(u", "_qs);
}
}  // namespace

void Accessibility::keysOperateTheCommands() {
    QFETCH(QString, word);
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(QString, effect);
    Window w(word);
    QVERIFY(w.window.isActiveWindow());
    QWidget* target = w[control.toLatin1().constData()];
    target->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.focusName(), control);
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(effectOf(w, word), effect);
    // A flag's key press changes the window's language, not only the setting.
    for (std::size_t lang = 0; lang < kLanguageCount; ++lang)
        if (effect == QLatin1StringView(kLanguages[lang].settingWord))
            QCOMPARE(w.window.langIndex(), int(lang));
}

void Accessibility::shortcutOpensTheLinkFromAnywhere_data() {
    QTest::addColumn<QString>("focus");
    QTest::newRow("from the logo") << u"PicLogo"_qs;
    QTest::newRow("from an angle field") << u"angleSCIleft"_qs;
    QTest::newRow("from an insert list") << u"colorTCIright"_qs;
    QTest::newRow("from the note") << u"notetxt"_qs;
    QTest::newRow("from the end button") << u"cmdEnd"_qs;
}

void Accessibility::shortcutOpensTheLinkFromAnywhere() {
    QFETCH(QString, focus);
    Window w(u"english"_qs);
    QVERIFY(w.window.isActiveWindow());
    QWidget* target = w[focus.toLatin1().constData()];
    target->setFocus(Qt::TabFocusReason);
    const QString angleBefore = qobject_cast<QLineEdit*>(w["angleSCIleft"])->text();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::AltModifier);
    const QString address = qobject_cast<QLabel*>(w["lblHyperlink"])->text();
    QCOMPARE(effectOf(w, u"english"_qs), u"opened "_qs + address);
    // Nothing else happened: the focus stayed, no field took the letter.
    QCOMPARE(w.focusName(), focus);
    QCOMPARE(qobject_cast<QLineEdit*>(w["angleSCIleft"])->text(), angleBefore);
    // A screen reader announces the shortcut with the link.
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(w["lblHyperlink"]);
    QCOMPARE(link->text(QAccessible::Accelerator),
             QKeySequence(Qt::ALT | Qt::Key_W).toString(QKeySequence::NativeText));
    QCOMPARE(link->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
             QStringList{link->text(QAccessible::Accelerator)});
}

void Accessibility::pressActionRunsTheCommand_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("effect");
    QTest::newRow("picGe") << u"english"_qs << u"picGe"_qs << int(QAccessible::Button) << u"german"_qs;
    QTest::newRow("picUS") << u"german"_qs << u"picUS"_qs << int(QAccessible::Button) << u"english"_qs;
    QTest::newRow("picIT") << u"english"_qs << u"picIT"_qs << int(QAccessible::Button) << u"italian"_qs;
    QTest::newRow("cmdPrint") << u"english"_qs << u"cmdPrint"_qs << int(QAccessible::Button) << u"printed"_qs;
    QTest::newRow("cmdEnd") << u"italian"_qs << u"cmdEnd"_qs << int(QAccessible::Button) << u"ended"_qs;
    QTest::newRow("lblHyperlink") << u"german"_qs << u"lblHyperlink"_qs << int(QAccessible::Link) << u"opened"_qs;
}

void Accessibility::pressActionRunsTheCommand() {
    QFETCH(QString, word);
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, effect);
    Window w(word);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w[control.toLatin1().constData()]);
    QVERIFY(iface);
    QCOMPARE(int(iface->role()), role);
    QAccessibleActionInterface* actions = iface->actionInterface();
    QVERIFY(actions);
    const QString press = QAccessibleActionInterface::pressAction();
    QVERIFY2(actions->actionNames().contains(press), qPrintable(actions->actionNames().join(u", "_qs)));
    QCOMPARE(effectOf(w, word), QString());
    actions->doAction(press);
    if (effect == u"opened"_qs)
        effect += u' ' + qobject_cast<QLabel*>(w["lblHyperlink"])->text();
    // A push button shows itself pressed for a moment before it acts.
    QTRY_COMPARE(effectOf(w, word), effect);
}

void Accessibility::decorativePicturesCannotBePressed_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("PicLogo") << u"PicLogo"_qs;
    QTest::newRow("Picture1") << u"Picture1"_qs;
    QTest::newRow("picKxtable") << u"picKxtable"_qs;
}

void Accessibility::decorativePicturesCannotBePressed() {
    QFETCH(QString, control);
    Window w(u"english"_qs);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w[control.toLatin1().constData()]);
    QCOMPARE(iface->role(), QAccessible::Graphic);
    QVERIFY(!iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    // They still take the focus, so a screen reader reads them on the way.
    QVERIFY(iface->state().focusable);
}

void Accessibility::arrowPairReportsTheAngle_data() {
    QTest::addColumn<QString>("scroll");
    QTest::addColumn<QString>("angle");
    QTest::addColumn<int>("reset");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("shown");
    QTest::newRow("SCI right") << u"scrSCIright"_qs << u"angleSCIright"_qs << 45 << 0 << 70 << 52 << 52;
    QTest::newRow("TCI left") << u"scrTCIleft"_qs << u"angleTCIleft"_qs << 6 << -10 << 25 << -7 << -7;
    QTest::newRow("SCI left past the top") << u"scrSCIleft"_qs << u"angleSCIleft"_qs << 45 << 0 << 70 << 90 << 70;
}

void Accessibility::arrowPairReportsTheAngle() {
    QFETCH(QString, scroll);
    QFETCH(QString, angle);
    QFETCH(int, reset);
    QFETCH(int, bottom);
    QFETCH(int, top);
    QFETCH(int, set);
    QFETCH(int, shown);
    Window w(u"english"_qs);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w[scroll.toLatin1().constData()]);
    QAccessibleValueInterface* value = iface->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toInt(), reset);
    QCOMPARE(iface->text(QAccessible::Value), QString::number(reset));
    QCOMPARE(value->minimumValue().toInt(), bottom);
    QCOMPARE(value->maximumValue().toInt(), top);
    // Setting the value moves the arrows' value: the angle field follows.
    const auto angleText = [&] { return qobject_cast<QLineEdit*>(w[angle.toLatin1().constData()])->text(); };
    value->setCurrentValue(set);
    QCOMPARE(value->currentValue().toInt(), shown);
    QCOMPARE(angleText(), QString::number(shown));
    // Increase is the up arrow, decrease the down arrow.
    QAccessibleActionInterface* actions = iface->actionInterface();
    actions->doAction(QAccessibleActionInterface::decreaseAction());
    QCOMPARE(angleText(), QString::number(shown - 1));
    actions->doAction(QAccessibleActionInterface::increaseAction());
    actions->doAction(QAccessibleActionInterface::increaseAction());
    QCOMPARE(angleText(), QString::number(std::min(shown + 1, top)));
}

void Accessibility::arrowKeysStepTheArrowPair_data() {
    QTest::addColumn<QString>("scroll");
    QTest::addColumn<QString>("angle");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("SCI right up") << u"scrSCIright"_qs << u"angleSCIright"_qs << int(Qt::Key_Up) << u"46"_qs;
    QTest::newRow("SCI right down") << u"scrSCIright"_qs << u"angleSCIright"_qs << int(Qt::Key_Down) << u"44"_qs;
    QTest::newRow("TCI left up") << u"scrTCIleft"_qs << u"angleTCIleft"_qs << int(Qt::Key_Up) << u"7"_qs;
    QTest::newRow("TCI left down") << u"scrTCIleft"_qs << u"angleTCIleft"_qs << int(Qt::Key_Down) << u"5"_qs;
}

void Accessibility::arrowKeysStepTheArrowPair() {
    QFETCH(QString, scroll);
    QFETCH(QString, angle);
    QFETCH(int, key);
    QFETCH(QString, expected);
    Window w(u"english"_qs);
    QVERIFY(w.window.isActiveWindow());
    QWidget* bar = w[scroll.toLatin1().constData()];
    bar->setFocus(Qt::TabFocusReason);
    QTest::keyClick(bar, Qt::Key(key));
    QCOMPARE(qobject_cast<QLineEdit*>(w[angle.toLatin1().constData()])->text(), expected);
    QCOMPARE(QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Value), expected);
}

QTEST_MAIN(Accessibility)
#include "tst_accessibility.moc"
