#include "widgets/PhoneCheckRunner.h"

#include <QThread>

PhoneCheckRunner::~PhoneCheckRunner()
{
    // The thread posts its result to this object; it must be over first.
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void PhoneCheckRunner::start(QList<Layout> layouts, QList<ContactInfo> contacts, QList<GroupInfo> groups)
{
    Request request { std::move(layouts), std::move(contacts), std::move(groups) };
    if (m_thread) {
        m_waiting = std::move(request);
        return;
    }
    run(std::move(request));
}

void PhoneCheckRunner::run(Request request)
{
    m_thread = QThread::create([this, request = std::move(request)] {
        QList<PhoneCheckModel::Entry> entries;
        for (const Layout &layout : request.layouts) {
            entries.append(
                { layout.name, LayoutCheck::check(layout.format, layout.encoding, request.contacts, request.groups) });
        }
        QMetaObject::invokeMethod(
            this, [this, entries = std::move(entries)]() mutable { done(std::move(entries)); }, Qt::QueuedConnection);
    });
    m_thread->start();
}

void PhoneCheckRunner::done(QList<PhoneCheckModel::Entry> entries)
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    if (m_waiting) {
        // The phonebook changed while this ran: its result is already old.
        Request next = std::move(*m_waiting);
        m_waiting.reset();
        run(std::move(next));
        return;
    }
    emit finished(entries);
}
