// Reading scenario files: one command per line, words separated by blanks,
// texts in double quotes with the escapes \" \\ \t and \n.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kx::scenario {

struct Word {
    QString text;
    bool quoted = false;
};

struct Line {
    int number = 0;
    std::vector<Word> words;
};

struct ParseError {
    int line;
    QString why;
};

// The commands of a file; blank lines and comments are left out.
std::vector<Line> parseScript(const QString& content, std::optional<ParseError>* error);

// A text as written in a scenario, for messages.
QString quoted(const QString& text);

}  // namespace kx::scenario
