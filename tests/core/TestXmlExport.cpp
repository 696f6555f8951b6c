// The five XML layouts: exact files, escaping, encodings, limits and failures.

#include "export/XmlWriter.h"
#include "tests/ExportFixture.h"
#include "tests/TestUtil.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <csignal>
#include <sys/resource.h>

using namespace ExportFixture;

namespace {

ContactInfo named(const QString &first, int id = 1)
{
    ContactInfo c = TestUtil::contact(first, QStringLiteral("Lee"));
    c.id = id;
    return c;
}

// The general layout of one contact `first` "Lee" with no phones, mails or groups
// and only the built-in groups.
QString generalOf(const QString &encodingName, const QString &firstNameText)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n"
                          "<AddressBook>\n"
                          "    <version>1</version>\n"
                          "    <pbgroup>\n"
                          "        <id>0</id>\n"
                          "        <name>Default</name>\n"
                          "        <photos></photos>\n"
                          "        <ringtones></ringtones>\n"
                          "        <RingtoneIndex>0</RingtoneIndex>\n"
                          "    </pbgroup>\n"
                          "    <pbgroup>\n"
                          "        <id>100</id>\n"
                          "        <name>Blacklist</name>\n"
                          "        <photos></photos>\n"
                          "        <ringtones></ringtones>\n"
                          "        <RingtoneIndex>0</RingtoneIndex>\n"
                          "    </pbgroup>\n"
                          "    <Contact>\n"
                          "        <id>1</id>\n"
                          "        <FirstName>%2</FirstName>\n"
                          "        <LastName>Lee</LastName>\n"
                          "        <Department></Department>\n"
                          "        <Primary>0</Primary>\n"
                          "        <Frequent>0</Frequent>\n"
                          "        <Phone></Phone>\n"
                          "        <Mail></Mail>\n"
                          "        <Group></Group>\n"
                          "        <PhotoUrl></PhotoUrl>\n"
                          "        <RingtoneUrl></RingtoneUrl>\n"
                          "        <RingtoneIndex>0</RingtoneIndex>\n"
                          "    </Contact>\n"
                          "</AddressBook>\n")
        .arg(encodingName, firstNameText);
}

QList<GroupInfo> builtInGroups()
{
    return { group(QStringLiteral("Default"), 1), group(QStringLiteral("Blacklist"), 2) };
}

// Counts the elements named `name` and tells whether the document is well-formed.
int countElements(const QByteArray &xml, const QString &name, QString *error)
{
    QXmlStreamReader reader(xml);
    int count = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == name)
            ++count;
    }
    if (reader.hasError())
        *error = reader.errorString();
    return count;
}

} // namespace

class TestXmlExport : public QObject
{
    Q_OBJECT
private slots:
    void layouts_data();
    void layouts();
    void escaping_data();
    void escaping();
    void attributeEscaping();
    void encodings_data();
    void encodings();
    void unknownEncodingWritesUtf8();
    void limits_data();
    void limits();
    void readFailureLeavesNoFile();
    void groupsBeyondTheLimitAreNotReferenced();
    void unmatchedGroupNamesGiveNoGroupElement();
    void brennWritesOnlyNumberedGroups_data();
    void brennWritesOnlyNumberedGroups();
    void failedWriteKeepsPreviousFile_data();
    void failedWriteKeepsPreviousFile();
    void unwritableFolderFails();
    void unknownFormatHasNoExporter();
    void exportToUsesSavedGroups();
    void saveWritesFiveFiles();
    void saveFailsWithoutTargetFolder();
};

void TestXmlExport::layouts_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("general") << 1 << "general.xml";
    QTest::newRow("Alder") << 2 << "alder.xml";
    QTest::newRow("Birch") << 3 << "birch.xml";
    QTest::newRow("Cedar") << 4 << "cedar.xml";
    QTest::newRow("Brenn") << 5 << "brenn.xml";
}

void TestXmlExport::layouts()
{
    QFETCH(int, format);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(format, QStringLiteral("UTF-8"), dir.path(), contacts(), groups(), &path));
    QCOMPARE(path, dir.path() + QStringLiteral("/book.xml"));
    const QByteArray written = readFile(path);
    QCOMPARE(lines(QString::fromUtf8(written)), lines(QString::fromUtf8(expectedFile(expected))));
    QCOMPARE(written, expectedFile(expected));
    QCOMPARE(filesIn(dir.path()), QStringList { QStringLiteral("book.xml") });
    QCOMPARE(writtenInMemory(format, QStringLiteral("UTF-8"), contacts(), groups()), written);
}

void TestXmlExport::escaping_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QByteArray>("expectedLine");
    const QString utf8 = QStringLiteral("UTF-8");
    QTest::newRow("markup") << utf8 << "A&B <x>" << QByteArray("A&amp;B &lt;x>");
    QTest::newRow("quote") << utf8 << "say \"hi\"" << QByteArray("say &quot;hi&quot;");
    QTest::newRow("]]> closes nothing") << utf8 << "a]]>b]>c" << QByteArray("a]]&gt;b]>c");
    QTest::newRow("tab and line feed stay in text") << utf8 << "a\tb\nc" << QByteArray("a\tb\nc");
    QTest::newRow("C0 controls left out") << utf8
                                          << QStringLiteral("a\x01"
                                                            "b\x1f"
                                                            "c\x0b")
                                          << QByteArray("abc");
    QTest::newRow("U+FFFE and U+FFFF left out")
        << utf8 << (QStringLiteral("a") + QChar(0xFFFE) + QChar(0xFFFF) + QStringLiteral("b")) << QByteArray("ab");
    QTest::newRow("unpaired surrogates left out")
        << utf8 << (QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b") + QChar(0xDC00)) << QByteArray("ab");
    QTest::newRow("astral character in UTF-8") << utf8 << QStringLiteral("😀") << QByteArray("\xF0\x9F\x98\x80");
    QTest::newRow("Chinese in ISO 8859-1")
        << QStringLiteral("ISO 8859-1") << QStringLiteral("张三") << QByteArray("&#x5f20;&#x4e09;");
    QTest::newRow("Latin-1 letter kept in ISO 8859-1")
        << QStringLiteral("ISO 8859-1") << QStringLiteral("Zoë") << QByteArray("Zo\xEB");
    QTest::newRow("astral character in GBK is one reference")
        << QStringLiteral("GBK") << QStringLiteral("a😀") << QByteArray("a&#x1f600;");
    QTest::newRow("Hangul outside EUC-KR")
        << QStringLiteral("EUC-KR") << QStringLiteral("한똠") << QByteArray("\xC7\xD1&#xb620;");
}

void TestXmlExport::escaping()
{
    QFETCH(QString, encoding);
    QFETCH(QString, firstName);
    QFETCH(QByteArray, expectedLine);
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(1, encoding, dir.path(), { named(firstName) }, builtInGroups(), &path));
    const QByteArray written = readFile(path);
    const QByteArray line = "        <FirstName>" + expectedLine + "</FirstName>\n";
    QVERIFY2(written.contains(line), written.constData());
    if (encoding == QLatin1String("UTF-8") || encoding == QLatin1String("ISO 8859-1")) {
        QString error;
        QCOMPARE(countElements(written, QStringLiteral("FirstName"), &error), 1);
        QCOMPARE(error, QString());
    }
}

void TestXmlExport::attributeEscaping()
{
    QTemporaryDir dir;
    ContactInfo c = named(QStringLiteral("Ann"));
    c.PhoneList = { TestUtil::phone(QStringLiteral("a\tb\nc\rd\"e<f&g>"), QStringLiteral("1")) };
    c.MailList = { TestUtil::mail(QStringLiteral("x\"y"), QStringLiteral("m@n")) };
    QString path;
    QVERIFY(exportTo(1, QStringLiteral("UTF-8"), dir.path(), { c }, builtInGroups(), &path));
    const QByteArray written = readFile(path);
    QVERIFY2(
        written.contains("        <Phone type=\"a&#x9;b&#xa;c&#xd;d&quot;e&lt;f&amp;g>\">\n"), written.constData());
    QVERIFY2(written.contains("        <Mail type=\"x&quot;y\">m@n</Mail>\n"), written.constData());
    QXmlStreamReader reader(written);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("Phone"))
            QCOMPARE(reader.attributes().value(QLatin1String("type")).toString(), QStringLiteral("a\tb\nc\rd\"e<f&g>"));
    }
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
}

void TestXmlExport::encodings_data()
{
    addEncodingRows();
}

void TestXmlExport::encodings()
{
    QFETCH(QString, encoding);
    QFETCH(QString, iana);
    QFETCH(QString, name);
    QFETCH(QByteArray, nameBytes);
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(1, encoding, dir.path(), { named(name) }, builtInGroups(), &path));
    const QByteArray written = readFile(path);
    QVERIFY2(written.contains(nameBytes), written.toHex(' ').constData());
    bool clean = false;
    const QString text = decodeIndependently(iana, written, &clean);
    QVERIFY(clean);
    // No byte-order mark: the text starts with the declaration itself.
    QCOMPARE(lines(text), lines(generalOf(iana, name)));
}

void TestXmlExport::unknownEncodingWritesUtf8()
{
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(
        1, QStringLiteral("no-such-encoding"), dir.path(), { named(QStringLiteral("张")) }, builtInGroups(), &path));
    QCOMPARE(readFile(path), generalOf(QStringLiteral("UTF-8"), QStringLiteral("张")).toUtf8());
}

void TestXmlExport::limits_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("groupElement");
    QTest::addColumn<int>("groupCount");
    QTest::addColumn<int>("contactCount");
    QTest::newRow("general") << 1 << "pbgroup" << 60 << 1200;
    QTest::newRow("Alder") << 2 << "pbgroup" << 50 << 1000;
    QTest::newRow("Birch") << 3 << "pbgroup" << 50 << 1000;
    QTest::newRow("Cedar") << 4 << "pbgroup" << 60 << 1200;
    // Brenn lists its user groups at the root; Default and Blacklist are its own.
    QTest::newRow("Brenn") << 5 << "Group" << 58 << 1200;
}

void TestXmlExport::limits()
{
    QFETCH(int, format);
    QFETCH(QString, groupElement);
    QFETCH(int, groupCount);
    QFETCH(int, contactCount);
    QList<GroupInfo> many { group(QStringLiteral("Default"), 1) };
    for (int i = 1; i <= 58; ++i)
        many.append(group(QStringLiteral("G%1").arg(i), i + 1));
    many.append(group(QStringLiteral("Blacklist"), 60));
    QList<ContactInfo> people;
    for (int i = 1; i <= 1200; ++i)
        people.append(named(QStringLiteral("P%1").arg(i), i));
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(format, QStringLiteral("UTF-8"), dir.path(), people, many, &path));
    const QByteArray written = readFile(path);
    QString error;
    QCOMPARE(countElements(written, groupElement, &error), groupCount);
    QCOMPARE(countElements(written, QStringLiteral("Contact"), &error), contactCount);
    QCOMPARE(error, QString());
    // The contacts kept are the first ones, in list order.
    QVERIFY(written.contains("<FirstName>P1</FirstName>"));
    QVERIFY(written.contains("<FirstName>P1000</FirstName>"));
    QCOMPARE(written.contains("<FirstName>P1001</FirstName>"), contactCount == 1200);

    // Read a slice at a time as the file is written (an export from the store), the
    // file is the same, and reading stops where the layout does.
    qsizetype next = 0;
    int slicesRead = 0;
    const ExportContacts sliced([&](QList<ContactInfo> &slice) {
        slice = people.mid(next, 7);
        next += slice.size();
        ++slicesRead;
        return Result();
    });
    QTemporaryDir slicedDir;
    QVERIFY(DataMgr::exportFile(format, QStringLiteral("UTF-8"), slicedDir.filePath("book"), sliced, many, &path));
    QCOMPARE(readFile(path), written);
    QVERIFY(slicesRead <= contactCount / 7 + 3);
}

void TestXmlExport::readFailureLeavesNoFile()
{
    QTemporaryDir dir;
    int calls = 0;
    const ExportContacts failing([&](QList<ContactInfo> &slice) {
        if (++calls > 1)
            return Result::failure(QStringLiteral("disk I/O error"), Result::Cause::Store);
        slice = { named(QStringLiteral("P1"), 1) };
        return Result();
    });
    const Result result = DataMgr::exportFile(1, QStringLiteral("UTF-8"), dir.filePath("book"), failing, groups());
    QVERIFY(!result.ok());
    QCOMPARE(result.message(), QStringLiteral("disk I/O error"));
    QCOMPARE(result.cause(), Result::Cause::Store);
    QCOMPARE(filesIn(dir.path()), QStringList());
}

void TestXmlExport::groupsBeyondTheLimitAreNotReferenced()
{
    QList<GroupInfo> many { group(QStringLiteral("Default"), 1) };
    for (int i = 1; i <= 55; ++i)
        many.append(group(QStringLiteral("G%1").arg(i), i + 1));
    ContactInfo c = named(QStringLiteral("Ann"));
    // G49 is the 50th group written, G50 the first left out.
    c.GroupList = { QStringLiteral("G49"), QStringLiteral("G50") };
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(2, QStringLiteral("UTF-8"), dir.path(), { c }, many, &path));
    const QByteArray written = readFile(path);
    QVERIFY(written.contains("        <Group>50</Group>\n"));
    QVERIFY(!written.contains("<Group>51</Group>"));
    QVERIFY(!written.contains("<name>G50</name>"));
}

void TestXmlExport::unmatchedGroupNamesGiveNoGroupElement()
{
    ContactInfo c = named(QStringLiteral("Ann"));
    c.GroupList = { QStringLiteral("Nowhere") };
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(1, QStringLiteral("UTF-8"), dir.path(), { c }, builtInGroups(), &path));
    const QString expected
        = generalOf(QStringLiteral("UTF-8"), QStringLiteral("Ann")).remove(QStringLiteral("        <Group></Group>\n"));
    QCOMPARE(lines(QString::fromUtf8(readFile(path))), lines(expected));
}

void TestXmlExport::brennWritesOnlyNumberedGroups_data()
{
    QTest::addColumn<QStringList>("groupNames");
    QTest::addColumn<QStringList>("groupids");
    // Friends is predefined (1), Golf the first user group (3); see groups().
    QTest::newRow("Default only") << QStringList { "Default" } << QStringList();
    QTest::newRow("Blacklist and an unknown name") << QStringList { "Blacklist", "Nowhere" } << QStringList();
    QTest::newRow("Default beside numbered groups")
        << QStringList { "Friends", "Default", "Golf" } << QStringList { "1", "3" };
    QTest::newRow("predefined names") << QStringList { "Family", "Work" } << QStringList { "0", "2" };
}

// Names the phone has no number for are left out, and so is an empty Groups.
void TestXmlExport::brennWritesOnlyNumberedGroups()
{
    QFETCH(QStringList, groupNames);
    QFETCH(QStringList, groupids);
    ContactInfo c = named(QStringLiteral("Ann"));
    c.GroupList = groupNames;
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(5, QStringLiteral("UTF-8"), dir.path(), { c }, groups(), &path));
    QXmlStreamReader xml(readFile(path));
    QStringList written;
    int groupsElements = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("Groups"))
            ++groupsElements;
        else if (xml.name() == QLatin1String("groupid"))
            written << xml.readElementText();
    }
    QVERIFY(!xml.hasError());
    QCOMPARE(written, groupids);
    QCOMPARE(groupsElements, groupids.isEmpty() ? 0 : 1);
}

void TestXmlExport::failedWriteKeepsPreviousFile_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("general XML") << 1 << "book.xml";
    QTest::newRow("Brenn XML") << 5 << "book.xml";
    QTest::newRow("Outlook CSV") << 8 << "book.csv";
    QTest::newRow("vCard") << 0 << "book.vcf";
}

// A write that fails half-way (here: the file size limit of the process, which
// also binds root) must leave the previous file as it was and no temporary file.
void TestXmlExport::failedWriteKeepsPreviousFile()
{
    QFETCH(int, format);
    QFETCH(QString, fileName);
    QTemporaryDir dir;
    {
        QFile previous(dir.filePath(fileName));
        QVERIFY(previous.open(QIODevice::WriteOnly));
        previous.write("previous content\n");
    }
    QList<ContactInfo> people;
    for (int i = 1; i <= 20000; ++i)
        people.append(named(QStringLiteral("Person%1").arg(i), i));

    struct rlimit saved;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const Result result
        = DataMgr::exportFile(format, QStringLiteral("UTF-8"), dir.filePath("book"), people, builtInGroups());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!result.ok());
    QVERIFY2(
        result.message().startsWith(dir.filePath(fileName) + " could not be written ("), qPrintable(result.message()));
    QCOMPARE(readFile(dir.filePath(fileName)), QByteArray("previous content\n"));
    QCOMPARE(filesIn(dir.path()), QStringList { fileName });
}

void TestXmlExport::unwritableFolderFails()
{
    QTemporaryDir dir;
    // A folder below a plain file cannot exist, whoever runs the test.
    QFile plain(dir.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    for (int format = 0; format <= 12; ++format)
        QVERIFY(
            !exportTo(format, QStringLiteral("UTF-8"), dir.filePath(QStringLiteral("plain")), contacts(), groups()));
    QCOMPARE(filesIn(dir.path()), QStringList { QStringLiteral("plain") });
}

void TestXmlExport::unknownFormatHasNoExporter()
{
    QCOMPARE(ExportFactory::writer(13), nullptr);
    QCOMPARE(ExportFactory::writer(-1), nullptr);
    TestUtil::Workspace ws;
    QVERIFY(!DataMgr::instance()->exportTo(13, QStringLiteral("UTF-8"), QStringLiteral("book"), ws.path()));
    QVERIFY(!DataMgr::instance()->exportTo(-1, QStringLiteral("UTF-8"), QStringLiteral("book"), ws.path()));
    QVERIFY(!QFile::exists(ws.file(QStringLiteral("book"))));
}

void TestXmlExport::exportToUsesSavedGroups()
{
    TestUtil::Workspace ws;
    DataMgr *mgr = DataMgr::instance();
    TestUtil::addGroup(QStringLiteral("Golf"));
    TestUtil::addContact(
        TestUtil::contact(QStringLiteral("Ann"), QStringLiteral("Lee"), {}, {}, { QStringLiteral("Golf") }));
    QVERIFY(mgr->saveToDatabase());
    int golfId = -1;
    for (const GroupInfo &g : mgr->savedGroups()) {
        if (g.name == QLatin1String("Golf"))
            golfId = g.id;
    }
    QVERIFY(golfId > 0);
    // A group added after the save is not stored yet, so it is not exported either.
    TestUtil::addGroup(QStringLiteral("Later"));
    QString finalPath;
    QVERIFY(mgr->exportTo(3, QStringLiteral("UTF-8"), QStringLiteral("birch"), ws.path(), &finalPath));
    QCOMPARE(finalPath, ws.path() + QStringLiteral("/birch.xml"));
    const QByteArray written = readFile(finalPath);
    QVERIFY(written.contains("        <Group>" + QByteArray::number(golfId) + "</Group>\n"));
    QVERIFY(!written.contains("Later"));
}

void TestXmlExport::saveWritesFiveFiles()
{
    TestUtil::Workspace ws;
    DataMgr *mgr = DataMgr::instance();
    ContactInfo ann = TestUtil::contact(QStringLiteral("Ann"), QStringLiteral("Lee"),
        { TestUtil::phone(QStringLiteral("Home"), QStringLiteral("42")) });
    TestUtil::addContact(ann);
    QString history;
    QVERIFY(mgr->savePhonebookFiles(&history));
    const QString target = ws.path() + QStringLiteral("/target/");
    QVERIFY2(
        QRegularExpression(QStringLiteral("^phonebook_\\d{14}\\.xml$")).match(history.mid(target.size())).hasMatch(),
        qPrintable(history));
    QVERIFY(history.startsWith(target));

    const QString general = generalOf(QStringLiteral("UTF-8"), QStringLiteral("Ann"))
                                .replace(QStringLiteral("        <Phone></Phone>\n"),
                                    QStringLiteral("        <Phone type=\"Home\">\n"
                                                   "            <phonenumber>42</phonenumber>\n"
                                                   "            <accountindex>1</accountindex>\n"
                                                   "        </Phone>\n"));
    QCOMPARE(lines(QString::fromUtf8(readFile(history))), lines(general));
    QCOMPARE(readFile(ws.file(QStringLiteral("HTTPD/UNIXML/phonebook.xml"))), general.toUtf8());

    const QString birch = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AddressBook>\n"
                                         "    <version>1</version>\n");
    QVERIFY(readFile(ws.file(QStringLiteral("HTTPD/Birch/phonebook.xml")))
                .contains("        <Phone type=\"Home\">\n"
                          "            <phonenumber>42</phonenumber>\n"
                          "            <accountindex>1</accountindex>\n"
                          "        </Phone>\n"
                          "        <Mail></Mail>\n"
                          "        <Group></Group>\n"
                          "        <PhotoUrl></PhotoUrl>\n"));
    QVERIFY(readFile(ws.file(QStringLiteral("HTTPD/Birch/phonebook.xml"))).startsWith(birch.toUtf8()));
    QVERIFY(readFile(ws.file(QStringLiteral("HTTPD/Cedar/phonebook.xml")))
                .contains("        <Phone>\n"
                          "            <phonenumber>42</phonenumber>\n"
                          "            <accountindex>1</accountindex>\n"
                          "        </Phone>\n"
                          "        <Group></Group>\n"));
    QCOMPARE(readFile(ws.file(QStringLiteral("HTTPD/Brenn/phonebook.xml"))),
        QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<AddressBook>\n"
                   "    <Contact>\n"
                   "        <FirstName>Ann</FirstName>\n"
                   "        <LastName>Lee</LastName>\n"
                   "        <Department></Department>\n"
                   "        <Phone type=\"Home\">\n"
                   "            <phonenumber>42</phonenumber>\n"
                   "            <accountindex>1</accountindex>\n"
                   "            <downloaded>0</downloaded>\n"
                   "        </Phone>\n"
                   "    </Contact>\n"
                   "</AddressBook>\n"));
    // The store holds what was saved.
    QVERIFY(mgr->reload());
    QCOMPARE(mgr->phonebook().contacts().size(), 1);
    QCOMPARE(mgr->phonebook().contacts().first().FirstName, QStringLiteral("Ann"));
}

void TestXmlExport::saveFailsWithoutTargetFolder()
{
    TestUtil::Workspace ws;
    QFile blocker(ws.file(QStringLiteral("target")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString history;
    QVERIFY(!DataMgr::instance()->savePhonebookFiles(&history));
    // The phones' files do not depend on the history copy.
    QVERIFY(QFile::exists(ws.file(QStringLiteral("HTTPD/UNIXML/phonebook.xml"))));
    QVERIFY(QFile::exists(ws.file(QStringLiteral("HTTPD/Brenn/phonebook.xml"))));
}

QTEST_GUILESS_MAIN(TestXmlExport)
#include "TestXmlExport.moc"
