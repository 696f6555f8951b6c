#include "app/WebImport.h"
#include "data/AppPaths.h"
#include "export/ExportFactory.h"
#include "import/WebDownload.h"
#include "tests/gui/GuiTestUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

using GuiTestUtil::BoxAnswerer;

namespace {

// A small HTTP server on loopback (plain or TLS) that answers each request with
// the raw reply stored for its path and then closes; a stalling reply sends one
// more piece a moment later and then hangs. A route with credentials answers 401
// until Basic authentication with them arrives.
class LoopbackServer : public QObject
{
public:
    struct Route {
        QByteArray reply;
        bool stall = false;
        QByteArray credentials;
    };
    QList<QByteArray> paths;

    explicit LoopbackServer(const QSslConfiguration *tls = nullptr)
    {
        if (tls) {
            auto *server = new QSslServer(this);
            server->setSslConfiguration(*tls);
            m_server = server;
        } else {
            m_server = new QTcpServer(this);
        }
        connect(m_server, &QTcpServer::pendingConnectionAvailable, this, [this] {
            while (QTcpSocket *socket = m_server->nextPendingConnection())
                connect(socket, &QIODevice::readyRead, this, [this, socket] { answer(socket); });
        });
        m_server->listen(QHostAddress::LocalHost, 0);
    }
    void serve(const QByteArray &path, const QByteArray &reply, bool stall = false, const QByteArray &credentials = {})
    {
        m_routes.insert(path, Route { reply, stall, credentials });
    }
    bool serves(const QByteArray &path) const { return m_routes.contains(path); }
    QString address(const QString &path) const
    {
        return QStringLiteral("127.0.0.1:%1%2").arg(m_server->serverPort()).arg(path);
    }
    static QByteArray reply(const QByteArray &status, const QByteArray &body, const QByteArray &extra = {})
    {
        return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n" + extra
            + "Connection: close\r\n\r\n" + body;
    }

private:
    void answer(QTcpSocket *socket)
    {
        const QByteArray head = socket->peek(socket->bytesAvailable());
        if (!head.contains("\r\n\r\n"))
            return;
        socket->readAll();
        const QList<QByteArray> lines = head.split('\n');
        const QByteArray path = lines.first().split(' ').value(1);
        paths << path;
        QByteArray authorization;
        for (const QByteArray &line : lines) {
            if (line.toLower().startsWith("authorization:"))
                authorization = line.mid(14).trimmed();
        }
        const Route route = m_routes.value(path, Route { reply("404 Not Found", "missing"), false, {} });
        if (!route.credentials.isEmpty() && authorization != "Basic " + route.credentials.toBase64()) {
            socket->write(reply("401 Unauthorized", "", "WWW-Authenticate: Basic realm=\"phonebook\"\r\n"));
            socket->disconnectFromHost();
            return;
        }
        socket->write(route.reply);
        if (!route.stall) {
            socket->disconnectFromHost();
            return;
        }
        // The client reports progress at most every 100 ms, so only a later
        // piece is sure to show up on the progress bar.
        QTimer::singleShot(300, socket, [socket] { socket->write(QByteArray(1000, 'y')); });
    }

    QTcpServer *m_server;
    QHash<QByteArray, Route> m_routes;
};

} // namespace

// The network import dialog against servers on loopback: what lands in the web
// folder, what the user is told, and what the dialog hands on.
class TestWebImport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *m_appDir = nullptr;
    QTemporaryDir m_certDir;
    std::unique_ptr<QSslConfiguration> m_tls;

    QString webFile(const QString &name) const { return m_appDir->filePath(QStringLiteral("web/") + name); }
    QStringList webEntries() const
    {
        return QDir(m_appDir->filePath(QStringLiteral("web"))).entryList(QDir::Files | QDir::Hidden);
    }
    static void writeFile(const QString &path, const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    static QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    template <typename T> static T *child(WebImport &d, const char *name)
    {
        return d.findChild<T *>(QLatin1String(name));
    }
    // Types the address, presses Download and waits until the download ended or
    // was never started.
    static void download(WebImport &d, const QString &address)
    {
        QTest::keyClicks(child<QLineEdit>(d, "web_url_edit"), address);
        QTest::mouseClick(child<QPushButton>(d, "web_download_button"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!d.download()->isRunning(), 30000);
    }
    // Answers the authentication dialog with the credentials, or cancels it when they are empty.
    static void answerAuthentication(QObject *owner, const QString &user, const QString &password)
    {
        auto *timer = new QTimer(owner);
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, timer, [user, password] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != QLatin1String("http_auth_dialog"))
                return;
            if (user.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->findChild<QLineEdit *>(QStringLiteral("auth_user_edit"))->setText(user);
            dialog->findChild<QLineEdit *>(QStringLiteral("auth_password_edit"))->setText(password);
            dialog->accept();
        });
        timer->start();
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English));
        // A self-signed certificate for the HTTPS cases, when openssl and a TLS backend are there.
        if (!QSslSocket::supportsSsl())
            return;
        QProcess openssl;
        openssl.setWorkingDirectory(m_certDir.path());
        openssl.start(QStringLiteral("openssl"),
            { "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                "key.pem", "-out", "cert.pem", "-days", "2", "-subj", "/CN=quorvane-test" });
        if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0)
            return;
        const QList<QSslCertificate> certs = QSslCertificate::fromPath(m_certDir.filePath(QStringLiteral("cert.pem")));
        const QSslKey key(readFile(m_certDir.filePath(QStringLiteral("key.pem"))), QSsl::Ec);
        if (certs.isEmpty() || key.isNull())
            return;
        m_tls = std::make_unique<QSslConfiguration>(QSslConfiguration::defaultConfiguration());
        m_tls->setLocalCertificate(certs.first());
        m_tls->setPrivateKey(key);
    }
    void init()
    {
        m_appDir = new QTemporaryDir;
        QVERIFY(m_appDir->isValid());
        AppPaths::setAppDir(m_appDir->path());
    }
    void cleanup()
    {
        AppPaths::setAppDir(QString());
        delete m_appDir;
        m_appDir = nullptr;
    }

    void downloadsIntoWebFolder_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("requested");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<bool>("clearList");
        QTest::addColumn<bool>("replaceWay");
        QTest::newRow("no scheme") << "%1" << QByteArray("/book.xml") << "book.xml" << 0 << false << false;
        QTest::newRow("http scheme, options chosen")
            << "http://%1" << QByteArray("/book.xml") << "book.xml" << 3 << true << true;
        QTest::newRow("scheme in capitals")
            << "HTTP://%1" << QByteArray("/book.xml") << "book.xml" << 12 << false << true;
        QTest::newRow("percent-encoded") << "%1" << QByteArray("/my%20book.vcf") << "my book.vcf" << 1 << true << false;
        QTest::newRow("redirected") << "%1" << QByteArray("/old.csv") << "old.csv" << 0 << false << false;
    }
    void downloadsIntoWebFolder()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, requested);
        QFETCH(QString, fileName);
        QFETCH(int, encoding);
        QFETCH(bool, clearList);
        QFETCH(bool, replaceWay);
        LoopbackServer server;
        const QByteArray body = "<phonebook>" + requested + "</phonebook>";
        server.serve("/old.csv", LoopbackServer::reply("302 Found", "moved", "Location: /new.csv\r\n"));
        server.serve("/new.csv", LoopbackServer::reply("200 OK", body));
        if (!server.serves(requested))
            server.serve(requested, LoopbackServer::reply("200 OK", body));

        WebImport d;
        d.show();
        BoxAnswerer answerer;
        child<QComboBox>(d, "web_encoding_box")->setCurrentIndex(encoding);
        if (clearList)
            QTest::mouseClick(child<QCheckBox>(d, "web_clear_yes"), Qt::LeftButton);
        if (replaceWay)
            QTest::mouseClick(child<QCheckBox>(d, "web_replace_yes"), Qt::LeftButton);
        QSignalSpy success(&d, &WebImport::webImportSuccess);
        download(d, typed.arg(server.address(QString::fromLatin1(requested))));

        QCOMPARE(answerer.titles(), QStringList());
        QCOMPARE(server.paths.first(), requested);
        QCOMPARE(readFile(webFile(fileName)), body);
        QCOMPARE(webEntries(), QStringList { fileName });
        QCOMPARE(success.size(), 1);
        const auto chosen = success.first().value(0).value<ImportOptions>();
        QCOMPARE(chosen.path, webFile(fileName));
        QCOMPARE(chosen.encoding, ExportFactory::encodingNames().at(encoding));
        QCOMPARE(chosen.clearList, clearList);
        QCOMPARE(chosen.replaceDuplicates, replaceWay);
        QCOMPARE(child<QLabel>(d, "web_status_label")->text(),
            QStringLiteral("Downloaded %1 to web folder success!").arg(fileName));
        QVERIFY(child<QPushButton>(d, "web_download_button")->isEnabled());
    }

    void failedDownloadLeavesNoFile_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArray>("older");
        QTest::addColumn<QString>("message");
        const QString requestFailed = QStringLiteral("Download failed: HTTP request failed!");
        QTest::newRow("404") << LoopbackServer::reply("404 Not Found", "no such file") << QByteArray()
                             << "Download failed: File not found.";
        QTest::newRow("404 over an older file") << LoopbackServer::reply("404 Not Found", "no such file")
                                                << QByteArray("older book") << "Download failed: File not found.";
        QTest::newRow("503") << LoopbackServer::reply("503 Service Unavailable", "busy") << QByteArray()
                             << "Download failed: The server does not support this request required function.";
        QTest::newRow("unknown status") << LoopbackServer::reply("600 Strange Thing", "odd") << QByteArray()
                                        << "Download failed: Strange Thing.";
        QTest::newRow("cut short") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n<phonebook>")
                                   << QByteArray("older book") << requestFailed;
        QTest::newRow("redirect loop") << LoopbackServer::reply("302 Found", "", "Location: /book.xml\r\n")
                                       << QByteArray() << requestFailed;
        QTest::newRow("redirect without target")
            << LoopbackServer::reply("302 Found", "<html>moved</html>") << QByteArray() << requestFailed;
    }
    void failedDownloadLeavesNoFile()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, older);
        QFETCH(QString, message);
        LoopbackServer server;
        server.serve("/book.xml", reply);
        if (!older.isEmpty())
            writeFile(webFile(QStringLiteral("book.xml")), older);

        WebImport d;
        d.show();
        BoxAnswerer answerer(QMessageBox::YesRole);
        QSignalSpy success(&d, &WebImport::webImportSuccess);
        download(d, server.address(QStringLiteral("/book.xml")));

        QCOMPARE(answerer.boxes.size(), older.isEmpty() ? 1 : 2);
        QCOMPARE(answerer.boxes.last().title, QStringLiteral("HTTP"));
        QCOMPARE(answerer.boxes.last().text, message);
        QCOMPARE(webEntries(), older.isEmpty() ? QStringList() : QStringList { QStringLiteral("book.xml") });
        QCOMPARE(readFile(webFile(QStringLiteral("book.xml"))), older);
        QCOMPARE(success.size(), 0);
        QVERIFY(child<QPushButton>(d, "web_download_button")->isEnabled());
    }

    void refusedAddress_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("ends with a slash") << "/";
        QTest::newRow("dot") << "/.";
        QTest::newRow("dot dot") << "/..";
        QTest::newRow("encoded dot dot") << "/%2e%2e";
        QTest::newRow("encoded dot dot in capitals") << "/books/%2E%2E";
        QTest::newRow("encoded slash at the end") << "/books%2F";
        QTest::newRow("backslashes") << "/..%5C..%5Cbook.xml";
    }
    void refusedAddress()
    {
        QFETCH(QString, typed);
        LoopbackServer server;
        WebImport d;
        d.show();
        BoxAnswerer answerer;
        QSignalSpy success(&d, &WebImport::webImportSuccess);
        download(d, server.address(typed));

        QCOMPARE(answerer.boxes.size(), 1);
        QCOMPARE(
            answerer.boxes.first().text, QStringLiteral("Please enter in the correct address of network phonebook."));
        QCOMPARE(server.paths, QList<QByteArray>());
        QCOMPARE(
            QDir(m_appDir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
        QCOMPARE(success.size(), 0);
    }

    void unwritableWebFolderIsReported()
    {
        LoopbackServer server;
        writeFile(m_appDir->filePath(QStringLiteral("web")), "a file, not a folder");
        WebImport d;
        d.show();
        BoxAnswerer answerer;
        download(d, server.address(QStringLiteral("/book.xml")));

        QCOMPARE(answerer.boxes.size(), 1);
        QVERIFY2(answerer.boxes.first().text.startsWith(QStringLiteral("Unable to save the file ")),
            qPrintable(answerer.boxes.first().text));
        QCOMPARE(server.paths, QList<QByteArray>());
        QVERIFY(child<QPushButton>(d, "web_download_button")->isEnabled());
    }

    void overwriteDeclinedStartsNothing()
    {
        LoopbackServer server;
        server.serve("/book.xml", LoopbackServer::reply("200 OK", "<phonebook/>"));
        writeFile(webFile(QStringLiteral("book.xml")), "older book");
        WebImport d;
        d.show();
        BoxAnswerer answerer(QMessageBox::NoRole);
        download(d, server.address(QStringLiteral("/book.xml")));

        QCOMPARE(answerer.boxes.size(), 1);
        QCOMPARE(answerer.boxes.first().text,
            QStringLiteral("There already exists a file called book.xml in the current directory. Overwrite?"));
        QCOMPARE(server.paths, QList<QByteArray>());
        QCOMPARE(readFile(webFile(QStringLiteral("book.xml"))), QByteArray("older book"));
    }

    void cancelLeavesNoFile()
    {
        LoopbackServer server;
        server.serve("/book.xml", "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + QByteArray(2000, 'x'), true);
        WebImport d;
        d.show();
        auto *button = child<QPushButton>(d, "web_download_button");
        QVERIFY(!button->isEnabled());
        QSignalSpy success(&d, &WebImport::webImportSuccess);
        QTest::keyClicks(child<QLineEdit>(d, "web_url_edit"), server.address(QStringLiteral("/book.xml")));
        QTest::mouseClick(button, Qt::LeftButton);
        auto *progress = child<QProgressDialog>(d, "web_progress_dialog");
        QTRY_VERIFY_WITH_TIMEOUT(progress->value() > 0, 30000);
        QVERIFY(!button->isEnabled());

        QPushButton *cancel = progress->findChild<QPushButton *>();
        QVERIFY(cancel);
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!d.download()->isRunning());
        QVERIFY(!progress->isVisible());
        QCOMPARE(child<QLabel>(d, "web_status_label")->text(), QStringLiteral("Download canceled."));
        QVERIFY(button->isEnabled());
        QCOMPARE(webEntries(), QStringList());
        QTest::qWait(50);
        QCOMPARE(success.size(), 0);
    }

    void basicAuthentication_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("downloaded");
        QTest::newRow("answered") << "anna"
                                  << "s3cret" << true;
        QTest::newRow("cancelled") << ""
                                   << "" << false;
    }
    void basicAuthentication()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, downloaded);
        LoopbackServer server;
        server.serve("/book.vcf", LoopbackServer::reply("200 OK", "BEGIN:VCARD"), false, "anna:s3cret");
        WebImport d;
        d.show();
        BoxAnswerer answerer;
        answerAuthentication(&d, user, password);
        QSignalSpy success(&d, &WebImport::webImportSuccess);
        download(d, server.address(QStringLiteral("/book.vcf")));

        QCOMPARE(success.size(), downloaded ? 1 : 0);
        QCOMPARE(readFile(webFile(QStringLiteral("book.vcf"))), downloaded ? QByteArray("BEGIN:VCARD") : QByteArray());
        QCOMPARE(answerer.boxes.size(), downloaded ? 0 : 1);
        if (!downloaded)
            QCOMPARE(answerer.boxes.first().text, QStringLiteral("Download failed: the server refused the login."));
        QCOMPARE(webEntries().size(), downloaded ? 1 : 0);
    }

    void refusedLoginKeepsTheUserAndSaysSo()
    {
        LoopbackServer server;
        server.serve("/book.vcf", LoopbackServer::reply("200 OK", "BEGIN:VCARD"), false, "anna:s3cret");
        WebImport d;
        d.show();
        // Anna mistypes her password once; the second dialog is read, then answered right.
        QStringList shownUsers;
        bool refusalShown = false;
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != QLatin1String("http_auth_dialog"))
                return;
            auto *user = dialog->findChild<QLineEdit *>(QStringLiteral("auth_user_edit"));
            shownUsers << user->text();
            refusalShown = dialog->findChild<QLabel *>(QStringLiteral("auth_refused_label")) != nullptr;
            user->setText(QStringLiteral("anna"));
            dialog->findChild<QLineEdit *>(QStringLiteral("auth_password_edit"))
                ->setText(shownUsers.size() == 1 ? QStringLiteral("wrong") : QStringLiteral("s3cret"));
            dialog->accept();
        });
        answerer.start(0);
        QSignalSpy success(&d, &WebImport::webImportSuccess);
        download(d, server.address(QStringLiteral("/book.vcf")));

        QCOMPARE(shownUsers, QStringList({ "", "anna" }));
        QVERIFY(refusalShown);
        QCOMPARE(success.size(), 1);
    }

    void httpsSelfSigned_data()
    {
        QTest::addColumn<bool>("ignore");
        QTest::newRow("ignored") << true;
        QTest::newRow("aborted") << false;
    }
    void httpsSelfSigned()
    {
        QFETCH(bool, ignore);
        if (!m_tls)
            QSKIP("no TLS backend or no openssl to make a certificate");
        LoopbackServer server(m_tls.get());
        server.serve("/book.xml", LoopbackServer::reply("200 OK", "<phonebook/>"));
        WebImport d;
        d.show();
        BoxAnswerer answerer(ignore ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
        QSignalSpy success(&d, &WebImport::webImportSuccess);
        download(d, QStringLiteral("https://") + server.address(QStringLiteral("/book.xml")));

        QVERIFY(!answerer.boxes.isEmpty());
        QCOMPARE(answerer.boxes.first().title, QStringLiteral("HTTP Example"));
        QVERIFY2(answerer.boxes.first().text.startsWith(QStringLiteral("One or more SSL errors has occurred: ")),
            qPrintable(answerer.boxes.first().text));
        QCOMPARE(success.size(), ignore ? 1 : 0);
        QCOMPARE(readFile(webFile(QStringLiteral("book.xml"))), ignore ? QByteArray("<phonebook/>") : QByteArray());
        QCOMPARE(webEntries().size(), ignore ? 1 : 0);
    }

    void refusedCertificateIsNamedAndNothingCoversTheMessage()
    {
        if (!m_tls)
            QSKIP("no TLS backend or no openssl to make a certificate");
        LoopbackServer server(m_tls.get());
        server.serve("/book.xml", LoopbackServer::reply("200 OK", "<phonebook/>"));
        WebImport d;
        d.show();
        auto *progress = child<QProgressDialog>(d, "web_progress_dialog");
        // It shows itself after this long on its own; shortened so the test need not wait 4 s.
        progress->setMinimumDuration(100);
        QString message;
        bool progressShown = false;
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            if (box->windowTitle() == QLatin1String("HTTP Example")) {
                box->button(QMessageBox::Abort)->click();
                return;
            }
            answerer.stop();
            message = box->text();
            QTest::qWait(300); // the user reading the message
            progressShown = progress->isVisible();
            box->accept();
        });
        answerer.start(0);
        download(d, QStringLiteral("https://") + server.address(QStringLiteral("/book.xml")));
        QTRY_VERIFY(!message.isEmpty());
        QVERIFY2(message.contains(QStringLiteral("certificate")), qPrintable(message));
        QVERIFY(!progressShown);
        QVERIFY(!progress->isVisible());
    }
};

QTEST_MAIN(TestWebImport)
#include "TestWebImport.moc"
