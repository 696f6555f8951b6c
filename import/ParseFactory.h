#pragma once

#include <QString>

#include <memory>

class ParseBase;

// Makes the reader for a file by its suffix: "xml", "vcf" or "csv" (case-sensitive,
// the last suffix of the file name only). Every call makes a fresh reader, so no
// state of an earlier read carries over.
class ParseFactory
{
public:
    // nullptr for any other suffix.
    static std::unique_ptr<ParseBase> createParser(const QString &path);
};
