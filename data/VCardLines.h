#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The lines of a vCard on their bytes, before any of them is decoded: a property
// may declare a charset of its own, so a file need not be in one encoding. For the
// vCard reader and for the detection of a file's encoding.
namespace VCardLines {

// Whether the bytes hold a vCard: their first text (after a UTF-8 byte-order mark
// and blank lines) is "BEGIN:VCARD", in any case.
bool isVCard(QByteArrayView bytes);

// The file's logical lines (writers fold at 75 bytes, also inside a character): a
// line end followed by a blank or a tab goes with that blank, and a quoted-printable
// value's soft line breaks ("=" at the line end) go with the "=". Every line end
// that went is put back after the logical line, as an empty line, so lines keep
// their numbers. Lines end in a line feed (also those that ended in CR LF, or CR CR
// LF as some phones write). Only for encodings that write line ends, blanks, ":",
// ";", "=" and '"' as those single bytes and use them in no other character.
QByteArray logicalLines(const QByteArray &bytes);

// The line of `lines` that starts at `pos` (without its line feed); `pos` moves to
// the start of the next one.
QByteArrayView nextLine(const QByteArray &lines, qsizetype &pos);

// The position of the colon that ends a line's name and parameters (the first one
// outside double quotes), -1 when there is none.
qsizetype valueColon(QByteArrayView line);

// The value of the last CHARSET parameter among a line's name and parameters
// (without quotes and blanks), empty when there is none.
QByteArrayView charset(QByteArrayView head);

// Whether a line's name and parameters mark its value as quoted-printable.
bool isQuotedPrintable(QByteArrayView head);

// Quoted-printable bytes undone; an "=" that starts no hexadecimal pair is dropped.
QByteArray fromQuotedPrintable(QByteArrayView value);

} // namespace VCardLines
