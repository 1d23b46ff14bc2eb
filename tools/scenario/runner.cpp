#include "runner.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLocale>

#include "controls.h"
#include "kxcalc.h"
#include "person.h"

namespace kx::scenario {

namespace {

QLineEdit* editOf(QWidget* w) {
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e;
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->lineEdit();
    return nullptr;
}

}  // namespace

bool Runner::isKnownLocale(const QString& name) { return name == u"C" || QLocale(name).language() != QLocale::C; }

FileResult Runner::runFile(const QString& path) {
    path_ = path;
    result_ = {};
    localeName_ = initialLocale_;
    stand_.settings.values.clear();
    stand_.forgetRecords();
    started_ = false;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err_ << path << ":0: cannot read the file: " << file.errorString() << Qt::endl;
        result_.runError = true;
        return result_;
    }
    const QString content = QString::fromUtf8(file.readAll());
    std::optional<ParseError> parseError;
    const std::vector<Line> lines = parseScript(content, &parseError);
    if (parseError) {
        err_ << path << ':' << parseError->line << ": " << parseError->why << Qt::endl;
        result_.runError = true;
        return result_;
    }

    QLocale::setDefault(QLocale(localeName_));
    try {
        for (const Line& line : lines) {
            try {
                execute(line);
            } catch (const Abort& a) {
                err_ << path << ':' << line.number << ": " << a.why << Qt::endl;
                result_.runError = true;
                break;
            }
        }
    } catch (...) {
        stop();
        throw;
    }
    stop();
    return result_;
}

void Runner::start() {
    QLocale::setDefault(QLocale(localeName_));
    stand_.forgetRecords();
    window_ = std::make_unique<KXcalc>(stand_.services());
    window_->formLoad();
    window_->show();
    QApplication::setActiveWindow(window_.get());
    QCoreApplication::processEvents();
    started_ = true;
}

void Runner::stop() {
    window_.reset();
    QCoreApplication::processEvents();
}

void Runner::startIfNeeded() {
    if (!started_)
        start();
}

void Runner::requireRunning(const Line& line) {
    startIfNeeded();
    if (stand_.end.ended)
        throw Abort{QStringLiteral("the program has ended; only restart and expect may follow (") + line.words[0].text +
                    u')'};
}

void Runner::wordCount(const Line& line, std::size_t min, std::size_t max) {
    if (line.words.size() < min || line.words.size() > max)
        throw Abort{QStringLiteral("wrong number of arguments for ") + line.words[0].text};
}

QWidget* Runner::controlArg(const Line& line, std::size_t index) {
    if (index >= line.words.size() || line.words[index].quoted)
        throw Abort{QStringLiteral("a control name is missing")};
    const QString& name = line.words[index].text;
    if (name == u"KXcalc")
        return window_.get();
    QWidget* w = window_->control(name);
    if (!w)
        throw Abort{QStringLiteral("unknown control ") + name};
    return w;
}

const QString& Runner::textArg(const Line& line, std::size_t index) {
    if (index >= line.words.size() || !line.words[index].quoted)
        throw Abort{QStringLiteral("a text in double quotes is missing")};
    return line.words[index].text;
}

void Runner::execute(const Line& line) {
    const QString& command = line.words[0].text;
    if (line.words[0].quoted)
        throw Abort{QStringLiteral("a line must start with a command")};
    if (command == u"start" || command == u"locale" || command == u"setting") {
        setUp(line);
    } else if (command == u"expect") {
        startIfNeeded();
        expect(line);
    } else if (command == u"restart") {
        wordCount(line, 1, 1);
        stop();
        start();
    } else {
        act(line);
    }
}

// The commands that set the scene before the window starts.
void Runner::setUp(const Line& line) {
    const QString& command = line.words[0].text;
    if (command == u"start") {
        wordCount(line, 1, 1);
        startIfNeeded();
    } else if (command == u"locale") {
        wordCount(line, 2, 2);
        if (!isKnownLocale(line.words[1].text))
            throw Abort{QStringLiteral("unknown locale ") + line.words[1].text};
        localeName_ = line.words[1].text;
        QLocale::setDefault(QLocale(localeName_));
    } else {
        wordCount(line, 3, 3);
        if (line.words[1].text != u"language" || line.words[1].quoted)
            throw Abort{QStringLiteral("unknown setting ") + line.words[1].text};
        const QString key = MemorySettings::languageKey();
        if (line.words[2].quoted)
            stand_.settings.values.insert(key, line.words[2].text);
        else if (line.words[2].text == u"absent")
            stand_.settings.values.remove(key);
        else
            throw Abort{QStringLiteral("setting language takes a text or absent")};
    }
}

// What a person does to the running window.
void Runner::act(const Line& line) {
    const QString& command = line.words[0].text;
    static const QStringList actions = {u"type"_qs,  u"append"_qs, u"key"_qs,   u"paste"_qs,
                                        u"arrow"_qs, u"choose"_qs, u"click"_qs, u"set"_qs};
    if (!actions.contains(command))
        throw Abort{QStringLiteral("unknown command ") + command};
    requireRunning(line);

    if (command == u"type" || command == u"append") {
        wordCount(line, 3, 3);
        QWidget* w = controlArg(line, 1);
        const QString& text = textArg(line, 2);
        focusForTyping(w, command == u"type");
        person::typeText(window_.get(), text, person::ControlChars::AsKeys, [this] { return stand_.end.ended; });
    } else if (command == u"key") {
        wordCount(line, 3, 3);
        QWidget* w = controlArg(line, 1);
        // A control that has the focus keeps its caret; one that gets it now
        // has the caret at the end of its text.
        if (w != window_.get() && !w->hasFocus())
            focusForTyping(w, false);
        pressKey(person::keyTarget(window_.get()), line.words[2].text);
    } else if (command == u"paste") {
        wordCount(line, 3, 3);
        paste(controlArg(line, 1), textArg(line, 2));
    } else if (command == u"arrow") {
        wordCount(line, 3, 4);
        QWidget* w = controlArg(line, 1);
        int times = 1;
        if (line.words.size() == 4) {
            bool ok = false;
            times = line.words[3].text.toInt(&ok);
            if (!ok || times < 0)
                throw Abort{QStringLiteral("the number of clicks must be a whole number")};
        }
        arrow(w, line.words[2].text, times);
    } else if (command == u"choose") {
        wordCount(line, 3, 3);
        QWidget* w = controlArg(line, 1);
        bool ok = false;
        const int index = line.words[2].text.toInt(&ok);
        if (!ok)
            throw Abort{QStringLiteral("choose needs an item index")};
        choose(w, index);
    } else if (command == u"click") {
        wordCount(line, 2, 2);
        click(controlArg(line, 1));
    } else if (command == u"set") {
        wordCount(line, 3, 3);
        QWidget* w = controlArg(line, 1);
        setText(w, textArg(line, 2));
    }
    if (stand_.end.ended)
        window_->hide();  // an ended program shows nothing any more
}

// --- actions

void Runner::focusForTyping(QWidget* w, bool selectAll) {
    if (w->isHidden() || w->focusPolicy() == Qt::NoFocus)
        throw Abort{QStringLiteral("%1 cannot take the keyboard focus").arg(w->objectName())};
    w->setFocus(Qt::MouseFocusReason);
    if (QLineEdit* edit = editOf(w)) {
        if (selectAll)
            edit->selectAll();
        else
            edit->end(false);
    } else if (auto* note = qobject_cast<QPlainTextEdit*>(w)) {
        if (selectAll)
            note->selectAll();
        else
            note->moveCursor(QTextCursor::End);
    }
}

void Runner::pressKey(QWidget* target, const QString& key) {
    static const QHash<QString, Qt::Key> keys = {
        {u"Backspace"_qs, Qt::Key_Backspace},
        {u"Delete"_qs, Qt::Key_Delete},
        {u"Home"_qs, Qt::Key_Home},
        {u"End"_qs, Qt::Key_End},
        {u"Left"_qs, Qt::Key_Left},
        {u"Right"_qs, Qt::Key_Right},
        {u"Up"_qs, Qt::Key_Up},
        {u"Down"_qs, Qt::Key_Down},
        {u"Tab"_qs, Qt::Key_Tab},
        {u"Return"_qs, Qt::Key_Return},
        {u"Space"_qs, Qt::Key_Space},
    };
    const auto it = keys.find(key);
    if (it == keys.end())
        throw Abort{QStringLiteral("unknown key ") + key};
    person::pressKey(target, *it);
}

void Runner::paste(QWidget* w, const QString& text) {
    focusForTyping(w, true);
    if (person::pasteFromClipboard(person::keyTarget(w), text))
        return;
    // A platform without a clipboard: the same single change.
    if (QLineEdit* edit = editOf(w))
        edit->insert(text);
    else if (auto* note = qobject_cast<QPlainTextEdit*>(w))
        note->insertPlainText(text);
}

void Runner::arrow(QWidget* w, const QString& direction, int times) {
    auto* bar = qobject_cast<ArrowScrollBar*>(w);
    if (!bar)
        throw Abort{w->objectName() + QStringLiteral(" has no arrows")};
    if (direction != u"up" && direction != u"down")
        throw Abort{QStringLiteral("arrow takes up or down")};
    const QPoint at = (direction == u"up" ? bar->upArrowRect() : bar->downArrowRect()).center();
    for (int i = 0; i < times && !stand_.end.ended; ++i)
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, at);
}

void Runner::choose(QWidget* w, int index) {
    auto* list = qobject_cast<QComboBox*>(w);
    if (!list)
        throw Abort{w->objectName() + QStringLiteral(" is not a list")};
    if (index < 0 || index >= list->count())
        throw Abort{QStringLiteral("%1 has no item %2").arg(w->objectName()).arg(index)};
    person::chooseItem(list, index);
}

void Runner::click(QWidget* w) {
    if (w == window_.get())
        throw Abort{QStringLiteral("the window itself cannot be clicked")};
    if (w->isHidden()) {
        // Nobody can click a hidden control; the program itself can press a
        // hidden button or tick a hidden box.
        auto* button = qobject_cast<QAbstractButton*>(w);
        if (!button)
            throw Abort{w->objectName() + QStringLiteral(" is hidden and cannot be clicked")};
        button->click();
        return;
    }
    QPoint at = w->rect().center();
    if (auto* box = qobject_cast<QCheckBox*>(w))
        at = QPoint(8, box->height() / 2);  // on the box itself
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at);
}

void Runner::setText(QWidget* w, const QString& text) {
    if (auto* box = qobject_cast<TextBox*>(w))
        box->write(text);
    else if (auto* note = qobject_cast<NoteBox*>(w))
        note->write(text);
    else if (auto* list = qobject_cast<InsertList*>(w))
        list->writeText(text);
    else
        throw Abort{w->objectName() + QStringLiteral(" is not a text box")};
}

// --- expectations

void Runner::check(const Line& line, const QString& what, const QString& wanted, const QString& seen) {
    if (wanted == seen) {
        ++result_.passed;
        return;
    }
    ++result_.failed;
    out_ << path_ << ':' << line.number << ": expected " << what << ' ' << quoted(wanted) << ", got " << quoted(seen)
         << Qt::endl;
}

void Runner::expect(const Line& line) {
    if (line.words.size() < 2)
        throw Abort{QStringLiteral("expect what?")};
    const QString& subject = line.words[1].text;

    if (subject == u"focus") {
        wordCount(line, 3, 3);
        if (line.words[2].text != u"none")
            controlArg(line, 2);  // an unknown control is an error, not a failed expectation
        QString seen = u"none"_qs;
        for (QWidget* f = QApplication::focusWidget(); f; f = f->parentWidget())
            if (f == window_.get() || window_->control(f->objectName()) == f) {
                seen = f->objectName();
                break;
            }
        check(line, u"focus"_qs, line.words[2].text, seen);
        return;
    }
    if (subject == u"setting") {
        wordCount(line, 4, 4);
        if (line.words[2].text != u"language")
            throw Abort{QStringLiteral("unknown setting ") + line.words[2].text};
        const QString key = MemorySettings::languageKey();
        const bool present = stand_.settings.values.contains(key);
        if (line.words[3].quoted)
            check(line, u"setting language"_qs, line.words[3].text,
                  present ? stand_.settings.values.value(key) : u"absent"_qs);
        else if (line.words[3].text == u"absent")
            check(line, u"setting language"_qs, u"absent"_qs,
                  present ? stand_.settings.values.value(key) : u"absent"_qs);
        else
            throw Abort{QStringLiteral("expect setting language takes a text or absent")};
        return;
    }
    if (subject == u"opened") {
        wordCount(line, 3, 3);
        const QString seen = stand_.browser.opened ? stand_.browser.last : u"none"_qs;
        check(line, u"opened"_qs, line.words[2].text, seen);
        return;
    }

    wordCount(line, 3, 3);
    const QString& wanted = textArg(line, 2);
    if (subject == u"printed") {
        check(line, subject, wanted, QString::number(stand_.printer.count));
        return;
    }
    if (subject == u"errors") {
        check(line, subject, wanted, QString::number(stand_.messages.faults));
        return;
    }
    if (subject == u"ended") {
        check(line, subject, wanted, stand_.end.ended ? u"true"_qs : u"false"_qs);
        return;
    }

    const qsizetype dot = subject.indexOf(u'.');
    const QString name = dot < 0 ? subject : subject.left(dot);
    const QString prop = dot < 0 ? u"text"_qs : subject.mid(dot + 1);
    Line nameOnly{line.number, {Word{name, false}}};
    QWidget* w = controlArg(nameOnly, 0);
    check(line, subject, wanted, property(w, name, prop));
}

QString Runner::property(QWidget* w, const QString& name, const QString& prop) {
    const auto unsupported = [&] { return Abort{QStringLiteral("%1 has no property %2").arg(name, prop)}; };
    auto* list = qobject_cast<QComboBox*>(w);
    if (prop == u"text") {
        if (w == window_.get())
            return w->windowTitle();
        if (list)
            return list->lineEdit()->text();
        if (auto* e = qobject_cast<QLineEdit*>(w))
            return e->text();
        if (auto* n = qobject_cast<QPlainTextEdit*>(w))
            return n->toPlainText();
        if (auto* l = qobject_cast<QLabel*>(w))
            return l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            return b->text();
        if (auto* s = qobject_cast<ArrowScrollBar*>(w))
            return QString::number(s->angle());
        if (qobject_cast<Picture*>(w))
            return QString();
        throw unsupported();
    }
    if (prop == u"value") {
        if (auto* s = qobject_cast<ArrowScrollBar*>(w))
            return QString::number(s->angle());
        if (auto* c = qobject_cast<QCheckBox*>(w))
            return QString::number(c->checkState() == Qt::Checked            ? 1
                                   : c->checkState() == Qt::PartiallyChecked ? 2
                                                                             : 0);
        throw unsupported();
    }
    if (prop == u"index" || prop == u"count") {
        if (!list)
            throw unsupported();
        return QString::number(prop == u"index" ? list->currentIndex() : list->count());
    }
    if (prop.startsWith(u"item:")) {
        bool ok = false;
        const int k = prop.mid(5).toInt(&ok);
        if (!list || !ok)
            throw unsupported();
        return k >= 0 && k < list->count() ? list->itemText(k) : QString();
    }
    if (prop == u"back")
        return person::hex(controlBackColor(w));
    if (prop == u"fore")
        return person::hex(controlForeColor(w));
    if (prop == u"visible") {
        if (w == window_.get())
            return w->isVisible() ? u"true"_qs : u"false"_qs;
        const bool shown =
            window_->isVisible() && w->isVisibleTo(window_.get()) && w->geometry().intersects(window_->rect());
        return shown ? u"true"_qs : u"false"_qs;
    }
    if (prop == u"geometry") {
        const QRect g = w == window_.get() ? QRect(QPoint(0, 0), w->size()) : w->geometry();
        return QStringLiteral("%1 %2 %3 %4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
    }
    if (prop == u"height" && w == window_.get())
        return QString::number(window_->outerHeightTwips());
    throw unsupported();
}

}  // namespace kx::scenario
