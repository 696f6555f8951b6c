#pragma once

#include "ParseBase.h"

// Reads vCard files line by line: names, typed telephone numbers with the preferred
// mark, mail addresses and our own X-MARLO- properties (accounts, group, frequent
// mark, photo, ringtone). Folded lines and encoded values are not interpreted.
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
