// The window as a person sees it, compared pixel by pixel with pictures taken
// of it: every caption, place, colour and picture at once. The pictures are of
// the Linux build drawn with the font files of Debian 12's fonts-liberation
// (every control in Liberation Sans 1.07.4): the test draws the window with
// those files alone, whatever else the machine has (another version of
// Liberation Sans hints differently), and where they are missing or another
// system's rasterizer draws, it is skipped, saying why. KX_UPDATE_PICTURES=1
// writes new pictures into the source tree instead, to be looked at before
// they are committed.
#include <QApplication>
#include <QCryptographicHash>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

#include "controls.h"
#include "kxcalc.h"
#include "printing.h"
#include "stand_ins.h"

using namespace kx;

namespace {
// The font files the pictures were taken with, by their SHA-256.
const std::pair<const char*, const char*> kFonts[] = {
    {"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
     "f8ace1f892b2bd9dc1792ba7f097fa7588f84fed48321480e04de5390828221f"},
    {"/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
     "361c61b82d575c5c35fd9157fda8b0194bcfcd0d88ea8521a4fb5dd53d33dddc"}};

// The system's font settings with no font but those files.
void useOnlyTheFonts() {
    QString accepted;
    for (const auto& font : kFonts)
        accepted += uR"(<pattern><patelt name="file"><string>%1</string></patelt></pattern>)"_qs.arg(font.first);
    QFile conf(QStringLiteral(KX_PICTURES_OUT "/fonts.conf"));
    if (conf.open(QIODevice::WriteOnly))
        conf.write(
            uR"(<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "fonts.dtd"><fontconfig>
<include ignore_missing="yes">/etc/fonts/fonts.conf</include><selectfont><rejectfont>
<pattern><patelt name="scalable"><bool>true</bool></patelt></pattern>
<pattern><patelt name="scalable"><bool>false</bool></patelt></pattern>
</rejectfont><acceptfont>%1</acceptfont></selectfont></fontconfig>)"_qs.arg(accepted)
                .toUtf8());
    qputenv("FONTCONFIG_FILE", QFile::encodeName(conf.fileName()));
}

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
    void initTestCase();
    void window_data();
    void window();
};

void Pictures::initTestCase() {
#ifndef Q_OS_LINUX
    QSKIP("the pictures are of the Linux text rasterizer");
#endif
    for (const auto& [name, sha256] : kFonts) {
        QFile file(QLatin1StringView{name});
        if (!file.open(QIODevice::ReadOnly) ||
            QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex() != sha256)
            QSKIP(qPrintable(file.fileName() + u" is missing or not the one of fonts-liberation 1.07.4, whose "
                                               u"letters the pictures show"_qs));
    }
}

void Pictures::window_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QList<int>>("inserts");  // the item chosen in each list, -1: as started
    QTest::addColumn<bool>("debug");          // "debug" ticked
    QTest::addColumn<QString>("focused");     // the control a person has Tabbed to, the window active
    QTest::addColumn<bool>("page");           // the page the print button puts on paper, not the window
    const QList<int> started{-1, -1, -1, -1};
    for (const Language& l : kLanguages)
        QTest::newRow(l.settingWord) << QString::fromLatin1(l.settingWord) << started << false << QString() << false;
    // Other inserts bring the other table elements and their colours.
    QTest::newRow("english-other-inserts") << u"english"_qs << QList<int>{0, 4, 2, 1} << false << QString() << false;
    // The window the debug box shortens: the working area stays out of sight.
    QTest::newRow("english-debug") << u"english"_qs << started << true << QString() << false;
    // A keyboard user sees where the focus is, also on a picture.
    QTest::newRow("english-focused-flag") << u"english"_qs << started << false << u"picUS"_qs << false;
    // The toolkit's drawing of the window, copied without transparency for
    // paper (printing.cpp), puts every part where the window shows it.
    QTest::newRow("printed-page") << u"english"_qs << started << false << QString() << true;
}

namespace {
// The top of the page as "Save as PDF" writes it, with a footer of its own,
// at 100 dpi as poppler draws the PDF; a null image where poppler's pdftoppm
// is missing.
QImage pageTop(KXcalc& window) {
    QTemporaryFile pdf;
    if (!pdf.open() || pdf.write(pdfOf({&window, u"Printed on 12/8/2026 11:00 AM"_qs})) <= 0 || !pdf.flush())
        return {};
    QProcess pdftoppm;
    pdftoppm.start(u"pdftoppm"_qs, {u"-png"_qs, u"-singlefile"_qs, u"-r"_qs, u"100"_qs, u"-W"_qs, u"680"_qs, u"-H"_qs,
                                    u"740"_qs, pdf.fileName()});
    if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0)
        return {};
    return QImage::fromData(pdftoppm.readAllStandardOutput(), "PNG");
}
}  // namespace

void Pictures::window() {
    QFETCH(QString, language);
    QFETCH(QList<int>, inserts);
    QFETCH(bool, debug);
    QFETCH(QString, focused);
    QFETCH(bool, page);
    StandIns stand;
    stand.settings.values.insert(MemorySettings::languageKey(), language);
    KXcalc w(stand.services());
    w.formLoad();
    for (std::size_t i = 0; i < kInputSpecs.size(); ++i)
        if (inserts[qsizetype(i)] >= 0)
            w.input(i).controls().list->setSelectedIndex(inserts[qsizetype(i)]);
    if (debug)
        qobject_cast<QCheckBox*>(w.control(u"chkDebug"_qs))->click();  // hidden: only the program can
    w.show();
    if (!focused.isEmpty()) {
        QApplication::setActiveWindow(&w);
        for (int tabs = 0; tabs < 100 && !w.control(focused)->hasFocus(); ++tabs)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QApplication::processEvents();
    const QImage seen = (page ? pageTop(w) : w.grab().toImage()).convertToFormat(QImage::Format_RGB32);
    if (page && seen.isNull())
        QSKIP("poppler's pdftoppm, which draws the page, is missing");

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

int main(int argc, char* argv[]) {
    useOnlyTheFonts();
    // The page's paper is the regional format's, with no print scheduler of
    // the machine's to ask.
    qputenv("CUPS_SERVER", QByteArrayLiteral(KX_PICTURES_OUT "/no-print-scheduler"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    Pictures test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_pictures.moc"
