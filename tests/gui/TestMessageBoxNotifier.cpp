#include "app/MessageBoxNotifier.h"
#include "tests/gui/GuiTestUtil.h"

#include <QThread>
#include <QtTest>

using GuiTestUtil::BoxAnswerer;

class TestMessageBoxNotifier : public QObject
{
    Q_OBJECT

private slots:
    void boxShowsTheMessage_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("boxIcon");
        QTest::newRow("plain") << int(Notifier::NoIcon) << int(QMessageBox::NoIcon);
        QTest::newRow("information") << int(Notifier::Information) << int(QMessageBox::Information);
        QTest::newRow("warning") << int(Notifier::Warning) << int(QMessageBox::Warning);
        QTest::newRow("critical") << int(Notifier::Critical) << int(QMessageBox::Critical);
    }
    void boxShowsTheMessage()
    {
        QFETCH(int, icon);
        QFETCH(int, boxIcon);
        MessageBoxNotifier notifier;
        BoxAnswerer answerer;
        notifier.message(Notifier::Icon(icon), QStringLiteral("Httpd Server"),
            QStringLiteral("Unable to start the server: NIC device not found."));
        QCOMPARE(answerer.boxes.size(), 1);
        QCOMPARE(answerer.boxes[0].title, QStringLiteral("Httpd Server"));
        QCOMPARE(answerer.boxes[0].text, QStringLiteral("Unable to start the server: NIC device not found."));
        QCOMPARE(int(answerer.boxes[0].icon), boxIcon);
        QCOMPARE(answerer.boxes[0].buttons, QStringList({ "OK" }));
    }

    void messageFromAnotherThread()
    {
        MessageBoxNotifier notifier;
        Notifier::install(&notifier);
        BoxAnswerer answerer;
        bool returned = false;
        QThread *worker = QThread::create([&returned] {
            Notifier::current()->message(Notifier::Warning, QStringLiteral("From a worker"), QStringLiteral("x"));
            returned = true;
        });
        worker->start();
        QTRY_VERIFY(worker->isFinished());
        worker->wait();
        delete worker;
        Notifier::install(nullptr);
        QVERIFY(returned);
        QCOMPARE(answerer.titles(), QStringList({ "From a worker" }));
    }
};

QTEST_MAIN(TestMessageBoxNotifier)
#include "TestMessageBoxNotifier.moc"
