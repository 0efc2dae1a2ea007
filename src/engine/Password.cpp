#include "engine/Password.h"

#include <chrono>

#include <QStringDecoder>

#include "schedule/ConfigLocation.h"
#include "schedule/Profile.h"
#include "support/Trace.h"

namespace {

const QString kSettingsSection = QStringLiteral("Settings");
const QString kPasswordKey = QStringLiteral("Password");

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The value of an upper-case hexadecimal digit, or -1.
int HexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The value of `count` digits starting at `from`; the digits are known to be valid.
quint32 HexNumber(const QString& text, qsizetype from, qsizetype count)
{
    quint32 value = 0;
    for (qsizetype i = from; i < from + count; ++i)
        value = (value << 4) | static_cast<quint32>(HexValue(text[i]));
    return value;
}

void AppendHex(QString& out, quint32 value, int digits)
{
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out.append(QLatin1Char(kHexDigits[(value >> shift) & 0xFu]));
}

// A byte taken as a signed 8-bit value, added in 32-bit wrap-around arithmetic.
quint32 SignedByte(char byte)
{
    return static_cast<quint32>(static_cast<qint32>(static_cast<qint8>(byte)));
}

// Letters A-Z/a-z for the padding, from a splitmix64 sequence seeded from the steady clock.
QByteArray PaddingLetters(qsizetype count)
{
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    quint64 state = static_cast<quint64>(std::chrono::steady_clock::now().time_since_epoch().count());
    QByteArray letters;
    letters.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        state += 0x9E3779B97F4A7C15ull;
        quint64 z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        letters.append(kLetters[z % 52]);
    }
    return letters;
}

} // namespace

// --- CPassword ----------------------------------------------------------------------------------

bool CPassword::IsProtected(int right) const
{
    if (right < 0 || right > 31)
        return true;
    return (m_flags >> right) & 1u;
}

bool CPassword::Decode(const QString& stored)
{
    if (stored.size() <= 16)
        return false;
    for (const QChar c : stored) {
        if (HexValue(c) < 0)
            return false;
    }

    const quint32 checksum = HexNumber(stored, 0, 8) ^ kChecksumMask;
    const quint32 flags = HexNumber(stored, 8, 8) ^ kFlagsMask;

    const qsizetype count = (stored.size() - 16) / 2;
    QByteArray bytes;
    bytes.reserve(count);
    quint32 sum = flags;
    for (qsizetype i = 0; i < count; ++i) {
        const quint32 pair = HexNumber(stored, 16 + 2 * i, 2);
        const char byte = static_cast<char>(static_cast<quint8>(pair ^ PositionByte(i)));
        sum += SignedByte(byte);
        bytes.append(byte);
    }
    if (sum != checksum) {
        m_flags = 0;
        return false;
    }

    // A byte 7 never occurs inside a multi-byte UTF-8 sequence, so cutting at the byte is cutting
    // at the character.
    const qsizetype end = bytes.indexOf(kTerminator);
    if (end >= 0)
        bytes.truncate(end);
    // Keep a leading byte order mark as a character of the password.
    QStringDecoder decoder(
        QStringDecoder::Utf8, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString password = decoder.decode(bytes);
    if (decoder.hasError()) {
        m_flags = 0;
        return false;
    }
    m_flags = flags;
    m_password = std::move(password);
    return true;
}

QString CPassword::EncodeWith(quint32 flags, const QByteArray& passwordBytes, const QByteArray& padding)
{
    QByteArray padded = passwordBytes;
    if (padded.size() < kPaddedLength) {
        padded.append(kTerminator);
        for (qsizetype i = 0; padded.size() < kPaddedLength; ++i)
            padded.append(padding.isEmpty() ? 'A' : padding[i % padding.size()]);
    }

    quint32 checksum = flags;
    for (const char byte : padded)
        checksum += SignedByte(byte);

    QString out;
    out.reserve(16 + 2 * padded.size());
    AppendHex(out, checksum ^ kChecksumMask, 8);
    AppendHex(out, flags ^ kFlagsMask, 8);
    for (qsizetype i = 0; i < padded.size(); ++i)
        AppendHex(out, static_cast<quint8>(padded[i]) ^ PositionByte(i), 2);
    return out;
}

QString CPassword::Encode() const
{
    const QByteArray bytes = m_password.toUtf8();
    const qsizetype letters = bytes.size() < kPaddedLength - 1 ? kPaddedLength - 1 - bytes.size() : 0;
    return EncodeWith(m_flags, bytes, PaddingLetters(letters));
}

// --- CKelvarisRights ----------------------------------------------------------------------------

CPasswordSetupPreset CKelvarisRights::SetupPreset() const
{
    CPasswordSetupPreset preset;
    preset.password = m_password;
    preset.exitProgram = (m_flags & (1u << 5)) != 0;
    preset.setups = (m_flags & (1u << 6)) != 0;
    preset.operation = (m_flags & (1u << 0)) != 0;
    return preset;
}

int CKelvarisRights::ApplySetup(const CPasswordSetupInput& input)
{
    if (input.entered != input.confirmed)
        return EDIT_MISMATCH;
    if (input.entered.isEmpty())
        return EDIT_CLEARED;
    quint32 flags = kAllFlags;
    if (!input.exitProgram)
        flags &= ~RIGHTS_EXIT;
    if (!input.setups)
        flags &= ~RIGHTS_SETUPS;
    if (!input.operation)
        flags &= ~RIGHTS_OPERATION;
    m_password = input.entered;
    m_flags = flags;
    return EDIT_CHANGED;
}

// --- CRightsCheck -------------------------------------------------------------------------------

bool CRightsCheck::Check(int right, bool ask)
{
    m_askedGroup.clear();
    if (!m_rights || !m_rights->IsProtected(right))
        return true;
    if (!ask || !m_prompt)
        return false;
    const std::optional<QString> typed = m_prompt->AskPassword();
    if (!typed)
        return false;
    if (m_rights->Matches(*typed)) {
        // The groups the password dialog offers: bits 0-4, bit 5, bits 6-12.
        m_askedGroup = right < RIGHT_EXIT ? QStringLiteral("operation")
            : right == RIGHT_EXIT         ? QStringLiteral("exit")
                                          : QStringLiteral("setups");
        return true;
    }
    m_prompt->ShowWrongPassword();
    return false;
}

void CRightsCheck::LoadRights(CProfile& profile)
{
    m_rights.reset();
    const QString stored = profile.ReadString(kSettingsSection, kPasswordKey, QString());
    if (stored.isEmpty())
        return;
    auto rights = std::make_unique<CKelvarisRights>();
    if (!rights->Decode(stored)) {
        KTRACE(lcEngine) << "LoadRights: stored password not readable, nothing is protected";
        return;
    }
    m_rights = std::move(rights);
}

bool CRightsCheck::StoreRights(CProfile& profile) const
{
    CSection settings(profile, kSettingsSection);
    const bool stored
        = m_rights ? settings.Write(kPasswordKey, m_rights->Encode()) : settings.DeleteKey(kPasswordKey);
    ConfigLocation().RecordFileTime();
    return stored;
}
