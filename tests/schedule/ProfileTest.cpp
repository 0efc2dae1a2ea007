#include "schedule/Profile.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include "support/FileWatch.h"

namespace {

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the file in place (same inode), as an editor without atomic saves would.
void OverwriteInPlace(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class ProfileTest : public ::testing::Test
{
protected:
    QString PathOf(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // A profile on a new file with the given content.
    QString NewFile(const char* name, const QByteArray& bytes)
    {
        const QString path = PathOf(name);
        OverwriteInPlace(path, bytes);
        return path;
    }

    QTemporaryDir m_dir;
};

const QString kSettings = QStringLiteral("Settings");

TEST_F(ProfileTest, ReadsTrimmedUnquotedValuesWithoutRegardToCase)
{
    const QString path = NewFile("read.cfg",
        "; comment\r\n"
        "Orphan=before any section\r\n"
        "  [ Settings ]  \r\n"
        "  Language =  7  \r\n"
        "Name = \"  padded  \"\r\n"
        "Single='x'\r\n"
        "Mixed=\"x'\r\n"
        "Empty=\r\n"
        "Text=a=b\r\n"
        "Language=8\r\n"
        "[settings]\r\n"
        "Language=99\r\n"
        "Other=1\r\n");
    const CProfile profile(path);
    EXPECT_EQ(profile.ReadString(QStringLiteral("SETTINGS"), QStringLiteral("language"), "d"), "7");
    EXPECT_EQ(profile.ReadString(kSettings, QStringLiteral("Name"), "d"), "  padded  ");
    EXPECT_EQ(profile.ReadString(kSettings, QStringLiteral("Single"), "d"), "x");
    EXPECT_EQ(profile.ReadString(kSettings, QStringLiteral("Mixed"), "d"), "\"x'");
    EXPECT_EQ(profile.ReadString(kSettings, QStringLiteral("Text"), "d"), "a=b");
    const QString empty = profile.ReadString(kSettings, QStringLiteral("Empty"), "d");
    EXPECT_TRUE(empty.isEmpty());
    // Entries before the first section and in a second section of the same name are not seen.
    EXPECT_EQ(profile.ReadString(kSettings, QStringLiteral("Orphan"), "d"), "d");
    EXPECT_EQ(profile.ReadString(kSettings, QStringLiteral("Other"), "d"), "d");
    EXPECT_EQ(profile.ReadString(QStringLiteral("Missing"), QStringLiteral("Language"), "d"), "d");
    EXPECT_TRUE(profile.ReadString(kSettings, QStringLiteral("Missing"), QString()).isNull());

    QStringList names { QStringLiteral("stale") };
    EXPECT_EQ(profile.GetSectionNames(names), 2);
    EXPECT_EQ(names, QStringList({ QStringLiteral("Settings"), QStringLiteral("settings") }));

    const CProfile missing(PathOf("absent.cfg"));
    EXPECT_EQ(missing.ReadString(kSettings, QStringLiteral("Language"), "d"), "d");
    EXPECT_EQ(missing.ReadInt(kSettings, QStringLiteral("Language"), 5), 5);
    EXPECT_EQ(missing.GetSectionNames(names), 0);
    EXPECT_TRUE(names.isEmpty());
}

TEST_F(ProfileTest, IntegerAndFlagReads)
{
    CProfile profile(NewFile("int.cfg",
        "[S]\r\n"
        "Hex=0x10\r\nHexUpper=0X1f\r\nNegHex=-0x1f\r\nTail=-12abc\r\nPlus=+7\r\nEmpty=\r\n"
        "Word=abc\r\nBig=99999999999\r\nSmall=-99999999999\r\nBare=0x\r\nQuoted=\"5\"\r\n"
        "Octal=010\r\nBadOctal=08\r\nTwo=2\r\nZero=0\r\n"));
    const QString s = QStringLiteral("S");
    auto readInt = [&](const char* key) { return profile.ReadInt(s, QString::fromLatin1(key), -1); };
    EXPECT_EQ(readInt("Hex"), 16);
    EXPECT_EQ(readInt("HexUpper"), 31);
    EXPECT_EQ(readInt("NegHex"), -31);
    EXPECT_EQ(readInt("Tail"), -12);
    EXPECT_EQ(readInt("Plus"), 7);
    EXPECT_EQ(readInt("Empty"), -1);
    EXPECT_EQ(readInt("Missing"), -1);
    EXPECT_EQ(readInt("Word"), 0);
    EXPECT_EQ(readInt("Big"), INT_MAX);
    EXPECT_EQ(readInt("Small"), INT_MIN);
    EXPECT_EQ(readInt("Bare"), 0);
    EXPECT_EQ(readInt("Quoted"), 5);
    EXPECT_EQ(readInt("Octal"), 10); // the integer read is decimal

    CSection section(profile, s);
    auto readLong = [&](const char* key, long def = -5) {
        long value = 0;
        section.Read(QString::fromLatin1(key), value, def);
        return value;
    };
    EXPECT_EQ(readLong("Hex"), 16);
    EXPECT_EQ(readLong("NegHex"), -31);
    EXPECT_EQ(readLong("Octal"), 8);
    EXPECT_EQ(readLong("BadOctal"), 0);
    EXPECT_EQ(readLong("Bare"), 0);
    EXPECT_EQ(readLong("Empty"), 0);
    EXPECT_EQ(readLong("Word"), 0);
    EXPECT_EQ(readLong("Missing"), -5);
    EXPECT_EQ(readLong("Missing", 0x7fffffffffffL), 0x7fffffffffffL);

    auto readFlag = [&](const char* key, bool def) {
        bool value = !def;
        section.Read(QString::fromLatin1(key), value, def);
        return value;
    };
    EXPECT_TRUE(readFlag("Two", false));
    EXPECT_FALSE(readFlag("Zero", true));
    EXPECT_TRUE(readFlag("Missing", true));
    EXPECT_FALSE(readFlag("Word", true));
}

TEST_F(ProfileTest, WritesKeepOtherLinesAndPlaceNewKeysAndSections)
{
    const QString path = NewFile("write.cfg",
        "; top comment\r\n"
        "\r\n"
        "[Settings]\r\n"
        "Language=1\r\n"
        "; end of settings\r\n"
        "\r\n"
        "[Window]\r\n"
        "WindowX = 5\r\n");
    CProfile profile(path);
    EXPECT_TRUE(profile.WriteString(kSettings, QStringLiteral("Password"), QStringLiteral("abc")));
    EXPECT_TRUE(
        profile.WriteString(QStringLiteral("SETTINGS"), QStringLiteral("LANGUAGE"), QStringLiteral("3")));
    EXPECT_TRUE(
        profile.WriteString(QStringLiteral("Holiday1"), QStringLiteral("HolidayName"), QStringLiteral("X")));
    EXPECT_TRUE(
        profile.WriteString(QStringLiteral("Window"), QStringLiteral("WindowY"), QStringLiteral("6")));
    EXPECT_EQ(FileBytes(path),
        "; top comment\r\n"
        "\r\n"
        "[Settings]\r\n"
        "LANGUAGE=3\r\n"
        "Password=abc\r\n"
        "; end of settings\r\n"
        "\r\n"
        "[Window]\r\n"
        "WindowX = 5\r\n"
        "WindowY=6\r\n"
        "[Holiday1]\r\n"
        "HolidayName=X\r\n");
    EXPECT_EQ(profile.ReadString(kSettings, QStringLiteral("language"), "d"), "3");

    // Writing the value a line already holds leaves the file alone.
    const QByteArray before = FileBytes(path);
    EXPECT_TRUE(profile.WriteString(kSettings, QStringLiteral("Password"), QStringLiteral("abc")));
    EXPECT_EQ(FileBytes(path), before);

    // Writing into a missing file creates it.
    CProfile fresh(PathOf("fresh.cfg"));
    EXPECT_TRUE(fresh.WriteString(kSettings, QStringLiteral("Language"), QStringLiteral("2")));
    EXPECT_EQ(FileBytes(fresh.Path()), "[Settings]\r\nLanguage=2\r\n");
}

TEST_F(ProfileTest, DeletionRules)
{
    const QString path = NewFile("delete.cfg",
        "[Barrage1]\r\n"
        "BarrageName=A\r\n"
        "DateType=3\r\n"
        "; note\r\n"
        "[Dup]\r\n"
        "20240304=07:00-15:30\r\n"
        "20240304=15:30-24:00\r\n"
        "[Dup]\r\n"
        "Second=yes\r\n");
    CProfile profile(path);
    CSection barrage(profile, QStringLiteral("Barrage"), 1);
    EXPECT_EQ(barrage.Name(), "Barrage1");

    // A value equal to the default removes the line; reading gives the default back.
    EXPECT_TRUE(barrage.Write(QStringLiteral("DateType"), 0, 0));
    int dateType = -1;
    barrage.Read(QStringLiteral("DateType"), dateType, 0);
    EXPECT_EQ(dateType, 0);
    EXPECT_FALSE(FileBytes(path).contains("DateType"));
    EXPECT_TRUE(barrage.Write(QStringLiteral("BarrageName"), QStringLiteral("Same"), QStringLiteral("Same")));
    EXPECT_EQ(profile.ReadString(barrage.Name(), QStringLiteral("BarrageName"), "gone"), "gone");
    // With the last entry gone, a new key goes right after the header, in front of the comment.
    EXPECT_TRUE(barrage.Write(QStringLiteral("BarrageType"), 2));
    EXPECT_TRUE(FileBytes(path).startsWith("[Barrage1]\r\nBarrageType=2\r\n; note\r\n[Dup]"));

    // A null value deletes the first of duplicate keys; the next one becomes visible.
    const QString dup = QStringLiteral("Dup");
    const QString date = QStringLiteral("20240304");
    EXPECT_TRUE(profile.WriteString(dup, date, QString()));
    EXPECT_EQ(profile.ReadString(dup, date, "d"), "15:30-24:00");
    CSection(profile, dup).DeleteKey(date);
    EXPECT_EQ(profile.ReadString(dup, date, "d"), "d");

    // A null key with a null value deletes the first section of that name.
    EXPECT_EQ(profile.ReadString(dup, QStringLiteral("Second"), "d"), "d");
    EXPECT_TRUE(profile.WriteString(dup, QString(), QString()));
    EXPECT_EQ(profile.ReadString(dup, QStringLiteral("Second"), "d"), "yes");
    EXPECT_TRUE(CSection(profile, dup).Delete());
    EXPECT_EQ(FileBytes(path), "[Barrage1]\r\nBarrageType=2\r\n; note\r\n");

    // A null key with a value is refused instead of costing the section.
    EXPECT_FALSE(profile.WriteString(barrage.Name(), QString(), QStringLiteral("x")));
    EXPECT_EQ(profile.ReadInt(barrage.Name(), QStringLiteral("BarrageType"), 0), 2);
}

TEST_F(ProfileTest, LargeSectionsFollowTheSameRules)
{
    // A dispatch file: many range lines under date keys, each date twice.
    QByteArray bytes = "[Settings]\r\nName=Group\r\n";
    for (const char* range : { "07:00-15:30", "15:30-24:00" }) {
        for (int day = 1; day <= 15; ++day)
            bytes += QByteArray("202403") + (day < 10 ? "0" : "") + QByteArray::number(day) + "=" + range
                + "\r\n";
    }
    bytes += "; end\r\n";
    const QString path = NewFile("-40.tim", bytes);
    CProfile profile(path);
    const QString settings = QStringLiteral("SETTINGS");
    EXPECT_EQ(profile.ReadString(settings, QStringLiteral("20240305"), "d"), "07:00-15:30");
    EXPECT_TRUE(profile.WriteString(settings, QStringLiteral("20240305"), QString()));
    EXPECT_EQ(profile.ReadString(settings, QStringLiteral("20240305"), "d"), "15:30-24:00");
    EXPECT_TRUE(profile.WriteString(settings, QStringLiteral("20240301"), QStringLiteral("08:00-09:00")));
    EXPECT_TRUE(FileBytes(path).startsWith("[Settings]\r\nName=Group\r\n20240301=08:00-09:00\r\n20240302="));
    EXPECT_TRUE(profile.WriteString(settings, QStringLiteral("CurrentTargetID"), QStringLiteral("17")));
    EXPECT_TRUE(FileBytes(path).endsWith("20240315=15:30-24:00\r\nCurrentTargetID=17\r\n; end\r\n"));
    EXPECT_EQ(profile.ReadInt(QStringLiteral("settings"), QStringLiteral("currenttargetid"), 0), 17);

    // A section that grows large through writes keeps finding its keys, first duplicates first.
    const QString grow = QStringLiteral("Grow");
    for (int i = 0; i < 40; ++i)
        profile.WriteString(grow, QStringLiteral("K%1").arg(i), QString::number(i));
    {
        CProfile::Batch batch(profile);
        for (int i = 0; i < 40; i += 2)
            profile.WriteString(grow, QStringLiteral("k%1").arg(i), QString());
    }
    int found = 0;
    for (int i = 0; i < 40; ++i)
        found += profile.ReadInt(grow, QStringLiteral("K%1").arg(i), -1) == i ? 1 : 0;
    EXPECT_EQ(found, 20);
    EXPECT_TRUE(CSection(profile, settings).Delete());
    QStringList names;
    EXPECT_EQ(profile.GetSectionNames(names), 1);
    EXPECT_EQ(profile.ReadString(settings, QStringLiteral("20240302"), "d"), "d");
    EXPECT_TRUE(FileBytes(path).startsWith("[Grow]\r\nK1=1\r\nK3=3\r\n"));

    // A large section written again after its deletion knows nothing of the old one.
    for (int day = 10; day <= 30; ++day)
        profile.WriteString(settings, QStringLiteral("202403%1").arg(day), QStringLiteral("new"));
    EXPECT_EQ(profile.ReadString(settings, QStringLiteral("20240312"), "d"), "new");
    EXPECT_EQ(profile.ReadString(settings, QStringLiteral("20240302"), "d"), "d");
    EXPECT_TRUE(profile.WriteString(settings, QStringLiteral("20240312"), QString()));
    EXPECT_EQ(profile.ReadString(settings, QStringLiteral("20240312"), "d"), "d");
}

TEST_F(ProfileTest, QuotingAndLineBreaksRoundTrip)
{
    CProfile profile(PathOf("quote.cfg"));
    CSection shift(profile, QStringLiteral("Shift"), 2);
    auto roundTrip = [&](const QString& text) {
        shift.Write(QStringLiteral("ShiftName"), text);
        QString back;
        shift.Read(QStringLiteral("ShiftName"), back, QStringLiteral("missing"));
        return back;
    };
    EXPECT_EQ(roundTrip(QStringLiteral(" Night shift ")), " Night shift ");
    EXPECT_TRUE(FileBytes(profile.Path()).contains("ShiftName=\" Night shift \"\r\n"));
    EXPECT_EQ(roundTrip(QStringLiteral("\tTab")), "\tTab");
    EXPECT_EQ(roundTrip(QStringLiteral("\"quoted\"")), "\"quoted\"");
    EXPECT_EQ(roundTrip(QStringLiteral("plain")), "plain");
    EXPECT_TRUE(FileBytes(profile.Path()).contains("ShiftName=plain\r\n"));
    EXPECT_EQ(roundTrip(QStringLiteral("line one\r\nline two\n")), "line one  line two ");
    EXPECT_EQ(roundTrip(QStringLiteral("")), "");

    // The plain string write replaces line breaks too, and never quotes.
    profile.WriteString(
        QStringLiteral("Settings"), QStringLiteral("TakeoverRequest"), QStringLiteral("a\rb\nc "));
    EXPECT_TRUE(FileBytes(profile.Path()).contains("TakeoverRequest=a b c \r\n"));
    EXPECT_EQ(FileBytes(profile.Path()).count("\n"), FileBytes(profile.Path()).count("\r\n"));

    // Names that would read back as another name are refused; the file stays as it was.
    const QByteArray before = FileBytes(profile.Path());
    EXPECT_FALSE(profile.WriteString(kSettings, QStringLiteral("a=b"), QStringLiteral("1")));
    EXPECT_FALSE(profile.WriteString(kSettings, QStringLiteral("[x"), QStringLiteral("1")));
    EXPECT_FALSE(profile.WriteString(QStringLiteral("a]b"), QStringLiteral("k"), QStringLiteral("1")));
    EXPECT_EQ(FileBytes(profile.Path()), before);

    // A read is cut to the longest value the program handles.
    shift.Write(QStringLiteral("Long"), QString(70000, u'x'));
    QString longValue;
    shift.Read(QStringLiteral("Long"), longValue, QString());
    EXPECT_EQ(longValue.size(), CProfile::kMaxValueLength);
    // The cut does not split a character outside the basic plane.
    shift.Write(
        QStringLiteral("Long"), QString(CProfile::kMaxValueLength - 1, u'x') + QStringLiteral("\U0001F600"));
    shift.Read(QStringLiteral("Long"), longValue, QString());
    EXPECT_EQ(longValue.size(), CProfile::kMaxValueLength - 1);
}

TEST_F(ProfileTest, TextEncodingAndLineEnds)
{
    // Windows-1252, as carried over from a Windows installation.
    const QString legacy = NewFile("legacy.cfg", "[Settings]\r\nName=M\xFCller \x80\r\n");
    CProfile profile(legacy);
    EXPECT_EQ(
        profile.ReadString(kSettings, QStringLiteral("Name"), "d"), QStringLiteral("M\u00FCller \u20AC"));
    profile.WriteString(kSettings, QStringLiteral("Language"), QStringLiteral("1"));
    EXPECT_EQ(FileBytes(legacy), "[Settings]\r\nName=M\xC3\xBCller \xE2\x82\xAC\r\nLanguage=1\r\n");
    EXPECT_EQ(
        profile.ReadString(kSettings, QStringLiteral("Name"), "d"), QStringLiteral("M\u00FCller \u20AC"));

    // LF-only files read the same and are written back with CR LF; a byte order mark stays.
    const QString unix = NewFile("unix.cfg", "\xEF\xBB\xBF[Settings]\nName=\xC3\xA9t\xC3\xA9\nLast=1");
    CProfile lf(unix);
    EXPECT_EQ(lf.ReadString(kSettings, QStringLiteral("Name"), "d"), QStringLiteral("\u00E9t\u00E9"));
    EXPECT_EQ(lf.ReadString(kSettings, QStringLiteral("Last"), "d"), "1");
    lf.WriteString(kSettings, QStringLiteral("Last"), QStringLiteral("2"));
    EXPECT_EQ(FileBytes(unix), "\xEF\xBB\xBF[Settings]\r\nName=\xC3\xA9t\xC3\xA9\r\nLast=2\r\n");

    // UTF-16 with a byte order mark (an editor's "Unicode" save), little and big endian, is read and
    // written back as such; a file that is not text reads as empty and refuses writes.
    for (const bool little : { true, false }) {
        const auto utf16 = [little](const char* text) {
            QByteArray out = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
            for (const QChar c : QString::fromUtf8(text)) {
                const char lo = char(c.unicode() & 0xFF), hi = char(c.unicode() >> 8);
                out += little ? lo : hi;
                out += little ? hi : lo;
            }
            return out;
        };
        const QString wide
            = NewFile(little ? "le.cfg" : "be.cfg", utf16("[Settings]\r\nName=M\xC3\xBCller\r\n"));
        CProfile profile16(wide);
        EXPECT_EQ(
            profile16.ReadString(kSettings, QStringLiteral("Name"), "d"), QStringLiteral("M\u00FCller"));
        ASSERT_TRUE(profile16.WriteString(kSettings, QStringLiteral("Language"), QStringLiteral("1")));
        EXPECT_EQ(FileBytes(wide), utf16("[Settings]\r\nName=M\xC3\xBCller\r\nLanguage=1\r\n"));
        EXPECT_TRUE(profile16.State().problem.isEmpty());
    }
    const QString binary = NewFile("binary.cfg", QByteArray("[Settings]\r\nName=a\0b\r\n", 20));
    CProfile garbage(binary);
    EXPECT_EQ(garbage.ReadString(kSettings, QStringLiteral("Name"), "d"), "d");
    EXPECT_TRUE(garbage.State().problem.startsWith(QLatin1String("not text")));
    EXPECT_FALSE(garbage.WriteString(kSettings, QStringLiteral("Name"), QStringLiteral("x")));
    EXPECT_EQ(FileBytes(binary).size(), 20);

    // A lone CR ends a line too, so no name read from the file holds a line break, and a name
    // given with a line break finds what a write under that name stored.
    const QString mac = NewFile("mac.cfg", "[Set\rtings]\rA=1\r");
    CProfile cr(mac);
    QStringList names;
    EXPECT_EQ(cr.GetSectionNames(names), 1);
    EXPECT_EQ(names, QStringList { QStringLiteral("Set") });
    EXPECT_EQ(cr.ReadString(QStringLiteral("Set"), QStringLiteral("A"), "d"), "1");
    ASSERT_TRUE(cr.WriteString(QStringLiteral("Set\ntings"), QStringLiteral("B\r"), QStringLiteral("2")));
    EXPECT_EQ(cr.ReadString(QStringLiteral("Set\ntings"), QStringLiteral("B\r"), "d"), "2");
    EXPECT_EQ(cr.ReadString(QStringLiteral("Set tings"), QStringLiteral("B"), "d"), "2");
}

TEST_F(ProfileTest, ChangesOnDiskAreSeenByTheNextRead)
{
    const QString path = PathOf("edit.cfg");
    CProfile profile(path);
    profile.WriteString(kSettings, QStringLiteral("Language"), QStringLiteral("1"));
    EXPECT_EQ(profile.ReadString(kSettings, QStringLiteral("Language"), "d"), "1");

    // Same size, same inode and mostly the same time stamps (an edit within one tick of the
    // file system's clock), so only the content tells.
    for (int round = 0; round < 20; ++round) {
        const QByteArray mine = QByteArray::number(round % 2 ? 3 : 5);
        const QByteArray theirs = QByteArray::number(round % 2 ? 2 : 4);
        profile.WriteString(kSettings, QStringLiteral("Language"), QString::fromLatin1(mine));
        OverwriteInPlace(path, "[Settings]\r\nLanguage=" + theirs + "\r\n");
        ASSERT_EQ(
            profile.ReadString(kSettings, QStringLiteral("Language"), "d"), QString::fromLatin1(theirs));
    }
    // A later write starts from what is on disk.
    profile.WriteString(kSettings, QStringLiteral("OnClose"), QStringLiteral("1"));
    EXPECT_EQ(FileBytes(path), "[Settings]\r\nLanguage=2\r\nOnClose=1\r\n");

    // Another profile object on the same file shares what was written.
    EXPECT_EQ(CProfile(path).ReadInt(kSettings, QStringLiteral("OnClose"), 0), 1);

    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(profile.ReadString(kSettings, QStringLiteral("Language"), "d"), "d");
    OverwriteInPlace(path, "[Settings]\r\nLanguage=4\r\n");
    EXPECT_EQ(profile.ReadString(kSettings, QStringLiteral("Language"), "d"), "4");
}

// Reads of a file that has not changed ask the folder's watch instead of the file system; every way
// a file can change must still be seen by the very next read.
TEST_F(ProfileTest, EveryWayAFileChangesIsSeenByTheNextRead)
{
    const auto write = [](const QString& path, const QByteArray& value) {
        OverwriteInPlace(path, "[Settings]\r\nValue=" + value + "\r\n");
    };
    const auto replace = [](const QString& path, const QByteArray& value) {
        QSaveFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\r\nValue=" + value + "\r\n");
        ASSERT_TRUE(file.commit());
    };
    // Written in place with the time stamps set back: only the content tells.
    const auto writeSameTime = [&](const QString& path, const QByteArray& value) {
        struct stat before
        {
        };
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
        write(path, value);
        const timespec times[2] = { before.st_atim, before.st_mtim };
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    };
    QDir dir(m_dir.path());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("folder")) && dir.mkpath(QStringLiteral("elsewhere")));
    const QString elsewhere = PathOf("elsewhere/target.tim");
    write(elsewhere, "0");

    struct CCase
    {
        const char* name;
        std::function<void(const QString& path)> prepare;
        std::function<void(const QString& path, const QByteArray& value)> change;
    };
    const std::vector<CCase> cases {
        { "written in place", nullptr, write },
        { "in place, same time stamps", nullptr, writeSameTime },
        { "renamed away and replaced", nullptr, replace },
        { "removed, then created", nullptr,
            [&](const QString& path, const QByteArray& value) {
                ASSERT_TRUE(QFile::remove(path));
                write(path, value);
            } },
        { "a symbolic link whose target changes in another folder",
            [&](const QString& path) { ASSERT_TRUE(QFile::link(elsewhere, path)); },
            [&](const QString&, const QByteArray& value) { write(elsewhere, value); } },
        { "a second name in another folder written in place",
            [&](const QString& path) {
                ASSERT_EQ(
                    ::link(QFile::encodeName(elsewhere).constData(), QFile::encodeName(path).constData()), 0);
            },
            [&](const QString&, const QByteArray& value) { writeSameTime(elsewhere, value); } },
        { "its folder renamed away and another put in its place", nullptr,
            [&](const QString& path, const QByteArray& value) {
                ASSERT_TRUE(dir.rename(
                    QStringLiteral("folder"), QStringLiteral("old-%1").arg(QString::fromLatin1(value))));
                ASSERT_TRUE(dir.mkpath(QStringLiteral("folder")));
                write(path, value);
            } },
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = PathOf("folder/file.tim");
        QFile::remove(path);
        write(elsewhere, "0");
        if (c.prepare)
            c.prepare(path);
        else
            write(path, "0");
        CProfile profile(path);
        ASSERT_EQ(profile.ReadInt(kSettings, QStringLiteral("Value"), -1), 0);
        for (int value = 1; value <= 3; ++value) {
            ASSERT_EQ(profile.ReadInt(kSettings, QStringLiteral("Value"), -1), value - 1);
            c.change(path, QByteArray::number(value));
            EXPECT_EQ(profile.ReadInt(kSettings, QStringLiteral("Value"), -1), value);
        }
        QFile::remove(path);
    }
}

// A thread whose event loop takes in the watch's events trusts what was taken in last; a change
// no event tells of (a folder further up renamed) is seen within the recheck time.
TEST_F(ProfileTest, AnEventLoopTakesInTheWatchAndNothingStaysUnseenLongerThanTheRecheck)
{
    QDir dir(m_dir.path());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("up/data")));
    const QString path = PathOf("up/data/file.tim");
    OverwriteInPlace(path, "[Settings]\r\nValue=1\r\n");
    CProfile profile(path);
    const CFileWatch::CLoopTakesEvents loop;
    ASSERT_EQ(profile.ReadInt(kSettings, QStringLiteral("Value"), -1), 1);
    OverwriteInPlace(path, "[Settings]\r\nValue=2\r\n");
    CFileWatch::TakeEvents();
    EXPECT_EQ(profile.ReadInt(kSettings, QStringLiteral("Value"), -1), 2);

    // The folder above is swapped for one with another file: no event reaches the watch.
    ASSERT_TRUE(dir.rename(QStringLiteral("up"), QStringLiteral("up-old")));
    ASSERT_TRUE(dir.mkpath(QStringLiteral("up/data")));
    OverwriteInPlace(path, "[Settings]\r\nValue=3\r\n");
    CFileWatch::TakeEvents();
    const auto start = std::chrono::steady_clock::now();
    while (profile.ReadInt(kSettings, QStringLiteral("Value"), -1) != 3
        && std::chrono::steady_clock::now() - start < std::chrono::seconds(3))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_LE(std::chrono::steady_clock::now() - start,
        std::chrono::nanoseconds(CFileWatch::kRecheckNs) + std::chrono::milliseconds(200));
    EXPECT_EQ(profile.ReadInt(kSettings, QStringLiteral("Value"), -1), 3);
}

// The same edits, once write by write and once in a batch (as list saving does).
void ApplyEdits(CProfile& profile)
{
    CSection settings(profile, kSettings);
    settings.Write(QStringLiteral("Language"), 3);
    settings.Write(QStringLiteral("Password"), QStringLiteral(" secret "));
    settings.DeleteKey(QStringLiteral("OnClose"));
    CSection(profile, QStringLiteral("WorkDays")).Delete();
    SaveNumberedSections(profile, QStringLiteral("Holiday"), 3, [](qsizetype i, CSection& section) {
        section.Write(QStringLiteral("HolidayName"), QStringLiteral("Day %1").arg(i));
        section.Write(QStringLiteral("HolidayDate"), QStringLiteral("2024-01-0%1").arg(i + 1));
    });
    settings.Write(QStringLiteral("Language"), 4);
    profile.WriteString(QStringLiteral("Window"), QStringLiteral("WindowX"), QStringLiteral("10"));
}

TEST_F(ProfileTest, BatchIsByteIdenticalToSingleWrites)
{
    const QByteArray start
        = "; kept\r\n[Settings]\r\nLanguage=1\r\nOnClose=2\r\n\r\n[WorkDays]\r\nMonday=1\r\n"
          "[Holiday1]\r\nHolidayName=Old\r\n[Holiday5]\r\nHolidayName=Far\r\n";
    const QString single = NewFile("single.cfg", start);
    const QString batched = NewFile("batched.cfg", start);

    CProfile one(single);
    ApplyEdits(one);

    CProfile many(batched);
    {
        CProfile::Batch batch(many);
        ApplyEdits(many);
        {
            CProfile::Batch inner(many);
            many.WriteString(kSettings, QStringLiteral("Extra"), QStringLiteral("1"));
            EXPECT_TRUE(inner.Commit());
        }
        many.WriteString(kSettings, QStringLiteral("Extra"), QString());
        // Reads inside the batch see the writes; the file is untouched until the end.
        EXPECT_EQ(many.ReadInt(kSettings, QStringLiteral("Language"), 0), 4);
        EXPECT_EQ(FileBytes(batched), start);
        EXPECT_TRUE(batch.Commit());
    }
    EXPECT_EQ(FileBytes(batched), FileBytes(single));
    EXPECT_TRUE(
        FileBytes(single).startsWith("; kept\r\n[Settings]\r\nLanguage=4\r\nPassword=\" secret \"\r\n\r\n"));
}

TEST_F(ProfileTest, FailedWritesLeaveReadsConsistentWithDisk)
{
    const QString nowhere = PathOf("missing-folder/k.cfg");
    CProfile profile(nowhere);
    EXPECT_FALSE(profile.WriteString(kSettings, QStringLiteral("Language"), QStringLiteral("1")));
    EXPECT_EQ(profile.ReadString(kSettings, QStringLiteral("Language"), "d"), "d");
    {
        CProfile::Batch batch(profile);
        EXPECT_TRUE(profile.WriteString(kSettings, QStringLiteral("Language"), QStringLiteral("2")));
        EXPECT_EQ(profile.ReadString(kSettings, QStringLiteral("Language"), "d"), "2");
        EXPECT_FALSE(batch.Commit());
    }
    EXPECT_EQ(profile.ReadString(kSettings, QStringLiteral("Language"), "d"), "d");
    EXPECT_FALSE(QFile::exists(nowhere));

    // A file too large to read is never replaced by the few keys written to it.
    const QString huge = PathOf("huge.cfg");
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\r\nLanguage=1\r\n");
        ASSERT_TRUE(file.resize(CProfile::kMaxFileBytes + 1));
    }
    CProfile big(huge);
    EXPECT_EQ(big.ReadString(kSettings, QStringLiteral("Language"), "d"), "d");
    EXPECT_FALSE(big.WriteString(kSettings, QStringLiteral("Language"), QStringLiteral("2")));
    EXPECT_EQ(QFile(huge).size(), CProfile::kMaxFileBytes + 1);

    // A write cut short by the file system (here a file-size limit) is reported as failed and
    // leaves the old file whole.
    const QString limited = NewFile("limited.cfg", "[Settings]\r\nLanguage=1\r\n");
    CProfile small(limited);
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit cut = saved;
    cut.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &cut), 0);
    const bool stored = small.WriteString(kSettings, QStringLiteral("Long"), QString(3000, u'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
    EXPECT_FALSE(stored);
    EXPECT_EQ(FileBytes(limited), "[Settings]\r\nLanguage=1\r\n");
    EXPECT_EQ(small.ReadString(kSettings, QStringLiteral("Long"), "d"), "d");
}

// Records of the numbered-section tests: a name and a number.
struct CTestRecord
{
    QString name;
    int number = 0;
};

bool LoadRecord(CProfile& profile, CTestRecord& record, int index)
{
    CSection section(profile, QStringLiteral("Barrage"), index);
    section.Read(QStringLiteral("BarrageName"), record.name, QString());
    section.Read(QStringLiteral("BarragePriority"), record.number, 0);
    return !record.name.isEmpty();
}

bool SaveRecords(CProfile& profile, const QList<CTestRecord>& records)
{
    return SaveNumberedSections(
        profile, QStringLiteral("Barrage"), records.size(), [&records](qsizetype i, CSection& section) {
            section.Write(QStringLiteral("BarrageName"), records[i].name);
            section.Write(QStringLiteral("BarragePriority"), records[i].number, 0);
        });
}

QList<CTestRecord> LoadRecords(CProfile& profile)
{
    QList<CTestRecord> records { { QStringLiteral("stale"), 1 } };
    LoadNumberedSections(profile, records,
        [&profile](CTestRecord& record, int index) { return LoadRecord(profile, record, index); });
    return records;
}

TEST_F(ProfileTest, NumberedSectionsShorterListOverLongerOne)
{
    CProfile profile(PathOf("list.cfg"));
    QList<CTestRecord> five;
    for (int i = 1; i <= 5; ++i)
        five.append({ QStringLiteral("B%1").arg(i), i });
    ASSERT_TRUE(SaveRecords(profile, five));
    ASSERT_EQ(LoadRecords(profile).size(), 5);

    ASSERT_TRUE(SaveRecords(
        profile, { { QStringLiteral("X"), 0 }, { QStringLiteral("Y"), 2 }, { QStringLiteral("Z"), 3 } }));
    const QList<CTestRecord> loaded = LoadRecords(profile);
    ASSERT_EQ(loaded.size(), 3);
    EXPECT_EQ(loaded[0].name, "X");
    EXPECT_EQ(loaded[0].number, 0);
    EXPECT_EQ(loaded[2].name, "Z");
    QStringList names;
    profile.GetSectionNames(names);
    EXPECT_FALSE(names.contains(QStringLiteral("Barrage4")));
    EXPECT_EQ(profile.ReadString(QStringLiteral("Barrage5"), QStringLiteral("BarrageName"), "d"), "B5");
    EXPECT_EQ(profile.ReadInt(QStringLiteral("Barrage5"), QStringLiteral("BarragePriority"), 0), 5);
    // Record 1 had a priority of 1 before; the default 0 now leaves no line.
    EXPECT_EQ(
        profile.ReadString(QStringLiteral("Barrage1"), QStringLiteral("BarragePriority"), "none"), "none");
}

TEST_F(ProfileTest, NumberedSectionsEmptyListAndGaps)
{
    CProfile profile(PathOf("gaps.cfg"));
    ASSERT_TRUE(SaveRecords(
        profile, { { QStringLiteral("A"), 1 }, { QStringLiteral("B"), 2 }, { QStringLiteral("C"), 3 } }));
    ASSERT_TRUE(SaveRecords(profile, {}));
    EXPECT_TRUE(LoadRecords(profile).isEmpty());
    EXPECT_EQ(profile.ReadString(QStringLiteral("Barrage2"), QStringLiteral("BarrageName"), "d"), "B");

    // Loading stops at the first record that does not load.
    profile.WriteString(QStringLiteral("Barrage1"), QStringLiteral("BarrageName"), QStringLiteral("A"));
    profile.WriteString(QStringLiteral("Barrage2"), QStringLiteral("BarrageName"), QStringLiteral(""));
    EXPECT_EQ(LoadRecords(profile).size(), 1);

    // A record's own save clears its section and the next one, like the list save.
    ClearNumberedSection(profile, QStringLiteral("Barrage"), 1);
    QStringList names;
    profile.GetSectionNames(names);
    EXPECT_EQ(names, QStringList({ QStringLiteral("Barrage3") }));
}

TEST_F(ProfileTest, ConcurrentReadersAndWriters)
{
    // The pipe thread writes a group's current target while the user-interface thread saves
    // lists into the configuration file and reads the same dispatch file.
    const QString config = PathOf("config.cfg");
    const QString dispatch
        = NewFile("-40.tim", "[Settings]\r\nName=Group\r\nTakeover=1\r\n20240304=07:00-15:30\r\n");
    constexpr int kRounds = 40;
    int pipeMismatches = 0;
    int uiMismatches = 0;

    std::thread pipe([&] {
        for (int i = 0; i < kRounds; ++i) {
            CProfile file(dispatch);
            file.WriteString(kSettings, QStringLiteral("CurrentTargetID"), QString::number(i));
            if (file.ReadInt(kSettings, QStringLiteral("CurrentTargetID"), -1) != i)
                ++pipeMismatches;
            if (file.ReadString(kSettings, QStringLiteral("20240304"), QString()) != "07:00-15:30")
                ++pipeMismatches;
        }
    });
    for (int i = 0; i < kRounds; ++i) {
        CProfile file(config);
        QList<CTestRecord> records;
        for (int r = 0; r <= i % 5; ++r)
            records.append({ QStringLiteral("R%1").arg(r), i });
        SaveRecords(file, records);
        const QList<CTestRecord> loaded = LoadRecords(file);
        if (loaded.size() != records.size() || loaded.back().number != i)
            ++uiMismatches;
        CProfile group(dispatch);
        CProfile::Batch batch(group);
        if (group.ReadString(kSettings, QStringLiteral("Name"), QString()) != "Group")
            ++uiMismatches;
        group.WriteString(kSettings, QStringLiteral("Takeover"), QString::number(i % 2));
    }
    pipe.join();
    EXPECT_EQ(pipeMismatches, 0);
    EXPECT_EQ(uiMismatches, 0);
    CProfile::DropCachedFiles();
    const CProfile fromDisk(dispatch);
    EXPECT_EQ(fromDisk.ReadInt(kSettings, QStringLiteral("CurrentTargetID"), -1), kRounds - 1);
    EXPECT_EQ(fromDisk.ReadInt(kSettings, QStringLiteral("Takeover"), -1), (kRounds - 1) % 2);
}

} // namespace
