// An address book of 10 000 cards on a real CardDAV server (Radicale, on
// loopback) feeding the phonebook through the headless tool: the first fetch,
// and a refresh after 10 cards changed, each beside curl fetching the whole
// book in one GET, which is what a script that polls the server would do. The
// server's own work bounds both: the tool's processor time shows its share.

#include "bench/Bench.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

namespace {

constexpr int kCards = 10000;
constexpr int kChanged = 10;
const QString kUser = QStringLiteral("anna");
const QString kPassword = QStringLiteral("s3cret");

QByteArray card(int i, int version)
{
    return QStringLiteral(
        "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:card-%1\r\nN:Family%1;Given%2;;;\r\nFN:Given%2 Family%1\r\n"
        "ORG:Dept %3\r\nTEL;TYPE=WORK:0755%4\r\nTEL;TYPE=CELL:138%5\r\n"
        "EMAIL;TYPE=WORK:user%1@example.com\r\nEND:VCARD\r\n")
        .arg(i)
        .arg(version)
        .arg(i % 50)
        .arg(i, 7, 10, QLatin1Char('0'))
        .arg(i, 8, 10, QLatin1Char('0'))
        .toUtf8();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Radicale with the book written straight into its storage folder (10 000 PUTs
// would take minutes); the server reads the folder as it finds it.
class Radicale
{
public:
    bool start(const QString &dir)
    {
        const QString book = dir + QStringLiteral("/collections/collection-root/%1/book").arg(kUser);
        if (!QDir().mkpath(book)
            || !writeFile(
                book + QStringLiteral("/.Radicale.props"), R"({"D:displayname": "Office", "tag": "VADDRESSBOOK"})")
            || !writeFile(dir + QStringLiteral("/users"), (kUser + QLatin1Char(':') + kPassword + '\n').toUtf8()))
            return false;
        for (int i = 0; i < kCards; ++i) {
            if (!writeFile(book + QStringLiteral("/card-%1.vcf").arg(i), card(i, 0)))
                return false;
        }
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port = probe.serverPort();
        probe.close();
        const QString config = dir + QStringLiteral("/config");
        if (!writeFile(config,
                QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n[auth]\ntype = htpasswd\nhtpasswd_filename = %2/users\n"
                               "htpasswd_encryption = plain\n[storage]\nfilesystem_folder = %2/collections\n"
                               "[rights]\ntype = owner_only\n[logging]\nlevel = warning\n")
                    .arg(port)
                    .arg(dir)
                    .toUtf8()))
            return false;
        m_process.start(QStringLiteral("radicale"), { QStringLiteral("--config"), config });
        if (!m_process.waitForStarted())
            return false;
        for (int i = 0; i < 200; ++i) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            if (socket.waitForConnected(100))
                return true;
            QThread::msleep(50);
        }
        return false;
    }
    ~Radicale()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished();
    }
    QString url(const QString &path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path); }
    bool put(int i, int version)
    {
        QNetworkRequest request(QUrl(url(QStringLiteral("/%1/book/card-%2.vcf").arg(kUser).arg(i))));
        request.setRawHeader("Authorization", "Basic " + (kUser + QLatin1Char(':') + kPassword).toUtf8().toBase64());
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("text/vcard"));
        QNetworkReply *reply = m_net.put(request, card(i, version));
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        reply->deleteLater();
        return reply->error() == QNetworkReply::NoError;
    }

    quint16 port = 0;

private:
    QProcess m_process;
    QNetworkAccessManager m_net;
};

// "Office: 10000 contact(s) changed, 4 request(s), 3456789 bytes" from the tool's output.
QString traffic(const QString &outFile)
{
    QFile out(outFile);
    if (!out.open(QIODevice::ReadOnly))
        return QString();
    const QRegularExpressionMatch m
        = QRegularExpression(QStringLiteral("(\\d+) contact\\(s\\) changed, (\\d+) request\\(s\\), (\\d+) bytes"))
              .match(QString::fromUtf8(out.readAll()));
    if (!m.hasMatch())
        return QStringLiteral("no traffic line");
    return QStringLiteral("%1 contacts changed, %2 requests, %3 kB")
        .arg(m.captured(1), m.captured(2))
        .arg(m.captured(3).toLongLong() / 1000);
}

void cardDav()
{
    if (QStandardPaths::findExecutable(QStringLiteral("radicale")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("curl")).isEmpty()) {
        Bench::report(QStringLiteral("CardDAV sync skipped: radicale or curl is not installed"), 0);
        return;
    }
    const QString dir = Bench::tempDir();
    Radicale server;
    if (!server.start(dir + QStringLiteral("/server")))
        qFatal("Radicale did not start");
    qputenv("QUORVANE_CARDDAV_PASSWORD", kPassword.toUtf8());
    const QString cli = QStringLiteral(QUORVANE_CLI_PATH);
    const QString bookUrl = server.url(QStringLiteral("/%1/book/").arg(kUser));
    const QString curlPath = QStandardPaths::findExecutable(QStringLiteral("curl"));
    const QString whole = dir + QStringLiteral("/whole.vcf");
    const QStringList curlArgs { QStringLiteral("-sf"), QStringLiteral("-u"), kUser + QLatin1Char(':') + kPassword,
        QStringLiteral("-o"), whole, bookUrl };

    // The server reads every card once and keeps what it read, and builds its
    // first sync listing (over a minute at 10 000 cards, longer than a client
    // waits for an answer): not ours to time.
    const QStringList listing { QStringLiteral("-sf"), QStringLiteral("-u"), kUser + QLatin1Char(':') + kPassword,
        QStringLiteral("-o"), QStringLiteral("/dev/null"), QStringLiteral("-X"), QStringLiteral("REPORT"),
        QStringLiteral("-H"), QStringLiteral("Depth: 1"), QStringLiteral("-H"),
        QStringLiteral("Content-Type: application/xml"), QStringLiteral("--data"),
        QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?><d:sync-collection xmlns:d=\"DAV:\">"
                       "<d:sync-token></d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop>"
                       "</d:sync-collection>"),
        bookUrl };
    if (!Bench::runProcess(curlPath, curlArgs).ok || !Bench::runProcess(curlPath, listing).ok)
        qFatal("curl could not fetch the book");
    const Bench::Median curl = Bench::median([&] { return Bench::runProcess(curlPath, curlArgs); });
    Bench::report(QStringLiteral("curl GET of the whole book (%1 cards), median of 3").arg(kCards), curl.seconds,
        QStringLiteral("s"), QStringLiteral("runs %1 s; %2 kB").arg(curl.runs).arg(QFileInfo(whole).size() / 1000));

    QString phonebook;
    QString firstTraffic;
    int round = 0;
    const Bench::Median first = Bench::median([&] {
        phonebook = dir + QStringLiteral("/phonebook%1").arg(++round);
        QDir().mkpath(phonebook);
        const QString out = dir + QStringLiteral("/first.txt");
        const Bench::Run run = Bench::runProcess(cli,
            { QStringLiteral("--dir"), phonebook, QStringLiteral("source"), QStringLiteral("add"), bookUrl,
                QStringLiteral("--user"), kUser },
            out);
        firstTraffic = traffic(out);
        return run;
    });
    Bench::report(QStringLiteral("first sync of %1 cards, store and phones' files, median of 3").arg(kCards),
        first.seconds, QStringLiteral("s"),
        QStringLiteral("%1runs %2 s; the tool's processor ≤ %3 s, peak %4 MiB; %5")
            .arg(first.ok ? QString() : QStringLiteral("FAILED; "), first.runs)
            .arg(first.processorSeconds, 0, 'f', 2)
            .arg(first.peakMiB, 0, 'f', 1)
            .arg(firstTraffic));

    // Each round changes ten other cards on the server, then refreshes.
    QString refreshTraffic;
    int changeRound = 0;
    const Bench::Median refresh = Bench::median([&] {
        ++changeRound;
        for (int i = 0; i < kChanged; ++i) {
            if (!server.put(changeRound * 997 + i * 13, changeRound))
                return Bench::Run();
        }
        const QString out = dir + QStringLiteral("/refresh.txt");
        const Bench::Run run = Bench::runProcess(
            cli, { QStringLiteral("--dir"), phonebook, QStringLiteral("source"), QStringLiteral("sync") }, out);
        refreshTraffic = traffic(out);
        return run;
    });
    Bench::report(QStringLiteral("refresh after %1 cards changed, median of 3").arg(kChanged), refresh.seconds,
        QStringLiteral("s"),
        QStringLiteral("%1runs %2 s; the tool's processor ≤ %3 s; %4")
            .arg(refresh.ok ? QString() : QStringLiteral("FAILED; "), refresh.runs)
            .arg(refresh.processorSeconds, 0, 'f', 2)
            .arg(refreshTraffic));
}

const Bench::Registrar cardDavCase("carddav-sync", cardDav);

} // namespace
