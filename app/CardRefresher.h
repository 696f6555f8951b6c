#pragma once

#include "data/CardSource.h"
#include "data/Result.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QSslError>

#include <functional>

class CardDavClient;
class PasswordStore;
class QAuthenticator;
class QTimer;
class QWidget;

// Refreshes the address books in the editor: each on its schedule (every so many
// minutes, or once at start) and when the user asks, one at a time, through
// CardDavClient while the window goes on. A refresh waits while the editor holds
// unsaved edits; what it changed is applied and saved as one step, so the phones'
// files follow. Only a refresh the user asked for may ask the user anything (a
// login, a certificate); a scheduled one that fails says so in the status line
// and in its last result.
class CardRefresher : public QObject
{
    Q_OBJECT
public:
    // What the window tells it.
    struct Window {
        QWidget *widget = nullptr; // parent of the questions
        // The user has edits that are not saved.
        std::function<bool()> hasUnsavedEdits;
        // A command, a modal box or a menu is running: wait a moment.
        std::function<bool()> isBusy;
        // Makes the working phonebook the stored one when it is not yet (the
        // editor started empty beside a stored phonebook); fails with why.
        std::function<Result()> prepare;
    };
    CardRefresher(PasswordStore *passwords, Window window, QObject *parent = nullptr);
    ~CardRefresher() override;

    // Reads the sources and arms their timers; those refreshed at start go first.
    void start();
    // The sources in the store changed: read them again and follow their schedules.
    void reloadSources();
    const QList<CardSource> &sources() const { return m_sources; }
    QString sourceName(int sourceId) const;

    // Queues a refresh; `asked`: the user asked for it.
    void refresh(int sourceId, bool asked);
    // Stops the running refresh and what is queued; nothing is applied.
    void cancel();
    bool isRunning() const { return m_current.id != 0; }

    // What the source's last refresh in this session came to, for the list.
    QString lastResult(int sourceId) const;

    // The window's state changed: a waiting refresh may go on.
    void poke();

    // Asks about certificate problems when the user is there to answer; a
    // certificate once let pass is let pass again for this session.
    bool acceptCertificates(const QList<QSslError> &errors, bool mayAsk);

    // The line for a refresh interval ("Every 15 minutes", "At start", "Off"),
    // and the intervals offered.
    static QString refreshText(int minutes);
    static QList<int> refreshChoices() { return { 0, 5, 15, 60, CardSource::kAtStart }; }

signals:
    // For the status bar; `running`: a cancel makes sense.
    void statusChanged(const QString &text, bool running);
    // A source's last result or the list of sources changed.
    void resultsChanged();
    // A refresh changed `count` contacts and saved the phonebook.
    void phonebookRefreshed(int sourceId, int count);
    // A refresh failed and changed nothing; `asked` by the user.
    void refreshFailed(const QString &name, const QString &message, bool asked);

private:
    struct Job {
        int id = 0;
        bool asked = false;
    };
    struct Outcome {
        QString text;
        QDateTime when;
        bool failed = false;
    };
    void next();
    void fetch(const CardSource &source, const QString &password);
    void onFetched(bool ok, const QString &error);
    // The running job ended: as `outcome` says, with `status` for the status line.
    void finish(const Outcome &outcome, const QString &status);
    // The running job failed and changed nothing.
    void fail(const QString &message);
    void onAuthentication(const QString &host, QAuthenticator *authenticator, bool refused);
    void schedule();
    // Waits for the window; `unsaved`: says why in the status line.
    void wait(bool unsaved);
    const CardSource *find(int sourceId) const;

    PasswordStore *m_passwords;
    Window m_window;
    QList<CardSource> m_sources;
    QHash<int, QTimer *> m_timers;
    QList<Job> m_queue;
    Job m_current;
    CardSource m_source; // the running job's source, as read when it began
    QPointer<CardDavClient> m_client;
    QString m_userBefore;
    QString m_passwordBefore;
    // The user was asked for a login in the running job.
    bool m_prompted = false;
    QHash<int, Outcome> m_outcomes;
    QSet<QByteArray> m_acceptedCertificates;
    QTimer *m_retry;
    bool m_waitingForEdits = false;
};
