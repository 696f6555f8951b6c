#pragma once

#include <QString>

// Where the program keeps its data and finds its assets; the one place that decides.
//
// A portable copy (the build tree, or a folder the user unpacked: the file
// "portable" or a phonebook.db beside the executable) keeps everything beside the
// executable, as it always has. An installed copy keeps the phonebook, target/,
// backup/, HTTPD/, web/ and the lock under the user's data folder, its option files
// under the user's config folder, and reads the translations from the install
// prefix; it writes nothing beside the executable, even where it could. The headless
// tool's --dir and the tests override the data folder; the GUI never does.
namespace AppPaths {

// The data folder (phonebook.db, target/, backup/, HTTPD/, web/), with a trailing
// "/"; made on first use.
QString appDir();
// Overrides the data folder (a trailing "/" is added when missing); the copy then
// behaves as a portable one. An empty text returns to the folder chosen at start.
void setAppDir(const QString &dir);

// The folder of the option files (options.xml, config.xml, port.xml), with a
// trailing "/": language/ in the data folder of a portable copy.
QString configDir();
// The folder of the translations (*.qm), with a trailing "/".
QString translationsDir();
// The port settings: port.xml in the current folder for a portable copy, in the
// config folder for an installed one.
QString portFile();

// Whether the copy keeps its data beside its executable.
bool isPortable();

} // namespace AppPaths
