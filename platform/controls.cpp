#include "controls.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QStylePainter>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace kx {

namespace {
// Pictures and the link act like buttons: a left click inside, or Space or
// Return while they have the focus.
bool isClickInside(const QWidget* w, const QMouseEvent* e) {
    return e->button() == Qt::LeftButton && w->rect().contains(e->position().toPoint());
}
bool isActivationKey(const QKeyEvent* e) {
    return e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}
}  // namespace

QImage readPng(const QString& fileName) {
    if (!QFile::exists(fileName))
        return {};  // quietly: the reader would warn
    QImageReader reader(fileName, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon drawnIcon(QLatin1StringView name) {
    // Every size drawn ahead; Qt picks the exact one for the scale, or
    // scales the next larger one down.
    QIcon icon;
    const QDir folder(QStringLiteral(":/kx/icons/%1").arg(name));
    for (const QString& file : folder.entryList({QStringLiteral("*.png")}, QDir::Files))
        icon.addPixmap(QPixmap::fromImage(readPng(folder.filePath(file))));
    return icon;
}

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

InsertList::InsertList(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(5);
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

void InsertList::writeText(const QString& text) {
    if (text == lineEdit()->text())
        return;
    lineEdit()->setText(text);
    emit edited();
}

// --- Picture

// A picture is shown from bitmaps drawn ahead from our SVG art at build time
// (window/CMakeLists.txt), so the program needs no SVG renderer: one for each
// usual screen scale and each place the picture's corner can fall inside a
// device pixel there, each exactly what the SVG renderer paints. At any
// other scale the nearest larger bitmap is scaled to fit.
Picture::Picture(QLatin1StringView name, Border border, QWidget* parent)
    : QWidget(parent), name_(name), border_(border) {
    // At 100 % the bitmap has the picture's own size.
    drawnFile_ = drawnFile(1, QPointF(0, 0));
    drawn_ = readPng(drawnFile_);
    size_ = drawn_.size();
}

QSize Picture::pictureSize() const { return size_; }

int Picture::borderWidth() const {
    switch (border_) {
        case Border::None: return 0;
        case Border::Single: return 1;
        case Border::Sunken: return 2;
    }
    return 0;
}

QString Picture::drawnFile(qreal ratio, QPointF corner) const {
    return QStringLiteral(":/kx/pictures/%1@%2x+%3+%4.png")
        .arg(name_, QString::number(ratio), QString::number(corner.x()), QString::number(corner.y()));
}

QImage& Picture::drawnAt(qreal ratio, QPointF corner) {
    const QString file = drawnFile(ratio, corner);
    if (file != drawnFile_) {
        drawnFile_ = file;
        drawn_ = readPng(file);  // none drawn for this place: a null image
    }
    return drawn_;
}

const QImage& Picture::nearestDrawn(qreal ratio) {
    if (nearest_.isNull() || nearestFor_ != ratio) {
        static constexpr qreal kDrawnRatios[] = {1, 1.25, 1.5, 1.75, 2, 2.5, 3};
        qreal best = kDrawnRatios[std::size(kDrawnRatios) - 1];
        for (const qreal r : kDrawnRatios)
            if (r >= ratio) {
                best = r;
                break;
            }
        nearest_ = readPng(drawnFile(best, QPointF(0, 0)));
        nearestFor_ = ratio;
    }
    return nearest_;
}

void Picture::drawPicture(QPainter& p, QPointF at) {
    const QRectF target(at, QSizeF(pictureSize()));
    const QTransform t = p.deviceTransform();
    if (t.type() <= QTransform::TxScale && t.m11() == t.m22() && t.m11() > 0) {
        const qreal ratio = t.m11();
        const QPointF corner = t.map(at);
        const QPointF inPixel(corner.x() - std::floor(corner.x()), corner.y() - std::floor(corner.y()));
        QImage& exact = drawnAt(ratio, inPixel);
        if (!exact.isNull()) {
            // Pixel for pixel onto the device pixels the SVG would have painted.
            exact.setDevicePixelRatio(ratio);
            p.drawImage(at - inPixel / ratio, exact);
            return;
        }
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, nearestDrawn(std::max(t.m11(), t.m22())));
}

void Picture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    const int b = borderWidth();
    p.save();
    p.setClipRect(rect().adjusted(b, b, -b, -b));
    drawPicture(p, QPointF(b, b));
    p.restore();
    if (border_ == Border::Single) {
        p.setPen(QPen(Qt::black, 0));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    } else if (border_ == Border::Sunken) {
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.lineWidth = 2;
        frame.state |= QStyle::State_Sunken;
        frame.frameShape = QFrame::Panel;
        style()->drawPrimitive(QStyle::PE_Frame, &frame, &p, this);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void Picture::mouseReleaseEvent(QMouseEvent* e) {
    if (isClickInside(this, e))
        emit clicked();
}

void Picture::keyPressEvent(QKeyEvent* e) {
    if (isActivationKey(e))
        emit clicked();
    else
        QWidget::keyPressEvent(e);
}

// --- LinkLabel

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) { setCursor(Qt::PointingHandCursor); }

void LinkLabel::setShortcut(const QKeySequence& keys) {
    if (!shortcut_) {
        shortcut_ = new QShortcut(this);
        shortcut_->setContext(Qt::WindowShortcut);
        connect(shortcut_, &QShortcut::activated, this, &LinkLabel::clicked);
    }
    shortcut_->setKey(keys);
}

QKeySequence LinkLabel::shortcut() const { return shortcut_ ? shortcut_->key() : QKeySequence(); }

void LinkLabel::mouseReleaseEvent(QMouseEvent* e) {
    if (isClickInside(this, e))
        emit clicked();
}

void LinkLabel::keyPressEvent(QKeyEvent* e) {
    if (isActivationKey(e))
        emit clicked();
    else
        QLabel::keyPressEvent(e);
}

}  // namespace kx
