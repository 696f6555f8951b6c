#pragma once

#include "data/ContactInfo.h"
#include "data/Result.h"
#include "export/ExportContacts.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <initializer_list>

class QIODevice;

// What the CSV layouts share: the values taken from a contact, the quoting of a
// field and the writing steps around the rows.
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

// A field as the file carries it: quotes doubled, and the whole enclosed in quotes
// when it holds a comma, a quote or a line feed.
QString quote(const QString &text);
// Appends the fields quoted where needed and separated by commas.
void appendQuoted(QString &line, std::initializer_list<QStringView> fields);

// Fills `line` with one contact's row, without its line feed.
using Row = std::function<void(QString &line, const ContactInfo &contact)>;

// Runs the encoding check on names and mail addresses, then writes `header` and
// one row per contact. Nothing is written when the check fails.
Result write(
    QIODevice &out, const ExportContacts &contacts, const QString &encoding, const QString &header, const Row &row);

} // namespace CsvLayout
