#pragma once

#include <QString>

// The program folder that phonebook.db, language/, target/, backup/, HTTPD/ and the
// temporary import files are resolved against. The GUI always uses the executable's
// folder; the headless tool and the tests may point it elsewhere.
namespace AppPaths {

// The folder with a trailing "/".
QString appDir();
// Overrides the folder (a trailing "/" is added when missing); an empty text
// returns to the executable's folder.
void setAppDir(const QString &dir);

} // namespace AppPaths
