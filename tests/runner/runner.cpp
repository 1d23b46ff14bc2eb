#include "runner.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>

#include "controls.h"

namespace kx::scenario {

// The words of a line: texts in double quotes (with the escapes \" \\ \t
// \n), and anything else up to the next blank.
std::vector<Word> splitWords(const QString& line) {
    static const QRegularExpression word(uR"([ \t\r]*(?:"((?:[^"\\]|\\.)*)(")?([^ \t\r]?)|([^ \t\r]+)))"_qs);
    std::vector<Word> words;
    for (qsizetype at = 0; at < line.size();) {
        const QRegularExpressionMatch m =
            word.match(line, at, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch())
            break;  // blanks only
        at = m.capturedEnd();
        if (m.capturedLength(4) > 0) {
            words.push_back({m.captured(4), false});
            continue;
        }
        if (m.capturedLength(2) == 0 || m.capturedLength(3) > 0)
            throw Abort{m.capturedLength(2) == 0 ? u"unterminated text"_qs : u"a text must be followed by a blank"_qs};
        QString text;
        const QString raw = m.captured(1);
        for (qsizetype i = 0; i < raw.size(); ++i) {
            const qsizetype e = i + 1 < raw.size() && raw[i] == u'\\' ? u"\"\\tn"_qs.indexOf(raw[i + 1]) : -1;
            text += e < 0 ? raw[i] : u"\"\\\t\n"_qs[e];
            i += e < 0 ? 0 : 1;
        }
        words.push_back({text, true});
    }
    return words;
}

QString quoted(QString text) {
    text.replace(u'\\', u"\\\\"_qs).replace(u'"', u"\\\""_qs).replace(u'\n', u"\\n"_qs).replace(u'\t', u"\\t"_qs);
    return u'"' + text + u'"';
}

QLineEdit* editOf(QWidget* w) {
    auto* list = qobject_cast<QComboBox*>(w);
    return list ? list->lineEdit() : qobject_cast<QLineEdit*>(w);
}

bool isKnownLocale(const QString& name) { return name == u"C" || QLocale(name).language() != QLocale::C; }

FileResult Runner::runFile(const QString& file) {
    path = file;
    result = {};
    localeName = initialLocale;
    stand.settings.values.clear();
    stand.printer.answer = Printer::Outcome::Done;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        err << file << ":0: cannot read the file: " << f.errorString() << Qt::endl;
        return {0, 0, true};
    }
    std::vector<Line> lines;
    const QStringList raw = QString::fromUtf8(f.readAll()).split(u'\n');
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i].trimmed().isEmpty() || raw[i].trimmed().startsWith(u'#'))
            continue;
        try {
            lines.push_back({int(i + 1), splitWords(raw[i])});
        } catch (const Abort& a) {
            err << file << ':' << i + 1 << ": " << a.why << Qt::endl;
            return {0, 0, true};
        }
    }
    QLocale::setDefault(QLocale(localeName));
    for (const Line& line : lines) {
        try {
            execute(line);
        } catch (const Abort& a) {
            err << file << ':' << line.number << ": " << a.why << Qt::endl;
            result.runError = true;
            break;
        }
    }
    stop();
    return result;
}

void Runner::start() {
    QLocale::setDefault(QLocale(localeName));
    stand.forgetRecords();
    window = std::make_unique<KXcalc>(stand.services());
    window->formLoad();
    window->show();
    QApplication::setActiveWindow(window.get());
    QCoreApplication::processEvents();
}

void Runner::stop() {
    window.reset();
    QCoreApplication::processEvents();
}

QWidget* Runner::control(const QString& name) const {
    if (name == u"KXcalc")
        return window.get();
    if (QWidget* w = window->control(name))
        return w;
    throw Abort{u"unknown control "_qs + name};
}

QWidget* Runner::keyTarget() const {
    QWidget* f = QApplication::focusWidget();
    return f ? f : window.get();
}

void Runner::sendKey(Qt::Key key, Qt::KeyboardModifiers mods) const {
    const QString text = key == Qt::Key_Space    ? u" "_qs
                         : key == Qt::Key_Return ? u"\r"_qs
                         : key == Qt::Key_Tab    ? u"\t"_qs
                                                 : QString();
    QTest::sendKeyEvent(QTest::Click, keyTarget(), key, text, mods);
}

namespace {

// A line's words: the control it names, a text in double quotes, a number.
QWidget* control(const Runner& r, const Line& line, std::size_t i) {
    if (i >= line.words.size() || line.words[i].quoted)
        throw Abort{u"a control name is missing"_qs};
    return r.control(line.words[i].text);
}
const QString& text(const Line& line, std::size_t i) {
    if (i >= line.words.size() || !line.words[i].quoted)
        throw Abort{u"a text in double quotes is missing"_qs};
    return line.words[i].text;
}
int number(const Word& w, const char* what) {
    bool ok = false;
    const int n = w.text.toInt(&ok);
    if (!ok || w.quoted || n < 0)
        throw Abort{QString::fromLatin1(what)};
    return n;
}

// The focus into a control, its caret at the end or all its text selected.
void focus(QWidget* w, bool selectAll) {
    if (w->isHidden() || w->focusPolicy() == Qt::NoFocus)
        throw Abort{u"%1 cannot take the keyboard focus"_qs.arg(w->objectName())};
    w->setFocus(Qt::MouseFocusReason);
    if (QLineEdit* edit = editOf(w))
        selectAll ? edit->selectAll() : edit->end(false);
    else if (auto* note = qobject_cast<QPlainTextEdit*>(w))
        selectAll ? note->selectAll() : note->moveCursor(QTextCursor::End);
}

// One key press per character (a surrogate pair is one), each to whatever has
// the focus then; "\n", "\t" and "\b" press Return, Tab and Backspace.
void typeText(const Runner& r, const QString& text) {
    for (qsizetype i = 0; i < text.size() && !r.stand.end.ended;) {
        const qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString ch = text.mid(i, len);
        i += len;
        if (const qsizetype control = u"\n\t\b"_qs.indexOf(ch); control >= 0)
            r.sendKey(std::array{Qt::Key_Return, Qt::Key_Tab, Qt::Key_Backspace}[std::size_t(control)]);
        else
            QTest::sendKeyEvent(QTest::Click, r.keyTarget(), Qt::Key_unknown, ch, Qt::NoModifier);
    }
}

// A push button pressed with a key or by a screen reader shows itself down
// for a moment before it acts.
void settle(QWidget* w) {
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        (void)QTest::qWaitFor([button] { return !button->isDown(); }, 2000);
}

// A key by its name (Backspace, Return, Enter, PgUp, ...) with its
// modifiers (Alt+W, Shift+Tab), or one character typed at the caret.
void pressKey(const Runner& r, const QString& key) {
    QWidget* target = r.keyTarget();
    const QKeySequence keys(key);
    if (key.size() == 1)
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, key, Qt::NoModifier);
    else if (keys.count() == 1 && keys[0].key() != Qt::Key_unknown)
        r.sendKey(keys[0].key(), keys[0].keyboardModifiers());
    else
        throw Abort{u"unknown key "_qs + key};
    settle(target);
}

// Clicks on an arrow, or the arrow held down until the arrow pair shows the
// value `until` and let go.
void arrow(const Runner& r, QWidget* w, const QString& direction, int times, const QString& until) {
    auto* bar = qobject_cast<ArrowScrollBar*>(w);
    if (!bar || (direction != u"up" && direction != u"down"))
        throw Abort{bar ? u"arrow takes up or down"_qs : w->objectName() + u" has no arrows"_qs};
    const QPoint at = (direction == u"up" ? bar->upArrowRect() : bar->downArrowRect()).center();
    if (until.isNull()) {
        for (int i = 0; i < times && !r.stand.end.ended; ++i)
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, at);
        return;
    }
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, at);
    const bool reached = QTest::qWaitFor([&] { return QString::number(bar->angle()) == until; }, 10000);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, at);
    if (!reached)
        throw Abort{u"%1 never showed %2 while held"_qs.arg(bar->objectName(), until)};
    QTest::qWait(300);  // long enough for the arrows to repeat once more, were they still held
}

// A left click, or "right", "middle", or "beside": pressed on the control
// and let go beside it.
void click(const Runner& r, QWidget* w, const QString& how) {
    static const QStringList hows{QString(), u"right"_qs, u"middle"_qs, u"beside"_qs};
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton, Qt::LeftButton};
    const qsizetype way = hows.indexOf(how);
    if (way < 0 || w == r.window.get())
        throw Abort{way < 0 ? u"click takes right, middle or beside"_qs : u"the window itself cannot be clicked"_qs};
    if (w->isHidden()) {
        // Nobody can click a hidden control; the program itself can press a
        // hidden button or tick a hidden box.
        auto* button = qobject_cast<QAbstractButton*>(w);
        if (!button || way > 0)
            throw Abort{w->objectName() + u" is hidden and cannot be clicked"_qs};
        return button->click();
    }
    const QPoint at = qobject_cast<QCheckBox*>(w) ? QPoint(8, w->height() / 2) : w->rect().center();
    QTest::mousePress(w, buttons[way], Qt::NoModifier, at);
    QTest::mouseRelease(w, buttons[way], Qt::NoModifier, way == 3 ? QPoint(w->width() + 4, at.y()) : at);
}

// Every command a line can start with: its name, whether it starts the window
// first, whether it is a person's action (which an ended program no longer
// takes), the number of words its line may have (its own included), and what
// it does.
struct Command {
    const char* name;
    bool needsWindow, isAction;
    std::size_t minWords, maxWords;
    void (*run)(Runner&, const Line&);
};

// clang-format off
const Command kCommands[] = {
    // Before the start, or between restarts.
    {"locale", false, false, 2, 2, [](Runner& r, const Line& line) {
        if (!isKnownLocale(line.words[1].text))
            throw Abort{u"unknown locale "_qs + line.words[1].text};
        r.localeName = line.words[1].text;
        QLocale::setDefault(QLocale(r.localeName));
    }},
    {"setting", false, false, 3, 3, [](Runner& r, const Line& line) {
        const Word& value = line.words[2];
        if (line.words[1].text != u"language" || line.words[1].quoted)
            throw Abort{u"unknown setting "_qs + line.words[1].text};
        if (!value.quoted && value.text != u"absent")
            throw Abort{u"setting language takes a text or absent"_qs};
        r.stand.settings.values.remove(MemorySettings::languageKey());
        if (value.quoted)
            r.stand.settings.values.insert(MemorySettings::languageKey(), value.text);
    }},
    // The default printer the program finds from now on.
    {"printer", false, false, 2, 2, [](Runner& r, const Line& line) {
        const qsizetype kind = line.words[1].quoted ? -1 : u"works refuses none"_qs.split(u' ').indexOf(line.words[1].text);
        if (kind < 0)
            throw Abort{u"printer takes works, refuses or none"_qs};
        r.stand.printer.answer = std::array{Printer::Outcome::Done, Printer::Outcome::Refused, Printer::Outcome::NoPrinter}[std::size_t(kind)];
    }},
    {"start", true, false, 1, 1, [](Runner&, const Line&) {}},
    {"restart", false, false, 1, 1, [](Runner& r, const Line&) { r.stop(), r.start(); }},
    {"expect", true, false, 2, 4, [](Runner& r, const Line& line) { r.expect(line); }},
    // What a person does to the running window.
    {"type", true, true, 3, 3, [](Runner& r, const Line& line) {
        focus(control(r, line, 1), true);
        typeText(r, text(line, 2));
    }},
    {"append", true, true, 3, 3, [](Runner& r, const Line& line) {
        focus(control(r, line, 1), false);
        typeText(r, text(line, 2));
    }},
    // A control that has the focus keeps its caret; one that gets it now
    // has the caret at the end of its text.
    {"key", true, true, 3, 3, [](Runner& r, const Line& line) {
        if (QWidget* w = control(r, line, 1); w != r.window.get() && !w->hasFocus())
            focus(w, false);
        pressKey(r, line.words[2].text);
    }},
    // Through the clipboard with Ctrl+V, or where the platform keeps no
    // clipboard, as the same single change.
    {"paste", true, true, 3, 3, [](Runner& r, const Line& line) {
        QWidget* w = control(r, line, 1);
        focus(w, true);
        QApplication::clipboard()->setText(text(line, 2));
        if (QApplication::clipboard()->text() == text(line, 2))
            QTest::sendKeyEvent(QTest::Click, r.keyTarget(), Qt::Key_V, QString(), Qt::ControlModifier);
        else if (QLineEdit* edit = editOf(w))
            edit->insert(text(line, 2));
        else if (auto* note = qobject_cast<QPlainTextEdit*>(w))
            note->insertPlainText(text(line, 2));
    }},
    {"arrow", true, true, 3, 4, [](Runner& r, const Line& line) {
        const int times = line.words.size() == 4 ? number(line.words[3], "the number of clicks must be a whole number") : 1;
        arrow(r, control(r, line, 1), line.words[2].text, times, {});
    }},
    {"hold", true, true, 4, 4, [](Runner& r, const Line& line) {
        arrow(r, control(r, line, 1), line.words[2].text, 1, text(line, 3));
    }},
    // As a person does: open the list, point at the item, click it.
    {"choose", true, true, 3, 3, [](Runner& r, const Line& line) {
        auto* list = qobject_cast<QComboBox*>(control(r, line, 1));
        const int index = number(line.words[2], "choose needs an item index");
        if (!list || index >= list->count())
            throw Abort{list ? u"%1 has no item %2"_qs.arg(list->objectName()).arg(index) : line.words[1].text + u" is not a list"_qs};
        list->setFocus(Qt::MouseFocusReason);
        list->showPopup();
        QAbstractItemView* view = list->view();
        const QModelIndex item = list->model()->index(index, 0);
        const QPoint at = view->visualRect(item).center();
        QTest::mouseMove(view->viewport(), at);
        view->setCurrentIndex(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        if (view->isVisible())
            list->hidePopup();
    }},
    {"click", true, true, 2, 3, [](Runner& r, const Line& line) {
        click(r, control(r, line, 1), line.words.size() == 3 ? line.words[2].text : QString());
    }},
    // One notch of the mouse wheel, away from the person (up) or towards them.
    {"wheel", true, true, 3, 3, [](Runner& r, const Line& line) {
        QWidget* w = control(r, line, 1);
        if (line.words[2].text != u"up" && line.words[2].text != u"down")
            throw Abort{u"wheel takes up or down"_qs};
        const QPointF at = QRectF(w->rect()).center();
        QWheelEvent e(at, w->mapToGlobal(at), {}, {0, line.words[2].text == u"up" ? 120 : -120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
    }},
    // What a screen reader does: the control's press action, or another
    // action it offers, or "=N" for a value.
    {"press", true, true, 2, 3, [](Runner& r, const Line& line) {
        QWidget* w = control(r, line, 1);
        const QString action = line.words.size() == 3 ? line.words[2].text : QAccessibleActionInterface::pressAction();
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(w);
        if (action.startsWith(u'=') && reader->valueInterface())
            return reader->valueInterface()->setCurrentValue(action.mid(1).toInt());
        if (!reader->actionInterface() || !reader->actionInterface()->actionNames().contains(action))
            throw Abort{u"%1 offers no action %2"_qs.arg(w->objectName(), action)};
        reader->actionInterface()->doAction(action);
        settle(w);
    }},
    {"set", true, true, 3, 3, [](Runner& r, const Line& line) {
        QWidget* w = control(r, line, 1);
        if (auto* box = qobject_cast<TextBox*>(w))
            box->write(text(line, 2));
        else if (auto* note = qobject_cast<NoteBox*>(w))
            note->write(text(line, 2));
        else if (auto* list = qobject_cast<InsertList*>(w))
            list->writeText(text(line, 2));
        else
            throw Abort{w->objectName() + u" is not a text box"_qs};
    }},
};
// clang-format on

}  // namespace

void Runner::execute(const Line& line) {
    const Word& first = line.words[0];
    const auto command = std::ranges::find_if(kCommands, [&](const Command& c) { return first.text == c.name; });
    if (first.quoted || command == std::end(kCommands))
        throw Abort{first.quoted ? u"a line must start with a command"_qs : u"unknown command "_qs + first.text};
    if (command->needsWindow && !window)
        start();
    if (command->isAction && stand.end.ended)
        throw Abort{u"the program has ended; only restart and expect may follow (%1)"_qs.arg(first.text)};
    if (line.words.size() < command->minWords || line.words.size() > command->maxWords)
        throw Abort{u"wrong number of arguments for "_qs + first.text};
    command->run(*this, line);
    if (command->isAction && stand.end.ended)
        window->hide();  // an ended program shows nothing any more
}

}  // namespace kx::scenario
