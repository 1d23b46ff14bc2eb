#include "controls.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOption>
#include <QStylePainter>
#include <algorithm>

namespace kx {

namespace {
bool isActivationKey(int key) { return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter; }

// Runs `activated` for a left click inside its control, or Space or Return
// while the control has the focus. A click elsewhere ends there, as on a
// button; other keys go on to the control.
class ButtonKeys : public QObject {
public:
    ButtonKeys(QWidget* control, std::function<void()> activated) : QObject(control), activated_(std::move(activated)) {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        const auto* w = static_cast<QWidget*>(watched);
        if (!w->isEnabled())
            return false;
        if (e->type() == QEvent::MouseButtonRelease) {
            const auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() == Qt::LeftButton && w->rect().contains(m->position().toPoint()))
                activated_();
        } else if (e->type() == QEvent::KeyPress && isActivationKey(static_cast<QKeyEvent*>(e)->key())) {
            activated_();
        } else {
            return false;
        }
        e->accept();
        return true;
    }

private:
    std::function<void()> activated_;
};
}  // namespace

void actAsButton(QWidget* control, std::function<void()> activated) { new ButtonKeys(control, std::move(activated)); }

void setControlColors(QWidget* w, const QColor& back, const QColor& fore) {
    setControlBackColor(w, back);
    setControlForeColor(w, fore);
}

void setControlBackColor(QWidget* w, const QColor& back) {
    if (controlBackColor(w) == back && w->testAttribute(Qt::WA_SetPalette))
        return;  // a palette change repolishes the control: skip it when nothing changes
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            p.setColor(group, role, back);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setControlForeColor(QWidget* w, const QColor& fore) {
    if (controlForeColor(w) == fore && w->testAttribute(Qt::WA_SetPalette))
        return;
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            p.setColor(group, role, fore);
    w->setPalette(p);
}

QColor controlBackColor(const QWidget* w) {
    const auto role = qobject_cast<const QLabel*>(w) || qobject_cast<const QCheckBox*>(w) ? QPalette::Window
                      : qobject_cast<const QAbstractButton*>(w)                           ? QPalette::Button
                                                                                          : QPalette::Base;
    return w->palette().color(QPalette::Active, role);
}

QColor controlForeColor(const QWidget* w) {
    const auto role = qobject_cast<const QLabel*>(w) || qobject_cast<const QCheckBox*>(w) ? QPalette::WindowText
                      : qobject_cast<const QAbstractButton*>(w)                           ? QPalette::ButtonText
                                                                                          : QPalette::Text;
    return w->palette().color(QPalette::Active, role);
}

// --- TextBox

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {}

void TextBox::write(const QString& text) {
    if (text != this->text())
        setText(text);
}

// --- NoteBox

NoteBox::NoteBox(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    document()->setDocumentMargin(1);
}

void NoteBox::write(const QString& text) {
    if (text != toPlainText())
        setPlainText(text);
}

// --- ArrowScrollBar

ArrowScrollBar::ArrowScrollBar(int topValue, int bottomValue, QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    setRange(-topValue, -bottomValue);
    setSingleStep(1);
    setPageStep(1);
    setValue(0);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::valueChanged, this, &ArrowScrollBar::changed);
}

void ArrowScrollBar::setAngle(int v) {
    // QScrollBar clamps silently; the handlers never write outside the range.
    setValue(-v);
}

QRect ArrowScrollBar::upArrowRect() const { return {0, 0, width(), height() / 2}; }

QRect ArrowScrollBar::downArrowRect() const {
    const int top = height() / 2;
    return {0, top, width(), height() - top};
}

void ArrowScrollBar::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    const auto drawArrowButton = [&](const QRect& r, bool down, bool enabled, QStyle::PrimitiveElement arrow) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = r;
        button.state &= ~QStyle::State_HasFocus;
        button.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
        if (!enabled)
            button.state &= ~QStyle::State_Enabled;
        p.drawPrimitive(QStyle::PE_PanelButtonCommand, button);
        QStyleOption a = button;
        const int m = std::max(2, r.height() / 5);
        a.rect = r.adjusted(m + 1, m, -m - 1, -m);
        if (down)
            a.rect.translate(1, 1);
        p.drawPrimitive(arrow, a);
    };
    drawArrowButton(upArrowRect(), pressed_ == Pressed::Up, angle() < topValue(), QStyle::PE_IndicatorArrowUp);
    drawArrowButton(downArrowRect(), pressed_ == Pressed::Down, angle() > bottomValue(), QStyle::PE_IndicatorArrowDown);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(2, 2, -2, -2);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void ArrowScrollBar::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        e->ignore();
        return;
    }
    e->accept();
    if (focusPolicy() & Qt::ClickFocus)
        setFocus(Qt::MouseFocusReason);
    const bool up = upArrowRect().contains(e->position().toPoint());
    pressed_ = up ? Pressed::Up : Pressed::Down;
    // The stored value is negated, so the top arrow steps it down.
    const SliderAction action = up ? SliderSingleStepSub : SliderSingleStepAdd;
    setRepeatAction(action);
    triggerAction(action);
    update();
}

void ArrowScrollBar::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    setRepeatAction(SliderNoAction);
    pressed_ = Pressed::None;
    update();
}

void ArrowScrollBar::mouseMoveEvent(QMouseEvent* e) { e->accept(); }

// --- InsertList

// The toolkit's editable drop-down makes its drop-down list, a window of its
// own, and a completer as soon as it becomes editable or gets a font. Neither
// is needed before the list first drops down, which makes it then.
InsertList::InsertList(QWidget* parent) : QComboBox(parent) {
    auto* edit = new QLineEdit(this);
    // A completer of the edit's own keeps the list from making its default
    // one; the edit then lets go of it, and it stays unused.
    edit->setCompleter(new QCompleter(edit));
    setLineEdit(edit);
    edit->setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    // activated() covers every choice a person makes from the list (mouse,
    // arrow keys, wheel), also of the item already shown.
    connect(this, &QComboBox::activated, this, &InsertList::clicked);
    // textEdited() comes from typing only, never from a program write.
    connect(lineEdit(), &QLineEdit::textEdited, this, &InsertList::edited);
}

void InsertList::clearList() {
    clear();
    lineEdit()->clear();  // an emptied list shows nothing, whatever was typed
}

void InsertList::appendItem(const QString& text) {
    const bool noneSelected = currentIndex() < 0;
    const QString shown = lineEdit()->text();
    addItem(text);
    if (noneSelected && currentIndex() >= 0) {
        // The toolkit selects the first item of a list that was empty.
        setCurrentIndex(-1);
        lineEdit()->setText(shown);
    }
}

void InsertList::setSelectedIndex(int index) {
    if (index != currentIndex()) {
        setCurrentIndex(index);
        emit clicked();
    } else if (index >= 0 && lineEdit()->text() != itemText(index)) {
        // Typed text goes, even though the selection stays.
        lineEdit()->setText(itemText(index));
    }
}

QString InsertList::shownText() const { return lineEdit()->text(); }

void InsertList::showPopup() {
    if (!droppedDown_) {
        // The drop-down list takes the list's font, as the toolkit would have
        // given it on every change of font.
        droppedDown_ = true;
        view()->window()->setFont(font());
        view()->doItemsLayout();
    }
    QComboBox::showPopup();
}

void InsertList::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange && !droppedDown_)
        return QWidget::changeEvent(e);
    QComboBox::changeEvent(e);
}

void InsertList::writeText(const QString& text) {
    if (text == lineEdit()->text())
        return;
    lineEdit()->setText(text);
    emit edited();
}

// --- context menus and copy keys

void offerContextMenu(QWidget* control) {
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* keys = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), control, nullptr, nullptr, Qt::WidgetShortcut);
    QObject::connect(keys, &QShortcut::activated, control,
                     [control] { emit control->customContextMenuRequested(control->rect().center()); });
}

CopyKeys::CopyKeys(QWidget* window) : QObject(window) {
    auto* keys = new QShortcut(QKeySequence::Copy, window);
    connect(keys, &QShortcut::activated, this, &CopyKeys::activated);
    for (QWidget* w : window->findChildren<QWidget*>())
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QPlainTextEdit*>(w))
            w->installEventFilter(this);
}

bool CopyKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride || !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
        return false;
    // A text control claims the copy keys whether or not it has anything to
    // copy; without a selection they are left to the window.
    bool selected = false;
    if (auto* box = qobject_cast<QComboBox*>(watched))
        selected = box->lineEdit() && box->lineEdit()->hasSelectedText();
    else if (auto* line = qobject_cast<QLineEdit*>(watched))
        selected = line->hasSelectedText();
    else if (auto* note = qobject_cast<QPlainTextEdit*>(watched))
        selected = note->textCursor().hasSelection();
    return !selected;
}

// --- LinkLabel

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    actAsButton(this, [this] { emit clicked(); });
}

void LinkLabel::setShortcut(const QKeySequence& keys) {
    if (!shortcut_) {
        shortcut_ = new QShortcut(this);
        shortcut_->setContext(Qt::WindowShortcut);
        connect(shortcut_, &QShortcut::activated, this, &LinkLabel::clicked);
    }
    shortcut_->setKey(keys);
}

QKeySequence LinkLabel::shortcut() const { return shortcut_ ? shortcut_->key() : QKeySequence(); }

}  // namespace kx
