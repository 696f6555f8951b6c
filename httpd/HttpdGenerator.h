#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

// Writes missing phonebook.xml files for the connection threads. The phonebook and
// the store belong to the main thread, so the writing runs there, one file at a
// time, and never while the phonebook is busy with a command: a request that comes
// then waits for resume(). A file is written into a scratch folder and renamed
// into place, so a thread never sees half of it; a request for a file that
// appeared meanwhile writes nothing. A file whose phonebook changed while it was
// written is written again.
class HttpdGenerator : public QObject
{
    Q_OBJECT
public:
    // Writes `folder`/phonebook.xml in export format `format`; true on success.
    // Runs on the main thread.
    using Writer = std::function<bool(int format, const QString &folder)>;
    // Whether the phonebook is in the middle of a command; read on the main thread.
    using BusyCheck = std::function<bool()>;
    // Whether the phonebook changed since the last write began; asked on the main
    // thread once a file is in place.
    using ChangeCheck = std::function<bool()>;

    // One asked-for file, shared by the asking thread and the main thread.
    struct Ticket {
        QString folder;
        int format = 1;
        // Set by the asker when it no longer waits; a write not yet begun is dropped.
        std::atomic<bool> cancelled { false };
        // Whether the file exists now; valid when `done` runs.
        bool written = false;
        // Runs on the main thread once the request is dealt with, unless cancelled.
        std::function<void(const std::shared_ptr<Ticket> &)> done;
        // For the asker's own bookkeeping.
        void *owner = nullptr;
    };
    using TicketPtr = std::shared_ptr<Ticket>;

    explicit HttpdGenerator(QObject *parent = nullptr);
    ~HttpdGenerator() override;

    void setWriter(Writer writer);
    void setBusyCheck(BusyCheck busy);
    void setChangeCheck(ChangeCheck changed);

    // Thread-safe: queues the request for the main thread. Requests still queued
    // when the generator is deleted are dropped without `done`.
    void request(const TicketPtr &ticket);

    // How many files have been written (for tests and diagnostics).
    int writtenCount() const { return m_written; }

public slots:
    // Deals with the queued requests, unless the phonebook is busy or a write runs.
    void resume();

private:
    bool write(const QString &folder, int format);

    Writer m_writer;
    BusyCheck m_busy;
    ChangeCheck m_changed;
    QList<TicketPtr> m_queue;
    bool m_writing = false;
    int m_written = 0;
};
