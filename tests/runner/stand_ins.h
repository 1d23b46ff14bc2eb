// In-memory stand-ins for the system services: a private settings store, a
// browser, a printer and a clipboard that only record, a program end that
// only notes it.
#pragma once

#include <QHash>

#include "services.h"
#include "texts.h"

namespace kx {

class MemorySettings : public SettingsStore {
public:
    QString read(const QString& app, const QString& section, const QString& key) override {
        return values.value(keyOf(app, section, key));
    }
    void write(const QString& app, const QString& section, const QString& key, const QString& value) override {
        values.insert(keyOf(app, section, key), value);
    }
    static QString keyOf(const QString& app, const QString& section, const QString& key) {
        return app + u'/' + section + u'/' + key;
    }
    // Where the window's language setting is kept in `values`.
    static QString languageKey() {
        const SettingName& n = kLanguageSetting;
        return keyOf(QLatin1StringView(n.app), QLatin1StringView(n.section), QLatin1StringView(n.key));
    }
    QHash<QString, QString> values;
};

class RecordingBrowser : public Browser {
public:
    void open(const QString& address) override {
        last = address;
        opened = true;
    }
    QString last;
    bool opened = false;
};

// Counts the pages sent to the default printer, a printer named "KX" that
// answers each with `answer`; its dialogs are always cancelled.
class CountingPrinter : public Printer {
public:
    Result printDefault(const Page&) override {
        count += answer != Outcome::NoPrinter;
        return {answer, QStringLiteral("KX"), {}};
    }
    Result printChoosing(const Page&) override { return {Outcome::Cancelled, {}, {}}; }
    Result savePdf(const Page&, const FileChoice&) override { return {Outcome::Cancelled, {}, {}}; }
    int count = 0;
    Outcome answer = Outcome::Done;
};

class RecordingClipboard : public Clipboard {
public:
    bool put(const QString& t, const QImage& i) override {
        text = t;
        image = i;
        return true;
    }
    QString text;
    QImage image;
};

class NotedEnd : public ProgramEnd {
public:
    void end() override { ended = true; }
    bool ended = false;
};

class CountingMessages : public Messages {
public:
    void calculationFault(const QString& text) override {
        ++faults;
        lastFault = text;
    }
    void notice(const QString& text) override { notices << text; }
    int faults = 0;
    QString lastFault;
    QStringList notices;
};

// All five stand-ins, handed to a window as its services.
struct StandIns {
    MemorySettings settings;
    RecordingBrowser browser;
    CountingPrinter printer;
    RecordingClipboard clipboard;
    NotedEnd end;
    CountingMessages messages;

    Services services() { return {settings, browser, printer, clipboard, end, messages}; }
    // Forgets what the services recorded; the settings and the printer stay,
    // as across a restart of the program.
    void forgetRecords() {
        browser = {};
        printer.count = 0;  // the printer itself stays, as the settings do
        clipboard = {};
        end = {};
        messages = {};
    }
};

}  // namespace kx
