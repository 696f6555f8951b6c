#pragma once

#include "import/ParseBase.h"

// Reads vCard files of every version (2.1, 3.0, 4.0) and of every program: names,
// typed telephone numbers with the preferred one, mail addresses, the first category
// as the group, and our own X-MARLO- properties (accounts, group, frequent mark,
// photo, ringtone). Folded lines, quoted-printable values in their character sets
// and escaped characters are read as written; binary values are skipped.
class VCardParse : public ParseBase
{
    Q_DECLARE_TR_FUNCTIONS(VCardParse)
public:
    VCardParse() = default;

    // A "BEGIN:" or "END:" out of place fails with its line; so does a file that
    // gives no contact.
    Expected<ImportRows> read(QByteArray bytes, const QString &encoding, ImportContext &numbering) override;
    bool checkEncoding(const QByteArray &bytes, const QString &codecName) const override;
};
