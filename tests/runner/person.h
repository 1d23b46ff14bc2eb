// What a person does to the window, as the scenario runner and the soak both
// do it: keys, typing, choosing from a list, pasting; and what both leave out
// of the toolkit's messages.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QComboBox>
#include <QTest>
#include <cstdio>

namespace kx::person {

// Where a key goes: the widget with the keyboard focus, else the window.
inline QWidget* keyTarget(QWidget* window) {
    QWidget* f = QApplication::focusWidget();
    return f ? f : window;
}

// One key press with the text it types: Space, Return and Tab type theirs,
// other named keys none.
inline void pressKey(QWidget* target, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QString text;
    if (key == Qt::Key_Space)
        text = QStringLiteral(" ");
    else if (key == Qt::Key_Return)
        text = QStringLiteral("\r");
    else if (key == Qt::Key_Tab)
        text = QStringLiteral("\t");
    QTest::sendKeyEvent(QTest::Click, target, key, text, mods);
}

// How typed control characters reach the window.
enum class ControlChars {
    AsKeys,  // "\n", "\t" and "\b" press Return, Tab and Backspace
    AsText,  // every character is sent as the text of a key press
};

// Types a text one key press per character (a surrogate pair is one), each
// to whatever has the focus at that moment. Stops early once `stop` says so.
template <class Stop>
void typeText(QWidget* window, const QString& text, ControlChars control, Stop stop) {
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString ch = text.mid(i, len);
        i += len;
        QWidget* target = keyTarget(window);
        if (control == ControlChars::AsKeys && ch == u"\n")
            pressKey(target, Qt::Key_Return);
        else if (control == ControlChars::AsKeys && ch == u"\t")
            pressKey(target, Qt::Key_Tab);
        else if (control == ControlChars::AsKeys && ch == u"\b")
            pressKey(target, Qt::Key_Backspace);
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, ch, Qt::NoModifier);
        if (stop())
            return;
    }
}

// Puts the text on the clipboard and pastes it with Ctrl+V into the target.
// False, with nothing pasted, where the platform keeps no clipboard.
inline bool pasteFromClipboard(QWidget* target, const QString& text) {
    QApplication::clipboard()->setText(text);
    if (QApplication::clipboard()->text() != text)
        return false;
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key_V, QString(), Qt::ControlModifier);
    return true;
}

// Chooses a list item as a person does: open the list, point at the item,
// click it.
inline void chooseItem(QComboBox* list, int index) {
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
}

// A colour as six hexadecimal digits, RRGGBB.
inline QString hex(const QColor& c) { return c.name(QColor::HexRgb).mid(1).toUpper(); }

// Leaves out what does not concern a run driven headless: the offscreen
// platform reports what it cannot do when a list pops up (raise, keyboard
// grabs), and the font fallback each font it passes over for random scripts.
inline void quietToolkitMessages() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type == QtWarningMsg &&
            (message.startsWith(u"This plugin does not support") || message.contains(u"OpenType support missing")))
            return;
        std::fputs(qPrintable(qFormatLogMessage(type, context, message) + u'\n'), stderr);
    });
}

}  // namespace kx::person
