#include "cli/Command.h"
#include "data/CardSource.h"
#include "import/CardDavClient.h"
#include "manager/DataMgr.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {

const char *const kPasswordVariable = "QUORVANE_CARDDAV_PASSWORD";

// The password comes from the environment or from a file only its owner can read,
// never from the command line, where every user of the machine would see it.
bool passwordFor(const CardSource &source, QString &password)
{
    if (qEnvironmentVariableIsSet(kPasswordVariable)) {
        password = qEnvironmentVariable(kPasswordVariable);
        return true;
    }
    if (source.passwordFile.isEmpty()) {
        password.clear();
        return true;
    }
    QFile file(source.passwordFile);
    if (file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteOther)) {
        Cli::printErr(QStringLiteral("The password file %1 may be read by others; make it readable only by you "
                                     "(chmod 600 %1).")
                          .arg(source.passwordFile));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        Cli::printErr(
            QStringLiteral("Cannot read the password file %1: %2").arg(source.passwordFile, file.errorString()));
        return false;
    }
    password = QString::fromUtf8(file.readLine()).trimmed();
    return true;
}

// After a refused certificate: what it was, and how to trust it once checked.
void hintCertificate(const CardDavClient &client)
{
    if (!client.certificateRefused() || client.problemCertificate().isEmpty())
        return;
    Cli::printErr(QStringLiteral("The server's certificate has the SHA-256 fingerprint %1. If it is the one the "
                                 "server's owner gave you, add the source again with --trust-certificate %1.")
                      .arg(client.problemCertificate()));
}

int addSource(const QStringList &args)
{
    const Cli::Options o = Cli::parseOptions(args,
        { QStringLiteral("--user"), QStringLiteral("--password-file"), QStringLiteral("--group"),
            QStringLiteral("--refresh"), QStringLiteral("--trust-certificate") },
        {});
    if (!o.error.isEmpty() || o.positional.size() != 1) {
        Cli::printErr(o.error.isEmpty() ? QStringLiteral("source add takes one address") : o.error);
        return Cli::Usage;
    }
    const QUrl url = QUrl::fromUserInput(o.positional.first());
    if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        Cli::printErr(QStringLiteral("%1 is no http or https address").arg(o.positional.first()));
        return Cli::Usage;
    }
    bool ok = true;
    const int refresh = o.values.value(QStringLiteral("--refresh"), QStringLiteral("0")).toInt(&ok);
    if (!ok || refresh < 0) {
        Cli::printErr(QStringLiteral("--refresh needs a number of minutes"));
        return Cli::Usage;
    }
    CardSource model;
    model.user = o.values.value(QStringLiteral("--user"));
    model.passwordFile = o.values.contains(QStringLiteral("--password-file"))
        ? QFileInfo(o.values.value(QStringLiteral("--password-file"))).absoluteFilePath()
        : QString();
    model.refreshMinutes = refresh;
    model.certificate = o.values.value(QStringLiteral("--trust-certificate"));
    QString password;
    if (!passwordFor(model, password))
        return Cli::Failure;

    CardDavClient client;
    client.setCredentials(model.user, password);
    client.setTrustedCertificate(model.certificate);
    if (const Result found = client.discoverAndWait(url); !found) {
        Cli::printErr(found.message());
        hintCertificate(client);
        return Cli::Failure;
    }
    FolderLock lock;
    if (!Cli::lockFolder(lock) || !Cli::openStore())
        return Cli::Failure;
    QList<int> added;
    for (const DavBook &book : client.books()) {
        CardSource source = model;
        source.url = book.url.toString();
        source.name = book.name.isEmpty() ? book.url.path().section(QLatin1Char('/'), -2, -2) : book.name;
        source.group = o.values.value(QStringLiteral("--group"), source.name);
        if (source.group.isEmpty())
            source.group = QStringLiteral("Default");
        if (const Result saved = DataMgr::instance()->saveCardSource(source); !saved) {
            Cli::printErr(saved.message());
            return Cli::Failure;
        }
        Cli::printInfo(QStringLiteral("Added source %1: %2 (%3) into group %4")
                           .arg(source.id)
                           .arg(source.name, source.url, source.group));
        added.append(source.id);
    }
    lock.unlock();
    DataMgr::instance()->closeStore();
    // A book whose first fetch failed is not added: the command failed, and the
    // phonebook stays as it was.
    int exit = Cli::Success;
    for (const int id : added) {
        if (Cli::syncSources({ id }) == Cli::Success)
            continue;
        exit = Cli::Failure;
        if (!Cli::lockFolder(lock) || (!DataMgr::instance()->storeIsOpen() && !Cli::openStore()))
            return Cli::Failure;
        if (const Result removed = DataMgr::instance()->removeCardSource(id); !removed) {
            Cli::printErr(removed.message());
            return Cli::Failure;
        }
        lock.unlock();
        Cli::printErr(QStringLiteral("Source %1 was not added.").arg(id));
    }
    return exit;
}

int listSources(const QStringList &args)
{
    if (!args.isEmpty()) {
        Cli::printErr(QStringLiteral("source list takes no arguments"));
        return Cli::Usage;
    }
    if (!Cli::openStore())
        return Cli::Failure;
    const Expected<QList<CardSource>> sources = DataMgr::instance()->cardSources();
    if (!sources) {
        Cli::printErr(sources.message());
        return Cli::Failure;
    }
    for (const CardSource &s : *sources) {
        Cli::printOut(QStringLiteral("%1  %2  %3  user %4  group %5  refresh %6")
                          .arg(s.id)
                          .arg(s.name, s.url, s.user.isEmpty() ? QStringLiteral("-") : s.user, s.group,
                              s.refreshMinutes > 0 ? QStringLiteral("%1 min").arg(s.refreshMinutes)
                                  : s.refreshMinutes == CardSource::kAtStart ? QStringLiteral("at start")
                                                                             : QStringLiteral("off")));
    }
    return Cli::Success;
}

int removeSource(const QStringList &args)
{
    bool ok = false;
    const int id = args.size() == 1 ? args.first().toInt(&ok) : 0;
    if (!ok) {
        Cli::printErr(QStringLiteral("source remove takes the number of a source (see source list)"));
        return Cli::Usage;
    }
    FolderLock lock;
    if (!Cli::lockFolder(lock) || !Cli::openStore())
        return Cli::Failure;
    const Expected<QList<CardSource>> sources = DataMgr::instance()->cardSources();
    if (!sources) {
        Cli::printErr(sources.message());
        return Cli::Failure;
    }
    if (std::none_of(sources->cbegin(), sources->cend(), [id](const CardSource &s) { return s.id == id; })) {
        Cli::printErr(QStringLiteral("No source %1").arg(id));
        return Cli::Failure;
    }
    if (const Result removed = DataMgr::instance()->removeCardSource(id); !removed) {
        Cli::printErr(removed.message());
        return Cli::Failure;
    }
    return Cli::Success;
}

int source(const QStringList &args)
{
    const QString verb = args.value(0);
    const QStringList rest = args.mid(1);
    if (verb == QLatin1String("add"))
        return addSource(rest);
    if (verb == QLatin1String("list"))
        return listSources(rest);
    if (verb == QLatin1String("remove"))
        return removeSource(rest);
    if (verb == QLatin1String("sync")) {
        QList<int> ids;
        for (const QString &a : rest) {
            bool ok = false;
            ids.append(a.toInt(&ok));
            if (!ok) {
                Cli::printErr(QStringLiteral("source sync takes numbers of sources (see source list)"));
                return Cli::Usage;
            }
        }
        return Cli::syncSources(ids);
    }
    Cli::printErr(QStringLiteral("source needs add, list, remove or sync"));
    return Cli::Usage;
}

const Cli::Registrar sourceCommand("source",
    "source add URL [--user NAME] [--password-file FILE] [--group NAME] [--refresh MINUTES] "
    "[--trust-certificate SHA256] | source list | "
    "source remove ID | source sync [ID...]",
    "Address books on CardDAV servers that feed the phonebook. add finds the books at URL (a book, the "
    "user's home or the server's root), adds each and fetches its cards; sync fetches what changed on the "
    "server, applies it as one step and saves; remove forgets a source (its contacts stay). The password "
    "comes from the environment variable QUORVANE_CARDDAV_PASSWORD or from FILE, which only you may read. "
    "A server whose certificate nobody vouches for (its own) is refused unless you give the certificate's "
    "SHA-256 fingerprint, which the refusal prints, with --trust-certificate.",
    source);

} // namespace

namespace Cli {

int syncSources(const QList<int> &ids)
{
    DataMgr *mgr = DataMgr::instance();
    if (!mgr->storeIsOpen() && !openStore())
        return Failure;
    const Expected<QList<CardSource>> sources = mgr->cardSources();
    if (!sources) {
        printErr(sources.message());
        return Failure;
    }
    int exit = Success;
    for (CardSource source : *sources) {
        if (!ids.isEmpty() && !ids.contains(source.id))
            continue;
        QString password;
        if (!passwordFor(source, password))
            return Failure;
        const Expected<QHash<QString, QString>> versions = mgr->cardVersions(source);
        if (!versions) {
            printErr(versions.message());
            return Failure;
        }
        CardDavClient client;
        client.setCredentials(source.user, password);
        client.setTrustedCertificate(source.certificate);
        if (const Result fetched = client.fetchAndWait(QUrl(source.url), source.syncToken, *versions); !fetched) {
            printErr(QStringLiteral("%1: %2").arg(source.name, fetched.message()));
            hintCertificate(client);
            exit = Failure;
            continue;
        }
        // Applied on the phonebook as stored now, whatever another program saved
        // while the cards travelled.
        FolderLock lock;
        if (!lockFolder(lock))
            return Failure;
        if (const Result loaded = mgr->reload(); !loaded) {
            printErr(loaded.message());
            return Failure;
        }
        int applied = 0;
        // Applied and saved as one step: a save that fails takes the change back.
        if (const Result done = mgr->publishCardChanges(source, client.changes(), &applied); !done) {
            printErr(QStringLiteral("%1: %2").arg(source.name, done.message()));
            exit = Failure;
            continue;
        }
        printInfo(QStringLiteral("%1: %2 contact(s) changed, %3 request(s), %4 bytes")
                      .arg(source.name)
                      .arg(applied)
                      .arg(client.requestCount())
                      .arg(client.bytesReceived()));
    }
    return exit;
}

} // namespace Cli
