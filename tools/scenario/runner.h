// Runs one scenario file against a fresh window with private stand-ins.
#pragma once

#include <QString>
#include <QTextStream>
#include <memory>

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

    void execute(const Line& line);
    void setUp(const Line& line);
    void act(const Line& line);
    void startIfNeeded();
    void start();
    void stop();
    void requireRunning(const Line& line);

    QWidget* controlArg(const Line& line, std::size_t index);
    const QString& textArg(const Line& line, std::size_t index);
    void wordCount(const Line& line, std::size_t min, std::size_t max);

    void focusForTyping(QWidget* w, bool selectAll);
    void pressKey(QWidget* target, const QString& key);
    void paste(QWidget* w, const QString& text);
    void arrow(QWidget* w, const QString& direction, int times);
    void choose(QWidget* w, int index);
    void click(QWidget* w);
    void setText(QWidget* w, const QString& text);

    void expect(const Line& line);
    QString property(QWidget* w, const QString& name, const QString& property);
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
