#include "widgets/AddNewGroupDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>

class TestAddNewGroupDialog : public QObject
{
    Q_OBJECT

private:
    static QPushButton *button(AddNewGroupDialog &d, const char *name)
    {
        return d.findChild<QPushButton *>(QLatin1String(name));
    }

private slots:
    void wideEnoughForItsTitle_data()
    {
        QTest::addColumn<QString>("catalogue");
        QTest::newRow("English") << "en.qm";
        QTest::newRow("Chinese") << "zh.qm";
    }
    void wideEnoughForItsTitle()
    {
        QFETCH(QString, catalogue);
        QTranslator translator;
        QVERIFY(translator.load(catalogue, QStringLiteral(QUORVANE_LANGUAGE_DIR)));
        QCoreApplication::installTranslator(&translator);
        AddNewGroupDialog d(QStringLiteral("new1"));
        QCoreApplication::removeTranslator(&translator);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        // The window manager draws the title in a bold font, beside an icon and
        // three or four buttons; a dialog narrower than that cuts its title.
        QFont bold = d.font();
        bold.setBold(true);
        const int needed = QFontMetrics(bold).horizontalAdvance(d.windowTitle()) + 120;
        QVERIFY2(d.width() >= needed, qPrintable(QStringLiteral("%1 < %2").arg(d.width()).arg(needed)));
    }

    void addFollowsTheName_data()
    {
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("proposal") << "new1"
                                  << "" << true;
        QTest::newRow("cleared") << "new1"
                                 << "\b\b\b\b" << false;
        QTest::newRow("cleared then one letter") << "new1"
                                                 << "\b\b\b\bx" << true;
        QTest::newRow("empty proposal") << ""
                                        << "" << false;
        QTest::newRow("blank is a name") << ""
                                         << " " << true;
    }
    void addFollowsTheName()
    {
        QFETCH(QString, proposed);
        QFETCH(QString, typed);
        QFETCH(bool, enabled);
        AddNewGroupDialog d(proposed);
        d.show();
        d.lineEdit()->setFocus();
        d.lineEdit()->end(false);
        for (const QChar c : typed) {
            if (c == QLatin1Char('\b'))
                QTest::keyClick(d.lineEdit(), Qt::Key_Backspace);
            else
                QTest::keyClicks(d.lineEdit(), QString(c));
        }
        QCOMPARE(button(d, "group_add_button")->isEnabled(), enabled);
    }

    void addAcceptsWithTheName()
    {
        AddNewGroupDialog d(QStringLiteral("new1"));
        d.show();
        d.lineEdit()->selectAll();
        QTest::keyClicks(d.lineEdit(), QStringLiteral("Friends"));
        QTest::mouseClick(button(d, "group_add_button"), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(!d.isVisible());
        QCOMPARE(d.groupName(), QStringLiteral("Friends"));
    }

    void closeRejects()
    {
        AddNewGroupDialog d(QStringLiteral("new1"));
        d.show();
        QTest::mouseClick(button(d, "group_close_button"), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(!d.isVisible());
    }
};

QTEST_MAIN(TestAddNewGroupDialog)
#include "TestAddNewGroupDialog.moc"
