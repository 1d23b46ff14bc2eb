#include "runner.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLocale>
#include <algorithm>

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

// clang-format off
const Runner::Command Runner::kCommands[] = {
    // Before the start (or between restarts).
    {"locale", Needs::Nothing, 2, 2, [](Runner& r, const Line& line) {
        if (!isKnownLocale(line.words[1].text))
            throw Abort{QStringLiteral("unknown locale ") + line.words[1].text};
        r.localeName_ = line.words[1].text;
        QLocale::setDefault(QLocale(r.localeName_));
    }},
    {"setting", Needs::Nothing, 3, 3, [](Runner& r, const Line& line) {
        if (line.words[1].text != u"language" || line.words[1].quoted)
            throw Abort{QStringLiteral("unknown setting ") + line.words[1].text};
        const QString key = MemorySettings::languageKey();
        if (line.words[2].quoted)
            r.stand_.settings.values.insert(key, line.words[2].text);
        else if (line.words[2].text == u"absent")
            r.stand_.settings.values.remove(key);
        else
            throw Abort{QStringLiteral("setting language takes a text or absent")};
    }},
    // The default printer the program finds from now on.
    {"printer", Needs::Nothing, 2, 2, [](Runner& r, const Line& line) {
        using Outcome = Printer::Outcome;
        const std::pair<const char*, Outcome> kinds[] = {
            {"works", Outcome::Done}, {"refuses", Outcome::Refused}, {"none", Outcome::NoPrinter}};
        const auto kind = std::ranges::find(kinds, line.words[1].text,
                                            [](const auto& k) { return QLatin1StringView(k.first); });
        if (kind == std::end(kinds) || line.words[1].quoted)
            throw Abort{QStringLiteral("printer takes works, refuses or none")};
        r.stand_.printer.answer = kind->second;
    }},
    {"start", Needs::Window, 1, 1, [](Runner&, const Line&) {}},
    {"restart", Needs::Nothing, 1, 1, [](Runner& r, const Line&) {
        r.stop();
        r.start();
    }},
    {"expect", Needs::Window, 2, 4, [](Runner& r, const Line& line) { r.expect(line); }},
    // What a person does to the running window.
    {"type", Needs::RunningProgram, 3, 3, [](Runner& r, const Line& line) { r.type(line, true); }},
    {"append", Needs::RunningProgram, 3, 3, [](Runner& r, const Line& line) { r.type(line, false); }},
    {"key", Needs::RunningProgram, 3, 3, [](Runner& r, const Line& line) {
        QWidget* w = r.controlArg(line, 1);
        // A control that has the focus keeps its caret; one that gets it now
        // has the caret at the end of its text.
        if (w != r.window_.get() && !w->hasFocus())
            r.focusForTyping(w, false);
        r.pressKey(person::keyTarget(r.window_.get()), line.words[2].text);
    }},
    {"paste", Needs::RunningProgram, 3, 3, [](Runner& r, const Line& line) {
        r.paste(r.controlArg(line, 1), r.textArg(line, 2));
    }},
    {"arrow", Needs::RunningProgram, 3, 4, [](Runner& r, const Line& line) {
        bool ok = true;
        const int times = line.words.size() == 4 ? line.words[3].text.toInt(&ok) : 1;
        if (!ok || times < 0)
            throw Abort{QStringLiteral("the number of clicks must be a whole number")};
        r.arrow(r.controlArg(line, 1), line.words[2].text, times);
    }},
    {"choose", Needs::RunningProgram, 3, 3, [](Runner& r, const Line& line) {
        QWidget* w = r.controlArg(line, 1);
        bool ok = false;
        const int index = line.words[2].text.toInt(&ok);
        if (!ok)
            throw Abort{QStringLiteral("choose needs an item index")};
        r.choose(w, index);
    }},
    {"click", Needs::RunningProgram, 2, 2, [](Runner& r, const Line& line) { r.click(r.controlArg(line, 1)); }},
    {"set", Needs::RunningProgram, 3, 3, [](Runner& r, const Line& line) {
        r.setText(r.controlArg(line, 1), r.textArg(line, 2));
    }},
};
// clang-format on

void Runner::execute(const Line& line) {
    const Word& first = line.words[0];
    if (first.quoted)
        throw Abort{QStringLiteral("a line must start with a command")};
    const auto command = std::ranges::find_if(kCommands, [&](const Command& c) { return first.text == c.name; });
    if (command == std::end(kCommands))
        throw Abort{QStringLiteral("unknown command ") + first.text};
    if (command->needs != Needs::Nothing)
        startIfNeeded();
    if (command->needs == Needs::RunningProgram && stand_.end.ended)
        throw Abort{QStringLiteral("the program has ended; only restart and expect may follow (") + first.text + u')'};
    wordCount(line, command->minWords, command->maxWords);
    command->run(*this, line);
    if (command->needs == Needs::RunningProgram && stand_.end.ended)
        window_->hide();  // an ended program shows nothing any more
}

// --- actions

// type and append: the text key by key into the control, over its whole text
// or after it.
void Runner::type(const Line& line, bool overAll) {
    focusForTyping(controlArg(line, 1), overAll);
    person::typeText(window_.get(), textArg(line, 2), person::ControlChars::AsKeys,
                     [this] { return stand_.end.ended; });
}

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

namespace {
QString lastOr(const QStringList& texts, const QString& none) { return texts.isEmpty() ? none : texts.last(); }
}  // namespace

// clang-format off
const Runner::Subject Runner::kSubjects[] = {
    {"focus", Wanted::ControlOrNone, [](const Runner& r) {
        for (QWidget* f = QApplication::focusWidget(); f; f = f->parentWidget())
            if (f == r.window_.get() || r.window_->control(f->objectName()) == f)
                return f->objectName();
        return u"none"_qs;
    }},
    {"setting language", Wanted::TextOrAbsent, [](const Runner& r) {
        return r.stand_.settings.values.value(MemorySettings::languageKey(), u"absent"_qs);
    }},
    {"opened", Wanted::TextOrNone, [](const Runner& r) {
        return r.stand_.browser.opened ? r.stand_.browser.last : u"none"_qs;
    }},
    {"printed", Wanted::Text, [](const Runner& r) { return QString::number(r.stand_.printer.count); }},
    {"errors", Wanted::Text, [](const Runner& r) { return QString::number(r.stand_.messages.faults); }},
    {"ended", Wanted::Text, [](const Runner& r) { return r.stand_.end.ended ? u"true"_qs : u"false"_qs; }},
    // What the person was told last: a notice, a calculation fault.
    {"notice", Wanted::TextOrNone, [](const Runner& r) { return lastOr(r.stand_.messages.notices, u"none"_qs); }},
    {"fault", Wanted::TextOrNone, [](const Runner& r) {
        return r.stand_.messages.faults ? r.stand_.messages.lastFault : u"none"_qs;
    }},
};

const Runner::Property Runner::kProperties[] = {
    {"text", [](const Runner& r, QWidget* w, const QString&) -> std::optional<QString> {
        if (w == r.window_.get())
            return w->windowTitle();
        if (auto* list = qobject_cast<QComboBox*>(w))
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
        return std::nullopt;
    }},
    {"value", [](const Runner&, QWidget* w, const QString&) -> std::optional<QString> {
        if (auto* s = qobject_cast<ArrowScrollBar*>(w))
            return QString::number(s->angle());
        if (auto* c = qobject_cast<QCheckBox*>(w))
            return QString::number(c->checkState() == Qt::Checked ? 1 : c->checkState() == Qt::PartiallyChecked ? 2 : 0);
        return std::nullopt;
    }},
    {"index", [](const Runner&, QWidget* w, const QString&) -> std::optional<QString> {
        auto* list = qobject_cast<QComboBox*>(w);
        return list ? std::optional(QString::number(list->currentIndex())) : std::nullopt;
    }},
    {"count", [](const Runner&, QWidget* w, const QString&) -> std::optional<QString> {
        auto* list = qobject_cast<QComboBox*>(w);
        return list ? std::optional(QString::number(list->count())) : std::nullopt;
    }},
    {"item:", [](const Runner&, QWidget* w, const QString& argument) -> std::optional<QString> {
        auto* list = qobject_cast<QComboBox*>(w);
        bool ok = false;
        const int k = argument.toInt(&ok);
        if (!list || !ok)
            return std::nullopt;
        return k >= 0 && k < list->count() ? list->itemText(k) : QString();
    }},
    {"back", [](const Runner&, QWidget* w, const QString&) -> std::optional<QString> {
        return person::hex(controlBackColor(w));
    }},
    {"fore", [](const Runner&, QWidget* w, const QString&) -> std::optional<QString> {
        return person::hex(controlForeColor(w));
    }},
    {"visible", [](const Runner& r, QWidget* w, const QString&) -> std::optional<QString> {
        const QWidget* window = r.window_.get();
        const bool shown = w == window ? w->isVisible()
                                       : window->isVisible() && w->isVisibleTo(window) &&
                                             w->geometry().intersects(window->rect());
        return shown ? u"true"_qs : u"false"_qs;
    }},
    {"geometry", [](const Runner& r, QWidget* w, const QString&) -> std::optional<QString> {
        const QRect g = w == r.window_.get() ? QRect(QPoint(0, 0), w->size()) : w->geometry();
        return QStringLiteral("%1 %2 %3 %4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
    }},
    {"height", [](const Runner& r, QWidget* w, const QString&) -> std::optional<QString> {
        if (w != r.window_.get())
            return std::nullopt;
        return QString::number(r.window_->outerHeightTwips());
    }},
};
// clang-format on

void Runner::expect(const Line& line) {
    const Word& first = line.words[1];
    for (const Subject& s : kSubjects) {
        const QStringList name = QString::fromLatin1(s.name).split(u' ');
        if (first.quoted || first.text != name[0])
            continue;
        wordCount(line, std::size_t(name.size()) + 2, std::size_t(name.size()) + 2);
        for (qsizetype k = 1; k < name.size(); ++k)
            if (line.words[std::size_t(k) + 1].text != name[k])
                throw Abort{QStringLiteral("unknown %1 %2").arg(name[0], line.words[std::size_t(k) + 1].text)};
        const std::size_t last = line.words.size() - 1;
        const Word& wanted = line.words[last];
        const char* word = s.wanted == Wanted::TextOrAbsent ? "absent" : "none";
        if (s.wanted == Wanted::ControlOrNone) {
            if (wanted.text != u"none" || wanted.quoted)
                controlArg(line, last);  // an unknown control is an error, not a failed expectation
        } else if (!wanted.quoted && (s.wanted == Wanted::Text || wanted.text != QLatin1StringView(word))) {
            throw Abort{QStringLiteral("expect %1 takes a text in double quotes%2")
                            .arg(name.join(u' '), s.wanted == Wanted::Text ? QString() : u" or "_qs + word)};
        }
        check(line, name.join(u' '), wanted.text, s.seen(*this));
        return;
    }

    // CONTROL "TEXT" or CONTROL.PROPERTY "TEXT"
    wordCount(line, 3, 3);
    const QString& wanted = textArg(line, 2);
    const qsizetype dot = first.text.indexOf(u'.');
    const QString name = dot < 0 ? first.text : first.text.left(dot);
    const QString prop = dot < 0 ? u"text"_qs : first.text.mid(dot + 1);
    QWidget* w = controlArg(Line{line.number, {Word{name, false}}}, 0);
    std::optional<QString> seen;
    for (const Property& p : kProperties) {
        const QLatin1StringView pname(p.name);
        if (pname.endsWith(u':') ? prop.startsWith(pname) : prop == pname) {
            seen = p.read(*this, w, prop.mid(pname.size()));
            break;
        }
    }
    if (!seen)
        throw Abort{QStringLiteral("%1 has no property %2").arg(name, prop)};
    check(line, first.text, wanted, *seen);
}

}  // namespace kx::scenario
