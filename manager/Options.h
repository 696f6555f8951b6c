#pragma once

#include <QString>

// What the user chose for an import, in the window's dialogs or on the command line.
struct ImportOptions {
    QString path;
    // An encoding name, or "auto": the program tells it from the file.
    QString encoding;
    bool clearList = false;
    bool replaceDuplicates = false;

    // Only these three endings, exactly so written, choose a reader.
    bool hasReaderSuffix() const;
    // An existing file that a reader takes.
    bool isReadableFile() const;
};

// What the user chose for an export.
struct ExportOptions {
    // An ExportFactory layout.
    int format = 0;
    QString encoding;
    // The file's name without its extension.
    QString name;
    QString folder;

    // A plain file name (it cannot lead into another folder) and a folder that exists.
    bool isComplete() const;
    // The file the export writes.
    QString filePath() const;
};
