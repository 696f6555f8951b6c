// What each phone model's file will carry, checked before anything is published.

#include "export/ExportBase.h"
#include "export/ExportFactory.h"
#include "export/LayoutCheck.h"
#include "tests/CliRun.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

ContactInfo contact(int id, const QString &first, const QString &last, const QStringList &numbers,
    const QString &type = QStringLiteral("Work"))
{
    ContactInfo c;
    c.id = id;
    c.FirstName = first;
    c.LastName = last;
    for (const QString &n : numbers) {
        PhoneInfo p;
        p.type = type;
        p.phonenumber = n;
        c.PhoneList.append(p);
    }
    return c;
}

int count(const LayoutCheck::Report &r, LayoutCheck::Severity severity)
{
    return int(std::count_if(r.findings.cbegin(), r.findings.cend(),
        [severity](const LayoutCheck::Finding &f) { return f.severity == severity; }));
}

} // namespace

class TestLayoutCheck : public QObject
{
    Q_OBJECT

private slots:
    void dialable_data();
    void dialable();
    void findings_data();
    void findings();
    void modelLimits();
    void refusedWhenTheWriterRefuses_data();
    void refusedWhenTheWriterRefuses();
    void exitStatusSaysWhetherAnythingIsLost();
};

void TestLayoutCheck::dialable_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("dialable");
    QTest::newRow("digits") << "02079460001" << true;
    QTest::newRow("leading plus") << "+442079460001" << true;
    QTest::newRow("pauses and tones") << "100,,22#*;p1w2" << true;
    QTest::newRow("blank") << "020 7946" << false;
    QTest::newRow("dash") << "020-7946" << false;
    QTest::newRow("plus inside") << "44+20" << false;
    QTest::newRow("letters") << "1-800-FLOWERS" << false;
    QTest::newRow("wide digits") << QString::fromUtf8("１２３") << false;
    QTest::newRow("empty") << "" << false;
}

void TestLayoutCheck::dialable()
{
    QFETCH(QString, number);
    QFETCH(bool, dialable);
    QCOMPARE(LayoutCheck::isDialable(number), dialable);
}

void TestLayoutCheck::findings_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<int>("lost");
    QTest::addColumn<int>("changed");
    // The phonebook: a contact with five work numbers, one with a number that
    // cannot be dialled and a Chinese name, one without name or number, and one
    // sharing a number with the first.
    QTest::newRow("general, UTF-8") << int(ExportFactory::UniXml) << "UTF-8" << 0 << 4;
    QTest::newRow("Cedar keeps four numbers") << int(ExportFactory::XmlCedar) << "UTF-8" << 1 << 4;
    QTest::newRow("Brenn keeps one number") << int(ExportFactory::XmlBrenn) << "UTF-8" << 4 << 4;
    QTest::newRow("Birch keeps one of a type") << int(ExportFactory::XmlBirch) << "UTF-8" << 4 << 4;
    QTest::newRow("XML in Latin-1 writes references") << int(ExportFactory::UniXml) << "ISO 8859-1" << 0 << 6;
    QTest::newRow("CSV in Latin-1 is refused") << int(ExportFactory::CsvOutlook) << "ISO 8859-1" << 2 << 4;
}

void TestLayoutCheck::findings()
{
    QFETCH(int, format);
    QFETCH(QString, encoding);
    QFETCH(int, lost);
    QFETCH(int, changed);
    const QList<ContactInfo> contacts { contact(1, "Anna", "McLee", { "1", "2", "3", "4", "5" }),
        contact(2, QString::fromUtf8("三"), QString::fromUtf8("张"), { "020 7946" }), contact(3, "", "", {}),
        contact(4, "Bo", "Li", { "1" }) };
    const LayoutCheck::Report r = LayoutCheck::check(format, encoding, contacts, {});
    QCOMPARE(count(r, LayoutCheck::Severity::Lost), lost);
    QCOMPARE(count(r, LayoutCheck::Severity::Changed), changed);
    QCOMPARE(r.losesAnything(), lost > 0);
    QCOMPARE(r.contacts, 4);
}

void TestLayoutCheck::modelLimits()
{
    QList<ContactInfo> contacts;
    for (int i = 1; i <= LayoutLimits::kModelContacts + 2; ++i)
        contacts.append(contact(i, "N", QString::number(i), { QString::number(1000 + i) }));
    QList<GroupInfo> groups;
    for (int i = 0; i < LayoutLimits::kModelGroups + 1; ++i) {
        GroupInfo g;
        g.id = i + 1;
        g.name = QStringLiteral("G%1").arg(i);
        groups.append(g);
    }
    contacts[0].GroupList = QStringList { QStringLiteral("G%1").arg(LayoutLimits::kModelGroups) };
    const LayoutCheck::Report birch = LayoutCheck::check(ExportFactory::XmlBirch, "UTF-8", contacts, groups);
    QCOMPARE(birch.contacts, LayoutLimits::kModelContacts);
    QCOMPARE(birch.groups, LayoutLimits::kModelGroups);
    // Two contacts past the limit, one group past it, and the member who loses it.
    QCOMPARE(count(birch, LayoutCheck::Severity::Lost), 4);
    QCOMPARE(birch.findings.constLast().contactId, LayoutLimits::kModelContacts + 2);
    const LayoutCheck::Report cedar = LayoutCheck::check(ExportFactory::XmlCedar, "UTF-8", contacts, groups);
    QCOMPARE(cedar.contacts, LayoutLimits::kModelContacts + 2);
    QVERIFY(!cedar.losesAnything());
}

void TestLayoutCheck::refusedWhenTheWriterRefuses_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("refused");
    QTest::newRow("CSV, Chinese name in KOI8-R") << int(ExportFactory::CsvOutlook) << "KOI8-R"
                                                 << "name" << true;
    QTest::newRow("vCard, Chinese mail in KOI8-R") << int(ExportFactory::VCard) << "KOI8-R"
                                                   << "mail" << true;
    QTest::newRow("CSV, Chinese department in KOI8-R") << int(ExportFactory::CsvOutlook) << "KOI8-R"
                                                       << "department" << false;
    QTest::newRow("CSV, Cyrillic name in GBK") << int(ExportFactory::CsvGmail) << "GBK"
                                               << "cyrillic" << false;
    QTest::newRow("Birch XML, Chinese name in KOI8-R") << int(ExportFactory::XmlBirch) << "KOI8-R"
                                                       << "name" << false;
}

void TestLayoutCheck::refusedWhenTheWriterRefuses()
{
    QFETCH(int, format);
    QFETCH(QString, encoding);
    QFETCH(QString, field);
    QFETCH(bool, refused);
    ContactInfo c = contact(1, "Anna", "McLee", { "100" });
    MailInfo mail;
    mail.Mail = field == "mail" ? QString::fromUtf8("张@example.com") : QStringLiteral("anna@example.com");
    c.MailList.append(mail);
    if (field == "name")
        c.LastName = QString::fromUtf8("张");
    else if (field == "department")
        c.Department = QString::fromUtf8("销售");
    else if (field == "cyrillic")
        c.LastName = QString::fromUtf8("Иванова");
    const LayoutCheck::Report r = LayoutCheck::check(format, encoding, { c }, {});
    QBuffer out;
    QVERIFY(out.open(QIODevice::WriteOnly));
    // The check tells what the writer itself will do.
    QCOMPARE(!ExportFactory::writer(format)->write(out, QList<ContactInfo> { c }, {}, encoding), refused);
    QCOMPARE(r.refused, refused);
    QCOMPARE(r.losesAnything(), refused);
    QCOMPARE(r.findings.isEmpty(), field == "cyrillic");
}

void TestLayoutCheck::exitStatusSaysWhetherAnythingIsLost()
{
    QTemporaryDir dir;
    QFile card(dir.filePath("c.vcf"));
    QVERIFY(card.open(QIODevice::WriteOnly));
    card.write("BEGIN:VCARD\nVERSION:3.0\nN:McLee;Anna;;;\nTEL;TYPE=WORK:100\nTEL;TYPE=HOME:200\nEND:VCARD\n");
    card.close();
    QCOMPARE(runCli({ "--dir", dir.path(), "import", card.fileName() }).exitCode, 0);
    QCOMPARE(runCli({ "--dir", dir.path(), "save" }).exitCode, 0);
    QCOMPARE(runCli({ "--dir", dir.path(), "check", "--format", "cedar-xml" }).exitCode, 0);
    // Brenn phones take the first number only.
    const CliRun brenn = runCli({ "--dir", dir.path(), "check", "--format", "brenn-xml", "--json" });
    QCOMPARE(brenn.exitCode, 1);
    QVERIFY2(brenn.out.contains("\"lost\"") && brenn.out.contains("200"), qPrintable(brenn.out));
    QCOMPARE(runCli({ "--dir", dir.path(), "check" }).exitCode, 1);
}

QTEST_GUILESS_MAIN(TestLayoutCheck)
#include "TestLayoutCheck.moc"
