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
    QTest::newRow("english, other inserts") << u"english"_qs << QList<int>{0, 4, 2, 1};
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

    const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(u", "_qs, u"-"_qs).replace(u' ', u'-');
    const QString file = QStringLiteral(KX_PICTURES_DIR "/%1.png").arg(name);
    if (qEnvironmentVariableIntValue("KX_UPDATE_PICTURES")) {
        QVERIFY(seen.save(file));
        QSKIP("picture written");
    }
    const QImage wanted = QImage(file).convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!wanted.isNull(), qPrintable(file));
    if (seen == wanted)
        return;
    const QString out = QStringLiteral(KX_PICTURES_OUT "/%1-seen.png").arg(name);
    seen.save(out);
    int differ = 0;
    for (int y = 0; y < std::min(seen.height(), wanted.height()); ++y)
        for (int x = 0; x < std::min(seen.width(), wanted.width()); ++x)
            differ += seen.pixel(x, y) != wanted.pixel(x, y);
    QFAIL(qPrintable(QStringLiteral("%1x%2 seen, %3x%4 wanted, %5 pixels differ; seen: %6")
                         .arg(seen.width()).arg(seen.height()).arg(wanted.width()).arg(wanted.height())
                         .arg(differ).arg(out)));
}

QTEST_MAIN(Pictures)
#include "tst_pictures.moc"
