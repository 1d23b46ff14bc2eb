// Control adapters. Handlers above this layer rely on four event rules and
// never see a toolkit quirk:
//  1. a program write of a text, a scroll value or a list selection raises the
//     control's event synchronously, before the write returns;
//  2. writing a scroll value equal to the current one raises nothing;
//  3. a list choice, by a person or by the program, raises the click event
//     only, never text-changed; a program write of the index the list already
//     has raises nothing; clearing and refilling a list raises nothing;
//  4. typing in a list's edit part raises text-changed after every keystroke,
//     with no auto-completion and no item added by Return.
// A program write of a text equal to the current one raises nothing and
// leaves the caret and the selection alone, so typing goes on naturally.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <functional>

#include "pictures.h"

namespace kx {

// Background and text colour of any control, kept in its palette.
void setControlColors(QWidget* w, const QColor& back, const QColor& fore);
void setControlBackColor(QWidget* w, const QColor& back);
void setControlForeColor(QWidget* w, const QColor& fore);
QColor controlBackColor(const QWidget* w);
QColor controlForeColor(const QWidget* w);

// A single-line text box; textChanged() is its change event.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);
    void write(const QString& text);
};

// A multi-line text box for the notes: wraps at its width, Tab moves on.
class NoteBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit NoteBox(QWidget* parent = nullptr);
    QString text() const { return toPlainText(); }
    void write(const QString& text);
};

// A pair of arrow buttons over an integer range whose top arrow raises the
// value (a plain scroll bar's top arrow always lowers it, so the value is
// kept negated inside).
class ArrowScrollBar : public QScrollBar {
    Q_OBJECT
public:
    ArrowScrollBar(int topValue, int bottomValue, QWidget* parent = nullptr);
    int angle() const { return -value(); }
    void setAngle(int v);  // raises changed() only when the value changes
    int topValue() const { return -minimum(); }
    int bottomValue() const { return -maximum(); }
    QRect upArrowRect() const;
    QRect downArrowRect() const;

signals:
    void changed();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    QSize sizeHint() const override { return {23, 21}; }
    QSize minimumSizeHint() const override { return {8, 8}; }

private:
    enum class Pressed { None, Up, Down };
    Pressed pressed_ = Pressed::None;
};

// An insert list: an editable drop-down whose only events are clicked() and
// edited() (see the event rules above).
class InsertList : public QComboBox {
    Q_OBJECT
public:
    explicit InsertList(QWidget* parent = nullptr);
    void clearList();
    void appendItem(const QString& text);
    int selectedIndex() const { return currentIndex(); }
    void setSelectedIndex(int index);
    QString shownText() const;
    void writeText(const QString& text);
    void showPopup() override;

signals:
    void clicked();
    void edited();

protected:
    void changeEvent(QEvent* e) override;

private:
    bool droppedDown_ = false;
};

// Makes a control act like a button: a left click inside it, or Space or
// Return while it has the focus, runs `activated`.
void actAsButton(QWidget* control, std::function<void()> activated);

// Gives a control a context menu that the mouse (right button) and the
// keyboard open: the Menu key wherever the system sends it, and Shift+F10,
// which only Windows turns into a context menu itself. Either way the
// control's customContextMenuRequested() fires, with the place to open at.
void offerContextMenu(QWidget* control);

// The copy keys of the window (Ctrl+C): in a control with selected text they
// copy that text, as everywhere; anywhere else they raise activated().
class CopyKeys : public QObject {
    Q_OBJECT
public:
    // Watches the window's controls as they are now.
    explicit CopyKeys(QWidget* window);

signals:
    void activated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A label that acts as a link: clickable, and operable from the keyboard,
// with Space and Return where it has the focus, and from anywhere in its
// window with its shortcut.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);
    void setShortcut(const QKeySequence& keys);
    QKeySequence shortcut() const;

signals:
    void clicked();

private:
    QShortcut* shortcut_ = nullptr;
};

}  // namespace kx
