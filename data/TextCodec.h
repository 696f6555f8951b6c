#pragma once

#include <QString>

class QTextCodec;

// The one place that turns the user's encoding names into codecs. Every reader and
// writer goes through it.
namespace TextCodec {

// Codec for a name as the dialogs offer it ("UTF-8", "Shift-JIS", "ISO 2022-JP",
// "ISO 8859-1" ...); lookup ignores case and punctuation. nullptr when unknown.
QTextCodec *codecForName(const QString &name);

// Whether the named encoding can hold every character of `text`; false for an
// unknown name.
bool canEncode(const QString &name, const QString &text);

} // namespace TextCodec
