// Writing the 100 000-contact phonebook in every layout, and a whole save.

#include "bench/Bench.h"

#include "export/ExportFactory.h"
#include "export/LayoutCheck.h"
#include "manager/DataMgr.h"

#include <QFileInfo>

namespace {

constexpr int kContacts = 100000;

void exportOne(const QString &dir, int format, const QString &encoding)
{
    DataMgr *mgr = DataMgr::instance();
    QString written;
    QElapsedTimer t;
    t.start();
    const bool ok = mgr->exportTo(format, encoding, QStringLiteral("book%1").arg(format), dir, &written).ok();
    const double seconds = Bench::seconds(t);
    const QString label = ExportFactory::formatLabels().value(format);
    Bench::report(QStringLiteral("%1 %2 %3").arg(format).arg(label, encoding), seconds, QStringLiteral("s"),
        ok ? QStringLiteral("%1 MB").arg(QFileInfo(written).size() / 1e6, 0, 'f', 1) : QStringLiteral("FAILED"));
}

void exportFormats()
{
    const QString dir = Bench::tempDir();
    Bench::setUpPhonebook(dir, kContacts, true);
    for (int format = 0; format < ExportFactory::FormatCount; ++format)
        exportOne(dir, format, QStringLiteral("UTF-8"));
    exportOne(dir, ExportFactory::UniXml, QStringLiteral("GBK"));
    // Every Chinese name becomes character references; and the one encoding
    // that is written without the codec registry.
    exportOne(dir, ExportFactory::UniXml, QStringLiteral("ISO 8859-1"));
    exportOne(dir, ExportFactory::UniXml, QStringLiteral("EUC-KR"));
}

void save()
{
    Bench::setUpPhonebook(Bench::tempDir(), kContacts, false);
    QElapsedTimer t;
    t.start();
    QString history;
    const bool ok = DataMgr::instance()->savePhonebookFiles(&history).ok();
    Bench::report(QStringLiteral("save: store and five files"), Bench::seconds(t), QStringLiteral("s"),
        ok ? QString() : QStringLiteral("FAILED"));
}

// The check the Phones window and the export dialog run (off the GUI thread).
void checkModels()
{
    Bench::setUpPhonebook(Bench::tempDir(), kContacts, true);
    const Phonebook &book = DataMgr::instance()->phonebook();
    const QList<GroupInfo> groups = book.groupsAsSaved();
    const QList<QPair<int, QString>> checks { { ExportFactory::UniXml, "UTF-8" }, { ExportFactory::XmlAlder, "UTF-8" },
        { ExportFactory::XmlBirch, "UTF-8" }, { ExportFactory::XmlCedar, "UTF-8" },
        { ExportFactory::XmlBrenn, "UTF-8" }, { ExportFactory::CsvOutlook, "GBK" },
        { ExportFactory::CsvOutlook, "KOI8-R" } };
    for (const auto &[format, encoding] : checks) {
        QElapsedTimer t;
        t.start();
        const LayoutCheck::Report r = LayoutCheck::check(format, encoding, book.contacts(), groups);
        Bench::report(QStringLiteral("check %1 %2").arg(ExportFactory::formatLabels().value(format), encoding),
            Bench::seconds(t), QStringLiteral("s"), QStringLiteral("%1 findings").arg(r.findings.size()));
    }
}

const Bench::Registrar checkCase("export-check", checkModels);
const Bench::Registrar formatsCase("export-formats", exportFormats);
const Bench::Registrar saveCase("export-save", save);

} // namespace
