#include "httpd/PhoneFetches.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

PhoneFetches::PhoneFetches(QObject *parent)
    : QObject(parent)
{
}

void PhoneFetches::setGeneration(quint64 generation)
{
    if (generation == m_generation)
        return;
    m_generation = generation;
    emit generationChanged();
}

PhoneFetches::Key PhoneFetches::keyOf(const RequestRecord &record)
{
    Key key { {}, record.request.userAgent.left(kMaxAgent) };
    const PeerAddress &peer = record.peer;
    if (peer.any.sa_family == AF_INET) {
        // As an IPv4-mapped IPv6 address, so both spellings meet.
        key.address[10] = 0xff;
        key.address[11] = 0xff;
        std::memcpy(key.address.data() + 12, &peer.v4.sin_addr, 4);
    } else if (peer.any.sa_family == AF_INET6) {
        std::memcpy(key.address.data(), &peer.v6.sin6_addr, 16);
    }
    return key;
}

void PhoneFetches::record(const QList<RequestRecord> &ended)
{
    int firstNew = int(m_phones.size());
    int changedFirst = INT_MAX;
    int changedLast = -1;
    auto announce = [&] {
        if (m_phones.size() > firstNew)
            emit phonesAdded(firstNew, int(m_phones.size()) - 1);
        if (changedLast >= 0)
            emit phonesChanged(changedFirst, changedLast);
        firstNew = int(m_phones.size());
        changedFirst = INT_MAX;
        changedLast = -1;
    };
    for (const RequestRecord &r : ended) {
        if (r.stage != RequestRecord::Ended)
            continue;
        Key key = keyOf(r);
        int row = m_rows.value(key, -1);
        if (row < 0) {
            if (m_phones.size() >= kMaxPhones) {
                announce();
                forgetOldest();
                firstNew = int(m_phones.size());
            }
            row = int(m_phones.size());
            Phone phone;
            phone.address = RequestRecord::peerText(r.peer);
            phone.userAgent = key.agent;
            m_phones.append(std::move(phone));
            m_keys.append(key);
            m_rows.insert(std::move(key), row);
        } else if (row < firstNew) {
            changedFirst = qMin(changedFirst, row);
            changedLast = qMax(changedLast, row);
        }
        Phone &phone = m_phones[row];
        phone.model = HttpRequest::modelName(r.request.product);
        phone.fileName = r.request.fileName;
        phone.time = r.time;
        phone.bytes = r.bytes;
        phone.status = r.status;
        if (r.status == 200 && r.whole && r.request.fileName == QLatin1String("phonebook.xml"))
            phone.phonebook = r.generation;
    }
    announce();
}

void PhoneFetches::forgetOldest()
{
    emit aboutToForget();
    std::vector<qint64> times;
    times.reserve(size_t(m_phones.size()));
    for (const Phone &p : std::as_const(m_phones))
        times.push_back(p.time);
    const size_t drop = qMax<size_t>(1, times.size() / 10);
    std::nth_element(times.begin(), times.begin() + qptrdiff(drop - 1), times.end());
    const qint64 cutoff = times[drop - 1];
    size_t older = 0;
    for (const Phone &p : std::as_const(m_phones))
        older += p.time < cutoff ? 1 : 0;
    // Those heard from before the cutoff go, and as many heard from at it as make up the tenth.
    size_t ties = drop - older;
    QList<Phone> phones;
    QList<Key> keys;
    phones.reserve(m_phones.size());
    keys.reserve(m_keys.size());
    for (qsizetype i = 0; i < m_phones.size(); ++i) {
        const qint64 time = m_phones[i].time;
        if (time < cutoff)
            continue;
        if (time == cutoff && ties > 0) {
            --ties;
            continue;
        }
        phones.append(std::move(m_phones[i]));
        keys.append(std::move(m_keys[i]));
    }
    m_phones.swap(phones);
    m_keys.swap(keys);
    m_rows.clear();
    for (qsizetype i = 0; i < m_keys.size(); ++i)
        m_rows.insert(m_keys[i], int(i));
    emit forgotten();
}
