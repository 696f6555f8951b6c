#include "app/PasswordStore.h"

#include <QPointer>
#include <QUrl>

#ifdef QUORVANE_HAS_KEYCHAIN
#include <qt6keychain/keychain.h>
#endif

namespace {

const QString kService = QStringLiteral("Quorvane Phonebook Editor");

} // namespace

PasswordStore::PasswordStore(QObject *parent)
    : QObject(parent)
{
#ifndef QUORVANE_HAS_KEYCHAIN
    m_sessionOnly = true;
#endif
}

QString PasswordStore::accountKey(const QUrl &url, const QString &user)
{
    const int port = url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
    return QStringLiteral("carddav:%1@%2://%3:%4").arg(user, url.scheme(), url.host()).arg(port);
}

QString PasswordStore::sessionOnlyText()
{
    return tr("No secret store of the desktop answered, so the address books' passwords are kept only until the "
              "editor ends; you will be asked for them again after the next start.");
}

void PasswordStore::read(const QString &key, QObject *context, const std::function<void(const QString &)> &done)
{
    if (m_memory.contains(key) || m_sessionOnly) {
        done(m_memory.value(key));
        return;
    }
#ifdef QUORVANE_HAS_KEYCHAIN
    auto *job = new QKeychain::ReadPasswordJob(kService, this);
    job->setKey(key);
    const QPointer<QObject> receiver(context);
    connect(job, &QKeychain::Job::finished, this, [this, job, key, receiver, done] {
        QString password;
        if (job->error() == QKeychain::NoError) {
            password = job->textData();
            m_memory.insert(key, password);
        } else if (job->error() != QKeychain::EntryNotFound) {
            fallBack();
        }
        if (receiver)
            done(password);
    });
    job->start();
#else
    Q_UNUSED(context)
#endif
}

void PasswordStore::write(const QString &key, const QString &password)
{
    m_memory.insert(key, password);
    if (m_sessionOnly) {
        noticeOnce();
        return;
    }
#ifdef QUORVANE_HAS_KEYCHAIN
    auto *job = new QKeychain::WritePasswordJob(kService, this);
    job->setKey(key);
    job->setTextData(password);
    connect(job, &QKeychain::Job::finished, this, [this, job] {
        if (job->error() != QKeychain::NoError) {
            fallBack();
            noticeOnce();
        }
    });
    job->start();
#endif
}

void PasswordStore::remove(const QString &key)
{
    m_memory.remove(key);
    if (m_sessionOnly)
        return;
#ifdef QUORVANE_HAS_KEYCHAIN
    auto *job = new QKeychain::DeletePasswordJob(kService, this);
    job->setKey(key);
    job->start();
#endif
}

void PasswordStore::fallBack()
{
    m_sessionOnly = true;
}

void PasswordStore::noticeOnce()
{
    if (m_noticed)
        return;
    m_noticed = true;
    emit sessionOnlyNotice(sessionOnlyText());
}
