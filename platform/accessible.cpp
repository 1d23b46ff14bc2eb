#include "accessible.h"

#include <QAccessibleWidget>
#include <algorithm>

#include "controls.h"

namespace kx {

namespace {

// A control pressed like a button: the press action emits its clicked(),
// exactly as a click or its keys do.
template <typename Control>
class PressableAccessible : public QAccessibleWidget {
public:
    PressableAccessible(Control* control, QAccessible::Role role) : QAccessibleWidget(control, role) {}

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (pressable() && control()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override {
        if (action == pressAction() && pressable() && control()->isEnabled())
            emit control()->clicked();
        else
            QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == pressAction() && pressable()) {
            const QString keys = pressKeys();
            if (!keys.isEmpty())
                return {keys};
        }
        return QAccessibleWidget::keyBindingsForAction(action);
    }

protected:
    Control* control() const { return static_cast<Control*>(widget()); }
    virtual bool pressable() const { return true; }
    virtual QString pressKeys() const = 0;
};

// The language flags are buttons; the logo, the lettering and the photograph
// are graphics that still take the focus in the Tab order.
class PictureAccessible : public PressableAccessible<Picture> {
public:
    explicit PictureAccessible(Picture* picture) : PressableAccessible(picture, QAccessible::Graphic) {}

    QAccessible::Role role() const override { return pressable() ? QAccessible::Button : QAccessible::Graphic; }

protected:
    bool pressable() const override { return control()->isClickable(); }
    QString pressKeys() const override { return QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText); }
};

// The web link never takes the focus in the Tab order; its shortcut opens it
// from anywhere in the window, and assistive technology presses it directly.
class LinkAccessible : public PressableAccessible<LinkLabel> {
public:
    explicit LinkAccessible(LinkLabel* link) : PressableAccessible(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                // What the person sees is what they hear: the address itself.
                return control()->accessibleName().isEmpty() ? control()->text() : control()->accessibleName();
            case QAccessible::Value: return control()->text();
            case QAccessible::Accelerator: return pressKeys();
            default: return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }

protected:
    QString pressKeys() const override { return control()->shortcut().toString(QKeySequence::NativeText); }
};

// The arrow pair keeps its value negated inside (its top arrow raises the
// angle); a screen reader must hear the angle, never the stored value.
class ArrowScrollBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ArrowScrollBarAccessible(ArrowScrollBar* bar) : QAccessibleWidget(bar, QAccessible::ScrollBar) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return QString::number(bar()->angle());
        return QAccessibleWidget::text(t);
    }

    // Increase and decrease are the up and down arrows.
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (bar()->isEnabled())
            names << increaseAction() << decreaseAction();
        return names;
    }

    void doAction(const QString& action) override {
        if (action == increaseAction() && bar()->isEnabled())
            setCurrentValue(bar()->angle() + 1);
        else if (action == decreaseAction() && bar()->isEnabled())
            setCurrentValue(bar()->angle() - 1);
        else
            QAccessibleWidget::doAction(action);
    }

    QVariant currentValue() const override { return bar()->angle(); }
    void setCurrentValue(const QVariant& value) override {
        bar()->setAngle(std::clamp(value.toInt(), bar()->bottomValue(), bar()->topValue()));
    }
    QVariant maximumValue() const override { return bar()->topValue(); }
    QVariant minimumValue() const override { return bar()->bottomValue(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    ArrowScrollBar* bar() const { return static_cast<ArrowScrollBar*>(widget()); }
};

QAccessibleInterface* makeAccessible(const QString& className, QObject* object) {
    if (className == QLatin1StringView(Picture::staticMetaObject.className()))
        return new PictureAccessible(static_cast<Picture*>(object));
    if (className == QLatin1StringView(LinkLabel::staticMetaObject.className()))
        return new LinkAccessible(static_cast<LinkLabel*>(object));
    if (className == QLatin1StringView(ArrowScrollBar::staticMetaObject.className()))
        return new ArrowScrollBarAccessible(static_cast<ArrowScrollBar*>(object));
    return nullptr;
}

}  // namespace

void installAccessibleControls() {
    static const bool installed = [] {
        QAccessible::installFactory(&makeAccessible);
        return true;
    }();
    (void)installed;
}

}  // namespace kx
