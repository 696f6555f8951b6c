#pragma once

#include "data/ContactInfo.h"

#include <QString>

#include <functional>

// What the CSV layouts share: the values taken from a contact and the writing
// steps around the rows.
namespace CsvLayout {

enum PhoneSlot { Work, Home, Mobile, Fax, SlotCount };

// The part of a contact a CSV row holds.
struct Fields {
    // The first number of each of the types "Work", "Home", "Mobile" and "Fax".
    QString number[SlotCount];
    // The stored account of that number; meaningful only where there is one.
    int account[SlotCount] = { 0, 0, 0, 0 };
    bool hasNumber[SlotCount] = { false, false, false, false };
    QString email;
    QString group;
};
Fields fieldsOf(const ContactInfo &contact);

// Runs the encoding check on names and mail addresses, appends ".csv" to `path`,
// writes `header` and one row per contact (`row` fills the line without its line
// feed) and puts the file in place. False, leaving no new file, when the
// encoding cannot hold a name or address, the path is empty or the file cannot
// be written.
bool write(const QString &encoding, QString &path, const QList<ContactInfo> &contacts, const QString &header,
    const std::function<void(QString &line, const ContactInfo &contact)> &row);

// The own layout (Alder and Birch): accounts are written as stored plus
// `accountBase` (Alder phones count from 0, Birch phones from 1).
bool writeOwn(const QString &encoding, QString &path, const QList<ContactInfo> &contacts, int accountBase);

// The Outlook layouts: nine quoted fields under the given header.
bool writeOutlook(const QString &encoding, QString &path, const QList<ContactInfo> &contacts, const QString &header);

// Appends the fields quoted where needed and separated by commas.
void appendQuoted(QString &line, std::initializer_list<QString> fields);

} // namespace CsvLayout
