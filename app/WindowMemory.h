#pragma once

#include <QByteArray>
#include <QString>

// What the window remembers from one run to the next: its own placement and the
// folder each file picker was last left in. Kept in window.ini beside the option
// files, so a portable copy carries it along. A file that cannot be read gives the
// defaults; one that cannot be written is reported on the debug output only, as
// nothing the user made is lost.
namespace WindowMemory {

QString filePath();

// The window's saved geometry (QWidget::saveGeometry()); empty when none is kept.
QByteArray geometry();
bool setGeometry(const QByteArray &geometry);

// The file pickers, each remembered on its own.
enum class Picker { Import, Export, History, Backup };
// The folder `picker` was last left in, while it still exists; else empty.
QString folder(Picker picker);
bool setFolder(Picker picker, const QString &folder);

} // namespace WindowMemory
