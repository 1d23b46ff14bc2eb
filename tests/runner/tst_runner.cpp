// The scenario runner's contract: output lines and exit codes.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class RunnerContract : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }
    void outcomes_data();
    void outcomes();

private:
    struct Run {
        int code;
        QString out, err;
    };
    Run run(const QString& content, const QStringList& extraArgs = {});
    QTemporaryDir dir_;
    int files_ = 0;
};

RunnerContract::Run RunnerContract::run(const QString& content, const QStringList& extraArgs) {
    const QString path = dir_.filePath(QStringLiteral("s%1.kxs").arg(++files_));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(content.toUtf8());
    f.close();
    QProcess p;
    p.start(QStringLiteral(KX_SCENARIO_PATH), extraArgs + QStringList{path});
    p.waitForFinished(120000);
    // Lines end as the system's text files do (CR LF on Windows).
    const auto text = [&](const QByteArray& bytes) {
        return QString::fromUtf8(bytes).replace(u"\r\n"_qs, u"\n"_qs).replace(path, u"FILE"_qs);
    };
    return {p.exitCode(), text(p.readAllStandardOutput()), text(p.readAllStandardError())};
}

void RunnerContract::outcomes_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("all held") << u"expect angleSCIleft \"45\"\n"_qs << 0 << u"ok FILE\n1 passed, 0 failed\n"_qs
                              << QString();
    QTest::newRow("failed expectation")
        << u"# comment\n\nexpect angleSCIleft \"44\"\nexpect scrSCIleft.value \"45\"\n"_qs << 1
        << u"FILE:3: expected angleSCIleft \"44\", got \"45\"\n1 passed, 1 failed\n"_qs << QString();
    QTest::newRow("unknown control") << u"expect noSuchControl \"x\"\n"_qs << 2 << u"0 passed, 0 failed\n"_qs
                                     << u"FILE:1: unknown control noSuchControl\n"_qs;
    QTest::newRow("unknown command") << u"expect ag \"0\"\nfrobnicate ag\n"_qs << 2
                                     << u"FILE:1: expected ag \"0\", got \"51.091\"\n0 passed, 1 failed\n"_qs
                                     << u"FILE:2: unknown command frobnicate\n"_qs;
    QTest::newRow("unknown property") << u"expect ag.colour \"0\"\n"_qs << 2 << u"0 passed, 0 failed\n"_qs
                                      << u"FILE:1: ag has no property colour\n"_qs;
    QTest::newRow("malformed text") << u"type ag \"12\n"_qs << 2 << u"0 passed, 0 failed\n"_qs
                                    << u"FILE:1: unterminated text\n"_qs;
    QTest::newRow("action after the end")
        << u"click cmdEnd\nexpect ended \"true\"\ntype angleSCIleft \"1\"\n"_qs << 2 << u"1 passed, 0 failed\n"_qs
        << u"FILE:3: the program has ended; only restart and expect may follow (type)\n"_qs;
    // The rest with --quiet: only the count.
    const auto held = [](const char* name, const QString& script, int n) {
        QTest::newRow(name) << script << 0 << QStringLiteral("%1 passed, 0 failed\n").arg(n) << QString();
    };
    held("escapes", u"set notetxt \"a\\\"b\\\\c\\td\\ne\"\nexpect notetxt \"a\\\"b\\\\c\\td\\ne\"\n"_qs, 1);
    held("explicit start and blanks",
         u"  setting   language   \"italian\"  \nstart\n   expect  lblRightSide.text  \"DESTRA\"\n"_qs, 1);
}

void RunnerContract::outcomes() {
    QFETCH(QString, script);
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const bool quiet = !out.contains(u"ok FILE"_qs) && code == 0;
    const Run r = run(script, quiet ? QStringList{u"--quiet"_qs} : QStringList());
    QCOMPARE(r.out, out);
    QCOMPARE(r.err, err);
    QCOMPARE(r.code, code);
}

QTEST_GUILESS_MAIN(RunnerContract)
#include "tst_runner.moc"
