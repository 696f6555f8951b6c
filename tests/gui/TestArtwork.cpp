// The pictures and style sheets built into the editor: every picture the window
// asks for is there at the size its place needs, and the style sheets parse and
// name only pictures that exist.

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QMovie>
#include <QRegularExpression>
#include <QWidget>
#include <QtTest>

namespace {

QStringList g_warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_warnings.append(text);
}

QString readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

class TestArtwork : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pictureSizes_data();
    void pictureSizes();
    void overlayIsTranslucent();
    void busyAnimation();
    void styleSheetParses_data();
    void styleSheetParses();
    void styleSheetPicturesExist_data();
    void styleSheetPicturesExist();
};

void TestArtwork::pictureSizes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");

    QTest::newRow("window icon") << ":/icon_16.png" << QSize(16, 16);
    QTest::newRow("about icon") << ":/icon_64.png" << QSize(64, 64);
    QTest::newRow("large icon") << ":/icon_256.png" << QSize(256, 256);
    for (const char *name :
        { "new", "save", "export", "import", "history", "backup", "httpdOpenIcon", "httpdCloseIcon" })
        QTest::newRow(name) << QStringLiteral(":/%1.png").arg(QLatin1String(name)) << QSize(24, 24);
    QTest::newRow("search") << ":/search.png" << QSize(16, 16);
    QTest::newRow("add contact") << ":/add_default.png" << QSize(20, 20);
    QTest::newRow("overlay") << ":/loading.png" << QSize(950, 609);
    QTest::newRow("dialog background") << ":/export_background.png" << QSize(502, 253);
    // The lists stretch their background over the whole view, so it must match the view.
    QTest::newRow("group list background") << ":/group_background.png" << QSize(230, 478);
    QTest::newRow("contact list background") << ":/contact_background.png" << QSize(280, 417);
    QTest::newRow("all groups") << ":/all_groups_default.png" << QSize(22, 22);
    QTest::newRow("blacklist") << ":/black_groups_default.png" << QSize(22, 22);
    QTest::newRow("group") << ":/default_groups_default.png" << QSize(22, 22);
    QTest::newRow("selection arrow") << ":/Arrow.png" << QSize(12, 12);
    QTest::newRow("avatar") << ":/default_contacts_default.png" << QSize(22, 22);
    QTest::newRow("box checked") << ":/select_box_pressed.png" << QSize(18, 18);
    QTest::newRow("box unchecked") << ":/select_box_default.png" << QSize(18, 18);
    QTest::newRow("empty group") << ":/nobody_preview.png" << QSize(216, 167);
    QTest::newRow("head") << ":/head.png" << QSize(102, 102);
    for (const char *name :
        { "delete_button_default", "delete_button_pressed", "add_button_default", "add_button_pressed" })
        QTest::newRow(name) << QStringLiteral(":/%1.png").arg(QLatin1String(name)) << QSize(24, 24);
    QTest::newRow("help icon") << ":/UserGuide/UserGuide.png" << QSize(32, 32);
    // Named .jpg by the help window; the reader must find the picture by its content.
    QTest::newRow("help side panel") << ":/UserGuide/right_BG.jpg" << QSize(102, 480);
    for (const char *dir : { "up", "down" }) {
        for (const char *state : { "unpressed", "pressed", "disable" }) {
            const QString name = QStringLiteral("arrow_%1_%2").arg(QLatin1String(dir), QLatin1String(state));
            QTest::newRow(qPrintable(name)) << QStringLiteral(":/UserGuide/%1.png").arg(name) << QSize(48, 48);
        }
    }
}

void TestArtwork::pictureSizes()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);

    QImageReader reader(path);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(path + ": " + reader.errorString()));
    QCOMPARE(image.size(), size);
}

void TestArtwork::overlayIsTranslucent()
{
    // The overlay dims the window; an opaque picture would hide it.
    const QImage overlay(QStringLiteral(":/loading.png"));
    QVERIFY(!overlay.isNull());
    for (const QPoint &at : { QPoint(0, 0), QPoint(949, 608), QPoint(100, 500) }) {
        const int alpha = qAlpha(overlay.pixel(at));
        QVERIFY2(alpha > 0 && alpha < 255,
            qPrintable(QStringLiteral("alpha %1 at %2,%3").arg(alpha).arg(at.x()).arg(at.y())));
    }
}

void TestArtwork::busyAnimation()
{
    QMovie movie(QStringLiteral(":/loading_animation.gif"));
    QVERIFY(movie.isValid());
    QCOMPARE(movie.format(), QByteArray("gif"));
    QVERIFY2(movie.frameCount() > 1, "a single frame does not move");
    QCOMPARE(movie.loopCount(), -1);
    QVERIFY(movie.jumpToFrame(0));
    QCOMPARE(movie.currentImage().size(), QSize(16, 16));
    const QImage first = movie.currentImage();
    QVERIFY(movie.jumpToNextFrame());
    QVERIFY(movie.currentImage() != first);
}

void TestArtwork::styleSheetParses_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("window") << ":/QuorvanePhonebook.qss";
    QTest::newRow("scroll bars") << ":/scrollBar.qss";
}

void TestArtwork::styleSheetParses()
{
    QFETCH(QString, path);
    const QString sheet = readResource(path);
    QVERIFY2(!sheet.trimmed().isEmpty(), qPrintable(path));

    // Qt reports a sheet it cannot parse with a warning when a widget is polished.
    QWidget widget;
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    widget.setStyleSheet(sheet);
    widget.ensurePolished();
    qInstallMessageHandler(previous);
    QCOMPARE(g_warnings, QStringList());
}

void TestArtwork::styleSheetPicturesExist_data()
{
    QTest::addColumn<QString>("url");
    static const QRegularExpression urlPattern(QStringLiteral("url\\(\\s*([^)\\s]+)\\s*\\)"));
    for (const char *path : { ":/QuorvanePhonebook.qss", ":/scrollBar.qss" }) {
        auto matches = urlPattern.globalMatch(readResource(QLatin1String(path)));
        while (matches.hasNext()) {
            const QString url = matches.next().captured(1);
            QTest::newRow(qPrintable(QLatin1String(path) + " " + url)) << url;
        }
    }
}

void TestArtwork::styleSheetPicturesExist()
{
    QFETCH(QString, url);
    QImageReader reader(url);
    QVERIFY2(reader.canRead(), qPrintable(url + ": " + reader.errorString()));
}

QTEST_MAIN(TestArtwork)
#include "TestArtwork.moc"
