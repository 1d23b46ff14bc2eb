// The event rules that the input handlers rely on, checked on the adapters.
#include <QAbstractItemView>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "controls.h"

using namespace kx;

namespace {
// One column, the row's place in its table of cases.
template <class Case, std::size_t n>
void addRows(const Case (&cases)[n]) {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < n; ++i)
        QTest::newRow(cases[i].name) << int(i);
}

// The mouse wheel turned one notch away from the person (up) or towards them.
void turnWheel(QWidget* w, bool up) {
    const QPointF at = QRectF(w->rect()).center();
    QWheelEvent e(at, w->mapToGlobal(at), {}, {0, up ? 120 : -120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

// A write of the value ('='), a click on the top ('+') or bottom ('-') arrow,
// the right button on the top arrow ('r'), the wheel turned up ('w'), or the
// top arrow held down ('h': the steps repeat until it is let go).
// clang-format off
const struct ArrowCase { const char* name; int top, bottom, from; char how; int to; } kArrowCases[] = {
    {"write a new value", 70, 0, 45, '=', 12},   {"write the same value", 70, 0, 45, '=', 45},
    {"SCI up", 70, 0, 45, '+', 46},              {"SCI down", 70, 0, 45, '-', 44},
    {"SCI up at the top", 70, 0, 70, '+', 70},   {"TCI down to -10", 25, -10, -9, '-', -10},
    {"TCI down at the bottom", 25, -10, -10, '-', -10}, {"held down, then let go", 70, 0, 45, 'h', 0},
    {"right button does nothing", 70, 0, 45, 'r', 45},  {"wheel up, one step", 25, -10, 6, 'w', 7}};
// clang-format on

// Each list action starts on a list of five inserts that shows "blue", its fourth.
const char* const kInserts[] = {"white", "yellow", "red", "blue", "black"};
void fill(InsertList& list) {
    for (const char* item : kInserts)
        list.appendItem(QString::fromLatin1(item));
}
void type(InsertList& list, const QString& keys) {
    list.show();
    list.setFocus();
    list.lineEdit()->selectAll();
    QTest::keyClicks(&list, keys);
}
// A person's choice: a click on an item of the open list.
void pick(InsertList& list, int item) {
    list.show();
    list.showPopup();
    const QPoint at = list.view()->visualRect(list.model()->index(item, 0)).center();
    QTest::mouseMove(list.view()->viewport(), at);
    QTest::mouseClick(list.view()->viewport(), Qt::LeftButton, {}, at);
}
// clang-format off
struct ListCase { const char* name; void (*act)(InsertList&); int clicks, edits; const char* shown; int index; };
const ListCase kListCases[] = {
    {"a person's choice raises click only", [](InsertList& list) { pick(list, 1); }, 1, 0, "yellow", 1},
    {"a program's choice raises click once",
     [](InsertList& list) { list.setSelectedIndex(1), list.setSelectedIndex(1); }, 1, 0, "yellow", 1},
    {"choosing the same item restores typed text",
     [](InsertList& list) { list.lineEdit()->setText(u"xyz"_qs), list.setSelectedIndex(3); }, 0, 0, "blue", 3},
    {"clear and refill raise nothing", [](InsertList& list) { list.clearList(), fill(list); }, 0, 0, "", -1},
    // A person's choice too: the list shows the next item, and the effective field must follow.
    {"a wheel turn raises click only", [](InsertList& list) { turnWheel(&list, false); }, 1, 0, "black", 4},
    {"typing raises edited per key", [](InsertList& list) { type(list, u"gr"_qs); }, 0, 2, "gr", 3},
    // Not completed to "yellow", and Return adds no item.
    {"no completion, Return adds nothing",
     [](InsertList& list) { type(list, u"ye"_qs), QTest::keyClick(&list, Qt::Key_Return); }, 0, 2, "ye", 3},
    // A written text never selects an item by itself.
    {"a program's text raises edited once",
     [](InsertList& list) { list.writeText(u"red"_qs), list.writeText(u"red"_qs); }, 0, 1, "red", 3}};
// clang-format on
}  // namespace

class EventRules : public QObject {
    Q_OBJECT
private slots:
    void programTextWriteRaisesChangeOnlyOnChange();
    void arrowPairRaisesChangeOnlyOnChange_data() { addRows(kArrowCases); }
    void arrowPairRaisesChangeOnlyOnChange();
    void insertListRaisesItsOwnEvent_data() { addRows(kListCases); }
    void insertListRaisesItsOwnEvent();
};

void EventRules::programTextWriteRaisesChangeOnlyOnChange() {
    TextBox box;
    QStringList seen;  // the text at each change, as the handler reads it
    connect(&box, &QLineEdit::textChanged, [&] { seen << box.text(); });
    box.write(u"12.4"_qs);
    QCOMPARE(seen, QStringList{u"12.4"_qs});  // before write() returned
    // Equal text raises nothing and leaves the caret and the selection alone.
    box.setCursorPosition(2);
    box.write(u"12.4"_qs);
    QCOMPARE(box.cursorPosition(), 2);
    box.setSelection(1, 2);
    box.write(u"12.4"_qs);
    QCOMPARE(box.selectedText(), u"2."_qs);
    QCOMPARE(seen.size(), 1);
}

void EventRules::arrowPairRaisesChangeOnlyOnChange() {
    QFETCH(int, row);
    const auto [name, top, bottom, from, how, to] = kArrowCases[row];
    ArrowScrollBar bar(top, bottom);
    bar.resize(23, 21);
    bar.setAngle(from);
    QList<int> seen;  // the value at each change, as the handler reads it
    connect(&bar, &ArrowScrollBar::changed, [&] { seen << bar.angle(); });
    if (how == '=')
        bar.setAngle(to);
    else if (how == 'h') {
        QTest::mousePress(&bar, Qt::LeftButton, {}, bar.upArrowRect().center());
        QTRY_VERIFY(bar.angle() > from + 1);
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, bar.upArrowRect().center());
        const int released = bar.angle();
        QTest::qWait(300);
        QCOMPARE(bar.angle(), released);
        return;
    } else if (how == 'w')
        turnWheel(&bar, true);
    else
        QTest::mouseClick(&bar, how == 'r' ? Qt::RightButton : Qt::LeftButton, {},
                          (how == '-' ? bar.downArrowRect() : bar.upArrowRect()).center());
    QCOMPARE(bar.angle(), to);
    QCOMPARE(seen, to == from ? QList<int>{} : QList<int>{to});
}

void EventRules::insertListRaisesItsOwnEvent() {
    QFETCH(int, row);
    const ListCase& c = kListCases[row];
    InsertList list;
    fill(list);
    list.setSelectedIndex(3);
    QSignalSpy clicks(&list, &InsertList::clicked), edits(&list, &InsertList::edited);
    c.act(list);
    QCOMPARE(clicks.count(), c.clicks);
    QCOMPARE(edits.count(), c.edits);
    QCOMPARE(list.shownText(), QString::fromLatin1(c.shown));
    QCOMPARE(list.selectedIndex(), c.index);
    QCOMPARE(list.count(), int(std::size(kInserts)));
}

QTEST_MAIN(EventRules)
#include "tst_event_rules.moc"
