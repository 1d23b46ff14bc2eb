// The event rules that the input handlers rely on, checked on the adapters.
#include <QAbstractItemView>
#include <QSignalSpy>
#include <QTest>

#include "controls.h"

using namespace kx;

class EventRules : public QObject {
    Q_OBJECT
private slots:
    void programTextWriteRaisesChangeAtOnce();
    void equalTextKeepsCaretAndSelection();
    void scrollWriteRaisesOnlyOnChange_data();
    void scrollWriteRaisesOnlyOnChange();
    void arrowsStepTowardsTheirEnd_data();
    void arrowsStepTowardsTheirEnd();
    void listChoiceRaisesClickOnly();
    void programSelectionRaisesClickWhenChanged();
    void clearAndRefillRaiseNothing();
    void typingRaisesTextChangedPerKey();
    void noCompletionAndReturnAddsNothing();
    void selectingTheSameIndexRestoresTypedText();
    void programTextWriteOfListRaisesTextChanged();
};

void EventRules::programTextWriteRaisesChangeAtOnce() {
    TextBox box;
    int seen = 0;
    QString textInside;
    connect(&box, &QLineEdit::textChanged, [&] {
        ++seen;
        textInside = box.text();
    });
    box.write(u"45"_qs);
    QCOMPARE(seen, 1);  // before write() returned
    QCOMPARE(textInside, u"45"_qs);
    box.write(u"45"_qs);
    QCOMPARE(seen, 1);
}

void EventRules::equalTextKeepsCaretAndSelection() {
    TextBox box;
    box.setText(u"12.4"_qs);
    box.setCursorPosition(2);
    box.write(u"12.4"_qs);
    QCOMPARE(box.cursorPosition(), 2);
    box.setSelection(1, 2);
    box.write(u"12.4"_qs);
    QCOMPARE(box.selectedText(), u"2."_qs);
}

void EventRules::scrollWriteRaisesOnlyOnChange_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("events");
    QTest::newRow("new value") << 45 << 12 << 1;
    QTest::newRow("same value") << 45 << 45 << 0;
    QTest::newRow("to the top end") << 45 << 70 << 1;
    QTest::newRow("to the bottom end") << 45 << 0 << 1;
}

void EventRules::scrollWriteRaisesOnlyOnChange() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, events);
    ArrowScrollBar bar(70, 0);
    bar.setAngle(from);
    int seen = 0, valueInside = -1;
    connect(&bar, &ArrowScrollBar::changed, [&] {
        ++seen;
        valueInside = bar.angle();
    });
    bar.setAngle(to);
    QCOMPARE(seen, events);
    QCOMPARE(bar.angle(), to);
    if (events)
        QCOMPARE(valueInside, to);
}

void EventRules::arrowsStepTowardsTheirEnd_data() {
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("expected");
    QTest::newRow("SCI up") << 70 << 0 << 45 << true << 46;
    QTest::newRow("SCI down") << 70 << 0 << 45 << false << 44;
    QTest::newRow("SCI up at the top") << 70 << 0 << 70 << true << 70;
    QTest::newRow("SCI down at the bottom") << 70 << 0 << 0 << false << 0;
    QTest::newRow("TCI up at the top") << 25 << -10 << 25 << true << 25;
    QTest::newRow("TCI down to -10") << 25 << -10 << -9 << false << -10;
    QTest::newRow("TCI down at the bottom") << 25 << -10 << -10 << false << -10;
}

void EventRules::arrowsStepTowardsTheirEnd() {
    QFETCH(int, top);
    QFETCH(int, bottom);
    QFETCH(int, start);
    QFETCH(bool, up);
    QFETCH(int, expected);
    ArrowScrollBar bar(top, bottom);
    bar.resize(23, 21);
    bar.setAngle(start);
    QSignalSpy spy(&bar, &ArrowScrollBar::changed);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, (up ? bar.upArrowRect() : bar.downArrowRect()).center());
    QCOMPARE(bar.angle(), expected);
    QCOMPARE(spy.count(), expected == start ? 0 : 1);
}

namespace {
void fill(InsertList& list) {
    for (const char* item : {"white", "yellow", "red", "blue", "black"})
        list.appendItem(QString::fromLatin1(item));
}
}  // namespace

void EventRules::listChoiceRaisesClickOnly() {
    InsertList list;
    fill(list);
    list.setSelectedIndex(3);
    QSignalSpy clicks(&list, &InsertList::clicked), edits(&list, &InsertList::edited);
    list.show();
    list.showPopup();
    QAbstractItemView* view = list.view();
    const QPoint at = view->visualRect(list.model()->index(1, 0)).center();
    QTest::mouseMove(view->viewport(), at);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(list.selectedIndex(), 1);
    QCOMPARE(list.shownText(), u"yellow"_qs);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(edits.count(), 0);
}

void EventRules::programSelectionRaisesClickWhenChanged() {
    InsertList list;
    fill(list);
    QSignalSpy clicks(&list, &InsertList::clicked), edits(&list, &InsertList::edited);
    list.setSelectedIndex(3);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(list.shownText(), u"blue"_qs);
    list.setSelectedIndex(3);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(edits.count(), 0);
}

void EventRules::clearAndRefillRaiseNothing() {
    InsertList list;
    fill(list);
    list.setSelectedIndex(2);
    QSignalSpy clicks(&list, &InsertList::clicked), edits(&list, &InsertList::edited);
    list.clearList();
    fill(list);
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(edits.count(), 0);
    QCOMPARE(list.count(), 5);
    QCOMPARE(list.selectedIndex(), -1);
    QCOMPARE(list.shownText(), QString());
}

void EventRules::typingRaisesTextChangedPerKey() {
    InsertList list;
    fill(list);
    list.setSelectedIndex(3);
    list.show();
    list.setFocus();
    list.lineEdit()->selectAll();
    QSignalSpy clicks(&list, &InsertList::clicked), edits(&list, &InsertList::edited);
    QTest::keyClicks(&list, u"gr"_qs);
    QCOMPARE(edits.count(), 2);
    QCOMPARE(clicks.count(), 0);
}

void EventRules::noCompletionAndReturnAddsNothing() {
    InsertList list;
    fill(list);
    list.setSelectedIndex(3);
    list.show();
    list.setFocus();
    list.lineEdit()->selectAll();
    QTest::keyClicks(&list, u"ye"_qs);
    QCOMPARE(list.shownText(), u"ye"_qs);  // not completed to "yellow"
    QTest::keyClicks(&list, u"zz"_qs);
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(list.count(), 5);
}

void EventRules::selectingTheSameIndexRestoresTypedText() {
    InsertList list;
    fill(list);
    list.setSelectedIndex(3);
    list.lineEdit()->setText(u"xyz"_qs);
    QSignalSpy clicks(&list, &InsertList::clicked);
    list.setSelectedIndex(3);
    QCOMPARE(list.shownText(), u"blue"_qs);
    QCOMPARE(clicks.count(), 0);
}

void EventRules::programTextWriteOfListRaisesTextChanged() {
    InsertList list;
    fill(list);
    QSignalSpy edits(&list, &InsertList::edited);
    list.writeText(u"blue"_qs);
    QCOMPARE(edits.count(), 1);
    list.writeText(u"blue"_qs);
    QCOMPARE(edits.count(), 1);
    QCOMPARE(list.selectedIndex(), -1);  // a written text never selects an item by itself
}

QTEST_MAIN(EventRules)
#include "tst_event_rules.moc"
