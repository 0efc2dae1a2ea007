#include "engine/Password.h"

#include <gtest/gtest.h>
#include <optional>
#include <utility>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include "schedule/ConfigLocation.h"
#include "schedule/Profile.h"

namespace {

// The bytes of a stored text's body, undoing the position bytes (independent of the decoder).
QByteArray BodyBytes(const QString& stored)
{
    QByteArray bytes;
    for (qsizetype i = 16; i + 1 < stored.size(); i += 2) {
        const int pair = stored.mid(i, 2).toInt(nullptr, 16);
        bytes.append(static_cast<char>(pair ^ CPassword::PositionByte((i - 16) / 2)));
    }
    return bytes;
}

QString WithPassword(const QString& password, quint32 flags = CPassword::kAllFlags)
{
    CPassword p;
    p.SetPassword(password);
    p.SetFlags(flags);
    return p.Encode();
}

class FakePrompt : public CPasswordPrompt
{
public:
    std::optional<QString> AskPassword() override
    {
        ++m_asked;
        return m_answer;
    }
    void ShowWrongPassword() override { ++m_wrong; }

    std::optional<QString> m_answer;
    int m_asked = 0;
    int m_wrong = 0;
};

} // namespace

// --- stored form ----------------------------------------------------------------------------------

TEST(PasswordFormatTest, NewObjectProtectsEverythingWithEmptyPassword)
{
    CPassword p;
    EXPECT_EQ(p.Flags(), 0xFFFFFFFFu);
    EXPECT_TRUE(p.Password().isEmpty());
    EXPECT_TRUE(p.IsProtected(0));
    EXPECT_TRUE(p.IsProtected(31));
    EXPECT_TRUE(p.IsProtected(-1));
    EXPECT_TRUE(p.IsProtected(32));
}

TEST(PasswordFormatTest, BodyIsAlways64DigitsAndPaddedWithTerminatorAndLetters)
{
    const QString full = WithPassword(QStringLiteral("0123456789abcdefghijklmnopqrstuv"));
    ASSERT_EQ(full.size(), 16 + 64);
    EXPECT_EQ(BodyBytes(full), QByteArray("0123456789abcdefghijklmnopqrstuv"));

    const QString shortText = WithPassword(QStringLiteral("abc"));
    ASSERT_EQ(shortText.size(), 16 + 64);
    const QByteArray body = BodyBytes(shortText);
    EXPECT_EQ(body.left(4), QByteArray("abc\x07"));
    for (qsizetype i = 4; i < body.size(); ++i)
        EXPECT_TRUE((body[i] >= 'A' && body[i] <= 'Z') || (body[i] >= 'a' && body[i] <= 'z')) << i;

    // 31 bytes: the terminator alone fills the body; more than 32 bytes are stored unchanged.
    EXPECT_EQ(BodyBytes(WithPassword(QString(31, u'x'))), QByteArray(31, 'x') + '\x07');
    EXPECT_EQ(WithPassword(QString(40, u'x')).size(), 16 + 80);

    // Upper-case digits only, and the masked header fields.
    for (const QChar c : shortText)
        EXPECT_TRUE(QStringLiteral("0123456789ABCDEF").contains(c)) << shortText.toStdString();
    EXPECT_EQ(WithPassword(QStringLiteral("x"), 0x12345678u).mid(8, 8).toUInt(nullptr, 16),
        0x12345678u ^ CPassword::kFlagsMask);
}

TEST(PasswordFormatTest, ChecksumIsFlagsPlusSignedByteSum)
{
    // Bytes above 0x7F count negative (0xC3 = -61, 0xA9 = -87); the terminator and padding count.
    const QByteArray bytes = QByteArray("a\xC3\xA9", 3); // "aé"
    QByteArray padding(28, 'Z');
    const QString stored = CPassword::EncodeWith(10, bytes, padding);
    const quint32 expected
        = 10u + 'a' + static_cast<quint32>(-61) + static_cast<quint32>(-87) + 7u + 28u * 'Z';
    EXPECT_EQ(stored.left(8).toUInt(nullptr, 16) ^ CPassword::kChecksumMask, expected);
    EXPECT_EQ(CPassword::PositionByte(0), 41);
    EXPECT_EQ(CPassword::PositionByte(1), 114);
    EXPECT_EQ(CPassword::PositionByte(4), (4 * 73 + 41) & 0xFF);
}

TEST(PasswordFormatTest, RoundTripsPasswordsAndFlags)
{
    const std::vector<std::pair<QString, quint32>> cases = {
        { QStringLiteral("secret"), 0xFFFFFFFFu },
        { QStringLiteral("Secret"), 0x0000001Fu },
        { QStringLiteral("exactly-thirty-two-characters!!!"), 0u },
        { QString(100, u'#'), 0x80000001u },
        { QStringLiteral("Grüße, señor"), 0x00001FC0u },
        { QString::fromUtf8("\xEF\xBB\xBF"
                            "bom"),
            7u },
        { QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x94\x91"), 0xDEADBEEFu },
        { QStringLiteral("  blanks  "), 1u },
        { QStringLiteral(""), 0xFFFFFFFFu },
    };
    for (const auto& [password, flags] : cases) {
        CPassword decoded;
        decoded.SetFlags(0x55u);
        ASSERT_TRUE(decoded.Decode(WithPassword(password, flags))) << password.toStdString();
        EXPECT_EQ(decoded.Password(), password);
        EXPECT_EQ(decoded.Flags(), flags);
    }
}

TEST(PasswordFormatTest, RejectsMalformedTextLeavingObjectUnchanged)
{
    const QString good = WithPassword(QStringLiteral("pw"), 0x1234u);
    CPassword p;
    p.SetPassword(QStringLiteral("old"));
    p.SetFlags(0x42u);
    EXPECT_FALSE(p.Decode(good.toLower()));
    EXPECT_FALSE(p.Decode(good.left(16)));
    EXPECT_FALSE(p.Decode(QString()));
    EXPECT_FALSE(p.Decode(good + u' '));
    EXPECT_FALSE(p.Decode(u'G' + good.mid(1)));
    EXPECT_FALSE(p.Decode(QStringLiteral("0x") + good));
    EXPECT_EQ(p.Password(), QStringLiteral("old"));
    EXPECT_EQ(p.Flags(), 0x42u);
}

TEST(PasswordFormatTest, ChecksumMismatchClearsFlagsAndFails)
{
    const QString good = WithPassword(QStringLiteral("pw"), 0x1234u);
    for (const qsizetype at : { qsizetype(0), qsizetype(9), qsizetype(20), good.size() - 1 }) {
        QString bad = good;
        bad[at] = bad[at] == u'0' ? u'1' : u'0';
        CPassword p;
        EXPECT_FALSE(p.Decode(bad)) << at;
        EXPECT_EQ(p.Flags(), 0u) << at;
    }
    // Dropping a whole byte pair changes the sum as well.
    CPassword p;
    EXPECT_FALSE(p.Decode(good.left(good.size() - 2)));
}

TEST(PasswordFormatTest, TrailingSingleDigitIsIgnored)
{
    const QString good = WithPassword(QStringLiteral("pw"), 0x1234u);
    CPassword p;
    ASSERT_TRUE(p.Decode(good + u'F'));
    EXPECT_EQ(p.Password(), QStringLiteral("pw"));
    EXPECT_EQ(p.Flags(), 0x1234u);

    // 17 digits: no body at all, an empty password when the checksum equals the flags.
    QString bare;
    bare += QStringLiteral("%1").arg(5u ^ CPassword::kChecksumMask, 8, 16, QLatin1Char('0')).toUpper();
    bare += QStringLiteral("%1").arg(5u ^ CPassword::kFlagsMask, 8, 16, QLatin1Char('0')).toUpper();
    ASSERT_TRUE(p.Decode(bare + u'0'));
    EXPECT_TRUE(p.Password().isEmpty());
    EXPECT_EQ(p.Flags(), 5u);
}

TEST(PasswordFormatTest, RejectsPasswordBytesThatAreNotUtf8)
{
    CPassword p;
    EXPECT_FALSE(p.Decode(CPassword::EncodeWith(9, QByteArray("ab\xFF", 3), "xyz")));
    EXPECT_EQ(p.Flags(), 0u);
    EXPECT_FALSE(p.Decode(CPassword::EncodeWith(9, QByteArray("ab\xC3", 3), "xyz"))); // cut short
    // Bytes after the terminator are padding and not checked.
    ASSERT_TRUE(p.Decode(CPassword::EncodeWith(9, QByteArray("ab\x07\xFF", 4), "xyz")));
    EXPECT_EQ(p.Password(), QStringLiteral("ab"));
}

// --- editing ------------------------------------------------------------------------------------

TEST(PasswordSetupTest, BoxesSwitchExactlyTheirBits)
{
    const auto apply = [](bool setups, bool operation, bool exitProgram) {
        CKelvarisRights r;
        r.SetFlags(0);
        EXPECT_EQ(
            r.ApplySetup({ QStringLiteral("pw"), QStringLiteral("pw"), setups, operation, exitProgram }),
            CKelvarisRights::EDIT_CHANGED);
        EXPECT_EQ(r.Password(), QStringLiteral("pw"));
        return r.Flags();
    };
    EXPECT_EQ(apply(true, true, true), 0xFFFFFFFFu);
    EXPECT_EQ(apply(true, true, false), 0xFFFFFFFFu & ~0x20u);
    EXPECT_EQ(apply(false, true, true), 0xFFFFFFFFu & ~0x1FC0u);
    EXPECT_EQ(apply(true, false, true), 0xFFFFFFFFu & ~0x1Fu);
    EXPECT_EQ(apply(false, false, false), 0xFFFFE000u);

    // The preset reads bits 6, 0 and 5 back.
    CKelvarisRights r;
    r.ApplySetup({ QStringLiteral("pw"), QStringLiteral("pw"), false, true, false });
    const CPasswordSetupPreset preset = r.SetupPreset();
    EXPECT_EQ(preset.password, QStringLiteral("pw"));
    EXPECT_FALSE(preset.setups);
    EXPECT_TRUE(preset.operation);
    EXPECT_FALSE(preset.exitProgram);
    r.SetFlags(0x40u);
    EXPECT_TRUE(r.SetupPreset().setups);
    EXPECT_FALSE(r.SetupPreset().operation);
    EXPECT_FALSE(r.SetupPreset().exitProgram);
}

TEST(PasswordSetupTest, MismatchStaysOpenAndEmptyClears)
{
    CKelvarisRights r;
    r.SetPassword(QStringLiteral("old"));
    r.SetFlags(0x3u);
    EXPECT_EQ(r.ApplySetup({ QStringLiteral("new"), QStringLiteral("New"), true, true, true }),
        CKelvarisRights::EDIT_MISMATCH);
    EXPECT_EQ(
        r.ApplySetup({ QString(), QStringLiteral("x"), true, true, true }), CKelvarisRights::EDIT_MISMATCH);
    EXPECT_EQ(r.ApplySetup({ QString(), QString(), true, true, true }), CKelvarisRights::EDIT_CLEARED);
    EXPECT_EQ(r.Password(), QStringLiteral("old"));
    EXPECT_EQ(r.Flags(), 0x3u);
}

// --- rights check -------------------------------------------------------------------------------

TEST(RightsCheckTest, WithoutPasswordEverythingIsAllowed)
{
    FakePrompt prompt;
    CRightsCheck check(&prompt);
    EXPECT_TRUE(check.Check(RIGHT_EXIT));
    EXPECT_TRUE(check.Check(RIGHT_PASSWORD, false));
    EXPECT_EQ(prompt.m_asked, 0);
}

TEST(RightsCheckTest, ProtectedRightAsksEveryTime)
{
    FakePrompt prompt;
    CRightsCheck check(&prompt);
    auto rights = std::make_unique<CKelvarisRights>();
    rights->ApplySetup({ QStringLiteral("Pw"), QStringLiteral("Pw"), true, false, true });
    check.SetRights(std::move(rights));

    // Unprotected bit (Operation unchecked): allowed without asking.
    EXPECT_TRUE(check.Check(RIGHT_ACTIVATE));
    EXPECT_TRUE(check.Check(RIGHT_SAVE_LOGFILE));
    EXPECT_EQ(prompt.m_asked, 0);

    // Not allowed to ask: refused without asking.
    EXPECT_FALSE(check.Check(RIGHT_HOLIDAYS, false));
    EXPECT_EQ(prompt.m_asked, 0);

    prompt.m_answer = std::nullopt; // cancelled
    EXPECT_FALSE(check.Check(RIGHT_HOLIDAYS));
    EXPECT_EQ(prompt.m_asked, 1);
    EXPECT_EQ(prompt.m_wrong, 0);

    prompt.m_answer = QStringLiteral("pw"); // case differs
    EXPECT_FALSE(check.Check(RIGHT_EXIT));
    EXPECT_EQ(prompt.m_asked, 2);
    EXPECT_EQ(prompt.m_wrong, 1);

    prompt.m_answer = QStringLiteral("Pw");
    EXPECT_TRUE(check.Check(RIGHT_EXIT));
    EXPECT_TRUE(check.Check(RIGHT_EXIT)); // not remembered: asked again
    EXPECT_EQ(prompt.m_asked, 4);
    EXPECT_EQ(prompt.m_wrong, 1);

    // Without a prompt a protected right cannot be granted.
    CRightsCheck silent;
    silent.SetRights(std::make_unique<CKelvarisRights>());
    EXPECT_FALSE(silent.Check(RIGHT_PLAN));
}

// --- configuration file -------------------------------------------------------------------------

class PasswordFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("kelvaris.cfg"));
        QFile file(m_path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\r\nOther=1\r\n");
        file.close();
        ConfigLocation().SetPaths(m_path, QString());
        ConfigLocation().SetFileTimeMemo(1);
    }
    void TearDown() override { ConfigLocation().SetPaths(QString(), QString()); }

    QTemporaryDir m_dir;
    QString m_path;
};

TEST_F(PasswordFileTest, StoresLoadsAndDeletesTheKey)
{
    CProfile profile(m_path);
    CRightsCheck check;
    auto rights = std::make_unique<CKelvarisRights>();
    rights->ApplySetup({ QStringLiteral("Grüße"), QStringLiteral("Grüße"), true, false, true });
    check.SetRights(std::move(rights));
    ASSERT_TRUE(check.StoreRights(profile));
    EXPECT_EQ(ConfigLocation().FileTimeMemo(), FileTimeNs(m_path));
    EXPECT_EQ(
        profile.ReadString(QStringLiteral("Settings"), QStringLiteral("Password"), QString()).size(), 80);

    CRightsCheck loaded;
    loaded.LoadRights(profile);
    ASSERT_TRUE(loaded.HasPassword());
    EXPECT_EQ(loaded.Rights()->Password(), QStringLiteral("Grüße"));
    EXPECT_EQ(loaded.Rights()->Flags(), 0xFFFFFFE0u);

    check.ClearRights();
    ConfigLocation().SetFileTimeMemo(1);
    ASSERT_TRUE(check.StoreRights(profile));
    EXPECT_EQ(ConfigLocation().FileTimeMemo(), FileTimeNs(m_path));
    EXPECT_EQ(
        profile.ReadString(QStringLiteral("Settings"), QStringLiteral("Password"), QStringLiteral("none")),
        QStringLiteral("none"));
    EXPECT_EQ(profile.ReadString(QStringLiteral("Settings"), QStringLiteral("Other"), QString()),
        QStringLiteral("1"));
    loaded.LoadRights(profile);
    EXPECT_FALSE(loaded.HasPassword());
}

TEST_F(PasswordFileTest, UnreadableStoredTextLeavesNothingProtected)
{
    CProfile profile(m_path);
    const QString good = WithPassword(QStringLiteral("pw"));
    CRightsCheck check;
    QString flipped = good;
    flipped[30] = flipped[30] == u'0' ? u'1' : u'0';
    for (const QString& text : { good.toLower(), good.left(16), flipped }) {
        profile.WriteString(QStringLiteral("Settings"), QStringLiteral("Password"), text);
        check.SetRights(std::make_unique<CKelvarisRights>());
        check.LoadRights(profile);
        EXPECT_FALSE(check.HasPassword()) << text.toStdString();
    }
    profile.WriteString(QStringLiteral("Settings"), QStringLiteral("Password"), good);
    check.LoadRights(profile);
    EXPECT_TRUE(check.HasPassword());
}
