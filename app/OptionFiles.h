#pragma once

#include <QString>

// The two small settings files of the language folder: config.xml holds the
// interface language, options.xml the three start-up switches. Both are plain
// XML without declaration, written in UTF-8 with four-space indentation. Every
// operation fails quietly: the caller keeps its settings in memory either way.
namespace OptionFiles {

struct Options {
    bool autoStart = false;
    bool recoveryData = false;
    bool autoHttpd = false;
    // Deletions ask first (off: they are undone instead). Kept as ConfirmDelete,
    // written only once it has been on, so older files read as off.
    bool confirmDelete = false;
};

// Reads the language code of config.xml (the text of the last of the leading
// `Language` elements; empty when there is none). False when the file is
// missing, unreadable or not well-formed.
bool readLanguage(const QString &path, QString *code);
// Sets the leading `Language` elements of an existing config.xml to `code`, or
// creates the file with one such element. False when nothing was written.
bool writeLanguage(const QString &path, const QString &code);

// Reads options.xml; only the value 1 turns a switch on. False when the file is
// missing, unreadable or not well-formed (all switches then stay off).
bool readOptions(const QString &path, Options *options);
// Updates the switches an existing options.xml holds (adding only ConfirmDelete,
// when it is on), or creates the file with all three (and ConfirmDelete when
// on). False when nothing was written.
bool writeOptions(const QString &path, const Options &options);

// port.xml, which the port dialog writes and the phonebook service reads: the
// text of `useDefault` ("1" checks the default-port box) and of `port`, as
// typed. False when the file is missing, unreadable or not well-formed.
bool readPort(const QString &path, bool *useDefault, QString *port);
// Writes port.xml whole (declaration, automatic formatting); the old file stays
// until the new one is complete. False when nothing was written.
bool writePort(const QString &path, bool useDefault, const QString &port);

} // namespace OptionFiles
