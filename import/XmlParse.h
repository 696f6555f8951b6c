#pragma once

#include "import/ParseBase.h"

// Reads every XML phonebook layout we write (the general one and the model ones)
// by looking for each kind of element by name: group definitions as root-level
// "Group" elements or as "pbgroup" elements, "Contact" elements, and group
// references as "Group" ids or "Groups"/"groupid" numbers.
class XmlParse : public ParseBase
{
    Q_OBJECT
public:
    explicit XmlParse(QObject *parent = nullptr);

    QString localeCodecName() override;
    bool checkFileEncoding(const QString &path, const QString &codecName) override;
    // Writes the UTF-8 copy to "tmp.xml", its declaration naming `toCodec`.
    bool convertFileEncoding(const QString &path, const QString &fromCodec, const QString &toCodec) override;
    bool readFile(const QString &path, const QString &codecName) override;
    void clearGroupNames() override;
    void resetIdCounters() override;

    // Set once a read met an account index of 0 (or a phone without one).
    bool zeroBasedAccounts() const { return m_zeroBasedAccounts; }

private:
    QString m_appDir;
    bool m_zeroBasedAccounts = false;
};
