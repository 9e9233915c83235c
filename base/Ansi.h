#pragma once
// Texts in the settings file, the record file and the logger's memory are single-byte
// Windows-1252 characters. Qt has no Windows-1252 codec of its own on every platform.

#include <QByteArray>
#include <QString>

namespace orvan {

QString ansiDecode(const QByteArray& bytes);
QChar ansiChar(unsigned char byte);
// Characters without a Windows-1252 code become '?'.
QByteArray ansiEncode(const QString& text);
// Whether every character has a Windows-1252 code, so the text comes back as it went in.
bool ansiEncodable(const QString& text);
// Cut to width or padded on the right with blanks, then encoded.
QByteArray ansiFixed(const QString& text, int width);

} // namespace orvan
