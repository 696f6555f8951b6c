#pragma once

// The small phonebook whose files tests/data/export/ holds, written by hand, and
// helpers to run an exporter and read what it wrote.

#include "data/ContactInfo.h"
#include "data/GroupInfo.h"
#include "export/ExportBase.h"
#include "export/ExportFactory.h"
#include "manager/DataMgr.h"
#include "tests/TestUtil.h"

#include <QBuffer>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

namespace ExportFixture {

inline GroupInfo group(
    const QString &name, int id, const QString &photos = {}, const QString &ringtones = {}, int ringtoneIndex = 0)
{
    GroupInfo g;
    g.name = name;
    g.id = id;
    g.photos = photos;
    g.ringtones = ringtones;
    g.RingtoneIndex = ringtoneIndex;
    return g;
}

// "All" and "add group" are in the list to be left out; "Default" and
// "Blacklist" carry ids other than the 0 and 100 the files must show.
inline QList<GroupInfo> groups()
{
    return { group(QStringLiteral("All"), 0), group(QStringLiteral("Default"), 5),
        group(QStringLiteral("Friends"), 6, QStringLiteral("/g/f.png"), QStringLiteral("/g/f.wav"), 3),
        group(QStringLiteral("Golf"), 7), group(QStringLiteral("add group"), 8),
        group(QStringLiteral("Blacklist"), 9) };
}

inline QList<ContactInfo> contacts()
{
    using TestUtil::mail;
    using TestUtil::phone;
    // Nothing but a name.
    ContactInfo ann = TestUtil::contact(QStringLiteral("Ann"), QStringLiteral("Lee"));
    ann.id = 1;

    // Mixed phone types, two mails (one without type), two groups.
    ContactInfo smith = TestUtil::contact(QStringLiteral("A&B <x>"), QStringLiteral("Smith"),
        { phone(QStringLiteral("Work"), QStringLiteral("100"), 0),
            phone(QStringLiteral("Home"), QStringLiteral("200"), 1),
            phone(QStringLiteral("CompanyTotal"), QStringLiteral("300"), 0),
            phone(QStringLiteral("Work"), QStringLiteral("101"), 2),
            phone(QStringLiteral("Pager"), QStringLiteral("400"), 0),
            phone(QStringLiteral("Mobile"), QStringLiteral("500"), 1) },
        { mail(QStringLiteral("Work"), QStringLiteral("a@x.com")), mail(QString(), QStringLiteral("b@y.com")) },
        { QStringLiteral("Default"), QStringLiteral("Friends") });
    smith.id = 2;
    smith.Department = QStringLiteral("R&D");
    smith.PrimaryIndex = 1;
    smith.Frequent = 1;
    smith.PhotoUrl = QStringLiteral("/p/a.png");
    smith.RingtoneUrl = QStringLiteral("/r/a.wav");
    smith.RingtoneIndex = 2;

    // As the store loads a contact without phones, mails and groups.
    ContactInfo zhang = TestUtil::contact(QStringLiteral("张"), QStringLiteral("三"),
        { phone(QStringLiteral("Work"), QString(), 0) }, { mail(QStringLiteral("Work"), QString()) }, { QString() });
    zhang.id = 3;

    // A group that is not in the list, and Blacklist.
    ContactInfo eve = TestUtil::contact(QStringLiteral("Eve"), QStringLiteral("Q"),
        { phone(QStringLiteral("Fax"), QStringLiteral("900"), 0) },
        { mail(QStringLiteral("Home"), QStringLiteral("e@q.org")) },
        { QStringLiteral("Golf"), QStringLiteral("Blacklist"), QStringLiteral("Nowhere") });
    eve.id = 4;
    return { ann, smith, zhang, eve };
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing file ") + path.toUtf8() + '>';
    return f.readAll();
}

inline QByteArray expectedFile(const QString &name)
{
    return readFile(QStringLiteral(QUORVANE_TEST_DATA "/export/") + name);
}

// Writes format `format` to `dir`/book as every export does; `path` receives the
// final path.
inline bool exportTo(int format, const QString &encoding, const QString &dir, const QList<ContactInfo> &contacts,
    const QList<GroupInfo> &groups, QString *path = nullptr)
{
    return DataMgr::exportFile(format, encoding, dir + QStringLiteral("/book"), contacts, groups, path).ok();
}

// What the writer of `format` writes into a device of memory: no file involved.
inline QByteArray writtenInMemory(
    int format, const QString &encoding, const QList<ContactInfo> &contacts, const QList<GroupInfo> &groups)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const Result result = ExportFactory::writer(format)->write(buffer, contacts, groups, encoding);
    return result.ok() ? buffer.data() : "<failed: " + result.message().toUtf8() + '>';
}

// The files in `dir`, to see that nothing (no temporary file either) was left.
inline QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace ExportFixture

namespace ExportFixture {

// Lines with the line feeds cut off; the last entry is empty when the text ends
// with a line feed. A failing QCOMPARE then names the first differing line.
inline QStringList lines(const QString &text)
{
    return text.split(QLatin1Char('\n'));
}

// Reads `bytes` in the encoding named by its usual (IANA) name, without the
// project's codec helper.
inline QString decodeIndependently(const QString &iana, const QByteArray &bytes, bool *ok = nullptr)
{
    QStringDecoder decoder;
    if (iana == QLatin1String("UTF-16"))
        decoder = QStringDecoder(QStringConverter::Utf16LE);
    else if (iana == QLatin1String("UTF-32"))
        decoder = QStringDecoder(QStringConverter::Utf32LE);
    else
        decoder = QStringDecoder(iana.toLatin1().constData());
    if (!decoder.isValid()) {
        if (ok)
            *ok = false;
        return QStringLiteral("<no decoder for %1>").arg(iana);
    }
    const QString text = decoder.decode(bytes);
    if (ok)
        *ok = !decoder.hasError();
    return text;
}

// One row per encoding of the export dialog: the dialog's name, the name an XML
// declaration gives, a name that encoding holds, and that name's bytes in it
// (from the encodings' published tables).
inline void addEncodingRows()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("iana");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("nameBytes");
    QTest::newRow("UTF-8") << "UTF-8"
                           << "UTF-8" << QStringLiteral("张三😀")
                           << QByteArray("\xE5\xBC\xA0\xE4\xB8\x89\xF0\x9F\x98\x80");
    QTest::newRow("UTF-16") << "UTF-16"
                            << "UTF-16" << QStringLiteral("张三😀") << QByteArray("\x20\x5F\x09\x4E\x3D\xD8\x00\xDE", 8);
    QTest::newRow("UTF-32") << "UTF-32"
                            << "UTF-32" << QStringLiteral("张三😀")
                            << QByteArray("\x20\x5F\x00\x00\x09\x4E\x00\x00\x00\xF6\x01\x00", 12);
    QTest::newRow("GBK") << "GBK"
                         << "GBK" << QStringLiteral("张三") << QByteArray("\xD5\xC5\xC8\xFD");
    QTest::newRow("Big5") << "Big5"
                          << "Big5" << QStringLiteral("張三") << QByteArray("\xB1\x69\xA4\x54");
    QTest::newRow("Big5-HKSCS") << "Big5-HKSCS"
                                << "Big5-HKSCS" << QStringLiteral("張三") << QByteArray("\xB1\x69\xA4\x54");
    QTest::newRow("Shift-JIS") << "Shift-JIS"
                               << "Shift_JIS" << QStringLiteral("山田") << QByteArray("\x8E\x52\x93\x63");
    QTest::newRow("ISO 2022-JP") << "ISO 2022-JP"
                                 << "ISO-2022-JP" << QStringLiteral("山田") << QByteArray("\x1B$B;3ED\x1B(B");
    QTest::newRow("KOI8-R") << "KOI8-R"
                            << "KOI8-R" << QStringLiteral("Иван") << QByteArray("\xE9\xD7\xC1\xCE");
    QTest::newRow("Windows-1251") << "Windows-1251"
                                  << "windows-1251" << QStringLiteral("Иван") << QByteArray("\xC8\xE2\xE0\xED");
    QTest::newRow("EUC-KR") << "EUC-KR"
                            << "EUC-KR" << QStringLiteral("김철수") << QByteArray("\xB1\xE8\xC3\xB6\xBC\xF6");
    QTest::newRow("ISO 8859-1") << "ISO 8859-1"
                                << "ISO-8859-1" << QStringLiteral("Müller") << QByteArray("M\xFCller");
    QTest::newRow("ISO 8859-15") << "ISO 8859-15"
                                 << "ISO-8859-15" << QStringLiteral("Œuvre€") << QByteArray("\xBCuvre\xA4");
}

} // namespace ExportFixture
