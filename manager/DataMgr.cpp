#include "manager/DataMgr.h"

#include "data/AppPaths.h"
#include "data/FolderLock.h"
#include "data/Records.h"
#include "data/SqliteDatabase.h"
#include "export/ExportBase.h"
#include "export/ExportFactory.h"
#include "import/ImportContext.h"
#include "import/ImportRows.h"
#include "import/ParseBase.h"
#include "import/ParseFactory.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <limits>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace Records;

DataMgr *DataMgr::instance()
{
    static DataMgr *mgr = new DataMgr;
    return mgr;
}

DataMgr::DataMgr()
    : m_store(std::make_unique<SqliteDatabase>())
{
    // Connected first, so every receiver of updateModel() sees the new revision.
    connect(this, &DataMgr::updateModel, this, [this] { ++m_revision; });
}

DataMgr::~DataMgr() = default;

Result DataMgr::openStore(StoreMode mode)
{
    m_storeMode = mode;
    m_contactSources.reset();
    return m_store->openDatabase(
        mode == StoreMode::ReadOnly ? SqliteDatabase::OpenMode::ReadOnly : SqliteDatabase::OpenMode::ReadWrite);
}

void DataMgr::closeStore()
{
    m_store->closeDatabase();
    m_contactSources.reset();
}

QString DataMgr::storePath() const
{
    return m_store->databasePath();
}

bool DataMgr::storeIsNew() const
{
    return m_store->isNew();
}

Result DataMgr::emptyStore()
{
    if (const Result begun = m_store->beginTransaction(); !begun)
        return begun;
    Result result = m_store->clearAllTables();
    if (result)
        result = forgetCardLinks();
    const Result ended = m_store->endTransaction(result.ok());
    return result ? ended : result;
}

void DataMgr::returnFreedMemory()
{
#ifdef __GLIBC__
    // A command over a large phonebook frees hundreds of megabytes that the
    // allocator would otherwise keep for the rest of the session.
    malloc_trim(0);
#endif
}

void DataMgr::mapLargeBlocks()
{
#ifdef __GLIBC__
    // glibc otherwise raises the size it maps to the largest block freed so far:
    // after one large import, the next one's buffers come from the heap and
    // leave holes in it that the trim above cannot give back.
    (void)mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

void DataMgr::setBusy(bool busy)
{
    if (busy) {
        ++m_busy;
    } else if (m_busy > 0 && --m_busy == 0) {
        m_store->releaseMemory();
        returnFreedMemory();
        emit idle();
    }
}

void DataMgr::setMergeMode(int mode)
{
    m_store->setMergeMode(mode);
}

Result DataMgr::reload()
{
    return reload(false);
}

Result DataMgr::reloadForWriting()
{
    return reload(true);
}

Expected<DataMgr::StoredLists> DataMgr::readStored(const QList<ContactInfo> &inMemory)
{
    Expected<StoredLists> lists = m_store->beginTransaction(SqliteDatabase::Access::Read);
    if (lists.result()) {
        lists = loadStored(inMemory);
        const Result ended = m_store->endTransaction(lists.ok());
        if (lists && !ended)
            lists = ended;
    }
    return lists;
}

int DataMgr::othersCommits()
{
    if (m_store->inTransaction())
        return -1;
    const Expected<int> others = m_store->commitsElsewhere();
    return others ? *others : -1;
}

void DataMgr::noteStoreMatchesLists(int othersBefore)
{
    // Within a transaction that may yet be undone, nothing is certain.
    if (othersBefore < 0 || m_store->inTransaction())
        m_storeMatch.reset();
    else
        m_storeMatch = StoreMatch { m_phonebook.stamp(), m_store->writeCount(), othersBefore };
}

bool DataMgr::storeMatchesLists()
{
    return m_storeMatch && m_storeMatch->stamp == m_phonebook.stamp() && m_storeMatch->writes == m_store->writeCount()
        && m_storeMatch->others == othersCommits();
}

Result DataMgr::reload(bool forWriting)
{
    const BusyScope busy(this);
    const int others = othersCommits();
    // One read: contacts and groups of one phonebook, whatever another program writes.
    Expected<StoredLists> lists = readStored(m_phonebook.contacts());
    // A store that cannot be read whole gives no phonebook at all, rather than
    // part of one that a later save would make the only copy.
    if (!lists)
        return Result::failure(tr("The phonebook could not be read from phonebook.db (%1).").arg(lists.message()));
    if (forWriting)
        m_phonebook.takeForWriting(std::move(lists->contacts), std::move(lists->groups));
    else
        m_phonebook.take(std::move(lists->contacts), std::move(lists->groups));
    noteStoreMatchesLists(others);
    // A reader (dump) changes nothing; the phones' files stay theirs.
    if (m_storeMode == StoreMode::ReadWrite)
        removeHttpFiles();
    emit updateModel();
    return Result();
}

Expected<DataMgr::StoredLists> DataMgr::loadStored(const QList<ContactInfo> &inMemory)
{
    Expected<QList<ContactInfo>> contacts = m_store->loadContacts(inMemory);
    if (!contacts)
        return contacts.result();
    Expected<QList<GroupInfo>> groups = m_store->loadGroups();
    if (!groups)
        return groups.result();
    return StoredLists { std::move(*contacts), std::move(*groups) };
}

void DataMgr::takePhonebook(QList<ContactInfo> contacts, QList<GroupInfo> groups)
{
    const BusyScope busy(this);
    m_phonebook.take(std::move(contacts), std::move(groups));
    emit updateModel();
}

DataMgr::StoredPhonebook DataMgr::storedPhonebook() const
{
    StoredPhonebook stored;
    const Expected<int> contacts = m_store->contactCount();
    stored.contacts = contacts ? *contacts : -1;
    if (const Expected<QList<GroupInfo>> groups = m_store->storedGroups()) {
        for (const GroupInfo &g : *groups) {
            if (g.name != kDefault && g.name != kBlacklist)
                ++stored.userGroups;
        }
    }
    // Every save, import, History and New writes the file; opening and reading do not.
    stored.written = QFileInfo(m_store->databasePath()).lastModified();
    return stored;
}

Result DataMgr::saveToDatabase()
{
    const int others = othersCommits();
    const Result saved = storeLists();
    if (saved)
        noteStoreMatchesLists(others);
    return storeWriteFailure(saved);
}

Result DataMgr::storeWriteFailure(const Result &stored)
{
    if (stored)
        return stored;
    return Result::failure(
        tr("The phonebook could not be written to phonebook.db (%1).").arg(stored.message()), Result::Cause::Store);
}

Result DataMgr::storeGroups()
{
    m_savedGroups = m_phonebook.numberForSave();
    return m_store->saveGroups(m_savedGroups);
}

Result DataMgr::storeLists()
{
    m_savedGroups = m_phonebook.numberForSave();
    return m_store->saveAll(m_phonebook.contacts(), m_savedGroups);
}

void DataMgr::clearPhonebook()
{
    const BusyScope busy(this);
    m_phonebook.clear();
    removeHttpFiles();
    emit updateModel();
}

Result DataMgr::resetForImport()
{
    const BusyScope busy(this);
    if (!m_replaceOnImport)
        return Result();
    // Emptied in place, not deleted: a failing import can still undo it.
    if (const Result emptied = m_store->clearAllTables(); !emptied)
        return emptied;
    if (const Result forgotten = forgetCardLinks(); !forgotten)
        return forgotten;
    clearPhonebook();
    if (m_importing)
        m_removeFilesAfterImport = true;
    else
        removeTemporaryFiles();
    return Result();
}

void DataMgr::removeTemporaryFiles()
{
    removeWorkingCopies(QString());
    QDir(AppPaths::appDir() + QStringLiteral("HTTPD")).removeRecursively();
    phoneFilesChanged();
}

void DataMgr::removeWorkingCopies(const QString &keep)
{
    const QString dir = AppPaths::appDir();
    const QString kept = QFileInfo(keep).canonicalFilePath();
    for (const char *name : { "tmp.csv", "tmp1.csv", "tmp2.csv", "tmp.xml", "tmp.vcf" }) {
        const QString copy = dir + QLatin1String(name);
        if (kept.isEmpty() || QFileInfo(copy).canonicalFilePath() != kept)
            QFile::remove(copy);
    }
}

void DataMgr::removeHttpFiles()
{
    const QString dir = AppPaths::appDir() + QStringLiteral("HTTPD/");
    for (const char *model : { "Alder", "Birch", "Cedar", "Brenn", "UNIXML" })
        QFile::remove(dir + QLatin1String(model) + QStringLiteral("/phonebook.xml"));
    phoneFilesChanged();
}

// Export and the files of a save.

namespace {

// Contacts an export from the store reads at a time: enough to keep each query's
// cost small, few enough that the slice's memory is used again, not grown.
constexpr int kExportSlice = 4096;

Result unreadStore(const Result &failure)
{
    return Result::failure(
        QCoreApplication::translate("DataMgr", "The phonebook could not be read from phonebook.db (%1).")
            .arg(failure.message()),
        Result::Cause::Store);
}

// One read of the store for several writers on threads of their own: each slice is
// read once and handed to every writer (the lists share their contacts), and is
// let go when the last has taken it. A writer runs at most a few slices ahead of
// the slowest, so memory stays that of a few slices.
class SliceFan
{
public:
    SliceFan(ExportContacts::Reader source, int writers)
        : m_source(std::move(source))
        , m_next(writers, 0)
        , m_done(writers, false)
    {
    }

    ExportContacts::Reader reader(int writer)
    {
        return [this, writer](QList<ContactInfo> &slice) { return next(writer, slice); };
    }
    // The writer took what it wanted (a layout may stop early); it holds no slice back.
    void done(int writer)
    {
        const std::lock_guard lock(m_mutex);
        m_done[writer] = true;
        dropTaken();
        m_changed.notify_all();
    }
    // For writers that run one after the other: every slice is kept until all took it.
    void keepAll()
    {
        const std::lock_guard lock(m_mutex);
        m_keepAll = true;
    }

private:
    static constexpr qsizetype kAhead = 4;

    Result next(int writer, QList<ContactInfo> &slice)
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            const qsizetype wanted = m_next[writer];
            if (m_done[writer]) {
                slice.clear();
                return Result();
            }
            if (wanted < m_first + qsizetype(m_slices.size())) {
                slice = m_slices[wanted - m_first];
                ++m_next[writer];
                dropTaken();
                m_changed.notify_all();
                return Result();
            }
            if (m_ended) {
                slice.clear();
                return m_failure;
            }
            if (!m_reading && (m_keepAll || wanted - slowest() < kAhead)) {
                // One reader at a time; the others wait for its slice.
                m_reading = true;
                lock.unlock();
                QList<ContactInfo> read;
                const Result result = m_source(read);
                lock.lock();
                m_reading = false;
                if (!result || read.isEmpty()) {
                    m_ended = true;
                    m_failure = result;
                } else {
                    m_slices.push_back(std::move(read));
                }
                m_changed.notify_all();
                continue;
            }
            m_changed.wait(lock);
        }
    }
    qsizetype slowest() const
    {
        qsizetype slowest = std::numeric_limits<qsizetype>::max();
        for (size_t w = 0; w < m_next.size(); ++w) {
            if (!m_done[w])
                slowest = std::min(slowest, m_next[w]);
        }
        return slowest;
    }
    void dropTaken()
    {
        for (const qsizetype slowest = this->slowest(); !m_slices.empty() && m_first < slowest; ++m_first)
            m_slices.pop_front();
    }

    ExportContacts::Reader m_source;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QList<ContactInfo>> m_slices;
    qsizetype m_first = 0; // the number of m_slices.front()
    std::vector<qsizetype> m_next;
    std::vector<bool> m_done;
    bool m_reading = false;
    bool m_ended = false;
    bool m_keepAll = false;
    Result m_failure;
};

// An export written into its temporary file; commit() puts it in place, and
// dropping it uncommitted leaves the file that was there (or none).
class PendingExport
{
    Q_DECLARE_TR_FUNCTIONS(DataMgr)
public:
    PendingExport(int format, const QString &encoding, const QString &path, const ExportContacts &contacts,
        const QList<GroupInfo> &groups)
    {
        const ExportBase *writer = ExportFactory::writer(format);
        if (!writer) {
            m_result = Result::failure(tr("There is no layout %1.").arg(format));
            return;
        }
        if (path.isEmpty()) {
            m_result = Result::failure(tr("The file to write has no name."));
            return;
        }
        m_target = path + ExportFactory::extension(format);
        m_file = std::make_unique<QSaveFile>(m_target);
        if (!m_file->open(QIODevice::WriteOnly)) {
            m_result = unwritten(m_file->errorString());
            return;
        }
        if (const Result written = writer->write(*m_file, contacts, groups, encoding); !written)
            m_result = unwritten(written.message());
        // Contacts that could not all be read make no file; the reader says why.
        else if (!contacts.result())
            m_result = contacts.result();
    }

    // The file to be written; empty when the request named none.
    const QString &target() const { return m_target; }
    Result commit()
    {
        if (m_result && !m_file->commit())
            m_result = unwritten(m_file->errorString());
        return m_result;
    }

private:
    Result unwritten(const QString &reason) const
    {
        return Result::failure(
            tr("%1 could not be written (%2).")
                .arg(QDir::toNativeSeparators(m_target), reason.isEmpty() ? tr("unknown error") : reason));
    }

    QString m_target;
    std::unique_ptr<QSaveFile> m_file;
    Result m_result;
};

} // namespace

Result DataMgr::exportFile(int format, const QString &encoding, const QString &path, const ExportContacts &contacts,
    const QList<GroupInfo> &groups, QString *finalPath)
{
    // The file appears, or replaces the one there, only when it is complete.
    PendingExport file(format, encoding, path, contacts, groups);
    if (finalPath && !file.target().isEmpty())
        *finalPath = file.target();
    return file.commit();
}

bool DataMgr::copyFile(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    // As an export: the copy appears, or replaces the file there, only when complete.
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = source.read(chunk.data(), chunk.size());
        if (got < 0)
            return false;
        if (got == 0)
            break;
        if (target.write(chunk.constData(), got) != got)
            return false;
    }
    return target.commit();
}

Result DataMgr::exportTo(
    int format, const QString &encoding, const QString &fileName, const QString &folder, QString *finalPath)
{
    return exportFile(
        format, encoding, folder + QLatin1Char('/') + fileName, m_phonebook.contacts(), m_savedGroups, finalPath);
}

Result DataMgr::exportStored(int format, const QString &encoding, const QString &fileName, const QString &folder)
{
    if (const Result begun = m_store->beginTransaction(SqliteDatabase::Access::Read); !begun)
        return begun;
    // Files written from an earlier phonebook are not handed out any more.
    if (m_store->changedElsewhere())
        removeHttpFiles();
    // The groups with the ids they are stored with: the file Save wrote for this phonebook.
    const Result written = writeStored(format, encoding, folder + QLatin1Char('/') + fileName, false, nullptr);
    const Result ended = m_store->endTransaction(written.ok());
    return written ? ended : written;
}

Result DataMgr::exportAsSaved(const ExportOptions &options, QString *finalPath) const
{
    return exportFile(options.format, options.encoding, options.folder + QLatin1Char('/') + options.name,
        m_phonebook.contacts(), m_phonebook.groupsAsSaved(), finalPath);
}

Result DataMgr::exportStoredAsSaved(const ExportOptions &options, QString *finalPath)
{
    return writeStored(
        options.format, options.encoding, options.folder + QLatin1Char('/') + options.name, true, finalPath);
}

Expected<ExportContacts::Reader> DataMgr::storedContacts()
{
    const Expected<bool> inSlices = m_store->contactsReadInSlices();
    if (!inSlices)
        return unreadStore(inSlices.result());
    const bool sliced = *inSlices;
    auto after = std::make_shared<qint64>(0);
    auto given = std::make_shared<bool>(false);
    return ExportContacts::Reader([this, sliced, after, given](QList<ContactInfo> &slice) {
        // The last slice's memory is free again before the next is read.
        slice.clear();
        // Where ids do not rise in stored order, the whole phonebook is the one slice.
        Expected<QList<ContactInfo>> read = sliced ? m_store->loadContactSlice(*after, kExportSlice)
            : std::exchange(*given, true)          ? Expected<QList<ContactInfo>>(QList<ContactInfo>())
                                                   : m_store->loadContacts();
        if (!read)
            return unreadStore(read.result());
        slice = std::move(*read);
        for (ContactInfo &c : slice)
            Phonebook::deriveWrittenFields(c);
        return Result();
    });
}

Result DataMgr::writeStored(
    int format, const QString &encoding, const QString &path, bool numberAsSaved, QString *finalPath)
{
    // One read transaction: the file holds one phonebook, whatever another program writes.
    if (const Result begun = m_store->beginTransaction(SqliteDatabase::Access::Read); !begun)
        return unreadStore(begun);
    Expected<QList<GroupInfo>> groups = m_store->loadGroups(SqliteDatabase::Members::Left);
    if (groups && numberAsSaved)
        groups = Phonebook::storedGroupsAsSaved(std::move(*groups));
    Expected<ExportContacts::Reader> reader = groups ? storedContacts() : unreadStore(groups.result());
    Result exported = reader.result();
    if (exported) {
        // Written as read, a slice at a time: the whole phonebook is never held.
        const ExportContacts contacts(std::move(*reader));
        exported = exportFile(format, encoding, path, contacts, *groups, finalPath);
    }
    const Result ended = m_store->endTransaction(exported.ok());
    if (exported && !ended)
        return unreadStore(ended);
    return exported;
}

Result DataMgr::savePhonebookFiles(QString *historyPath)
{
    return saveFiles(historyPath, false);
}

Result DataMgr::takeStoredGroups()
{
    // The contacts stay in the store: only the groups take part in numbering.
    Expected<QList<GroupInfo>> groups = m_store->beginTransaction(SqliteDatabase::Access::Read);
    if (groups.result()) {
        groups = m_store->loadGroups();
        const Result ended = m_store->endTransaction(groups.ok());
        if (groups && !ended)
            groups = ended;
    }
    if (!groups)
        return unreadStore(groups.result());
    m_phonebook.takeForWriting(QList<ContactInfo>(), std::move(*groups));
    return Result();
}

Result DataMgr::saveStoredPhonebookFiles(QString *historyPath)
{
    if (const Result taken = takeStoredGroups(); !taken)
        return taken;
    // As after every load of the stored phonebook, until the save writes them again.
    removeHttpFiles();
    return saveFiles(historyPath, true);
}

Result DataMgr::saveFiles(QString *historyPath, bool contactsStored)
{
    // The store and the phones' files of one save, with no other program's
    // change between them.
    FolderLock lock;
    if (!lock.lock())
        return Result::failure(lock.error(), Result::Cause::Locked);
    const QString dir = AppPaths::appDir();
    for (const char *folder : { "target", "HTTPD/UNIXML", "HTTPD/Birch", "HTTPD/Cedar", "HTTPD/Brenn" })
        QDir().mkpath(dir + QLatin1String(folder));
    const QString historyName
        = QStringLiteral("phonebook_") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
    // The groups take the ids the store is going to hold before anything is written.
    m_savedGroups = m_phonebook.numberForSave();
    const QList<ContactInfo> &contacts = std::as_const(m_phonebook).contacts();
    const QList<GroupInfo> groups = m_savedGroups;
    const QString utf8 = QStringLiteral("UTF-8");
    const QString phonebook = QStringLiteral("phonebook");

    // The files are put in place only once the store holds the phonebook: no file
    // claims a save that did not happen.
    std::unique_ptr<PendingExport> historyFile;
    std::vector<std::unique_ptr<PendingExport>> cached;
    const QString historyTarget = dir + QStringLiteral("target/") + historyName;
    const std::pair<int, const char *> models[] = { { ExportFactory::XmlBirch, "HTTPD/Birch" },
        { ExportFactory::XmlCedar, "HTTPD/Cedar" }, { ExportFactory::XmlBrenn, "HTTPD/Brenn" } };
    auto modelTarget = [&](const char *folder) { return dir + QLatin1String(folder) + QLatin1Char('/') + phonebook; };
    Result stored;
    if (contactsStored) {
        // Only the groups change in the store; the four files are then written from
        // one read of it, each on a thread of its own.
        stored = storeWriteFailure(m_store->saveGroups(groups));
        if (!stored)
            return stored;
        if (const Result begun = m_store->beginTransaction(SqliteDatabase::Access::Read); !begun)
            return unreadStore(begun);
        Expected<ExportContacts::Reader> reader = storedContacts();
        if (!reader) {
            (void)m_store->endTransaction(false);
            return reader.result();
        }
        SliceFan fan(std::move(*reader), 4);
        std::vector<std::unique_ptr<PendingExport>> files(4);
        auto write = [&](int k) {
            const ExportContacts contacts(fan.reader(k));
            files[k] = k == 0
                ? std::make_unique<PendingExport>(ExportFactory::UniXml, utf8, historyTarget, contacts, groups)
                : std::make_unique<PendingExport>(
                    models[k - 1].first, utf8, modelTarget(models[k - 1].second), contacts, groups);
            fan.done(k);
        };
        std::vector<std::thread> threads;
        try {
            for (int k = 1; k < 4; ++k)
                threads.emplace_back(write, k);
        } catch (const std::system_error &) {
            // Writers without a thread run one after the other.
            fan.keepAll();
        }
        write(0);
        for (int k = int(threads.size()) + 1; k < 4; ++k)
            write(k);
        for (std::thread &thread : threads)
            thread.join();
        (void)m_store->endTransaction(true);
        historyFile = std::move(files[0]);
        for (int k = 1; k < 4; ++k)
            cached.push_back(std::move(files[k]));
    } else {
        const int others = othersCommits();
        // The files are written while the store is, on the other core.
        auto writeCached = [&] {
            for (const auto &[format, folder] : models)
                cached.push_back(std::make_unique<PendingExport>(format, utf8, modelTarget(folder), contacts, groups));
        };
        std::thread writer;
        try {
            writer = std::thread([&] {
                historyFile
                    = std::make_unique<PendingExport>(ExportFactory::UniXml, utf8, historyTarget, contacts, groups);
                writeCached();
            });
        } catch (const std::system_error &) {
            // No second thread: one after the other.
        }
        stored = storeWriteFailure(m_store->saveAll(contacts, groups));
        if (stored)
            noteStoreMatchesLists(others);
        if (writer.joinable()) {
            writer.join();
        } else {
            historyFile = std::make_unique<PendingExport>(ExportFactory::UniXml, utf8, historyTarget, contacts, groups);
            writeCached();
        }
    }
    if (!stored)
        return stored;
    const QString history = historyFile->target();
    const Result saved = historyFile->commit();
    // A cache: the service writes a missing file again when a phone asks for it.
    // The general one is the history copy byte for byte, so it is copied, not written again.
    const QString general = dir + QStringLiteral("HTTPD/UNIXML/") + phonebook;
    if (!saved || !copyFile(history, general + ExportFactory::extension(ExportFactory::UniXml))) {
        if (contactsStored)
            (void)writeStored(ExportFactory::UniXml, utf8, general, false, nullptr);
        else
            (void)PendingExport(ExportFactory::UniXml, utf8, general, contacts, groups).commit();
    }
    for (const std::unique_ptr<PendingExport> &file : cached)
        (void)file->commit();
    phoneFilesChanged();
    if (historyPath)
        *historyPath = history;
    if (!saved)
        return Result::failure(tr("Save failed: %1").arg(saved.message()));
    return saved;
}

// Import

DataMgr::ImportSnapshot DataMgr::snapshot() const
{
    return ImportSnapshot { m_phonebook, m_savedGroups };
}

void DataMgr::restore(const ImportSnapshot &before)
{
    m_phonebook = before.phonebook;
    m_savedGroups = before.savedGroups;
    emit updateModel();
}

Result DataMgr::writeFailure(const Result &storeFailure)
{
    return Result::failure(
        tr("Import failed: the phonebook could not be written to phonebook.db (%1). Nothing was changed.")
            .arg(storeFailure.message()),
        Result::Cause::Store);
}

Expected<ImportContext> DataMgr::importNumbering()
{
    if (m_replaceOnImport)
        return ImportContext();
    const Expected<int> largest = m_store->largestContactId();
    if (!largest)
        return largest.result();
    const Expected<QList<GroupInfo>> stored = m_store->storedGroups();
    if (!stored)
        return stored.result();
    ImportContext numbering(qMax(qMax(1, m_phonebook.nextContactId()), *largest + 1), m_phonebook.nextGroupId());
    for (const GroupInfo &g : *stored)
        numbering.addStoredGroup(g.id, g.name);
    return numbering;
}

Result DataMgr::storeImported(ImportRows rows, const ImportContext &numbering, const QStringList &merged)
{
    if (const Result reset = resetForImport(); !reset)
        return reset;
    m_phonebook.setNextContactId(numbering.nextContactId());
    m_phonebook.setNextGroupId(numbering.nextGroupId());
    for (const QString &name : numbering.newUserGroups()) {
        if (!merged.contains(name))
            m_phonebook.addUserGroupName(name);
    }
    // Nothing is merged after a failed insert; the import is then undone as a whole.
    // A slice of a table at a time: the store's values of a large import are made
    // only while they go in.
    constexpr qsizetype kSlice = 8192;
    if (const Result suspended = m_store->suspendIndexes(rows.rowCount(QStringLiteral("contact1"))); !suspended)
        return suspended;
    for (const QString &table : ImportRows::tableNames()) {
        const qsizetype count = rows.rowCount(table);
        for (qsizetype first = 0; first < count; first += kSlice) {
            if (const Result inserted = m_store->insertBatch(rows.batch(table, first, kSlice)); !inserted)
                return inserted;
        }
    }
    // The rows are in the store: their memory serves the merge and the indexes.
    rows = ImportRows();
    if (const Result merged = m_store->mergeImported(); !merged)
        return merged;
    return m_store->restoreIndexes();
}

Result DataMgr::importFile(const QString &path, const QString &encoding, QStringList *notices)
{
    Result storeFailure;
    return importFile(path, encoding, storeFailure, notices);
}

Result DataMgr::importHistory(const QString &path)
{
    setMergeMode(1);
    setReplaceOnImport(true);
    m_restoringHistory = true;
    Result storeFailure;
    const Result imported = importFile(path, QStringLiteral("UTF-8"), storeFailure, nullptr);
    m_restoringHistory = false;
    setReplaceOnImport(false);
    if (!storeFailure)
        return Result::failure(
            tr("The phonebook could not be written to phonebook.db (%1).").arg(storeFailure.message()),
            Result::Cause::Store);
    return imported;
}

Result DataMgr::importFile(const QString &path, const QString &encoding, Result &storeFailure, QStringList *notices)
{
    const BusyScope busy(this);
    const QString refused = tr("Import is failed,please check the file format and encoding.");
    const std::unique_ptr<ParseBase> reader = ParseFactory::createParser(path);
    if (!reader)
        return Result::failure(refused);
    QByteArray bytes;
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            // Read into a buffer of the file's size: readAll() leaves one of twice
            // that, and a large import's file is its largest block.
            const qint64 size = file.isSequential() ? 0 : file.size();
            if (size > 0) {
                bytes.resize(size);
                const qint64 got = file.read(bytes.data(), size);
                bytes.truncate(qMax<qint64>(got, 0));
            } else {
                bytes = file.readAll();
            }
        }
        if (file.error() != QFileDevice::NoError)
            return Result::failure(refused + QLatin1Char('\n') + tr("The file %1 cannot be read.").arg(path));
    }
    const ImportSnapshot before = m_leanImport ? ImportSnapshot() : snapshot();
    const int others = othersCommits();
    if (const Result begun = m_store->beginTransaction(); !begun) {
        storeFailure = begun;
        return writeFailure(begun);
    }
    m_importing = true;
    // The whole file is read before the phonebook is touched, numbered as the
    // phonebook will be when its rows go in.
    const Expected<ImportContext> numbering = importNumbering();
    QString fault;
    QStringList merged;
    bool ok = numbering.ok();
    if (ok) {
        ImportContext context = *numbering;
        Expected<ImportRows> rows = reader->read(std::move(bytes), encoding, context);
        // A history copy is put back as it was saved.
        if (rows && !m_restoringHistory)
            merged = rows->mergeGroupsByCase(context.storedGroupNames());
        if (!rows)
            fault = rows.message();
        else if (notices)
            *notices = rows->notices();
        ok = rows.ok() && storeImported(std::move(*rows), context, merged).ok();
    }
    // Read back before the commit: a phonebook that cannot be loaded is not kept.
    // A lean import only reads it through: its process ends without the contacts.
    Expected<StoredLists> lists = Result::failure(QString());
    if (ok) {
        // The file's rows are gone; the read-back is not to sit on top of them.
        returnFreedMemory();
        if (m_leanImport) {
            Expected<QList<GroupInfo>> groups = m_store->loadGroups(SqliteDatabase::Members::Left);
            const Result read = groups ? m_store->readThrough() : groups.result();
            lists = read ? Expected<StoredLists>(StoredLists { {}, std::move(*groups) }) : Expected<StoredLists>(read);
        } else {
            lists = loadStored(m_phonebook.contacts());
        }
        ok = lists.ok();
    }
    const Result ended = m_store->endTransaction(ok);
    m_importing = false;
    const bool removeFiles = std::exchange(m_removeFilesAfterImport, false);
    if (!ended) {
        // A lean import reads the store back once it has been undone whole.
        if (!m_leanImport)
            restore(before);
        // When something could not be written, the file is not to blame.
        if (!ended.message().isEmpty()) {
            storeFailure = ended;
            return writeFailure(ended);
        }
        // What the reader found wrong, on a line of its own.
        return Result::failure(fault.isEmpty() ? refused : refused + QLatin1Char('\n') + fault);
    }
    if (removeFiles) {
        removeWorkingCopies(path);
        QDir(AppPaths::appDir() + QStringLiteral("HTTPD")).removeRecursively();
    }
    if (m_leanImport)
        m_phonebook.takeForWriting(std::move(lists->contacts), std::move(lists->groups));
    else
        m_phonebook.take(std::move(lists->contacts), std::move(lists->groups));
    if (!m_leanImport)
        noteStoreMatchesLists(others);
    // A reader (dump) changes nothing; the phones' files stay theirs.
    if (m_storeMode == StoreMode::ReadWrite)
        removeHttpFiles();
    emit updateModel();
    return Result();
}

Result DataMgr::importPhonebook(const ImportOptions &options, QStringList *notices)
{
    const BusyScope busy(this);
    const ImportSnapshot before = m_leanImport ? ImportSnapshot() : snapshot();
    setMergeMode(options.replaceDuplicates ? 0 : 1);
    setReplaceOnImport(options.clearList);
    // Contacts the store already holds as the lists do are not written again; the
    // groups are, numbered as a save numbers them.
    const bool contactsStored = m_leanImport || storeMatchesLists();
    const int others = othersCommits();
    // The save belongs to the transaction: a failed import leaves phonebook.db untouched.
    Result imported = Result::failure(tr("Import is failed,please check the file format and encoding."));
    Result done = m_store->beginTransaction();
    if (done) {
        if (contactsStored ? storeGroups() : storeLists()) {
            // What the save freed is not to sit beneath the file and its rows.
            returnFreedMemory();
            imported = importFile(options.path, options.encoding, notices);
        }
        done = m_store->endTransaction(imported.ok());
    }
    if (done) {
        if (!m_leanImport)
            noteStoreMatchesLists(others);
        return done;
    }
    if (m_leanImport)
        (void)reload(true);
    else
        restore(before);
    if (notices)
        notices->clear();
    // When something could not be written, that is what the user must hear.
    if (!done.message().isEmpty())
        return writeFailure(done);
    return imported;
}

Result DataMgr::importIntoStore(const ImportOptions &options, QStringList *notices)
{
    if (const Result taken = takeStoredGroups(); !taken)
        return taken;
    m_leanImport = true;
    const Result imported = importPhonebook(options, notices);
    m_leanImport = false;
    return imported;
}

// The phonebook service for phones.
#include "httpd/HttpdService.h"

Result DataMgr::startHttpService(QStringList *notices)
{
    if (!m_httpService) {
        m_httpService = new HttpdService(this);
        // Runs on this thread, between commands. Phones get the phonebook in the
        // store, the one the user saved or brought in; unsaved edits are no
        // phonebook to hand out.
        m_httpService->setPhonebookWriter([this](int format, const QString &folder) {
            return exportStored(format, QStringLiteral("UTF-8"), QStringLiteral("phonebook"), folder).ok();
        });
        // Another program changed the store while a file was written from it.
        m_httpService->setChangeCheck([this] {
            if (!m_store->changedElsewhere())
                return false;
            removeHttpFiles();
            return true;
        });
        m_httpService->setBusyCheck([this] { return isBusy(); });
        // Queued: the command that just ended may still be on its way out.
        connect(this, &DataMgr::idle, m_httpService, &HttpdService::resumeWriting, Qt::QueuedConnection);
        // Connection threads must not outlive the application object.
        if (QCoreApplication::instance())
            connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &DataMgr::stopHttpService,
                Qt::UniqueConnection);
    }
    connect(m_httpService, &HttpdService::httpdMsg, this, &DataMgr::httpdMsg, Qt::UniqueConnection);
    connect(m_httpService, &HttpdService::requestsEnded, this, &DataMgr::httpRequestsEnded, Qt::UniqueConnection);
    const Result started = m_httpService->startServer(notices);
    if (!started)
        stopHttpService();
    return started;
}

void DataMgr::stopHttpService()
{
    if (m_httpService) {
        m_httpService->stopServer();
        delete m_httpService;
        m_httpService = nullptr;
    }
}

quint16 DataMgr::httpPort() const
{
    return m_httpService ? m_httpService->serverPort() : 80;
}

QStringList DataMgr::httpClients() const
{
    return m_httpService ? m_httpService->addressList() : QStringList();
}

PhoneFetches *DataMgr::phoneFetches() const
{
    return m_httpService ? m_httpService->fetches() : nullptr;
}

void DataMgr::phoneFilesChanged()
{
    if (m_httpService)
        m_httpService->phonebookFilesChanged();
}
