#pragma once

// Helpers for the import tests: hand-written inputs, importing them, and compact
// descriptions of what the phonebook holds afterwards.

#include "tests/TestUtil.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTextCodec>

namespace ImportTest {

inline QString dataFile(const QString &name)
{
    return QStringLiteral(QUORVANE_TEST_DATA "/import/") + name;
}

// A file other programs wrote, from the samples kept beside the project (tests skip
// when they are absent).
inline QString realWorldFile(const QString &name)
{
    return QStringLiteral(QUORVANE_REALWORLD_DIR "/") + name;
}

// Writes `text` in the named encoding (a byte-order mark first when asked) and
// returns the path.
inline QString writeFile(const TestUtil::Workspace &ws, const QString &name, const QString &text,
    const QString &encoding = QStringLiteral("UTF-8"), bool bom = false)
{
    const QString path = ws.file(QStringLiteral("in/") + name);
    QDir().mkpath(ws.file(QStringLiteral("in")));
    QTextCodec *codec = QTextCodec::codecForName(encoding.toLatin1());
    QByteArray bytes = codec->fromUnicode(text);
    if (bom)
        bytes.prepend("\xef\xbb\xbf");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

inline QString writeBytes(const TestUtil::Workspace &ws, const QString &name, const QByteArray &bytes)
{
    const QString path = ws.file(QStringLiteral("in/") + name);
    QDir().mkpath(ws.file(QStringLiteral("in")));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

inline bool import(const QString &path, const QString &encoding = QStringLiteral("UTF-8"))
{
    return DataMgr::instance()->importFile(path, encoding).ok();
}

inline const ContactInfo *find(const QString &first, const QString &last)
{
    for (const ContactInfo &c : DataMgr::instance()->phonebook().contacts()) {
        if (c.FirstName == first && c.LastName == last)
            return &c;
    }
    return nullptr;
}

inline QStringList names()
{
    QStringList list;
    for (const ContactInfo &c : DataMgr::instance()->phonebook().contacts())
        list << c.FirstName + QLatin1Char(' ') + c.LastName;
    return list;
}

// "type number account" per phone; the empty entries of a contact without phones
// are left out.
inline QStringList phones(const ContactInfo &c)
{
    QStringList list;
    for (const PhoneInfo &p : c.PhoneList) {
        if (!p.phonenumber.isEmpty())
            list << QStringLiteral("%1 %2 %3").arg(p.type, p.phonenumber).arg(p.accountindex);
    }
    return list;
}

inline QStringList mails(const ContactInfo &c)
{
    QStringList list;
    for (const MailInfo &m : c.MailList) {
        if (!m.Mail.isEmpty())
            list << m.Mail;
    }
    return list;
}

inline QStringList groups(const ContactInfo &c)
{
    QStringList list;
    for (const QString &g : c.GroupList) {
        if (!g.isEmpty())
            list << g;
    }
    return list;
}

// The stored groups in list order.
inline QStringList storedGroupNames()
{
    QStringList list;
    for (const GroupInfo &g : DataMgr::instance()->phonebook().groups())
        list << g.name;
    return list;
}

inline const GroupInfo *group(const QString &name)
{
    for (const GroupInfo &g : DataMgr::instance()->phonebook().groups()) {
        if (g.name == name)
            return &g;
    }
    return nullptr;
}

// Names of the members of a group, in member order.
inline QStringList members(const QString &groupName)
{
    QStringList list;
    const GroupInfo *g = group(groupName);
    if (!g)
        return list;
    for (int id : g->MemberIds) {
        for (const ContactInfo &c : DataMgr::instance()->phonebook().contacts()) {
            if (c.id == id)
                list << c.FirstName + QLatin1Char(' ') + c.LastName;
        }
    }
    return list;
}

// Everything the working phonebook holds, as text, for before/after comparisons.
inline QString describe()
{
    QStringList lines;
    for (const GroupInfo &g : DataMgr::instance()->phonebook().groups()) {
        QStringList ids;
        for (int id : g.MemberIds)
            ids << QString::number(id);
        lines << QStringLiteral("group %1 %2 [%3]").arg(g.id).arg(g.name, ids.join(QLatin1Char(',')));
    }
    for (const ContactInfo &c : DataMgr::instance()->phonebook().contacts()) {
        lines << QStringLiteral("contact %1 %2|%3|%4 p%5 f%6 %7|%8|%9")
                     .arg(c.id)
                     .arg(c.FirstName, c.LastName, c.Department)
                     .arg(c.PrimaryIndex)
                     .arg(c.Frequent)
                     .arg(phones(c).join(QLatin1Char(';')), mails(c).join(QLatin1Char(';')),
                         c.GroupList.join(QLatin1Char(';')));
    }
    return lines.join(QLatin1Char('\n'));
}

inline QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex();
}

// One line per contact: names, primary index, frequent mark, phones, mails, groups.
inline QString contactsText()
{
    QStringList lines;
    for (const ContactInfo &c : DataMgr::instance()->phonebook().contacts()) {
        lines << QStringLiteral("%1|%2 p%3 f%4 [%5] [%6] [%7]")
                     .arg(c.FirstName, c.LastName)
                     .arg(c.PrimaryIndex)
                     .arg(c.Frequent)
                     .arg(phones(c).join(';'), mails(c).join(';'), groups(c).join(';'));
    }
    return lines.join('\n');
}

// One line per contact: names, department and each address with its type.
inline QString departmentsText()
{
    QStringList lines;
    for (const ContactInfo &c : DataMgr::instance()->phonebook().contacts()) {
        QStringList typed;
        for (const MailInfo &m : c.MailList) {
            if (!m.Mail.isEmpty())
                typed << m.type + QLatin1Char(' ') + m.Mail;
        }
        lines << QStringLiteral("%1|%2 {%3} [%4]").arg(c.FirstName, c.LastName, c.Department, typed.join(';'));
    }
    return lines.join('\n');
}

// Imports a sample file of another program into an empty phonebook and compares
// what arrived with `contacts` (as contactsText() gives it); skips without the samples.
inline void expectRealWorldImport(const QString &file, const QString &contacts)
{
    const QString path = realWorldFile(file);
    if (!QFile::exists(path))
        QSKIP("the sample files of other programs are not there");
    TestUtil::Workspace ws;
    QVERIFY(import(path));
    QCOMPARE(contactsText(), contacts);
}

// The same for departments and mail types (as departmentsText() gives them).
inline void expectRealWorldDepartments(const QString &file, const QString &contacts)
{
    const QString path = realWorldFile(file);
    if (!QFile::exists(path))
        QSKIP("the sample files of other programs are not there");
    TestUtil::Workspace ws;
    QVERIFY(import(path));
    QCOMPARE(departmentsText(), contacts);
}

// Imports `path` in replace mode, expects the reader to refuse it, and checks that
// the phonebook and phonebook.db are exactly as they were.
inline void expectRejectedKeepsPhonebook(
    const TestUtil::Workspace &ws, const QString &path, const QString &encoding = QStringLiteral("UTF-8"))
{
    DataMgr::instance()->setReplaceOnImport(true);
    const QString before = describe();
    const QByteArray db = fileHash(ws.file(QStringLiteral("phonebook.db")));
    QVERIFY(!import(path, encoding));
    QCOMPARE(describe(), before);
    QCOMPARE(fileHash(ws.file(QStringLiteral("phonebook.db"))), db);
}

// Ids of the stored groups must be unique; user groups never have 0 or 100.
inline QString groupIdProblem()
{
    QSet<int> seen;
    for (const GroupInfo &g : DataMgr::instance()->phonebook().groups()) {
        if (g.name == Records::kAll || g.name == Records::kAddGroup)
            continue;
        if (seen.contains(g.id))
            return QStringLiteral("id %1 twice").arg(g.id);
        seen.insert(g.id);
        if (g.name != Records::kDefault && g.name != Records::kBlacklist && (g.id == 0 || g.id == 100))
            return QStringLiteral("user group %1 has id %2").arg(g.name).arg(g.id);
    }
    return QString();
}

} // namespace ImportTest
