// Import of 100 000 contacts (two phones, one mail, one group each) from the general
// XML layout, the Alder CSV layout and vCard: into an empty phonebook, and into one
// already holding the same contacts with duplicates replaced. Timed end to end:
// read, store, merge and reload.

#include "Bench.h"

#include "DBOperator.h"
#include "DataMgr.h"
#include "ExportFactory.h"
#include "SqliteDatabase.h"

namespace {

constexpr int kContacts = 100000;

// The file comes from our own exporter, written from the synthetic phonebook.
void importCase(int format, bool holding)
{
    const QString dir = Bench::tempDir();
    Bench::setUpPhonebook(dir, kContacts, true);
    DataMgr *mgr = DataMgr::instance();
    QString path;
    if (!mgr->exportTo(format, QStringLiteral("UTF-8"), QStringLiteral("phonebook"), dir, &path))
        qFatal("export failed");
    if (holding) {
        // As after a start that recovers the stored phonebook.
        mgr->reload();
    } else {
        mgr->clearPhonebook();
        DBOperator::instance()->database()->clearAllTables();
    }
    // The import dialog saves first; that is the save's time, not the import's.
    mgr->saveToDatabase();
    mgr->setMergeMode(0);
    mgr->setReplaceOnImport(false);

    Bench::resetPeakMemory();
    QElapsedTimer t;
    t.start();
    const bool ok = mgr->importFile(path, QStringLiteral("UTF-8"));
    const double seconds = Bench::seconds(t);
    Bench::report(QStringLiteral("import (read, store, merge, reload)"), seconds, QStringLiteral("s"),
                  ok ? QStringLiteral("%1 contacts after").arg(mgr->ctList().size()) : QStringLiteral("FAILED"));
    Bench::report(QStringLiteral("peak memory during the import"), Bench::peakMemoryMiB(), QStringLiteral("MiB"));
}

const Bench::Registrar xmlEmpty("import-xml-empty", [] { importCase(ExportFactory::UniXml, false); });
const Bench::Registrar xmlHolding("import-xml-replace", [] { importCase(ExportFactory::UniXml, true); });
const Bench::Registrar csvEmpty("import-csv-empty", [] { importCase(ExportFactory::CsvAlder, false); });
const Bench::Registrar csvHolding("import-csv-replace", [] { importCase(ExportFactory::CsvAlder, true); });
const Bench::Registrar vcfEmpty("import-vcf-empty", [] { importCase(ExportFactory::VCard, false); });
const Bench::Registrar vcfHolding("import-vcf-replace", [] { importCase(ExportFactory::VCard, true); });

} // namespace
