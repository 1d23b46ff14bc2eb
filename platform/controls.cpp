#include "controls.h"

#include <QAbstractItemView>
#include <QFile>
#include <QIconEngine>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QStylePainter>
#include <QSvgRenderer>
#include <cmath>

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

namespace {

// An icon shown from the bitmaps drawn ahead from its SVG at build time (see
// window/CMakeLists.txt) at the pixel sizes they were drawn for, and drawn
// from the SVG at any other size, exactly as a plain SVG icon would be: the
// SVG icon plugin and renderer stay unloaded at the usual scales.
class DrawnIconEngine : public QIconEngine {
public:
    DrawnIconEngine(QLatin1StringView name, std::initializer_list<int> sizes)
        : svgFile_(QStringLiteral(":/kx/%1.svg").arg(name)) {
        for (const int size : sizes) {
            drawn_.addPixmap(QPixmap::fromImage(readPng(QStringLiteral(":/kx/icons/%1/%2.png").arg(name).arg(size))));
            sizes_ << QSize(size, size);
        }
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return devicePixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        return devicePixmap((QSizeF(size) * scale).toSize(), mode,
                            state);  // device-independent from 6.8 on
#else
        Q_UNUSED(scale);
        return devicePixmap(size, mode, state);  // already in device pixels
#endif
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device()->devicePixelRatio();
        QPixmap pm = devicePixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, pm);
    }
    // Square and scalable, like the SVG.
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {}; }
    QString key() const override { return QStringLiteral("KXDrawnIcon"); }
    QIconEngine* clone() const override { return new DrawnIconEngine(*this); }

private:
    QPixmap devicePixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
        if (sizes_.contains(size))
            return drawn_.pixmap(size, 1.0, mode, state);
        if (svg_.isNull())
            svg_ = QIcon(svgFile_);
        return svg_.pixmap(size, 1.0, mode, state);
    }

    QString svgFile_;
    QIcon drawn_;
    QList<QSize> sizes_;
    QIcon svg_;
};

}  // namespace

QIcon drawnIcon(QLatin1StringView name, std::initializer_list<int> sizes) {
    return QIcon(new DrawnIconEngine(name, sizes));
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

// A picture is shown from bitmaps drawn ahead from its SVG at build time,
// next to it in the folder pictures/ (window/CMakeLists.txt): parsing and
// drawing the SVG took a noticeable share of the start-up. Each bitmap is
// exactly what the SVG renderer paints at its scale and its corner's place
// inside a device pixel, on the colour named in its text "Background"; at
// any other scale or colour the SVG is drawn itself.
Picture::Picture(const QString& resource, Border border, QWidget* parent)
    : QWidget(parent), resource_(resource), border_(border) {
    // Drawn ahead at 100 %, the bitmap has the SVG's own size; it is the
    // one shown at that scale, so it is kept.
    drawnFile_ = drawnFile(1, QPointF(0, 0));
    drawn_ = readPng(drawnFile_);
    size_ = drawn_.isNull() ? renderer().defaultSize() : drawn_.size();
}

Picture::~Picture() = default;

QSize Picture::pictureSize() const { return size_; }

int Picture::borderWidth() const {
    switch (border_) {
        case Border::None: return 0;
        case Border::Single: return 1;
        case Border::Sunken: return 2;
    }
    return 0;
}

QSvgRenderer& Picture::renderer() {
    if (!renderer_)
        renderer_ = std::make_unique<QSvgRenderer>(resource_);
    return *renderer_;
}

QString Picture::drawnFile(qreal ratio, QPointF corner) const {
    const qsizetype slash = resource_.lastIndexOf(QLatin1Char('/'));
    QStringView base = QStringView(resource_).mid(slash + 1);
    if (base.endsWith(QLatin1StringView(".svg")))
        base.chop(4);
    return QStringLiteral("%1/pictures/%2@%3x+%4+%5.png")
        .arg(QStringView(resource_).left(slash), base, QString::number(ratio), QString::number(corner.x()),
             QString::number(corner.y()));
}

bool Picture::drawDrawnAhead(QPainter& p, QPointF at, const QColor& back) {
    const QTransform t = p.deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() != t.m22() || t.m11() <= 0)
        return false;
    const qreal ratio = t.m11();
    const QPointF corner = t.map(at);
    const QPointF inPixel(corner.x() - std::floor(corner.x()), corner.y() - std::floor(corner.y()));
    const QString file = drawnFile(ratio, inPixel);
    if (file != drawnFile_) {
        drawnFile_ = file;
        drawn_ = readPng(file);  // none drawn for this scale: a null image
    }
    if (drawn_.isNull() || QColor(drawn_.text(QStringLiteral("Background"))) != back)
        return false;
    // Pixel for pixel onto the device pixels the SVG would have painted.
    drawn_.setDevicePixelRatio(ratio);
    p.drawImage(at - inPixel / ratio, drawn_);
    return true;
}

void Picture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor back = palette().color(QPalette::Window);
    p.fillRect(rect(), back);
    const int b = borderWidth();
    p.save();
    p.setClipRect(rect().adjusted(b, b, -b, -b));
    if (!drawDrawnAhead(p, QPointF(b, b), back))
        renderer().render(&p, QRectF(QPointF(b, b), QSizeF(pictureSize())));
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
