// Runs one scenario file against a fresh window with private stand-ins.
#pragma once

#include <QString>
#include <QTextStream>
#include <memory>
#include <optional>

#include "kxcalc.h"
#include "script.h"
#include "stand_ins.h"

namespace kx::scenario {

struct FileResult {
    int passed = 0;
    int failed = 0;
    bool runError = false;  // the file could not be run to its end
};

class Runner {
public:
    Runner(QTextStream& out, QTextStream& err) : out_(out), err_(err) {}
    FileResult runFile(const QString& path);

    // The regional format a file starts with unless it names its own with
    // `locale`: en_US unless the runner was told otherwise.
    void setInitialLocale(const QString& name) { initialLocale_ = name; }
    static bool isKnownLocale(const QString& name);

private:
    struct Abort {
        QString why;
    };

    // Every command a line can start with, one row each: its name, what it
    // needs before it runs, the words its line may have (the command's own
    // included), and what it does.
    enum class Needs {
        Nothing,         // sets the scene, at any time
        Window,          // starts the window first if it has not started
        RunningProgram,  // a person's action: the program must not have ended
    };
    struct Command {
        const char* name;
        Needs needs;
        std::size_t minWords, maxWords;
        void (*run)(Runner&, const Line&);
    };
    static const Command kCommands[];

    // What `expect` compares besides a control's property, one row each: the
    // words that name it, how the wanted value is written, and what is seen.
    enum class Wanted {
        Text,           // a text in double quotes
        TextOrNone,     // ... or the word none, which is seen when there is nothing
        TextOrAbsent,   // ... or the word absent, likewise
        ControlOrNone,  // a control's name, or none
    };
    struct Subject {
        const char* name;  // one or more words
        Wanted wanted;
        QString (*seen)(const Runner&);
    };
    static const Subject kSubjects[];

    // A control's properties as `expect CONTROL.PROPERTY` reads them; a name
    // that ends in ':' takes the rest of the property as its argument
    // (item:K). No value: the control has no such property.
    struct Property {
        const char* name;
        std::optional<QString> (*read)(const Runner&, QWidget*, const QString& argument);
    };
    static const Property kProperties[];

    void execute(const Line& line);
    void startIfNeeded();
    void start();
    void stop();

    QWidget* controlArg(const Line& line, std::size_t index);
    const QString& textArg(const Line& line, std::size_t index);
    void wordCount(const Line& line, std::size_t min, std::size_t max);

    void type(const Line& line, bool overAll);
    void focusForTyping(QWidget* w, bool selectAll);
    void pressKey(QWidget* target, const QString& key);
    void paste(QWidget* w, const QString& text);
    void arrow(QWidget* w, const QString& direction, int times);
    void choose(QWidget* w, int index);
    void click(QWidget* w);
    void setText(QWidget* w, const QString& text);

    void expect(const Line& line);
    void check(const Line& line, const QString& what, const QString& wanted, const QString& seen);

    QTextStream& out_;
    QTextStream& err_;
    QString path_;
    FileResult result_;

    QString initialLocale_ = QStringLiteral("en_US");
    QString localeName_;
    StandIns stand_;
    std::unique_ptr<KXcalc> window_;
    bool started_ = false;
};

}  // namespace kx::scenario
