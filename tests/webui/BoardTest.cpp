// The status board's own rules without a socket: listen addresses, the page language, and what
// the board says of a group (who is on duty now, who comes on and goes off next).
#include "webui/Board.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include <QDateTime>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "webui/BoardPages.h"
#include "webui/WebServer.h"

#include "FakeServerCommand.h"

TEST(WebOptionsTest, ListenAddressesReadAsPeopleWriteThem)
{
    struct CCase
    {
        const char* text;
        bool ok;
        const char* address;
        quint16 port;
    };
    const CCase cases[] = {
        { "127.0.0.1:8470", true, "127.0.0.1", 8470 },
        { "0.0.0.0:80", true, "0.0.0.0", 80 },
        { "[::1]:0", true, "::1", 0 },
        { "*:8470", true, "0.0.0.0", 8470 }, // every address (IPv4 and IPv6)
        { "localhost:9", true, "127.0.0.1", 9 },
        { "8470", false, "", 0 },
        { "::1:8470", false, "", 0 }, // an IPv6 address goes in brackets
        { "127.0.0.1:65536", false, "", 0 },
        { "127.0.0.1:-1", false, "", 0 },
        { "example.org:80", false, "", 0 }, // no name lookups at start
        { "127.0.0.1:", false, "", 0 },
    };
    for (const CCase& test : cases) {
        SCOPED_TRACE(test.text);
        QHostAddress address;
        quint16 port = 1;
        QString error;
        ASSERT_EQ(ParseListen(QString::fromLatin1(test.text), address, port, error), test.ok)
            << error.toStdString();
        if (test.ok) {
            EXPECT_EQ(port, test.port);
            if (QByteArray(test.text).startsWith('*'))
                EXPECT_EQ(address, QHostAddress(QHostAddress::Any));
            else
                EXPECT_EQ(address, QHostAddress(QString::fromLatin1(test.address)));
        } else {
            EXPECT_TRUE(error.contains(QString::fromLatin1(test.text))) << error.toStdString();
        }
    }
}

TEST(PageLanguagesTest, TheParameterFirstThenTheBrowsersWeights)
{
    struct CCase
    {
        const char* parameter;
        const char* header;
        const char* chosen;
    };
    const CCase cases[] = {
        { "", "", "en" },
        { "nl", "de", "nl" },
        { "xx", "fr-CH, fr;q=0.9, en;q=0.8", "fr" },
        { "", "ja, es;q=0.2, de;q=0.5", "de" },
        { "", "deutsch, es", "es" }, // a tag that only begins like one is none
        { "", "en-GB;q=0.1, nl-BE", "nl" },
        { "", "pt-BR", "en" },
        { "DE", "", "de" },
    };
    for (const CCase& test : cases) {
        SCOPED_TRACE(std::string(test.parameter) + " / " + test.header);
        const int chosen
            = CPageLanguages::Choose(QString::fromLatin1(test.parameter), QByteArray(test.header));
        EXPECT_STREQ(CPageLanguages::kCodes[size_t(chosen)], test.chosen);
    }
}

TEST(BoardTest, GroupsShowWhoIsOnNowAndWhoComesAndGoesNext)
{
    CFakeServerCommandFactory server;
    CRightsCheck rights;
    CKelvarisDoc doc(server, rights);
    const auto receiver = [](const char* id, const char* name, const char* ranges) {
        CPageTarget target;
        target.m_id = QString::fromLatin1(id);
        target.m_name = QString::fromLatin1(name);
        for (const QString& line : QString::fromLatin1(ranges).split(u' ', Qt::SkipEmptyParts))
            target.m_ranges.AddFromText(line);
        return target;
    };
    CPageTargetArray targets;
    targets.append(receiver("1", "Anna", "20270104=08:00-12:00"));
    targets.append(receiver("2", "Bert", "20270104=11:00-24:00 20270105=00:00-06:00"));
    targets.append(receiver("3", "Cleo", "20270104=12:00-20:00"));
    CPageTarget group = receiver("9", "Desk", "");
    group.m_number = -1;
    group.m_members = QStringLiteral("Anna;Bert;Cleo;Nobody known");
    targets.append(group);
    doc.PageTargets() = targets;

    struct CCase
    {
        const char* at; // UTC, the site's clock in these tests
        QStringList onDuty;
        const char* next; // empty: none within the week
        QStringList comingOn;
        QStringList goingOff;
    };
    const CCase cases[] = {
        { "2027-01-04T07:00:00", {}, "2027-01-04T08:00:00", { "Anna" }, {} },
        { "2027-01-04T10:00:00", { "Anna" }, "2027-01-04T11:00:00", { "Bert" }, {} },
        // Anna goes and Cleo comes at the same moment: one change.
        { "2027-01-04T11:30:00", { "Anna", "Bert" }, "2027-01-04T12:00:00", { "Cleo" }, { "Anna" } },
        // Bert's duty runs on across midnight: Cleo alone goes at 20:00.
        { "2027-01-04T19:00:00", { "Bert", "Cleo" }, "2027-01-04T20:00:00", {}, { "Cleo" } },
        { "2027-01-04T23:00:00", { "Bert" }, "2027-01-05T06:00:00", {}, { "Bert" } },
        { "2027-01-05T07:00:00", {}, "", {}, {} },
    };
    CBoardBuilder builder;
    for (const CCase& test : cases) {
        SCOPED_TRACE(test.at);
        const qint64 now
            = QDateTime::fromString(QString::fromLatin1(test.at), Qt::ISODate).toMSecsSinceEpoch();
        const CBoard board = builder.Build(doc, now);
        ASSERT_EQ(board.groups.size(), 1);
        const CBoardGroup& desk = board.groups.first();
        EXPECT_EQ(desk.onDutyNow, test.onDuty);
        EXPECT_EQ(desk.nextChangeMs,
            *test.next
                ? QDateTime::fromString(QString::fromLatin1(test.next), Qt::ISODate).toMSecsSinceEpoch()
                : -1);
        EXPECT_EQ(desk.comingOn, test.comingOn);
        EXPECT_EQ(desk.goingOff, test.goingOff);
        EXPECT_EQ(board.receivers.size(), test.onDuty.size()); // the receivers on duty are the members here
    }
    // A second look in the same hour works nothing out again.
    builder.Build(
        doc, QDateTime::fromString(QStringLiteral("2027-01-05T07:30:00"), Qt::ISODate).toMSecsSinceEpoch());
    EXPECT_EQ(builder.Recomputed(), 0);
}

TEST(BoardTest, BuildsWhileTheSocketsThreadDecidesAndSetsHolders)
{
    // The board is built on the engine's thread while the socket's thread decides through a
    // takeover group and makes its members holders; under the thread sanitizer this reports nothing.
    CFakeServerCommandFactory server;
    CRightsCheck rights;
    CKelvarisDoc doc(server, rights);
    CPageTargetArray targets;
    for (int i = 0; i < 4; ++i) {
        CPageTarget member;
        member.m_id = QStringLiteral("R%1").arg(i);
        member.m_name = QStringLiteral("Member %1").arg(i);
        member.m_ranges.AddFromText(
            QStringLiteral("20270104=%1:00-%2:00").arg(i * 6, 2, 10, QLatin1Char('0')).arg(i * 6 + 6));
        targets.append(member);
    }
    CPageTarget group;
    group.m_id = QStringLiteral("G");
    group.m_name = QStringLiteral("Group");
    group.m_number = -1;
    group.m_takeover = true;
    group.m_members = QStringLiteral("Member 0;Member 1;Member 2;Member 3");
    targets.append(group);
    doc.PageTargets() = targets;

    std::atomic<bool> stop { false };
    std::atomic<int> decisions { 0 };
    std::thread socket([&] {
        for (int i = 0; !stop.load(); ++i) {
            doc.CheckDispatching(QStringLiteral("R%1").arg(i % 4), QStringLiteral("G"),
                QStringLiteral("2027-01-04 %1:30:00").arg(i % 24, 2, 10, QLatin1Char('0')));
            decisions.fetch_add(1);
        }
    });
    for (int spin = 0; decisions.load() == 0 && spin < 10'000; ++spin)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    CBoardBuilder builder;
    const qint64 start
        = QDateTime::fromString(QStringLiteral("2027-01-04T00:30:00"), Qt::ISODate).toMSecsSinceEpoch();
    for (int round = 0; round < 200; ++round) {
        const CBoard board = builder.Build(doc, start + qint64(round) * 360'000);
        ASSERT_EQ(board.groups.size(), 1);
        EXPECT_EQ(board.groups.first().onDutyNow.size(), 1);
    }
    stop.store(true);
    socket.join();
    EXPECT_GT(decisions.load(), 0);
}
