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
    void overlayIsTranslucent();
    void busyAnimation();
    void styleSheetParses_data();
    void styleSheetParses();
    void styleSheetPicturesExist_data();
    void styleSheetPicturesExist();
};

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
