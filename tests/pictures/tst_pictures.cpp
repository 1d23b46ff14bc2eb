// The window as a person sees it, compared pixel by pixel with pictures taken
// of it: every caption, place, colour and picture at once. The pictures are of
// the Linux build with the fonts the test command installs (Liberation and
// DejaVu); text drawn by another system's rasterizer differs, so elsewhere the
// test is skipped. KX_UPDATE_PICTURES=1 writes new pictures into the source
// tree instead, to be looked at before they are committed.
#include <QApplication>
#include <QDir>
#include <QTest>

#include "controls.h"
#include "kxcalc.h"
#include "stand_ins.h"

using namespace kx;

class Pictures : public QObject {
    Q_OBJECT
private slots:
    void window_data();
    void window();
};

void Pictures::window_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QList<int>>("inserts");  // the item chosen in each list, -1: as started
    for (const Language& l : kLanguages)
        QTest::newRow(l.settingWord) << QString::fromLatin1(l.settingWord) << QList<int>{-1, -1, -1, -1};
    // Other inserts bring the other table elements and their colours.
    QTest::newRow("english-other-inserts") << u"english"_qs << QList<int>{0, 4, 2, 1};
}

void Pictures::window() {
#ifndef Q_OS_LINUX
    QSKIP("the pictures are of the Linux text rasterizer");
#endif
    QFETCH(QString, language);
    QFETCH(QList<int>, inserts);
    StandIns stand;
    stand.settings.values.insert(MemorySettings::languageKey(), language);
    KXcalc w(stand.services());
    w.formLoad();
    for (std::size_t i = 0; i < kInputSpecs.size(); ++i)
        if (inserts[qsizetype(i)] >= 0)
            w.input(i).controls().list->setSelectedIndex(inserts[qsizetype(i)]);
    w.show();
    QApplication::processEvents();
    const QImage seen = w.grab().toImage().convertToFormat(QImage::Format_RGB32);

    const QString file = QStringLiteral(KX_PICTURES_DIR "/%1.png").arg(QLatin1StringView(QTest::currentDataTag()));
    if (qEnvironmentVariableIntValue("KX_UPDATE_PICTURES")) {
        QVERIFY(seen.save(file));
        QSKIP("picture written");
    }
    const QImage wanted = QImage(file).convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!wanted.isNull(), qPrintable(file));
    // What was seen goes beside the build's tests, to be compared (e.g. with
    // ImageMagick's compare) or, after an intended change, looked at.
    const QString out = QStringLiteral(KX_PICTURES_OUT "/%1-seen.png").arg(QLatin1StringView(QTest::currentDataTag()));
    if (seen != wanted)
        QFAIL(qPrintable(u"the window differs from "_qs + file + u"; seen: "_qs + (seen.save(out) ? out : u"-"_qs)));
}

QTEST_MAIN(Pictures)
#include "tst_pictures.moc"
