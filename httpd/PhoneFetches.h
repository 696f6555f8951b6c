#pragma once

#include "httpd/RequestRecord.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <array>

// The phones the service has answered, one per address and User-Agent: what the
// last request of each got, and which phonebook it last got whole. Lives on the
// main thread and is fed by the server's log. Phones are only appended, until the
// table is full: then the tenth heard from longest ago make room.
class PhoneFetches : public QObject
{
    Q_OBJECT
public:
    struct Phone {
        QString address;
        QString userAgent;
        // The model whose file answered the last request ("UNIXML" for the general one).
        QString model;
        QString fileName;
        // When the last request ended, in milliseconds since the epoch.
        qint64 time = 0;
        qint64 bytes = 0;
        int status = 0;
        // The generation of the last phonebook.xml sent whole, 0 for none.
        quint64 phonebook = 0;
    };

    static constexpr int kMaxPhones = 10000;
    // What is kept of a User-Agent: enough for any phone, and a bound on what a
    // client inventing agents can make us hold.
    static constexpr int kMaxAgent = 256;

    explicit PhoneFetches(QObject *parent = nullptr);

    const QList<Phone> &phones() const { return m_phones; }
    quint64 generation() const { return m_generation; }
    // Whether the phone's last whole phonebook is the one the phones get now.
    bool isUpToDate(const Phone &phone) const { return phone.phonebook != 0 && phone.phonebook == m_generation; }

    // The phones' files are now those of `generation` (generations start at 1).
    void setGeneration(quint64 generation);
    // Takes the ended requests of one batch, in the order they ended.
    void record(const QList<RequestRecord> &ended);

signals:
    // Rows appended, and rows already there that changed.
    void phonesAdded(int first, int last);
    void phonesChanged(int first, int last);
    // Around the removal of the phones heard from longest ago.
    void aboutToForget();
    void forgotten();
    void generationChanged();

private:
    struct Key {
        std::array<quint8, 16> address;
        QString agent;
        bool operator==(const Key &other) const { return address == other.address && agent == other.agent; }
    };
    friend size_t qHash(const Key &key, size_t seed) noexcept
    {
        return qHashMulti(seed, qHashBits(key.address.data(), key.address.size()), key.agent);
    }
    static Key keyOf(const RequestRecord &record);
    void forgetOldest();

    QList<Phone> m_phones;
    QList<Key> m_keys;
    QHash<Key, int> m_rows;
    quint64 m_generation = 1;
};
