// The window as a person sees it, compared pixel by pixel with pictures taken
// of it: every caption, place, colour and picture at once. The pictures are of
// the Linux build with the fonts the test command installs (every control in
// Liberation Sans); text drawn by another system's rasterizer or in other
// fonts differs, so there the test is skipped, saying why. KX_UPDATE_PICTURES=1
// writes new pictures into the source tree instead, to be looked at before
// they are committed.
#include <QApplication>
#include <QFontInfo>
#include <QTest>

#include "controls.h"
#include "kxcalc.h"
#include "stand_ins.h"

using namespace kx;

namespace {
// Where two pictures differ (a pixel only one of them has counts): how many
// pixels, within which box.
QString difference(const QImage& a, const QImage& b) {
    qsizetype pixels = 0;
    QRect box;
    const QRect all = a.rect() | b.rect();
    for (int y = all.top(); y <= all.bottom(); ++y)
        for (int x = all.left(); x <= all.right(); ++x)
            if (!a.valid(x, y) || !b.valid(x, y) || a.pixel(x, y) != b.pixel(x, y))
                ++pixels, box |= QRect(x, y, 1, 1);
    return QString::asprintf("%dx%d against %dx%d, in %lld pixels, within %d,%d %dx%d", a.width(), a.height(),
                             b.width(), b.height(), qlonglong(pixels), box.x(), box.y(), box.width(), box.height());
}
}  // namespace

class Pictures : public QObject {
    Q_OBJECT
private slots:
    void window_data();
    void window();
};

void Pictures::window_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QList<int>>("inserts");  // the item chosen in each list, -1: as started
    QTest::addColumn<bool>("debug");          // "debug" ticked
    for (const Language& l : kLanguages)
        QTest::newRow(l.settingWord) << QString::fromLatin1(l.settingWord) << QList<int>{-1, -1, -1, -1} << false;
    // Other inserts bring the other table elements and their colours.
    QTest::newRow("english-other-inserts") << u"english"_qs << QList<int>{0, 4, 2, 1} << false;
    // The window the debug box shortens: the working area stays out of sight.
    QTest::newRow("english-debug") << u"english"_qs << QList<int>{-1, -1, -1, -1} << true;
}

void Pictures::window() {
#ifndef Q_OS_LINUX
    QSKIP("the pictures are of the Linux text rasterizer");
#endif
    QFETCH(QString, language);
    QFETCH(QList<int>, inserts);
    QFETCH(bool, debug);
    StandIns stand;
    stand.settings.values.insert(MemorySettings::languageKey(), language);
    KXcalc w(stand.services());
    w.formLoad();
    QStringList fonts;
    const QList<QWidget*> controls = w.findChildren<QWidget*>() << &w;
    for (const QWidget* c : controls)
        if (const QString family = QFontInfo(c->font()).family(); !fonts.contains(family))
            fonts << family;
    if (fonts != QStringList{u"Liberation Sans"_qs})
        QSKIP(qPrintable(u"the window's fonts here are "_qs + fonts.join(u", "_qs) +
                         u"; the pictures were taken with Liberation Sans"_qs));
    for (std::size_t i = 0; i < kInputSpecs.size(); ++i)
        if (inserts[qsizetype(i)] >= 0)
            w.input(i).controls().list->setSelectedIndex(inserts[qsizetype(i)]);
    if (debug)
        qobject_cast<QCheckBox*>(w.control(u"chkDebug"_qs))->click();  // hidden: only the program can
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
    if (seen == wanted)
        return;
    // What was seen goes beside the build's tests, to be compared (e.g. with
    // ImageMagick's compare) or, after an intended change, looked at.
    const QString out = QStringLiteral(KX_PICTURES_OUT "/%1-seen.png").arg(QLatin1StringView(QTest::currentDataTag()));
    QFAIL(qPrintable(QStringLiteral("the window differs from %1: %2; seen: %3")
                         .arg(file, difference(seen, wanted), seen.save(out) ? out : u"-"_qs)));
}

QTEST_MAIN(Pictures)
#include "tst_pictures.moc"
