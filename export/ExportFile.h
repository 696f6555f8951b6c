#pragma once

#include "data/TextCodec.h"

#include <QSaveFile>
#include <QString>

// The file an exporter writes. Text is gathered, encoded as it grows and written
// to a QSaveFile, so the file at the path appears, or replaces the previous one,
// only when commit() succeeds; a failed or abandoned export leaves no new file
// and the previous one untouched.
class ExportFile
{
public:
    ExportFile(const QString &path, const QString &encoding);

    bool open();
    TextCodec::Encoder &encoder() { return m_encoder; }

    // Pending text: append to it freely and call endLine() at every line end.
    QString &text() { return m_text; }
    void endLine();

    // Writes the rest and puts the file in place; false when anything failed.
    bool commit();

    // Why the last export file on this thread failed: the system's reason, empty
    // when none failed since it was made.
    static QString lastError();

private:
    void writePending();
    bool failed();

    QSaveFile m_file;
    TextCodec::Encoder m_encoder;
    QString m_text;
    bool m_ok = true;
};
