// What the window needs from the system beyond its controls. Each service has
// a real implementation here and a stand-in that a test puts in its place.
#pragma once

#include <QImage>
#include <QString>

class QWidget;

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

// What the window puts on paper: its client area, drawn by the toolkit for
// the paper's resolution, and one line of text under it.
struct Page {
    QWidget* window = nullptr;
    QString footer;
};

// The file dialog's texts, in the window's language, and the name it offers
// in the person's documents folder.
struct FileChoice {
    QString title, filter, fileName;
};

// Printing and saving the page. Each returns what came of it; the caller
// tells the person about anything but Done and Cancelled.
class Printer {
public:
    enum class Outcome {
        Done,
        Cancelled,  // the person closed a dialog: nothing happened
        NoPrinter,  // no default printer
        Refused,    // the printer or queue `detail` did not take the job
        NotSaved,   // the file `detail` could not be written (`reason`)
    };
    struct Result {
        Outcome outcome = Outcome::Done;
        QString detail, reason;
    };
    virtual ~Printer() = default;
    // On the default printer, with no dialog.
    virtual Result printDefault(const Page& page) = 0;
    // On the printer, and with the settings, the person chooses in the
    // system's print dialog.
    virtual Result printChoosing(const Page& page) = 0;
    // As a PDF file where the person chooses in the system's file dialog.
    virtual Result savePdf(const Page& page, const FileChoice& choice) = 0;
};

// Puts the setting on the clipboard as text and as a picture, so that it
// pastes into a text field, a mail or a document. False when the clipboard
// did not take it.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual bool put(const QString& text, const QImage& image) = 0;
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
    Clipboard& clipboard;
    ProgramEnd& programEnd;
    Messages& messages;
};

}  // namespace kx
