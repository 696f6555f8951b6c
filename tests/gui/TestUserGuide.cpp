#include "manager/DataMgr.h"
#include "widgets/UserGuide.h"
#include "widgets/UserGuideWidget.h"

#include <QLabel>
#include <QPushButton>
#include <QTranslator>
#include <QWheelEvent>
#include <QtTest>

class TestUserGuide : public QObject
{
    Q_OBJECT

private:
    static QString counter(UserGuide &g) { return g.findChild<QLabel *>(QStringLiteral("guide_page_counter"))->text(); }
    static QPushButton *arrow(UserGuide &g, const char *name)
    {
        return g.findChild<QPushButton *>(QLatin1String(name));
    }

private slots:
    void init() { DataMgr::instance()->setLanguage(QStringLiteral("en")); }

    void tenPagesInOrder()
    {
        UserGuide g;
        QCOMPARE(g.pageCount(), 10);
        const QStringList titles = { "Create new phonebook", "Import an exist phonebook", "Save current phonebook",
            "Export current phonebook", "Managing contacts", "Managing groups", "View history",
            "Make backup for current phonebook", "Language Option", "Other config options" };
        QStringList texts;
        for (int i = 0; i < g.pageCount(); ++i) {
            UserGuideWidget *page = g.page(i);
            QCOMPARE(page->title(), titles[i]);
            QCOMPARE(page->picturePath(), QStringLiteral(":/UserGuide/%1.jpg").arg(i + 1));
            QVERIFY2(QFile::exists(page->picturePath()), qPrintable(page->picturePath()));
            QCOMPARE(page->size(), QSize(698, 480));
            QVERIFY(page->text().size() > 100);
            texts << page->text();
        }
        texts.removeDuplicates();
        QCOMPARE(texts.size(), 10);
        QCOMPARE(counter(g), QStringLiteral("1/10"));
    }

    void pictureFolder_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("first");
        QTest::newRow("en") << "en"
                            << ":/UserGuide/1.jpg";
        QTest::newRow("zh") << "zh"
                            << ":/UserGuide/chinese/1.jpg";
        QTest::newRow("untranslated") << ""
                                      << ":/UserGuide/1.jpg";
    }
    void pictureFolder()
    {
        QFETCH(QString, language);
        QFETCH(QString, first);
        DataMgr::instance()->setLanguage(language);
        UserGuide g;
        QCOMPARE(g.page(0)->picturePath(), first);
        QVERIFY(QFile::exists(first));
    }

    void secondPressDuringTurnIsIgnored()
    {
        UserGuide g;
        g.show();
        QPushButton *down = arrow(g, "guide_down_arrow");
        QTest::mouseClick(down, Qt::LeftButton);
        QVERIFY(g.isTurning());
        QTest::mouseClick(down, Qt::LeftButton);
        QCOMPARE(g.currentPage(), 1);
        QCOMPARE(counter(g), QStringLiteral("2/10"));
        QTRY_VERIFY(!g.isTurning());
        QVERIFY(g.page(1)->isVisible());
        QCOMPARE(g.page(1)->pos(), QPoint(0, 0));
        QVERIFY(!g.page(0)->isVisible());

        QTest::mouseClick(down, Qt::LeftButton);
        QCOMPARE(counter(g), QStringLiteral("3/10"));
    }

    void arrowsAtTheEnds()
    {
        UserGuide g;
        g.show();
        QVERIFY(!arrow(g, "guide_up_arrow")->isEnabled());
        QVERIFY(arrow(g, "guide_down_arrow")->isEnabled());
        g.leftPressed();
        QCOMPARE(g.currentPage(), 0);
        QVERIFY(!g.isTurning());
        for (int i = 1; i < 10; ++i) {
            g.rightPressed();
            QTRY_VERIFY(!g.isTurning());
        }
        QCOMPARE(counter(g), QStringLiteral("10/10"));
        QVERIFY(arrow(g, "guide_up_arrow")->isEnabled());
        QVERIFY(!arrow(g, "guide_down_arrow")->isEnabled());
        g.rightPressed();
        QCOMPARE(g.currentPage(), 9);

        QTest::mouseClick(arrow(g, "guide_up_arrow"), Qt::LeftButton);
        QCOMPARE(counter(g), QStringLiteral("9/10"));
        QTRY_VERIFY(!g.isTurning());
        QCOMPARE(g.page(8)->pos(), QPoint(0, 0));
    }

    void pagesFitWithoutScrolling_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "en";
        QTest::newRow("Chinese") << "zh";
    }
    void pagesFitWithoutScrolling()
    {
        QFETCH(QString, language);
        QTranslator translator;
        if (language == QLatin1String("zh")) {
            QVERIFY(translator.load(QStringLiteral("zh.qm"), QStringLiteral(QUORVANE_LANGUAGE_DIR)));
            QCoreApplication::installTranslator(&translator);
        }
        DataMgr::instance()->setLanguage(language);
        UserGuide g;
        for (int i = 0; i < g.pageCount(); ++i) {
            QVERIFY2(g.page(i)->widget()->height() <= 480, qPrintable(g.page(i)->title()));
            if (language == QLatin1String("zh"))
                QVERIFY2(g.page(i)->text().endsWith(QChar(0x3002)), qPrintable(g.page(i)->title()));
        }
    }

    void keysAndWheelTurnPages_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("wheel");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Right") << int(Qt::Key_Right) << 0 << "3/10";
        QTest::newRow("PageDown") << int(Qt::Key_PageDown) << 0 << "3/10";
        QTest::newRow("Left") << int(Qt::Key_Left) << 0 << "1/10";
        QTest::newRow("PageUp") << int(Qt::Key_PageUp) << 0 << "1/10";
        QTest::newRow("wheel down") << 0 << -120 << "3/10";
        QTest::newRow("wheel up") << 0 << 120 << "1/10";
        QTest::newRow("half a notch") << 0 << -60 << "2/10";
    }
    void keysAndWheelTurnPages()
    {
        QFETCH(int, key);
        QFETCH(int, wheel);
        QFETCH(QString, shown);
        UserGuide g;
        g.show();
        g.rightPressed();
        QTRY_VERIFY(!g.isTurning());
        if (key) {
            QTest::keyClick(&g, Qt::Key(key));
        } else {
            QWidget *viewport = g.page(1)->viewport();
            const QPointF at(100, 100);
            QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, wheel), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &event);
        }
        QCOMPARE(counter(g), shown);
        QTRY_VERIFY(!g.isTurning());
        QVERIFY(g.isVisible());
    }

    void escapeCloses()
    {
        UserGuide g;
        g.show();
        QSignalSpy spy(&g, &UserGuide::closeClicked);
        QTest::keyClick(&g, Qt::Key_Escape);
        QVERIFY(!g.isVisible());
        QCOMPARE(spy.size(), 1);
    }

    void closingSignals()
    {
        UserGuide g;
        g.show();
        QSignalSpy spy(&g, &UserGuide::closeClicked);
        g.close();
        QCOMPARE(spy.size(), 1);
    }
};

QTEST_MAIN(TestUserGuide)
#include "TestUserGuide.moc"
