// The socket's request handler over strict message bags: a request that is not well-formed gets
// the empty reply and reaches no service; every reply and every queued response is well-formed
// for a strict parser and says what the request said.
#include <gtest/gtest.h>

#include <QStringList>

#include "inbound/RequestHandler.h"
#include "support/ExpatReference.h"
#include "support/XmlMessageBag.h"

namespace {

class CRecordingServices : public CRequestServices
{
public:
    int CheckDispatching(const QString& id, const QString&, const QString&) override
    {
        ids.append(id);
        return 0;
    }
    bool AppendResponse(const QString& text) override
    {
        responses.append(text);
        return true;
    }

    QStringList ids;
    QStringList responses;
};

const QByteArray kEmptyReply("\r\n\0", 3);

// The reply's document, read by the strict parser.
CExpatDocument ReplyDocument(const QByteArray& reply)
{
    EXPECT_TRUE(reply.endsWith(kEmptyReply));
    return ExpatParse(reply.chopped(3).toStdString());
}

} // namespace

TEST(StrictRequest, NotWellFormedRequestsGetTheEmptyReply)
{
    CRecordingServices services;
    const QByteArray requests[] = {
        QByteArray(),
        QByteArray("\0<TimeCmd Name=\"Check\"/>", 25),
        "<TimeCmd Name=\"Check\" Name=\"Check\"/>",
        "<TimeCmd Name=\"CheckDispatching\"><DispatchingID>&unknown;</DispatchingID></TimeCmd>",
        "<TimeCmd Name=\"Check<\"/>",
        "<TimeCmd Name=\"Check&\"/>",
        "<TimeCmd Name=\"CheckDispatching\"><DispatchingID>1 & 2</DispatchingID></TimeCmd>",
        "<TimeCmd Name=\"Check\xC0\xAF\"/>",
        "<TimeCmd Name=\"Check\xED\xA0\x80\"/>",
        "<TimeCmd Name=\"Check\xF4\x90\x80\x80\"/>",
        "<TimeCmd Name=\"Check\xE2\x82\"/>",
        "<TimeCmd Name=\"&#1;\"/>",
        "<TimeCmd Name=\"&#0;\"/>",
        "<TimeCmd Name=\"&#xFFFE;\"/>",
        "<TimeCmd Name=\"&#xD800;\"/>",
        "<TimeCmd Name=\"Check\x01\"/>",
        "<TimeCmd Name=\"HandleResponse\"><ClientID>Time:40</ClientID><!-- a -- b --></TimeCmd>",
        "<TimeCmd Name=\"HandleResponse\"><ClientID>]]></ClientID></TimeCmd>",
        "<TimeCmd Name=\"Check\"Other=\"x\"/>",
        "<TimeCmd Name=\"Check\"/><?xml version=\"1.0\"?>",
    };
    for (const QByteArray& request : requests) {
        EXPECT_EQ(HandleRequest(request, services), kEmptyReply) << request.toStdString();
        EXPECT_FALSE(ExpatWellFormed(
            request.left(request.indexOf('\0') < 0 ? request.size() : request.indexOf('\0')).toStdString()))
            << request.toStdString();
    }
    EXPECT_TRUE(services.ids.isEmpty());
    EXPECT_TRUE(services.responses.isEmpty());
}

TEST(StrictRequest, RepliesAreWellFormedAndSayWhatTheRequestSaid)
{
    CRecordingServices services;
    // Tab, line feed and carriage return are allowed, as references; each reads back unchanged.
    const QByteArray named = "<TimeCmd Name=\"a&#9;b&#10;c&#13;d&#x85;&lt;&amp;&quot;\u00e4\"/>";
    ASSERT_TRUE(ExpatWellFormed(named.toStdString()));
    const CExpatDocument echo = ReplyDocument(HandleRequest(named, services));
    ASSERT_TRUE(echo.wellFormed) << echo.error;
    EXPECT_EQ(echo.rootName, "TimeCmd");
    EXPECT_EQ(echo.rootAttributes.at("Name"), "a\tb\nc\rd\u0085<&\"\u00e4");

    const CExpatDocument check = ReplyDocument(HandleRequest("<TimeCmd Name=\"Check\"/>", services));
    ASSERT_TRUE(check.wellFormed);
    EXPECT_EQ(check.childTexts.at("Active"), "1");

    const CExpatDocument dispatch = ReplyDocument(HandleRequest(
        "<TimeCmd Name=\"CheckDispatching\"><DispatchingID>&#9;17</DispatchingID></TimeCmd>", services));
    ASSERT_TRUE(dispatch.wellFormed);
    EXPECT_EQ(dispatch.childTexts.at("DispatchingResult"), "0");
    EXPECT_EQ(services.ids, QStringList { "\t17" });

    // A queued takeover response is a well-formed text that says the same.
    const QByteArray response = "<TimeCmd Name=\"HandleResponse\"><ClientID>Time:40&#13;</ClientID>"
                                "<TargetID><![CDATA[<17>]]></TargetID></TimeCmd>";
    const CExpatDocument responseReply = ReplyDocument(HandleRequest(response, services));
    ASSERT_TRUE(responseReply.wellFormed);
    EXPECT_EQ(responseReply.rootAttributes.at("Name"), "HandleResponse");
    ASSERT_EQ(services.responses.size(), 1);
    const CExpatDocument queued = ExpatParse(services.responses.first().toStdString());
    ASSERT_TRUE(queued.wellFormed) << queued.error;
    EXPECT_EQ(queued.childTexts.at("ClientID"), "Time:40\r");
    EXPECT_EQ(queued.childTexts.at("TargetID"), "<17>");
}
