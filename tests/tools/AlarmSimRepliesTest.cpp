#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "schedule/TextList.h"

#include "AlarmSim.h"

namespace {

class AlarmSimReplies : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    // Writes a targets file and loads it.
    bool Load(const QByteArray& text)
    {
        const QString path = m_dir.filePath(QStringLiteral("targets%1.cfg").arg(++m_files));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return false;
        file.close();
        m_warnings.clear();
        return m_replies.LoadTargets(path, m_warnings);
    }

    QTemporaryDir m_dir;
    int m_files = 0;
    CAlarmSimReplies m_replies;
    QStringList m_warnings;
};

const char kTargets[] = "[Target1]\r\nName=Anna Berger\r\nNumber=3\r\nID=17\r\nColour=0x0000FFFF\r\n"
                        "[Target2]\r\nName=Bert Kühn\r\nNumber=4\r\nID=18\r\nColour=16711680\r\n"
                        "[Target3]\r\nName=Ops (night)\r\nNumber=-0x2\r\nID=40\r\n"
                        "Members= Anna Berger ;;Bert Kühn;\"Ghost\"\r\n"
                        "[Target4]\r\nName=Empty group\r\nNumber=-3\r\nID=41\r\n";

} // namespace

TEST_F(AlarmSimReplies, TargetsFileIsReadInOrderUntilASectionHasNoName)
{
    ASSERT_TRUE(
        Load(QByteArray(kTargets) + "[Target5]\r\nNumber=9\r\nID=99\r\n" // no name: the list ends here
            + "[Target6]\r\nName=After the end\r\nID=100\r\n"));
    EXPECT_TRUE(m_warnings.isEmpty()) << m_warnings.join(u'\n').toStdString();
    const QList<CSimTarget>& targets = m_replies.Targets();
    ASSERT_EQ(targets.size(), 4);
    EXPECT_EQ(targets[0].name, QStringLiteral("Anna Berger"));
    EXPECT_EQ(targets[0].colour, 0xFFFFu);
    EXPECT_EQ(targets[1].name, QStringLiteral("Bert Kühn"));
    EXPECT_EQ(targets[1].colour, 0xFF0000u);
    EXPECT_EQ(targets[2].number, -2);
    EXPECT_TRUE(targets[2].IsGroup());
    EXPECT_EQ(targets[2].colour, 0u);
    EXPECT_EQ(targets[2].members,
        (QStringList {
            QStringLiteral("Anna Berger"), QStringLiteral("Bert Kühn"), QStringLiteral("Ghost") }));
    EXPECT_TRUE(targets[3].members.isEmpty());

    EXPECT_TRUE(Load("")) << "an empty file is a list without targets";
    EXPECT_TRUE(m_replies.Targets().isEmpty());
    EXPECT_FALSE(m_replies.LoadTargets(m_dir.filePath(QStringLiteral("missing.cfg")), m_warnings));
    EXPECT_FALSE(m_replies.LoadTargets(m_dir.path(), m_warnings));
}

TEST_F(AlarmSimReplies, TargetsThatCannotTravelInRepliesAreLeftOut)
{
    ASSERT_TRUE(Load("[Target1]\nName=Tab\there\nID=1\n"
                     "[Target2]\nName=Say \"hi\"\nID=2\n"
                     "[Target3]\nName=No ID\n"
                     "[Target4]\nName=Anna\nID=4\nColour=blue\n"
                     "[Target5]\nName=Anna\nID=5\n"
                     "[Target6]\nName=Carl\nID=6\nColour=0x1FFFFFFFF\nMembers=Anna\n"
                     "[Target7]\nName=G\nNumber=-1\nID=7\nMembers=Anna;Bad\tMember;Carl\n"));
    ASSERT_EQ(m_replies.Targets().size(), 3);
    EXPECT_EQ(m_replies.Targets()[0].id, QStringLiteral("4"));
    EXPECT_EQ(m_replies.Targets()[0].colour, 0u);
    EXPECT_TRUE(m_replies.Targets()[1].members.isEmpty()) << "a receiver has no members";
    EXPECT_EQ(
        m_replies.Targets()[2].members, (QStringList { QStringLiteral("Anna"), QStringLiteral("Carl") }));
    // Tab, quote, no ID, taken name, two bad colours, members of a receiver, a bad member.
    EXPECT_EQ(m_warnings.size(), 8) << m_warnings.join(u'\n').toStdString();
    EXPECT_TRUE(m_warnings[0].startsWith(QStringLiteral("[Target1] left out")));
}

TEST_F(AlarmSimReplies, QueriesAnswerAsKelvarisReadsThem)
{
    ASSERT_TRUE(Load(kTargets));

    const CSimReply list = m_replies.Execute(QStringLiteral("[GetValue(Setup.Targets)]"));
    EXPECT_FALSE(list.error);
    EXPECT_EQ(list.text,
        QStringLiteral("Anna Berger\t3\t17\tReceiver\t65535\r\nBert Kühn\t4\t18\tReceiver\t16711680\r\n"
                       "Ops (night)\t-2\t40\tGroup\t0\r\nEmpty group\t-3\t41\tGroup\t0"));
    QStringList lines;
    SplitText(list.text, lines, QStringLiteral("\r\n"), true);
    for (const QString& line : std::as_const(lines)) {
        QStringList fields;
        EXPECT_EQ(SplitText(line, fields, u'\t', true), 5) << line.toStdString();
    }

    // The name is taken unchanged, parentheses included.
    const CSimReply details = m_replies.Execute(QStringLiteral("[GetTarget3(Ops (night))]"));
    QStringList fields;
    ASSERT_EQ(SplitText(details.text, fields, u'\t', true), 17);
    EXPECT_EQ(fields[1], QStringLiteral("-2"));
    EXPECT_EQ(fields[14], QStringLiteral("40"));
    EXPECT_EQ(fields[16], QStringLiteral("0"));
    fields.clear();
    SplitText(m_replies.Execute(QStringLiteral("[GetTarget3(Anna Berger)]")).text, fields, u'\t', true);
    ASSERT_EQ(fields.size(), 17);
    EXPECT_EQ(fields[1], QStringLiteral("3"));
    EXPECT_EQ(fields[14], QStringLiteral("17"));
    EXPECT_EQ(fields[16], QStringLiteral("65535"));
    const CSimReply unknown = m_replies.Execute(QStringLiteral("[GetTarget3(anna berger)]"));
    EXPECT_FALSE(unknown.error);
    EXPECT_TRUE(unknown.text.isEmpty()) << "names match exactly";

    EXPECT_EQ(m_replies.Execute(QStringLiteral("[GetGroupMembers(Ops (night))]")).text,
        QStringLiteral("Anna Berger\tBert Kühn\tGhost"));
    const CSimReply receiver = m_replies.Execute(QStringLiteral("[GetGroupMembers(Anna Berger)]"));
    EXPECT_FALSE(receiver.error);
    EXPECT_TRUE(receiver.text.isEmpty());
    EXPECT_TRUE(m_replies.Execute(QStringLiteral("[GetGroupMembers(Nobody)]")).error);

    EXPECT_EQ(m_replies.Execute(QStringLiteral("[check(Kelvaris)]")).text, QStringLiteral("1"));
    EXPECT_EQ(m_replies.Execute(QStringLiteral("[CHECK()]")).text, QStringLiteral("1"));
    EXPECT_EQ(m_replies.Execute(QStringLiteral("[getvalue(setup.targets)]")).text, list.text);
}

TEST_F(AlarmSimReplies, OtherAndMalformedCommandsGetAnEmptyReply)
{
    ASSERT_TRUE(Load(kTargets));
    for (const char* command : { "[setshift(3)]", "[setvalue(System.BarringActive,1)]",
             "[send2(\"Anna Berger\",\"x\",\"\",0,\"Kelvaris\",\"Time:40\",)]", "[GetValue(Setup.Other)]",
             "[GetValue(Setup.Targets)", "GetValue(Setup.Targets)]", "[GetValue]", "[(Setup.Targets)]",
             "[Get Value(Setup.Targets)]", "[check)(]", "", "[", "[)]", "[()]" }) {
        const CSimReply reply = m_replies.Execute(QString::fromUtf8(command));
        EXPECT_FALSE(reply.error) << command;
        EXPECT_TRUE(reply.text.isEmpty()) << command;
    }
    const CSimReply huge = m_replies.Execute(QStringLiteral("[check(")
        + QString(CAlarmSimReplies::kMaxCommandLength, u'x') + QStringLiteral(")]"));
    EXPECT_TRUE(huge.error);
}

TEST(AlarmSimSend2, ArgumentsAreParsedFromBothEnds)
{
    auto parse = [](const char* command) { return CAlarmSimReplies::ParseSend2(QString::fromUtf8(command)); };

    std::optional<CSend2Request> request = parse(
        "[send2(\"Bert\",\"Please confirm the takeover of duty for Ops\",\"\",0,\"Kelvaris\",\"Time:40\",)]");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->receiver, QStringLiteral("Bert"));
    EXPECT_EQ(request->text, QStringLiteral("Please confirm the takeover of duty for Ops"));
    EXPECT_EQ(request->clientId, QStringLiteral("Time:40"));

    // Commas, quotes and even a quote-comma pair inside the unescaped message text.
    request
        = parse("[send2(\"Bert\",\"[NODISPATCH:1]Hi, \"you\", \"a\",\"b\" end\",\"\",0,\"Kelvaris\",\"\",)]");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->receiver, QStringLiteral("Bert"));
    EXPECT_EQ(request->text, QStringLiteral("[NODISPATCH:1]Hi, \"you\", \"a\",\"b\" end"));
    EXPECT_EQ(request->clientId, QString());

    // A receiver name with a comma; an unquoted number where the text would be.
    request = parse("[send2(\"Ops, North\",7,\"\",0,\"Kelvaris\",\"Time:x\",)]");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->receiver, QStringLiteral("Ops, North"));
    EXPECT_EQ(request->text, QStringLiteral("7"));

    // Too few arguments, other commands, broken quoting: nothing, and no crash.
    for (const char* bad : { "[send2(\"Bert\",\"x\",\"\",0,\"Kelvaris\")]", "[send2()]",
             "[send(\"a\",1,2,3,4,5,)]", "[send2(\"unterminated,,,,,,,)]",
             "send2(\"a\",\"b\",\"\",0,\"K\",\"Time:1\",)", "[send2(\",\",\",)]" })
        EXPECT_FALSE(parse(bad)) << bad;

    // Many quote-comma pairs in the text: one pass, and the text comes back whole.
    const QString body = QStringLiteral("x\",").repeated(50000) + QStringLiteral("end");
    request = CAlarmSimReplies::ParseSend2(
        QStringLiteral("[send2(\"A\",\"") + body + QStringLiteral("\",\"\",0,\"K\",\"Time:9\",)]"));
    ASSERT_TRUE(request);
    EXPECT_EQ(request->text, body);
    EXPECT_EQ(request->clientId, QStringLiteral("Time:9"));

    EXPECT_TRUE(CAlarmSimReplies::IsTakeoverClientId(QStringLiteral("Time:40")));
    EXPECT_FALSE(CAlarmSimReplies::IsTakeoverClientId(QStringLiteral("Time:")));
    EXPECT_FALSE(CAlarmSimReplies::IsTakeoverClientId(QStringLiteral("time:40")));
    EXPECT_FALSE(CAlarmSimReplies::IsTakeoverClientId(QString()));
}

TEST_F(AlarmSimReplies, TakeoverAnswerCarriesClientAndAskedReceiver)
{
    ASSERT_TRUE(Load("[Target1]\nName=Bert\nNumber=2\nID=18\n"
                     "[Target2]\nName=R&D <lab>\nNumber=5\nID=<7&8>\n"));
    CSend2Request request { QStringLiteral("Bert"), QStringLiteral("Please confirm"),
        QStringLiteral("Time:40") };
    EXPECT_EQ(m_replies.TakeoverAnswer(request, TakeoverMode::Confirm),
        QByteArray("<TimeCmd Name=\"HandleResponse\"><ClientID>Time:40</ClientID><TargetID>18</TargetID>"
                   "<Result>1</Result></TimeCmd>"));
    EXPECT_EQ(m_replies.TakeoverAnswer(request, TakeoverMode::Timeout),
        QByteArray("<TimeCmd Name=\"HandleResponse\"><ClientID>Time:40</ClientID><TargetID>18</TargetID>"
                   "<Timeout>1</Timeout></TimeCmd>"));
    EXPECT_TRUE(m_replies.TakeoverAnswer(request, TakeoverMode::Ignore).isEmpty());

    // Text is escaped; an unknown receiver has an empty ID (Kelvaris then takes the member it asked).
    request = { QStringLiteral("R&D <lab>"), QString(), QStringLiteral("Time:a&b<c>") };
    EXPECT_EQ(m_replies.TakeoverAnswer(request, TakeoverMode::Confirm),
        QByteArray("<TimeCmd Name=\"HandleResponse\"><ClientID>Time:a&amp;b&lt;c&gt;</ClientID>"
                   "<TargetID>&lt;7&amp;8&gt;</TargetID><Result>1</Result></TimeCmd>"));
    request.receiver = QStringLiteral("Nobody");
    EXPECT_TRUE(m_replies.TakeoverAnswer(request, TakeoverMode::Confirm).contains("<TargetID></TargetID>"));
}
