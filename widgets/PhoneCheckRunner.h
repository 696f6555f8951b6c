#pragma once

#include "data/ContactInfo.h"
#include "data/GroupInfo.h"
#include "widgets/PhoneCheckModel.h"

#include <QObject>

#include <optional>

class QThread;

// Checks a phonebook in several layouts on a thread of its own, so that the
// window stays responsive however large the phonebook is. The lists are
// copies, shared until the phonebook changes. A request made while a check
// runs waits for it and replaces any request already waiting; only the result
// of the newest request is delivered.
class PhoneCheckRunner : public QObject
{
    Q_OBJECT
public:
    struct Layout {
        QString name;
        int format = 0;
        QString encoding;
    };

    using QObject::QObject;
    ~PhoneCheckRunner() override;

    void start(QList<Layout> layouts, QList<ContactInfo> contacts, QList<GroupInfo> groups);
    bool isRunning() const { return m_thread != nullptr; }

signals:
    void finished(const QList<PhoneCheckModel::Entry> &entries);

private:
    struct Request {
        QList<Layout> layouts;
        QList<ContactInfo> contacts;
        QList<GroupInfo> groups;
    };
    void run(Request request);
    void done(QList<PhoneCheckModel::Entry> entries);

    QThread *m_thread = nullptr;
    std::optional<Request> m_waiting;
};
