// In-memory stand-ins for the system services: a private settings store, and
// a browser, a printer, a clipboard, a program end and messages that only
// record what the window asked of them.
#pragma once

#include <QHash>

#include "services.h"
#include "texts.h"

namespace kx {

struct MemorySettings : SettingsStore {
    QString read(const QString& app, const QString& section, const QString& key) override {
        return values.value(app + u'/' + section + u'/' + key);
    }
    void write(const QString& app, const QString& section, const QString& key, const QString& value) override {
        values.insert(app + u'/' + section + u'/' + key, value);
    }
    // Where the window's language setting is kept in `values`.
    static QString languageKey() {
        return u"%1/%2/%3"_qs.arg(kLanguageSetting.app, kLanguageSetting.section, kLanguageSetting.key);
    }
    QHash<QString, QString> values;
};

struct RecordingBrowser : Browser {
    void open(const QString& address) override { opened = address; }
    QString opened;  // null until an address is handed over
};

// Counts the pages sent to the default printer, a printer named "KX" that
// answers each with `answer`; its dialogs are always cancelled.
struct CountingPrinter : Printer {
    Result printDefault(const Page&) override {
        count += answer != Outcome::NoPrinter;
        return {answer, u"KX"_qs, {}};
    }
    Result printChoosing(const Page&) override { return {Outcome::Cancelled, {}, {}}; }
    Result savePdf(const Page&, const FileChoice&) override { return {Outcome::Cancelled, {}, {}}; }
    int count = 0;
    Outcome answer = Outcome::Done;
};

struct TakingClipboard : Clipboard {
    bool put(const QString&, const QImage&) override { return true; }
};

struct NotedEnd : ProgramEnd {
    void end() override { ended = true; }
    bool ended = false;
};

struct CountingMessages : Messages {
    void calculationFault(const QString& text) override { faults << text; }
    void notice(const QString& text) override { notices << text; }
    QStringList faults, notices;
};

// All of them, handed to a window as its services.
struct StandIns {
    MemorySettings settings;
    RecordingBrowser browser;
    CountingPrinter printer;
    TakingClipboard clipboard;
    NotedEnd end;
    CountingMessages messages;

    Services services() { return {settings, browser, printer, clipboard, end, messages}; }
    // Forgets what they recorded; the settings and the printer stay, as
    // across a restart of the program.
    void forgetRecords() {
        browser = {};
        printer.count = 0;
        end = {};
        messages = {};
    }
};

}  // namespace kx
