// What the window needs from the system beyond its controls. Each service has
// a real implementation here and a stand-in that a test puts in its place.
#pragma once

#include <QImage>
#include <QString>

namespace kx {

// One text per application, section and key; an absent key reads as "".
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString read(const QString& app, const QString& section, const QString& key) = 0;
    virtual void write(const QString& app, const QString& section, const QString& key, const QString& value) = 0;
};

// Hands a web address to the user's default browser; the outcome is ignored.
class Browser {
public:
    virtual ~Browser() = default;
    virtual void open(const QString& address) = 0;
};

// Prints an image on the default printer without a dialog. Returns false,
// with a reason, when no printer can take it.
class Printer {
public:
    virtual ~Printer() = default;
    virtual bool print(const QImage& image, QString* reason) = 0;
};

// Ends the program at once.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    virtual void end() = 0;
};

// Tells the person something went wrong, without stopping the program.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void calculationFault(const QString& text) = 0;
    virtual void notice(const QString& text) = 0;
};

struct Services {
    SettingsStore& settings;
    Browser& browser;
    Printer& printer;
    ProgramEnd& programEnd;
    Messages& messages;
};

}  // namespace kx
