#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text at the edges of the program (files, the socket, D-Bus byte arrays) is UTF-8. Files carried
// over from a Windows installation are Windows-1252; a file that is not valid UTF-8 is read as such.

bool IsValidUtf8(QByteArrayView bytes);

// Windows-1252 to Unicode. The five bytes that code page leaves undefined map to the C1 control
// of the same value, as Windows itself converts them.
QString DecodeWindows1252(QByteArrayView bytes);

// UTF-8 when the bytes are valid UTF-8 (a leading byte order mark is dropped), else Windows-1252.
QString DecodeText(QByteArrayView bytes);

// Always UTF-8.
QByteArray EncodeText(const QString& text);
