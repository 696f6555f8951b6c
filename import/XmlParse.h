#pragma once

#include "import/ParseBase.h"

// Reads every XML phonebook layout we write (the general one and the model ones)
// by looking for each kind of element by name: group definitions as root-level
// "Group" elements or as "pbgroup" elements, "Contact" elements, and group
// references as "Group" ids or "Groups"/"groupid" numbers.
class XmlParse : public ParseBase
{
    Q_DECLARE_TR_FUNCTIONS(XmlParse)
public:
    XmlParse() = default;

    // A file that is not well-formed XML fails with the line of the first fault.
    Expected<ImportRows> read(QByteArray bytes, const QString &encoding, ImportContext &numbering) override;
    bool checkEncoding(const QByteArray &bytes, const QString &codecName) const override;
};
