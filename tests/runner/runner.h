// Runs scenario files against a fresh window with private stand-ins, driving
// it the way a person does (docs/developing.md: Scenarios), and the soak.
#pragma once

#include <QLineEdit>
#include <QTextStream>
#include <memory>
#include <vector>

#include "kxcalc.h"
#include "stand_ins.h"

namespace kx::scenario {

struct Word {
    QString text;
    bool quoted = false;
};

struct Line {
    int number = 0;
    std::vector<Word> words;
};

// What stops a file: a line that cannot be run.
struct Abort {
    QString why;
};

struct FileResult {
    int passed = 0;
    int failed = 0;
    bool runError = false;  // the file could not be run to its end
};

// The words of a scenario line; a text as written in a scenario, for messages.
std::vector<Word> splitWords(const QString& line);
QString quoted(QString text);
// The edit part of a text box or a list.
QLineEdit* editOf(QWidget* w);
bool isKnownLocale(const QString& name);

struct Runner {
    Runner(QTextStream& o, QTextStream& e) : out(o), err(e) {}
    QTextStream& out;
    QTextStream& err;
    // The regional format a file starts with unless it names its own.
    QString initialLocale = u"en_US"_qs;
    QString path, localeName;
    FileResult result;
    StandIns stand;
    std::unique_ptr<KXcalc> window;

    FileResult runFile(const QString& file);
    // COUNT random lines from SEED, every invariant checked after each;
    // false, with the lines that led there, when one breaks.
    bool soak(quint64 seed, qint64 count);
    void execute(const Line& line);
    void expect(const Line& line);
    void start();
    void stop();
    QWidget* control(const QString& name) const;
    // Where a key goes: the control with the keyboard focus, else the window.
    QWidget* keyTarget() const;
    // One key press with the text it types: Space, Return and Tab type theirs.
    void sendKey(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) const;
};

}  // namespace kx::scenario
