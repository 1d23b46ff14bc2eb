// Runs scenario files against a fresh window with private stand-ins, driving
// it the way a person does (README: Scenarios).
#pragma once

#include <QLineEdit>
#include <QTextStream>
#include <memory>
#include <optional>
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

// The words of a scenario line.
std::vector<Word> splitWords(const QString& line);
// A text as written in a scenario, for messages.
QString quoted(QString text);
// The edit part of a text box or a list.
QLineEdit* editOf(QWidget* w);

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
    // COUNT random lines from SEED, every invariant checked after each;
    // false, with the lines that led there, when one breaks.
    bool soak(quint64 seed, qint64 count);

private:
    // A command's row: its name, whether it starts the window first, whether
    // it is a person's action (which the ended program no longer takes), the
    // number of words its line may have (its own included), and what it does.
    struct Command {
        const char* name;
        bool needsWindow, isAction;
        std::size_t minWords, maxWords;
        void (*run)(Runner&, const Line&);
    };
    static const Command kCommands[];
    // What `expect` compares besides a control: the words that name it, the
    // word that may stand instead of a quoted text ("none", "absent"; empty:
    // a text only; "control": a control's name or none), and what is seen.
    struct Subject {
        const char* name;
        const char* word;
        QString (*seen)(Runner&);
    };
    static const Subject kSubjects[];
    // A control's property for `expect CONTROL.PROPERTY`; a name ending in
    // ':' takes the rest as its argument (item:K). No value: no such property.
    struct Property {
        const char* name;
        std::optional<QString> (*read)(const Runner&, QWidget*, const QString& argument);
    };
    static const Property kProperties[];

    void execute(const Line& line);
    void start();
    void stop();
    QWidget* control(const Line& line, std::size_t index) const;
    QWidget* control(const QString& name) const;
    static const QString& text(const Line& line, std::size_t index);

    QWidget* keyTarget() const;
    void sendKey(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) const;
    void typeText(const QString& text);
    void focus(QWidget* w, bool selectAll);
    void pressKey(const QString& key);
    void paste(QWidget* w, const QString& text);
    void arrow(QWidget* w, const QString& direction, int times, const QString& until);
    void choose(QWidget* w, int index);
    void click(QWidget* w, const QString& how);
    void wheel(QWidget* w, const QString& direction);
    void press(QWidget* w, const QString& action);
    void setText(QWidget* w, const QString& text);
    QString tabOrder();
    QString unnamed() const;

    QStringList results() const;
    QString brokenInputRule() const;
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
};

}  // namespace kx::scenario
