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

// How a file's bytes are written: the form a file is read in is the form it is written back in.
enum class ETextForm { Utf8, Utf8Bom, Utf16LE, Utf16BE };

// What a file's bytes are as text. `form` is the encoding they are read in (a byte order mark
// decides: UTF-8, UTF-16 little or big endian; without one UTF-8, or Windows-1252 when the bytes
// are not valid UTF-8, written back as UTF-8). `problem` is empty for text and otherwise says why
// the bytes are not text: a NUL or another control character no editor writes (only tab, line
// feed, form feed and carriage return occur), an odd length or an unpaired surrogate in UTF-16,
// a byte that Windows-1252 leaves undefined. `unfinished` is set when the bytes do not end with a
// line end (an empty file too): a file in the middle of being written in place.
struct CTextCheck
{
    ETextForm form = ETextForm::Utf8;
    QString problem;
    bool unfinished = false;
};
CTextCheck CheckText(QByteArrayView bytes);

// The text of bytes that CheckText found to be text in `form` (the byte order mark left out).
QString DecodeTextAs(QByteArrayView bytes, ETextForm form);
// UTF-8 bytes (as the program builds its files) in `form`, with its byte order mark.
QByteArray EncodeUtf8As(QByteArrayView utf8, ETextForm form);
