// The data layer with 100 000 contacts: save, reload, duplicate merge, memory.

#include "bench/Bench.h"

#include "data/SqliteDatabase.h"
#include "data/StoreRows.h"
#include "manager/DataMgr.h"

namespace {

constexpr int kContacts = 100000;

void saveAndReload()
{
    Bench::setUpPhonebook(Bench::tempDir(), kContacts, false);
    DataMgr *mgr = DataMgr::instance();

    QElapsedTimer t;
    t.start();
    const bool saved = mgr->saveToDatabase().ok();
    Bench::report(QStringLiteral("saveAll 100k"), Bench::seconds(t), QStringLiteral("s"),
        saved ? QStringLiteral("target ≤ 0.6 s") : QStringLiteral("FAILED"));

    mgr->clearPhonebook();
    Bench::resetPeakMemory();
    t.restart();
    const Result loaded = mgr->reload();
    Bench::report(QStringLiteral("reload 100k (load + derived)"), Bench::seconds(t), QStringLiteral("s"),
        loaded ? QStringLiteral("%1 contacts").arg(mgr->phonebook().contacts().size()) : QStringLiteral("FAILED"));
    Bench::report(QStringLiteral("peak memory, reload with 100k loaded"), Bench::peakMemoryMiB(), QStringLiteral("MiB"),
        QStringLiteral("target ≤ 200 MB"));
}

// 100 000 freshly imported rows (Flag 1) of which half repeat existing names.
Batch importedRows()
{
    using namespace StoreValues;
    Batch batch;
    QList<QVariantList> &contacts = batch[QStringLiteral("contact1")];
    QList<QVariantList> &phones = batch[QStringLiteral("phone1")];
    QList<QVariantList> &mails = batch[QStringLiteral("mail1")];
    QList<QVariantList> &unions = batch[QStringLiteral("union1")];
    contacts.resize(10);
    phones.resize(4);
    mails.resize(3);
    unions.resize(2);
    const QList<ContactInfo> existing = Bench::syntheticContacts(kContacts);
    for (int i = 0; i < kContacts; ++i) {
        const int id = kContacts + 1 + i;
        const bool duplicate = i % 2 == 0;
        const QString first = duplicate ? existing[i].FirstName : QStringLiteral("New%1").arg(i);
        const QString last = duplicate ? existing[i].LastName : QStringLiteral("Person%1").arg(i);
        const QVariantList values { id, nullText(), last, first, nullText(), nullText(), nullInt(), 0, 0, 1 };
        for (int c = 0; c < 10; ++c)
            contacts[c].append(values[c]);
        for (const char *type : { "Work", "Mobile" }) {
            phones[0].append(id);
            phones[1].append(QString::fromLatin1(type));
            phones[2].append(QStringLiteral("555%1").arg(i));
            phones[3].append(0);
        }
        mails[0].append(id);
        mails[1].append(nullText());
        mails[2].append(QStringLiteral("new%1@example.com").arg(i));
        unions[0].append(id);
        unions[1].append(QStringLiteral("Group %1").arg(i % 10));
    }
    return batch;
}

void merge()
{
    Bench::setUpPhonebook(Bench::tempDir(), kContacts, true);
    const Batch batch = importedRows();
    SqliteDatabase *db = DataMgr::instance()->store();

    QElapsedTimer t;
    t.start();
    (void)db->insertBatch(batch);
    Bench::report(QStringLiteral("insertBatch 100k imported rows"), Bench::seconds(t));

    db->setMergeMode(0);
    t.restart();
    const bool ok = db->mergeImported().ok();
    Bench::report(QStringLiteral("mergeImported 100k, half duplicates, mode 0"), Bench::seconds(t), QStringLiteral("s"),
        ok ? QString() : QStringLiteral("FAILED"));

    if (!DataMgr::instance()->reload())
        Bench::report(QStringLiteral("reload after merge"), 0, QString(), QStringLiteral("FAILED"));
    Bench::report(QStringLiteral("contacts after merge (expect 150000)"),
        DataMgr::instance()->phonebook().contacts().size(), QStringLiteral("rows"));
}

const Bench::Registrar saveCase("data-save-reload", saveAndReload);
const Bench::Registrar mergeCase("data-merge", merge);

} // namespace
