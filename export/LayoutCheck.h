#pragma once

#include "data/ContactInfo.h"
#include "data/GroupInfo.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// How much the Alder and Birch phones take; the rest of a phonebook is left out
// of their files.
namespace LayoutLimits {
constexpr int kModelContacts = 1000;
constexpr int kModelGroups = 50;
// The phone types Alder phones know (every type of the table but "CompanyTotal");
// numbers of other types are left out of their file.
bool isAlderPhoneType(const QString &type);
} // namespace LayoutLimits

// What a phonebook becomes in one layout and encoding: how many contacts and
// groups the file carries and, contact by contact, what is lost or changed on
// the way, before anything is written.
class LayoutCheck
{
    Q_DECLARE_TR_FUNCTIONS(LayoutCheck)
public:
    // Lost: the phone will not have it. Changed: it has it, but not as it stands.
    enum class Severity { Changed, Lost };
    struct Finding {
        Severity severity = Severity::Changed;
        int contactId = 0; // 0 for a finding about a group
        QString what;
    };
    struct Report {
        int format = 0;
        QString encoding;
        int contacts = 0; // carried by the file
        int groups = 0;
        // The file cannot be made at all: the encoding cannot hold a name or mail
        // address, and the layout refuses rather than write it wrong.
        bool refused = false;
        QList<Finding> findings;
        bool losesAnything() const;
    };

    static Report check(
        int format, const QString &encoding, const QList<ContactInfo> &contacts, const QList<GroupInfo> &groups);
    // Whether a phone can dial the number: digits, "*", "#", "," and ";" pauses,
    // "p" and "w", and a "+" in front.
    static bool isDialable(const QString &number);
};
