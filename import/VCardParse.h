#pragma once

#include "import/ParseBase.h"

// Reads vCard files of every version (2.1, 3.0, 4.0) and of every program: names,
// typed telephone numbers with the preferred one, mail addresses, the first category
// as the group, and our own X-MARLO- properties (accounts, group, frequent mark,
// photo, ringtone). Folded lines, quoted-printable values in their character sets
// and escaped characters are read as written; binary values are skipped.
class VCardParse : public ParseBase
{
    Q_OBJECT
public:
    explicit VCardParse(QObject *parent = nullptr);

    QString localeCodecName() override;
    bool checkFileEncoding(const QString &path, const QString &codecName) override;
    // Writes the converted copy to "tmp.vcf".
    bool convertFileEncoding(const QString &path, const QString &fromCodec, const QString &toCodec) override;
    bool readFile(const QString &path, const QString &codecName) override;
    void clearGroupNames() override;
    void resetIdCounters() override;

    bool zeroBasedAccounts() const { return m_zeroBasedAccounts; }

private:
    QString m_appDir;
    bool m_zeroBasedAccounts = false;
};
