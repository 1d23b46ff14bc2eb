// In-memory stand-ins for the system services: a private settings store, a
// browser and a printer that only record, a program end that only notes it.
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

class CountingPrinter : public Printer {
public:
    bool print(const QImage&, QString*) override {
        ++count;
        return true;
    }
    int count = 0;
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
    NotedEnd end;
    CountingMessages messages;

    Services services() { return {settings, browser, printer, end, messages}; }
    // Forgets what the services recorded; the settings stay, as across a
    // restart of the program.
    void forgetRecords() {
        browser = {};
        printer = {};
        end = {};
        messages = {};
    }
};

}  // namespace kx
