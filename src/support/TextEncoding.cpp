#include "support/TextEncoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
// Code points of the bytes 0x80 to 0x9F in Windows-1252; the rest of the code page is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

bool IsAscii(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}
} // namespace

bool IsValidUtf8(QByteArrayView bytes)
{
    if (IsAscii(bytes))
        return true;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString ignored = decoder.decode(bytes);
    return !decoder.hasError();
}

QString DecodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

QString DecodeText(QByteArrayView bytes)
{
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return DecodeWindows1252(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

QByteArray EncodeText(const QString& text)
{
    return text.toUtf8();
}

namespace {
// Tab, line feed, form feed and carriage return are the control characters text files hold.
constexpr bool IsTextControl(char16_t c)
{
    return c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
}

QString ControlProblem(char16_t c, qsizetype offset)
{
    return QStringLiteral("not text: the control character 0x%1 at byte %2")
        .arg(unsigned(c), 2, 16, QLatin1Char('0'))
        .arg(offset);
}

bool EndsWithLineEnd(QStringView text)
{
    return !text.isEmpty() && (text.back() == u'\n' || text.back() == u'\r');
}
} // namespace

CTextCheck CheckText(QByteArrayView bytes)
{
    CTextCheck check;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        check.form = bytes.startsWith("\xFF\xFE") ? ETextForm::Utf16LE : ETextForm::Utf16BE;
        if (bytes.size() % 2 != 0) {
            check.problem = QStringLiteral("not text: UTF-16 with an odd number of bytes");
            return check;
        }
        QStringDecoder decoder(
            check.form == ETextForm::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
            QStringDecoder::Flag::Stateless);
        const QString text = decoder.decode(bytes.sliced(2));
        if (decoder.hasError()) {
            check.problem = QStringLiteral("not text: invalid UTF-16");
            return check;
        }
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text.at(i).unicode();
            const bool paired = QChar::isHighSurrogate(c)
                ? i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
                : !QChar::isLowSurrogate(c) || (i > 0 && text.at(i - 1).isHighSurrogate());
            if (!paired) {
                check.problem = QStringLiteral("not text: invalid UTF-16 (an unpaired surrogate)");
                return check;
            }
            if (c < 0x20 && !IsTextControl(c)) {
                check.problem = ControlProblem(c, 2 + 2 * i);
                return check;
            }
        }
        check.unfinished = !EndsWithLineEnd(text);
        return check;
    }
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    check.form = bom ? ETextForm::Utf8Bom : ETextForm::Utf8;
    bool ascii = true;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x20 && !IsTextControl(b)) {
            check.problem = ControlProblem(b, i);
            return check;
        }
        ascii = ascii && b < 0x80;
    }
    if (!ascii && !IsValidUtf8(bytes)) {
        // Windows-1252: five bytes are left undefined by the code page, and no editor writes them.
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
                check.problem = QStringLiteral("not text: neither UTF-8 nor Windows-1252 (byte 0x%1 at %2)")
                                    .arg(unsigned(b), 2, 16, QLatin1Char('0'))
                                    .arg(i);
                return check;
            }
        }
    }
    check.unfinished = bytes.isEmpty() || (bytes.back() != '\n' && bytes.back() != '\r');
    return check;
}

QString DecodeTextAs(QByteArrayView bytes, ETextForm form)
{
    switch (form) {
    case ETextForm::Utf16LE:
    case ETextForm::Utf16BE: {
        QStringDecoder decoder(form == ETextForm::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
            QStringDecoder::Flag::Stateless);
        return decoder.decode(bytes.size() >= 2 ? bytes.sliced(2) : QByteArrayView());
    }
    case ETextForm::Utf8:
    case ETextForm::Utf8Bom:
        break;
    }
    return DecodeText(bytes);
}

QByteArray EncodeUtf8As(QByteArrayView utf8, ETextForm form)
{
    switch (form) {
    case ETextForm::Utf8:
        return utf8.toByteArray();
    case ETextForm::Utf8Bom:
        return utf8.startsWith("\xEF\xBB\xBF") ? utf8.toByteArray() : "\xEF\xBB\xBF" + utf8.toByteArray();
    case ETextForm::Utf16LE:
    case ETextForm::Utf16BE: {
        QStringEncoder encoder(form == ETextForm::Utf16LE ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE,
            QStringEncoder::Flag::WriteBom);
        return encoder.encode(QString::fromUtf8(utf8));
    }
    }
    return utf8.toByteArray();
}
