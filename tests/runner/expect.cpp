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
// A colour as six hexadecimal digits, RRGGBB.
QString hex(const QColor& c) { return c.name(QColor::HexRgb).mid(1).toUpper(); }

}  // namespace

void Runner::check(const Line& line, const QString& what, const QString& wanted, const QString& seen) {
    if (wanted == seen) {
        ++result_.passed;
        return;
    }
    ++result_.failed;
    out_ << path_ << ':' << line.number << ": expected " << what << ' ' << quoted(wanted) << ", got " << quoted(seen)
         << Qt::endl;
}

// The focus once round the window with Tab from where it is, then back with
// Shift+Tab; the way back is named only where it is not the way there in reverse.
QString Runner::tabOrder() {
    const auto focused = [] {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : u"none"_qs;
    };
    QStringList there{focused()}, back;
    for (int i = 0; i < 200 && (there.size() == 1 || there.last() != there.first()); ++i) {
        sendKey(Qt::Key_Tab);
        there << focused();
    }
    there.removeLast();
    for (qsizetype i = 0; i < there.size(); ++i) {
        sendKey(Qt::Key_Tab, Qt::ShiftModifier);
        back.prepend(focused());
    }
    const QString order = there.join(u' ');
    return back.join(u' ') == order ? order : order + u" | back: "_qs + back.join(u' ');
}

// The shown controls a person reaches with Tab, and the link, that a screen
// reader would announce without a name.
QString Runner::unnamed() const {
    QStringList names;
    for (QWidget* c : window_->findChildren<QWidget*>())
        if (((c->focusPolicy() & Qt::TabFocus) || qobject_cast<LinkLabel*>(c)) && c->isVisibleTo(window_.get()) &&
            QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).trimmed().isEmpty())
            names << (c->objectName().isEmpty() ? c->parentWidget()->objectName() + u'/' + c->metaObject()->className()
                                                : c->objectName());
    return names.isEmpty() ? u"none"_qs : names.join(u' ');
}

// clang-format off
const Runner::Subject Runner::kSubjects[] = {
    {"focus", "control", [](Runner& r) {
        for (QWidget* f = QApplication::focusWidget(); f; f = f->parentWidget())
            if (f == r.window_.get() || r.window_->control(f->objectName()) == f)
                return f->objectName();
        return u"none"_qs;
    }},
    {"tab order", "", [](Runner& r) { return r.tabOrder(); }},
    {"unnamed", "none", [](Runner& r) { return r.unnamed(); }},
    {"setting language", "absent", [](Runner& r) {
        return r.stand_.settings.values.value(MemorySettings::languageKey(), u"absent"_qs);
    }},
    {"opened", "none", [](Runner& r) { return r.stand_.browser.opened ? r.stand_.browser.last : u"none"_qs; }},
    {"printed", "", [](Runner& r) { return QString::number(r.stand_.printer.count); }},
    {"errors", "", [](Runner& r) { return QString::number(r.stand_.messages.faults); }},
    {"ended", "", [](Runner& r) { return r.stand_.end.ended ? u"true"_qs : u"false"_qs; }},
    // What the person was told last: a notice, a calculation fault.
    {"notice", "none", [](Runner& r) {
        return r.stand_.messages.notices.isEmpty() ? u"none"_qs : r.stand_.messages.notices.last();
    }},
    {"fault", "none", [](Runner& r) { return r.stand_.messages.faults ? r.stand_.messages.lastFault : u"none"_qs; }},
};

const Runner::Property Runner::kProperties[] = {
    {"text", [](const Runner& r, QWidget* w, const QString&) -> std::optional<QString> {
        if (w == r.window_.get())
            return w->windowTitle();
        if (QLineEdit* e = editOf(w))
            return e->text();
        if (auto* n = qobject_cast<QPlainTextEdit*>(w))
            return n->toPlainText();
        if (auto* l = qobject_cast<QLabel*>(w))
            return l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            return b->text();
        if (auto* s = qobject_cast<ArrowScrollBar*>(w))
            return QString::number(s->angle());
        return qobject_cast<Picture*>(w) ? std::optional(QString()) : std::nullopt;
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
    {"back", [](const Runner&, QWidget* w, const QString&) -> std::optional<QString> { return hex(controlBackColor(w)); }},
    {"fore", [](const Runner&, QWidget* w, const QString&) -> std::optional<QString> { return hex(controlForeColor(w)); }},
    {"visible", [](const Runner& r, QWidget* w, const QString&) -> std::optional<QString> {
        const QWidget* window = r.window_.get();
        const bool shown = w == window ? w->isVisible()
                                       : window->isVisible() && w->isVisibleTo(window) && w->geometry().intersects(window->rect());
        return shown ? u"true"_qs : u"false"_qs;
    }},
    {"geometry", [](const Runner& r, QWidget* w, const QString&) -> std::optional<QString> {
        const QRect g = w == r.window_.get() ? QRect(QPoint(0, 0), w->size()) : w->geometry();
        return u"%1 %2 %3 %4"_qs.arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
    }},
    {"height", [](const Runner& r, QWidget* w, const QString&) -> std::optional<QString> {
        return w == r.window_.get() ? std::optional(QString::number(r.window_->outerHeightTwips())) : std::nullopt;
    }},
    // What a screen reader reads: its texts (Name, Description, Value,
    // Accelerator), the Role, the Actions offered, the Keys that press the
    // control, and a value's Range: bottom, top, step and the value itself.
    {"reader:", [](const Runner&, QWidget* w, const QString& what) -> std::optional<QString> {
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(w);
        QAccessibleActionInterface* actions = reader->actionInterface();
        QAccessibleValueInterface* value = reader->valueInterface();
        const qsizetype text = QStringList{u"Name"_qs, u"Description"_qs, u"Value"_qs, u"Help"_qs, u"Accelerator"_qs}.indexOf(what);
        if (text >= 0)
            return reader->text(QAccessible::Text(text));
        if (what == u"Role")
            return QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(reader->role()));
        if (what == u"Actions")
            return actions ? actions->actionNames().join(u", "_qs) : QString();
        if (what == u"Keys")
            return actions ? actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()).join(u", "_qs) : QString();
        if (what == u"Range" && value)
            return u"%1 %2 %3 %4"_qs.arg(value->minimumValue().toString(), value->maximumValue().toString(),
                                         value->minimumStepSize().toString(), value->currentValue().toString());
        return std::nullopt;
    }},
};
// clang-format on

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
            control(line, last);  // an unknown control is an error, not a failed expectation
        else if (!wanted.quoted && (word.isEmpty() || wanted.text != word))
            throw Abort{u"expect %1 takes a text in double quotes%2"_qs.arg(
                name.join(u' '), word.isEmpty() ? QString() : u" or "_qs + word)};
        check(line, name.join(u' '), wanted.text, s.seen(*this));
        return;
    }

    // CONTROL "TEXT" or CONTROL.PROPERTY "TEXT"
    if (line.words.size() != 3)
        throw Abort{u"wrong number of arguments for expect"_qs};
    const qsizetype dot = first.text.indexOf(u'.');
    const QString name = first.text.left(dot), property = dot < 0 ? u"text"_qs : first.text.mid(dot + 1);
    QWidget* w = control(name);
    const QString& wanted = text(line, 2);
    for (const Property& p : kProperties) {
        const QLatin1StringView pname(p.name);
        if (!(pname.endsWith(u':') ? property.startsWith(pname) : property == pname))
            continue;
        if (const std::optional<QString> seen = p.read(*this, w, property.mid(pname.size())))
            return check(line, first.text, wanted, *seen);
        break;
    }
    throw Abort{u"%1 has no property %2"_qs.arg(name, property)};
}

}  // namespace kx::scenario
