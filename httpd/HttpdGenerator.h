#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// Writes missing phonebook.xml files for the connection threads. The phonebook and
// the store belong to the main thread, so the writing runs there, one file at a
// time, while the asking thread waits. A file is written into a scratch folder and
// renamed into place, so a thread never sees half of it; a request for a file that
// appeared meanwhile writes nothing.
class HttpdGenerator : public QObject
{
    Q_OBJECT
public:
    // Writes `folder`/phonebook.xml in export format `format`; true on success.
    // Runs on the main thread.
    using Writer = std::function<bool(int format, const QString &folder)>;

    explicit HttpdGenerator(QObject *parent = nullptr);
    ~HttpdGenerator() override;

    void setWriter(Writer writer);

    // Called on a connection thread: makes sure `folder`/phonebook.xml exists, having
    // the main thread write it when missing. Returns false when it could not be
    // written, or when `waitMsecs` ran out or the calling thread was asked to stop
    // first (a write not yet begun is then dropped).
    bool ensurePhonebook(const QString &folder, int format, int waitMsecs);

    // How many files have been written (for tests and diagnostics).
    int writtenCount() const { return m_written; }

private:
    struct Job;
    void run(const std::shared_ptr<Job> &job);
    bool write(const QString &folder, int format);

    Writer m_writer;
    bool m_writing = false;
    int m_written = 0;
};
