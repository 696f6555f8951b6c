#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The words other address books give numbers, mail columns and groups, mapped onto
// ours. Labels are compared by their letters alone, ignoring case, so "Business
// Phone 2", "business-phone" and Apple's "_$!<BusinessPhone>!$_" are one label.
namespace ContactLabels {

// The stored phone type for a label or column name ("Work Fax", "Assistant's
// Phone", "Pager Number", "住宅电话"); empty when the label names no kind of number.
QString phoneType(QStringView label);

// The stored mail type for a label ("HOME", "* Work", "Cell", "_$!<Other>!$_");
// empty when the label names no kind of address ("INTERNET", "PREF").
QString mailType(QStringView label);

// An organisation and its units ("IBM", "Accounting") as one department text:
// the non-empty parts, each once, joined by " / ".
QString department(const QStringList &parts);

// Whether a CSV column holds mail addresses ("E-mail 2 Address", "Primary Email").
bool isMailColumn(QStringView name);

// A label without the "* " that marks an address book's own labels ("* Home").
QStringView withoutStar(QStringView label);

// Whether a group name is the address book's group of every contact ("* myContacts",
// "My Contacts"), which is no group here.
bool isAllContactsGroup(QStringView name);

} // namespace ContactLabels
