#include "app/WindowPlacement.h"

#include <QtTest>

// Where the small windows open relative to the main window (950×640 with its
// frame): the help window (800×480) over it, the request log (480×320) beside it.
class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void centredOver_data()
    {
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("in the middle") << QRect(485, 200, 950, 640) << QPoint(560, 280);
        QTest::newRow("main window half off the left") << QRect(-500, 200, 950, 640) << QPoint(0, 280);
        QTest::newRow("main window below the bottom") << QRect(485, 900, 950, 640) << QPoint(560, 560);
    }
    void centredOver()
    {
        QFETCH(QRect, anchor);
        QFETCH(QPoint, expected);
        // A 1920×1040 screen: a task bar below.
        QCOMPARE(WindowPlacement::centredOver(anchor, QSize(800, 480), QRect(0, 0, 1920, 1040)), expected);
    }

    void beside_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QPoint>("expected");
        const QRect wide(0, 0, 1920, 1040);
        const QRect narrow(0, 0, 1280, 1000);
        QTest::newRow("room on the right") << wide << QRect(100, 50, 950, 640) << QPoint(1058, 50);
        QTest::newRow("room on the left only") << wide << QRect(900, 50, 950, 640) << QPoint(412, 50);
        QTest::newRow("no room, more on the right") << narrow << QRect(100, 50, 950, 640) << QPoint(800, 50);
        QTest::newRow("no room, more on the left") << narrow << QRect(230, 50, 950, 640) << QPoint(0, 50);
        QTest::newRow("low on the screen") << wide << QRect(100, 900, 950, 640) << QPoint(1058, 720);
    }
    void beside()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, anchor);
        QFETCH(QPoint, expected);
        QCOMPARE(WindowPlacement::beside(anchor, QSize(480, 320), screen), expected);
    }
};

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "TestWindowPlacement.moc"
