#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QUrl;

// The address books' passwords: in the desktop's secret store (through
// QtKeychain) where there is one, otherwise only in memory until the editor
// ends. Never in phonebook.db or the option files.
class PasswordStore : public QObject
{
    Q_OBJECT
public:
    explicit PasswordStore(QObject *parent = nullptr);

    // One password per account: the server (scheme, host, port) and the user.
    static QString accountKey(const QUrl &url, const QString &user);

    // Calls `done` with the account's password, empty when none is kept; not
    // after `context` is gone.
    void read(const QString &key, QObject *context, const std::function<void(const QString &)> &done);
    void write(const QString &key, const QString &password);
    void remove(const QString &key);

    // No secret store answered (or none was built in): passwords last only as
    // long as this run of the editor.
    bool sessionOnly() const { return m_sessionOnly; }
    // What to tell the user about that.
    static QString sessionOnlyText();

signals:
    // Passwords turned out to be kept for this session only, while one was being
    // written; emitted once.
    void sessionOnlyNotice(const QString &text);

private:
    // The secret store failed: from now on, memory only.
    void fallBack();
    void noticeOnce();

    QHash<QString, QString> m_memory;
    bool m_sessionOnly = false;
    bool m_noticed = false;
};
