// What `expect` compares: a control's properties, what the window told
// the person, what a screen reader reads, the focus and its order.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QMetaEnum>

#include "controls.h"
#include "runner.h"

namespace kx::scenario {

namespace {

using Seen = std::optional<QString>;

// A colour as six hexadecimal digits, RRGGBB.
QString hex(const QColor& c) { return c.name(QColor::HexRgb).mid(1).toUpper(); }

void check(Runner& r, const Line& line, const QString& what, const QString& wanted, const QString& seen) {
    if (wanted == seen) {
        ++r.result.passed;
        return;
    }
    ++r.result.failed;
    r.out << r.path << ':' << line.number << ": expected " << what << ' ' << quoted(wanted) << ", got " << quoted(seen)
          << Qt::endl;
}

// The focus once round the window with Tab from where it is, then back with
// Shift+Tab; the way back is named only where it is not the way there in reverse.
QString tabOrder(const Runner& r) {
    const auto focused = [] {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : u"none"_qs;
    };
    QStringList there{focused()}, back;
    for (int i = 0; i < 200 && (there.size() == 1 || there.last() != there.first()); ++i) {
        r.sendKey(Qt::Key_Tab);
        there << focused();
    }
    there.removeLast();
    for (qsizetype i = 0; i < there.size(); ++i) {
        r.sendKey(Qt::Key_Tab, Qt::ShiftModifier);
        back.prepend(focused());
    }
    const QString order = there.join(u' ');
    return back.join(u' ') == order ? order : order + u" | back: "_qs + back.join(u' ');
}

// The shown controls a person reaches with Tab, and the link, that a screen
// reader would announce without a name.
QString unnamed(const Runner& r) {
    QStringList names;
    for (QWidget* c : r.window->findChildren<QWidget*>())
        if (((c->focusPolicy() & Qt::TabFocus) || qobject_cast<LinkLabel*>(c)) && c->isVisibleTo(r.window.get()) &&
            QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).trimmed().isEmpty())
            names << (c->objectName().isEmpty() ? c->parentWidget()->objectName() + u'/' + c->metaObject()->className()
                                                : c->objectName());
    return names.isEmpty() ? u"none"_qs : names.join(u' ');
}

// What `expect` compares besides a control: the words that name it, the word
// that may stand instead of a quoted text ("none", "absent"; empty: a text
// only; "control": a control's name or none), and what is seen.
struct Subject {
    const char* name;
    const char* word;
    QString (*seen)(Runner&);
};
// clang-format off
const Subject kSubjects[] = {
    {"focus", "control", [](Runner& r) {
        for (QWidget* f = QApplication::focusWidget(); f; f = f->parentWidget())
            if (f == r.window.get() || r.window->control(f->objectName()) == f)
                return f->objectName();
        return u"none"_qs;
    }},
    {"tab order", "", [](Runner& r) { return tabOrder(r); }},
    {"unnamed", "none", [](Runner& r) { return unnamed(r); }},
    {"setting language", "absent", [](Runner& r) {
        return r.stand.settings.values.value(MemorySettings::languageKey(), u"absent"_qs);
    }},
    {"opened", "none", [](Runner& r) { return r.stand.browser.opened.isNull() ? u"none"_qs : r.stand.browser.opened; }},
    {"printed", "", [](Runner& r) { return QString::number(r.stand.printer.count); }},
    {"errors", "", [](Runner& r) { return QString::number(r.stand.messages.faults.size()); }},
    {"ended", "", [](Runner& r) { return r.stand.end.ended ? u"true"_qs : u"false"_qs; }},
    // What the person was told last: a notice, a calculation fault.
    {"notice", "none", [](Runner& r) {
        return r.stand.messages.notices.value(r.stand.messages.notices.size() - 1, u"none"_qs);
    }},
    {"fault", "none", [](Runner& r) { return r.stand.messages.faults.value(r.stand.messages.faults.size() - 1, u"none"_qs); }},
};

// clang-format on

// A control's property as `expect CONTROL.PROPERTY` reads it; nothing where
// the control has no such property.
Seen property(const Runner& r, QWidget* w, const QString& name) {
    auto* list = qobject_cast<QComboBox*>(w);
    auto* bar = qobject_cast<ArrowScrollBar*>(w);
    auto* box = qobject_cast<QCheckBox*>(w);
    if (name == u"text") {
        if (w == r.window.get())
            return w->windowTitle();
        if (QLineEdit* e = editOf(w))
            return e->text();
        if (auto* n = qobject_cast<QPlainTextEdit*>(w))
            return n->toPlainText();
        if (auto* l = qobject_cast<QLabel*>(w))
            return l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            return b->text();
        if (bar)
            return QString::number(bar->angle());
        return qobject_cast<Picture*>(w) ? Seen(QString()) : std::nullopt;
    }
    if (name == u"value" && (bar || box))
        return QString::number(bar ? bar->angle() : box->checkState() == Qt::Checked ? 1 : box->checkState() ? 2 : 0);
    if (name == u"index" && list)
        return QString::number(list->currentIndex());
    if (name == u"count" && list)
        return QString::number(list->count());
    bool ok = false;
    if (const int k = name.mid(5).toInt(&ok); name.startsWith(u"item:") && ok && list)
        return k >= 0 && k < list->count() ? list->itemText(k) : QString();
    if (name == u"back" || name == u"fore")
        return hex(name == u"back" ? controlBackColor(w) : controlForeColor(w));
    if (name == u"visible") {
        const QWidget* window = r.window.get();
        const bool shown =
            w == window ? w->isVisible()
                        : window->isVisible() && w->isVisibleTo(window) && w->geometry().intersects(window->rect());
        return shown ? u"true"_qs : u"false"_qs;
    }
    if (name == u"geometry") {
        const QRect g = w == r.window.get() ? QRect(QPoint(0, 0), w->size()) : w->geometry();
        return u"%1 %2 %3 %4"_qs.arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
    }
    if (name == u"height" && w == r.window.get())
        return QString::number(r.window->outerHeightTwips());
    // What a screen reader reads: its texts (Name, Description, Value, Help,
    // Accelerator), the Role, the Actions offered, the Keys that press the
    // control, and a value's Range: bottom, top, step and the value itself.
    if (!name.startsWith(u"reader:"))
        return std::nullopt;
    const QString what = name.mid(7);
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(w);
    QAccessibleActionInterface* actions = reader->actionInterface();
    QAccessibleValueInterface* value = reader->valueInterface();
    if (const qsizetype text = u"Name Description Value Help Accelerator"_qs.split(u' ').indexOf(what); text >= 0)
        return reader->text(QAccessible::Text(text));
    if (what == u"Role")
        return QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(reader->role()));
    if (what == u"Actions" || what == u"Keys")
        return !actions ? QString()
               : what == u"Actions"
                   ? actions->actionNames().join(u", "_qs)
                   : actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()).join(u", "_qs);
    if (what == u"Range" && value)
        return u"%1 %2 %3 %4"_qs.arg(value->minimumValue().toString(), value->maximumValue().toString(),
                                     value->minimumStepSize().toString(), value->currentValue().toString());
    return std::nullopt;
}

}  // namespace

void Runner::expect(const Line& line) {
    const Word& first = line.words[1];
    for (const Subject& s : kSubjects) {
        const QStringList name = QString::fromLatin1(s.name).split(u' ');
        if (first.quoted || first.text != name[0])
            continue;
        const std::size_t last = std::size_t(name.size()) + 1;
        if (line.words.size() != last + 1)
            throw Abort{u"wrong number of arguments for expect"_qs};
        for (qsizetype k = 1; k < name.size(); ++k)
            if (line.words[std::size_t(k) + 1].text != name[k])
                throw Abort{u"unknown %1 %2"_qs.arg(name[0], line.words[std::size_t(k) + 1].text)};
        const Word& wanted = line.words[last];
        const QLatin1StringView word(s.word);
        if (word == u"control" && (wanted.quoted || wanted.text != u"none"))
            control(wanted.text);  // an unknown control is an error, not a failed expectation
        else if (!wanted.quoted && (word.isEmpty() || wanted.text != word))
            throw Abort{u"expect %1 takes a text in double quotes%2"_qs.arg(
                name.join(u' '), word.isEmpty() ? QString() : u" or "_qs + word)};
        check(*this, line, name.join(u' '), wanted.text, s.seen(*this));
        return;
    }

    // CONTROL "TEXT" or CONTROL.PROPERTY "TEXT"
    if (line.words.size() != 3)
        throw Abort{u"wrong number of arguments for expect"_qs};
    const qsizetype dot = first.text.indexOf(u'.');
    const QString name = first.text.left(dot), wantedProperty = dot < 0 ? u"text"_qs : first.text.mid(dot + 1);
    QWidget* w = control(name);
    if (!line.words[2].quoted)
        throw Abort{u"a text in double quotes is missing"_qs};
    if (const Seen seen = property(*this, w, wantedProperty))
        return check(*this, line, first.text, line.words[2].text, *seen);
    throw Abort{u"%1 has no property %2"_qs.arg(name, wantedProperty)};
}

}  // namespace kx::scenario
