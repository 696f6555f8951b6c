#include "app/MainWindow.h"
#include "manager/DataMgr.h"
#include "tests/gui/GuiTestUtil.h"
#include "widgets/PhoneFetchModel.h"

#include <QAbstractItemModelTester>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextEdit>
#include <QtTest>

using GuiTestUtil::BoxAnswerer;
using GuiTestUtil::ProgramFolder;

// The strip's HTTPD button switches the phonebook service on and off; the
// request log shows what the service reports. The service reads port.xml from
// the current folder, so each test works in its program folder with a free port.
class TestHttpdButton : public QObject
{
    Q_OBJECT

private:
    QString m_startFolder;
    quint16 m_port = 0;

    static quint16 freePort()
    {
        QTcpServer probe;
        return probe.listen(QHostAddress::AnyIPv4, 0) ? probe.serverPort() : 0;
    }
    void usePort(const ProgramFolder &folder)
    {
        m_port = freePort();
        QVERIFY(m_port != 0);
        QVERIFY(QDir::setCurrent(folder.path()));
        folder.write(QStringLiteral("port.xml"),
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<configHttpdPort>\n"
                           "    <useDefault>0</useDefault>\n    <port>%1</port>\n</configHttpdPort>\n")
                .arg(m_port)
                .toUtf8());
    }
    static QPushButton *button(MainWindow &w) { return w.findChild<QPushButton *>(QStringLiteral("tool_httpButton")); }
    // A phone's fetch; the event loop runs meanwhile, so that the window can write
    // the phonebook the phone asks for.
    QByteArray fetch(const QByteArray &agent) const
    {
        QTcpSocket phone;
        phone.connectToHost(QHostAddress::LocalHost, m_port);
        if (!phone.waitForConnected(5000))
            return QByteArray();
        phone.write("GET /phonebook.xml HTTP/1.1\r\nUser-Agent: " + agent + "\r\n\r\n");
        QByteArray reply;
        const QDeadlineTimer deadline(10000);
        while (phone.state() != QAbstractSocket::UnconnectedState && !deadline.hasExpired()) {
            QTest::qWait(10);
            reply += phone.readAll();
        }
        return reply + phone.readAll();
    }

private slots:
    void initTestCase()
    {
        m_startFolder = QDir::currentPath();
        QLocale::setDefault(QLocale(QLocale::English));
    }
    void cleanup()
    {
        DataMgr::instance()->stopHttpService();
        QDir::setCurrent(m_startFolder);
    }

    void toggledTwiceReturnsToOpen()
    {
        ProgramFolder folder;
        usePort(folder);
        MainWindow w;
        BoxAnswerer answerer;
        QTextEdit *log = w.httpdLog()->log();

        QTest::mouseClick(button(w), Qt::LeftButton);
        QCOMPARE(button(w)->text(), QStringLiteral("&Close HTTPD"));
        QCOMPARE(button(w)->statusTip(), QStringLiteral("Close the HTTPD server"));
        QVERIFY(log->isVisible());
        const QString entry = log->toPlainText();
        QVERIFY2(entry.startsWith(QStringLiteral("HTTPD server is running.\nServerIP")), qPrintable(entry));
        QVERIFY2(entry.contains(QStringLiteral("\nPort:%1").arg(m_port)), qPrintable(entry));
        QCOMPARE(DataMgr::instance()->httpPort(), m_port);
        QCOMPARE(answerer.boxes.size(), 0);

        QTest::mouseClick(button(w), Qt::LeftButton);
        QCOMPARE(button(w)->text(), QStringLiteral("O&pen HTTPD"));
        QCOMPARE(button(w)->statusTip(), QStringLiteral("Open the HTTPD server"));
        QVERIFY(!log->isVisible());
        QCOMPARE(log->toPlainText(), QString());
        // Nobody listens on the port any more.
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        QVERIFY(!socket.waitForConnected(1000));
    }

    void requestReachesTheLog()
    {
        ProgramFolder folder;
        usePort(folder);
        MainWindow w;
        BoxAnswerer answerer;
        QTest::mouseClick(button(w), Qt::LeftButton);
        QCOMPARE(button(w)->text(), QStringLiteral("&Close HTTPD"));

        QTcpSocket phone;
        phone.connectToHost(QHostAddress::LocalHost, m_port);
        QVERIFY(phone.waitForConnected(5000));
        phone.write("GET /phonebook.xml?pro=Birch HTTP/1.1\r\nHost: x\r\n\r\n");
        QVERIFY(phone.waitForBytesWritten(5000));
        QTRY_VERIFY(w.httpdLog()->log()->toPlainText().contains(QStringLiteral("Product:Birch")));
        QVERIFY(w.httpdLog()->log()->toPlainText().endsWith(
            QStringLiteral("\n\nOne device request phonebook.\nProduct:Birch\nFileName:phonebook.xml")));
        phone.abort();
    }

    // Two phones fetch, one before an edit and a save and one after: the table
    // beside the log shows both, the first as not up to date.
    void phonesTableMarksThePhoneLeftBehind()
    {
        ProgramFolder folder;
        usePort(folder);
        TestUtil::addContact(TestUtil::contact(QStringLiteral("Ann"), QStringLiteral("Lee")));
        QVERIFY(DataMgr::instance()->saveToDatabase());
        MainWindow w;
        BoxAnswerer answerer;
        QTest::mouseClick(button(w), Qt::LeftButton);
        QTableView *table = w.httpdLog()->phonesView();
        QVERIFY(table->isVisible());
        QAbstractItemModel *model = table->model();
        QAbstractItemModelTester tester(model);

        QVERIFY(fetch("Birch B20/2.1").contains("Ann"));
        DataMgr::instance()->phonebook().editContacts()[0].FirstName = QStringLiteral("Zed");
        w.setSaved(false);
        QVERIFY(w.saveFile());
        QVERIFY(fetch("Cedar T3").contains("Zed"));

        QTRY_COMPARE(model->rowCount(), 2);
        auto cell
            = [&](int row, int column, int role = Qt::DisplayRole) { return model->index(row, column).data(role); };
        QCOMPARE(cell(0, PhoneFetchModel::PhoneColumn).toString(), QStringLiteral("127.0.0.1  Birch B20/2.1"));
        QCOMPARE(cell(0, PhoneFetchModel::ModelColumn).toString(), QStringLiteral("Birch"));
        QCOMPARE(cell(0, PhoneFetchModel::UpToDateColumn).toString(), QStringLiteral("No"));
        QCOMPARE(cell(0, PhoneFetchModel::UpToDateColumn, PhoneFetchModel::MarkRole).toInt(),
            int(PhoneFetchModel::Mark::Older));
        QCOMPARE(cell(1, PhoneFetchModel::ModelColumn).toString(), QStringLiteral("Cedar"));
        QCOMPARE(cell(1, PhoneFetchModel::UpToDateColumn).toString(), QStringLiteral("Yes"));

        // The older phone catches up; stopping the service empties the table.
        QVERIFY(fetch("Birch B20/2.1").contains("Zed"));
        QTRY_COMPARE(cell(0, PhoneFetchModel::UpToDateColumn).toString(), QStringLiteral("Yes"));
        QTest::mouseClick(button(w), Qt::LeftButton);
        QCOMPARE(model->rowCount(), 0);
    }

    void autoHttpdStartsTheService()
    {
        ProgramFolder folder;
        usePort(folder);
        folder.write(QStringLiteral("language/options.xml"),
            "<root><AutoStart>0</AutoStart><RecoveryData>0</RecoveryData><AutoHttpd>1</AutoHttpd></root>");
        BoxAnswerer answerer;
        MainWindow w;
        QCOMPARE(button(w)->text(), QStringLiteral("&Close HTTPD"));
        QVERIFY(w.httpdLog()->isVisible());
        QCOMPARE(DataMgr::instance()->httpPort(), m_port);
        QCOMPARE(answerer.boxes.size(), 0);
    }
};

QTEST_MAIN(TestHttpdButton)
#include "TestHttpdButton.moc"
