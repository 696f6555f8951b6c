#pragma once

#include "data/ContactInfo.h"
#include "data/GroupInfo.h"
#include "data/Phonebook.h"
#include "data/Result.h"
#include "httpd/RequestRecord.h"
#include "manager/Options.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

struct CardSource;
struct DavChanges;
class CardSources;
class HttpdService;
class PhoneFetches;
class SqliteDatabase;
class ImportContext;
class ImportRows;
class ExportContacts;

// Owns the working phonebook and runs what reaches beyond it: the store, imports,
// exports, the saved files and the HTTP service. Every change to the phonebook
// ends with updateModel(): callers that change it through phonebook() call
// phonebookChanged(). Lives on the GUI thread.
class DataMgr : public QObject
{
    Q_OBJECT
public:
    static DataMgr *instance();
    ~DataMgr() override;
    // For a process that lives long and imports often (the window): every block
    // of a megabyte or more is mapped apart and goes back to the system when freed.
    static void mapLargeBlocks();

    // The store, phonebook.db in the program folder. Its failures carry SQLite's
    // message, for the caller to put into its own sentence.
    enum class StoreMode { ReadWrite, ReadOnly };
    Result openStore(StoreMode mode = StoreMode::ReadWrite);
    void closeStore();
    bool storeIsOpen() const;
    QString storePath() const;
    // No phonebook has been stored yet: phonebook.db is missing or zero-length.
    bool storeIsNew() const;
    // Empties the store (New); the lists are not touched.
    Result emptyStore();
    // For tests and benchmarks; nothing above the data manager touches the store.
    SqliteDatabase *store() { return m_store.get(); }

    Phonebook &phonebook() { return m_phonebook; }
    const Phonebook &phonebook() const { return m_phonebook; }
    // Tells the views the phonebook changed: emits updateModel().
    void phonebookChanged() { emit updateModel(); }
    // The stored groups as the last save wrote them; what exports receive.
    const QList<GroupInfo> &savedGroups() const { return m_savedGroups; }

    // Counts the updateModel() signals: views that cache what they derive from the
    // lists compare it to know whether the lists changed since.
    quint64 revision() const { return m_revision; }

    // Busy while a command changes the phonebook; the phonebook service writes no
    // file then. Marks nest: setBusy(true) adds one, setBusy(false) takes one off,
    // and idle() is emitted when the last one goes.
    void setBusy(bool busy);
    bool isBusy() const { return m_busy > 0; }

    // Keeps the data manager busy for its own lifetime.
    class BusyScope
    {
    public:
        explicit BusyScope(DataMgr *mgr)
            : m_mgr(mgr)
        {
            m_mgr->setBusy(true);
        }
        ~BusyScope() { m_mgr->setBusy(false); }
        BusyScope(const BusyScope &) = delete;
        BusyScope &operator=(const BusyScope &) = delete;

    private:
        DataMgr *m_mgr;
    };

    void setLanguage(const QString &code) { m_language = code; }
    QString language() const { return m_language; }

    void setReplaceOnImport(bool replace) { m_replaceOnImport = replace; }
    void setMergeMode(int mode);

    // Reads the phonebook from the store; when the store cannot be read the lists
    // stay as they were and the failure says why.
    Result reload();
    // reload() for a command that saves the phonebook or writes its files and shows
    // nothing: the lists lack the keys and labels only the views use.
    Result reloadForWriting();
    // Makes a phonebook read from elsewhere (a recovery copy) the working one, as
    // reload() does with the store's; the store is not touched. `groups` are the
    // stored groups, without the display rows.
    void takePhonebook(QList<ContactInfo> contacts, QList<GroupInfo> groups);

    // The phonebook kept in the store, as far as the editor offers to open it:
    // its contacts and user groups, and when the store was last written.
    // `contacts` is -1 when the store could not be read.
    struct StoredPhonebook {
        int contacts = 0;
        int userGroups = 0;
        QDateTime written;
        bool isEmpty() const { return contacts <= 0 && userGroups <= 0; }
    };
    StoredPhonebook storedPhonebook() const;
    // Writes the working lists to the store; a failure (Cause::Store) leaves the
    // store as it was.
    Result saveToDatabase();
    void clearPhonebook();
    // Replace mode: empties the lists and the store (within the running import's
    // transaction) before the rows of a file that was read whole go in.
    Result resetForImport();

    // Imports and exports (readers and writers pick the layout).
    // Import History: empties the phonebook and fills it from a history copy, as one
    // all-or-nothing step. Fails with "The phonebook could not be written to
    // phonebook.db (...)." (Cause::Store) when the store failed, otherwise with
    // what was wrong with the file.
    Result importHistory(const QString &path);
    // Reads the file into the store and reloads the lists, all or nothing: on failure
    // the store and the lists are as they were, and the message says why for the
    // user: what could not be written, or that the file was refused and what was
    // wrong with it. Tells the user nothing itself.
    // `notices`, when given, receives what the user should hear about a file read
    // all the same (an unknown charset it declares).
    Result importFile(const QString &path, const QString &encoding, QStringList *notices = nullptr);
    // What the import dialogs do on "OK", as one all-or-nothing operation: save the
    // working lists to the store, replace contacts of the same name or keep both,
    // empty the phonebook first when asked, and import. `options.encoding` is a
    // name, not "auto". On failure the store, phonebook.db and the lists are as
    // they were, and the message says why (Cause::Store when the store failed, not
    // the file). `notices` as for importFile.
    Result importPhonebook(const ImportOptions &options, QStringList *notices = nullptr);
    // importPhonebook for a process that shows nothing and ends after it, on the
    // phonebook in the store (what the lists hold is not used): the contacts are
    // neither loaded nor written again, only the groups numbered as a save numbers
    // them. After it the lists hold the stored groups and no contacts (the store
    // is read through, to know it loads); a failure reads back what the store
    // holds, without sort or search keys.
    Result importIntoStore(const ImportOptions &options, QStringList *notices = nullptr);
    // Writes `contacts` and `groups` in layout `format` to `path` plus the layout's
    // extension, which `finalPath` receives. The file appears, or replaces the one
    // there, only when it is complete; a failure says which file and why.
    static Result exportFile(int format, const QString &encoding, const QString &path, const ExportContacts &contacts,
        const QList<GroupInfo> &groups, QString *finalPath = nullptr);
    // Writes the phonebook to folder + "/" + fileName + the layout's extension;
    // `finalPath`, when given, receives the path written.
    Result exportTo(int format, const QString &encoding, const QString &fileName, const QString &folder,
        QString *finalPath = nullptr);
    // The file exportTo would write after a saveToDatabase(), written without one:
    // the groups carry the ids a save would give them now, and neither the store
    // nor the lists change.
    Result exportAsSaved(const ExportOptions &options, QString *finalPath = nullptr) const;
    // exportAsSaved of the phonebook in the store, for a command that loads it only
    // to write it out: one read, and only the fields the layouts use are derived;
    // the lists are not touched. A store that cannot be read fails with
    // Cause::Store and "The phonebook could not be read from phonebook.db (...).".
    Result exportStoredAsSaved(const ExportOptions &options, QString *finalPath = nullptr);
    // The files of a Save, for the window and the headless tool alike: creates
    // target/ and the HTTPD model folders, writes the store (saveToDatabase), the
    // history copy target/phonebook_yyyyMMddhhmmss.xml and phonebook.xml in
    // HTTPD/UNIXML, Birch, Cedar and Brenn (all UTF-8), all under the folder lock.
    // Fails when the folder is locked by another program (Cause::Locked) or the
    // store failed (Cause::Store; then nothing is written), or the history copy
    // (whose path `historyPath` receives) failed; the HTTPD files are a cache whose
    // failures only the HTTP service notices.
    Result savePhonebookFiles(QString *historyPath = nullptr);
    // savePhonebookFiles for the phonebook in the store, for a process that shows
    // nothing (what the lists hold is not used): only the groups are loaded and
    // written (numbered as a save numbers them), and the files are written from one
    // read of the store, on both cores. After it the lists hold the groups alone.
    Result saveStoredPhonebookFiles(QString *historyPath = nullptr);

    // Address books on CardDAV servers that feed the phonebook, kept in the store.
    Expected<QList<CardSource>> cardSources();
    // Adds (id 0) or rewrites a source.
    Result saveCardSource(CardSource &source);
    // Forgets the source; its contacts stay, as the user's own.
    Result removeCardSource(int sourceId);
    // The versions (href → ETag) of the source's cards the phonebook holds, for
    // the next fetch; when it holds none of them any more, the source's sync token
    // is cleared so that the whole book comes again.
    Expected<QHash<QString, QString>> cardVersions(CardSource &source);
    // Applies what a fetch brought, as one transaction: contacts of removed cards
    // go, changed ones are replaced (keeping the user's other groups), new ones
    // join the source's group; then the lists are read back. On failure the store,
    // the lists and `source` are as they were. `applied` receives how many
    // contacts were added, replaced or removed.
    Result applyCardChanges(CardSource &source, const DavChanges &changes, int *applied = nullptr);
    // applyCardChanges and, when it changed any contact, the files of a Save
    // (savePhonebookFiles), as one step under the folder lock: when either fails,
    // the store, the lists, `source` and the phones' files are as they were.
    Result publishCardChanges(CardSource &source, const DavChanges &changes, int *applied = nullptr);
    // The source (its id) of each contact that came from one, by contact id;
    // empty when the store cannot tell.
    const QHash<int, int> &contactSources();

    // The phonebook service for phones. `notices` as for HttpdService::startServer.
    Result startHttpService(QStringList *notices = nullptr);
    void stopHttpService();
    quint16 httpPort() const;
    QStringList httpClients() const;
    // The phones the running service has served, and whether each has the
    // phonebook phones get now; null while the service is off.
    PhoneFetches *phoneFetches() const;

    void removeHttpFiles();
    // Deletes the working copies older versions left in the program folder and the
    // whole HTTPD folder.
    void removeTemporaryFiles();

signals:
    void updateModel();
    void httpdMsg(const QString &message);
    // The requests the service finished since the last time (HttpdServer::requestsEnded).
    void httpRequestsEnded(const QList<RequestRecord> &requests);
    void idle();

private:
    DataMgr();
    // Gives memory freed by a command back to the system.
    static void returnFreedMemory();

    // What an import may change in memory, to put back when it fails.
    struct ImportSnapshot {
        Phonebook phonebook;
        QList<GroupInfo> savedGroups;
    };
    ImportSnapshot snapshot() const;
    void restore(const ImportSnapshot &before);
    Result reload(bool forWriting);
    // Runs `change` on the source tables in one store transaction.
    Result changeCardSources(const std::function<Result(CardSources &)> &change);
    // The phonebook in the store was emptied: its contacts are no card's any more.
    Result forgetCardLinks();
    // The phones' files were rewritten or removed: what phones got before is older now.
    void phoneFilesChanged();
    // saveToDatabase without the message.
    Result storeLists();
    // storeLists for the groups alone.
    Result storeGroups();
    Result saveFiles(QString *historyPath, bool contactsStored);
    // A failure of saveAll in saveToDatabase's words.
    static Result storeWriteFailure(const Result &stored);
    // Other programs' commits to the store so far; -1 when it cannot say, or
    // within a transaction.
    int othersCommits();
    // A load or save just made the store hold what the lists hold; `othersBefore`
    // is othersCommits() from before it.
    void noteStoreMatchesLists(int othersBefore);
    // Whether a save of the lists would write the contacts the store holds: since
    // the last note, neither the lists nor the store changed (no write transaction
    // here, no commit elsewhere).
    bool storeMatchesLists();
    struct StoredLists {
        QList<ContactInfo> contacts;
        QList<GroupInfo> groups;
    };
    // The phonebook in the store, within the caller's transaction. What equals
    // the contacts `inMemory` holds shares their data.
    Expected<StoredLists> loadStored(const QList<ContactInfo> &inMemory = {});
    // loadStored() in a read transaction of its own: one phonebook, whatever
    // another program writes meanwhile.
    Expected<StoredLists> readStored(const QList<ContactInfo> &inMemory = {});
    // importFile; `storeFailure` receives the store's own error when the store,
    // not the file, failed.
    Result importFile(const QString &path, const QString &encoding, Result &storeFailure, QStringList *notices);
    // The numbering an import goes on from: the counters, moved past every stored
    // contact id, and the stored groups; in replace mode that of an empty phonebook.
    Expected<ImportContext> importNumbering();
    // Empties the phonebook when asked, hands the rows to the store (and lets them
    // go), merges them and takes the numbering back (without the groups `merged`
    // into others); fails when the store failed.
    Result storeImported(ImportRows rows, const ImportContext &numbering, const QStringList &merged);
    // What exportTo writes, from the phonebook in the store instead of the lists:
    // the phones' files.
    Result exportStored(int format, const QString &encoding, const QString &fileName, const QString &folder);
    // The lists become the stored groups and no contacts, for the work of a process
    // that leaves the contacts in the store.
    Result takeStoredGroups();
    // The stored contacts for a writer, a slice at a time where the store allows
    // (SqliteDatabase::contactsReadInSlices), else all at once; within a read transaction.
    Expected<std::function<Result(QList<ContactInfo> &)>> storedContacts();
    // Writes the stored phonebook to `path` plus the layout's extension as it reads
    // it, its groups numbered as stored or as a save would number them.
    Result writeStored(
        int format, const QString &encoding, const QString &path, bool numberAsSaved, QString *finalPath);
    // Copies a file as exportFile writes one: whole or not at all.
    static bool copyFile(const QString &from, const QString &to);
    // Deletes the working copies older versions left, except the file `keep` (a file
    // the user imports may carry the name of one).
    void removeWorkingCopies(const QString &keep);
    // The message for an import that failed on writing to the store.
    static Result writeFailure(const Result &storeFailure);

    Phonebook m_phonebook;
    QList<GroupInfo> m_savedGroups;
    struct StoreMatch {
        quint64 stamp = 0;
        quint64 writes = 0;
        int others = 0;
    };
    std::optional<StoreMatch> m_storeMatch;
    int m_busy = 0;
    quint64 m_revision = 0;
    bool m_replaceOnImport = false;
    // An import runs; files are removed only once it has succeeded.
    bool m_importing = false;
    // Set by importIntoStore.
    bool m_leanImport = false;
    bool m_removeFilesAfterImport = false;
    bool m_restoringHistory = false;
    QString m_language = QStringLiteral("en");
    HttpdService *m_httpService = nullptr;
    // contactSources() as last read; dropped whenever the links may have changed.
    std::optional<QHash<int, int>> m_contactSources;
    std::unique_ptr<SqliteDatabase> m_store;
    StoreMode m_storeMode = StoreMode::ReadWrite;
};
