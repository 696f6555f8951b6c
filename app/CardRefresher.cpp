#include "app/CardRefresher.h"

#include "app/NetworkPrompts.h"
#include "app/PasswordStore.h"
#include "import/CardDavClient.h"
#include "manager/DataMgr.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QLocale>
#include <QSslCertificate>
#include <QTimer>
#include <QUrl>

namespace {

// How often a refresh that waits for a command or a box looks again.
constexpr int kRetryMs = 1000;

QString timeText(const QDateTime &when)
{
    return QLocale().toString(when.time(), QLocale::ShortFormat);
}

} // namespace

CardRefresher::CardRefresher(PasswordStore *passwords, Window window, QObject *parent)
    : QObject(parent)
    , m_passwords(passwords)
    , m_window(std::move(window))
    , m_retry(new QTimer(this))
{
    m_retry->setSingleShot(true);
    m_retry->setInterval(kRetryMs);
    connect(m_retry, &QTimer::timeout, this, &CardRefresher::next);
}

CardRefresher::~CardRefresher()
{
    if (m_client)
        m_client->cancel();
}

QString CardRefresher::refreshText(int minutes)
{
    if (minutes == CardSource::kAtStart)
        return tr("At start");
    if (minutes <= 0)
        return tr("Off");
    return tr("Every %1 minutes").arg(minutes);
}

void CardRefresher::start()
{
    reloadSources();
    for (const CardSource &source : std::as_const(m_sources)) {
        // A book refreshed on a schedule is also brought up to date at once.
        if (source.refreshMinutes > 0 || source.refreshMinutes == CardSource::kAtStart)
            refresh(source.id, false);
    }
}

void CardRefresher::reloadSources()
{
    const Expected<QList<CardSource>> read = DataMgr::instance()->cardSources();
    m_sources = read ? *read : QList<CardSource>();
    schedule();
    emit resultsChanged();
}

void CardRefresher::schedule()
{
    QSet<int> present;
    for (const CardSource &source : std::as_const(m_sources)) {
        present.insert(source.id);
        QTimer *timer = m_timers.value(source.id);
        if (source.refreshMinutes <= 0) {
            delete timer;
            m_timers.remove(source.id);
            continue;
        }
        if (!timer) {
            timer = new QTimer(this);
            const int id = source.id;
            connect(timer, &QTimer::timeout, this, [this, id] { refresh(id, false); });
            m_timers.insert(id, timer);
        }
        const int interval = source.refreshMinutes * 60 * 1000;
        if (timer->interval() != interval || !timer->isActive())
            timer->start(interval);
    }
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (present.contains(it.key())) {
            ++it;
        } else {
            delete it.value();
            it = m_timers.erase(it);
        }
    }
    m_queue.removeIf([&present](const Job &job) { return !present.contains(job.id); });
}

const CardSource *CardRefresher::find(int sourceId) const
{
    for (const CardSource &source : m_sources) {
        if (source.id == sourceId)
            return &source;
    }
    return nullptr;
}

QString CardRefresher::sourceName(int sourceId) const
{
    const CardSource *source = find(sourceId);
    return source ? source->name : QString();
}

void CardRefresher::refresh(int sourceId, bool asked)
{
    if (!find(sourceId))
        return;
    if (m_current.id == sourceId) {
        m_current.asked = m_current.asked || asked;
        return;
    }
    for (Job &job : m_queue) {
        if (job.id == sourceId) {
            job.asked = job.asked || asked;
            return;
        }
    }
    // What the user asks for goes before what is merely due.
    if (asked) {
        const auto firstDue = std::find_if(m_queue.begin(), m_queue.end(), [](const Job &j) { return !j.asked; });
        m_queue.insert(firstDue, Job { sourceId, true });
    } else {
        m_queue.append(Job { sourceId, false });
    }
    next();
}

void CardRefresher::poke()
{
    if (!isRunning() && !m_queue.isEmpty())
        next();
}

void CardRefresher::wait(bool unsaved)
{
    if (unsaved && !m_waitingForEdits) {
        m_waitingForEdits = true;
        emit statusChanged(tr("The refresh of the address book \"%1\" waits until your edits are saved or discarded.")
                               .arg(sourceName(m_queue.first().id)),
            false);
        for (const Job &job : std::as_const(m_queue))
            m_outcomes.insert(job.id, Outcome { tr("Waiting for your edits to be saved"), QDateTime(), false });
        emit resultsChanged();
    }
    m_retry->start();
}

void CardRefresher::next()
{
    if (isRunning() || m_queue.isEmpty())
        return;
    if (m_window.hasUnsavedEdits()) {
        wait(true);
        return;
    }
    if (m_window.isBusy()) {
        wait(false);
        return;
    }
    m_waitingForEdits = false;
    m_current = m_queue.takeFirst();
    const CardSource *source = find(m_current.id);
    if (!source) {
        m_current = Job();
        next();
        return;
    }
    m_source = *source;
    m_outcomes.insert(m_source.id, Outcome { tr("Refreshing…"), QDateTime(), false });
    emit resultsChanged();
    emit statusChanged(tr("Refreshing the address book \"%1\"…").arg(m_source.name), true);
    if (m_source.user.isEmpty()) {
        fetch(m_source, QString());
        return;
    }
    const int id = m_source.id;
    m_passwords->read(
        PasswordStore::accountKey(QUrl(m_source.url), m_source.user), this, [this, id](const QString &password) {
            // Cancelled while the secret store was asked.
            if (m_current.id == id && !m_client)
                fetch(m_source, password);
        });
}

void CardRefresher::fetch(const CardSource &source, const QString &password)
{
    CardSource versioned = source;
    const Expected<QHash<QString, QString>> versions = DataMgr::instance()->cardVersions(versioned);
    if (!versions) {
        fail(versions.message());
        return;
    }
    m_source.syncToken = versioned.syncToken;
    auto *client = new CardDavClient(this);
    m_client = client;
    m_userBefore = source.user;
    m_passwordBefore = password;
    m_prompted = false;
    client->setCredentials(source.user, password);
    client->setTrustedCertificate(source.certificate);
    connect(client, &CardDavClient::progress, this,
        [this](const QString &what) { emit statusChanged(QStringLiteral("%1: %2").arg(m_source.name, what), true); });
    connect(client, &CardDavClient::finished, this, &CardRefresher::onFetched);
    connect(
        client, &CardDavClient::sslErrors, this,
        [this, client](const QList<QSslError> &errors) {
            if (acceptCertificates(errors, m_current.asked)) {
                client->setAcceptCertificates(true);
                // Kept with the source, so that its scheduled refreshes trust it too.
                m_source.certificate = client->problemCertificate();
            }
        },
        Qt::DirectConnection);
    connect(
        client, &CardDavClient::authenticationRequired, this, &CardRefresher::onAuthentication, Qt::DirectConnection);
    client->fetch(QUrl(m_source.url), m_source.syncToken, *versions);
}

bool CardRefresher::acceptCertificates(const QList<QSslError> &errors, bool mayAsk)
{
    QSet<QByteArray> digests;
    for (const QSslError &error : errors)
        digests.insert(error.certificate().digest(QCryptographicHash::Sha256));
    const bool known = std::all_of(digests.cbegin(), digests.cend(),
        [this](const QByteArray &digest) { return m_acceptedCertificates.contains(digest); });
    if (known)
        return true;
    if (!mayAsk || !NetworkPrompts::acceptCertificateErrors(m_window.widget, errors))
        return false;
    m_acceptedCertificates.unite(digests);
    return true;
}

void CardRefresher::onAuthentication(const QString &host, QAuthenticator *authenticator, bool refused)
{
    if (!m_current.asked)
        return;
    QString user = m_source.user;
    // No password kept is no password refused.
    const bool turnedDown = refused && (m_prompted || !m_passwordBefore.isEmpty());
    m_prompted = true;
    NetworkPrompts::askCredentials(m_window.widget,
        QCoreApplication::translate("WebImport", "%1 at %2").arg(authenticator->realm(), host), authenticator, &user,
        turnedDown);
}

void CardRefresher::onFetched(bool ok, const QString &error)
{
    CardDavClient *client = m_client;
    m_client = nullptr;
    client->deleteLater();
    if (!ok) {
        // After a start without the desktop's secret store the password is gone.
        const bool forgotten = !m_current.asked && !m_source.user.isEmpty() && m_passwordBefore.isEmpty()
            && error == QCoreApplication::translate("WebDownload", "Download failed: the server refused the login.");
        fail(forgotten ? tr("%1 No password is kept for it: choose \"Refresh now\" in Import > Address books to "
                            "give it.")
                             .arg(error)
                       : error);
        return;
    }
    // The user started editing while the cards travelled: they come again later.
    if (m_window.hasUnsavedEdits() || m_window.isBusy()) {
        m_queue.prepend(m_current);
        m_current = Job();
        next();
        return;
    }
    // A login the user gave instead of the one kept is kept from now on.
    if (client->user() != m_userBefore || client->password() != m_passwordBefore) {
        m_source.user = client->user();
        m_passwords->write(PasswordStore::accountKey(QUrl(m_source.url), m_source.user), client->password());
    }
    // A schedule changed while the cards travelled is the one kept.
    if (const CardSource *now = find(m_source.id))
        m_source.refreshMinutes = now->refreshMinutes;
    DataMgr *mgr = DataMgr::instance();
    Result result = m_window.prepare();
    int applied = 0;
    if (result)
        result = mgr->publishCardChanges(m_source, client->changes(), &applied);
    if (!result) {
        fail(result.message());
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    const int id = m_source.id;
    // The new sync token counts for the next refresh.
    for (CardSource &kept : m_sources) {
        if (kept.id == id)
            kept = m_source;
    }
    const QString name = m_source.name;
    if (applied > 0) {
        finish(Outcome { tr("%n contact(s) changed", nullptr, applied), now, false },
            tr("The address book \"%1\" brought %n change(s); the phonebook was saved for the phones.", nullptr,
                applied)
                .arg(name));
        emit phonebookRefreshed(id, applied);
    } else {
        finish(Outcome { tr("Up to date"), now, false }, tr("The address book \"%1\" is up to date.").arg(name));
    }
}

void CardRefresher::fail(const QString &message)
{
    const Job job = m_current;
    const QString name = m_source.name;
    m_current = Job();
    m_outcomes.insert(job.id, Outcome { message, QDateTime::currentDateTime(), true });
    emit statusChanged(tr("The address book \"%1\" could not be refreshed: %2").arg(name, message), false);
    emit resultsChanged();
    emit refreshFailed(name, message, job.asked);
    next();
}

void CardRefresher::finish(const Outcome &outcome, const QString &status)
{
    const int id = m_current.id;
    m_current = Job();
    m_outcomes.insert(id, outcome);
    emit statusChanged(status, false);
    emit resultsChanged();
    next();
}

void CardRefresher::cancel()
{
    const QString name = m_source.name;
    const int id = m_current.id;
    m_queue.clear();
    m_retry->stop();
    m_waitingForEdits = false;
    if (!isRunning()) {
        emit statusChanged(QString(), false);
        return;
    }
    if (m_client) {
        m_client->cancel();
        m_client->deleteLater();
        m_client = nullptr;
    }
    m_current = Job();
    m_outcomes.insert(id, Outcome { tr("Cancelled"), QDateTime::currentDateTime(), true });
    emit statusChanged(tr("The refresh of the address book \"%1\" was cancelled.").arg(name), false);
    emit resultsChanged();
}

QString CardRefresher::lastResult(int sourceId) const
{
    if (!m_outcomes.contains(sourceId))
        return tr("Not refreshed yet");
    const Outcome outcome = m_outcomes.value(sourceId);
    if (!outcome.when.isValid())
        return outcome.text;
    return tr("%1: %2").arg(timeText(outcome.when), outcome.text);
}
