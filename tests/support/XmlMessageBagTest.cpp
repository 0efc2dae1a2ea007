#include "support/XmlMessageBag.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

QByteArray Nested(int depth)
{
    QByteArray text;
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    for (int i = 0; i < depth; ++i)
        text += "</a>";
    return text;
}

} // namespace

TEST(XmlMessageBag, ParseReadsNameAttributesAndTexts)
{
    CXmlMessageBag bag;
    ASSERT_TRUE(bag.Parse(QByteArray(R"(<TimeCmd Name="Check"/>)")));
    EXPECT_EQ(bag.GetName(), "TimeCmd");
    EXPECT_EQ(bag.GetAttribute("", "Name"), "Check");
    EXPECT_EQ(bag.GetAttribute("", "name", "none"), "none"); // names are case-sensitive
    EXPECT_EQ(bag.GetText("DispatchingID"), "");
    EXPECT_EQ(bag.GetText("DispatchingID", "x"), "x");
    EXPECT_EQ(bag.GetInt("DispatchingID", 7), 7);

    ASSERT_TRUE(bag.Parse(QString("<TimeCmd Name=\"CheckDispatching\"><DispatchingID>17</DispatchingID>"
                                  "<GroupID>-40</GroupID><Time>DT#NOW</Time></TimeCmd>")));
    EXPECT_EQ(bag.GetInt("DispatchingID", 0), 17);
    EXPECT_EQ(bag.GetInt("GroupID", 0), -40);
    EXPECT_EQ(bag.GetText("Time"), "DT#NOW");
    EXPECT_EQ(bag.GetText("time", "none"), "none");
    // The gets created nothing.
    EXPECT_EQ(bag.Serialize(),
        "<TimeCmd Name=\"CheckDispatching\"><DispatchingID>17</DispatchingID>"
        "<GroupID>-40</GroupID><Time>DT#NOW</Time></TimeCmd>");
}

TEST(XmlMessageBag, RefusedTextLeavesTheBagEmpty)
{
    for (const char* text : { "", "plain text", "<TimeCmd>", "<TimeCmd></timecmd>", "<TimeCmd a=1/>",
             "<a/><b/>", "text<a/>", "<a/>text", "<1a/>" }) {
        CXmlMessageBag bag("TimeCmd");
        ASSERT_TRUE(bag.Parse(QByteArray("<Old/>")));
        EXPECT_FALSE(bag.Parse(QByteArray(text))) << text;
        EXPECT_EQ(bag.GetName(), "") << text;
        EXPECT_FALSE(bag.HasDocument()) << text;
        EXPECT_EQ(bag.Serialize(), "") << text;
        EXPECT_EQ(bag.GetText("", "d"), "d") << text;
    }
    // A well-formed document with another root is parsed; telling it apart is the caller's part.
    CXmlMessageBag other;
    EXPECT_TRUE(other.Parse(QByteArray(R"(<Other Name="Check"/>)")));
    EXPECT_EQ(other.GetName(), "Other");
    // Surrounding white space, comments and a declaration are allowed and not written back.
    EXPECT_TRUE(other.Parse(QByteArray("<?xml version=\"1.0\"?>\r\n<!-- c --><A>x</A>\r\n")));
    EXPECT_EQ(other.Serialize(), "<A>x</A>");
}

TEST(XmlMessageBag, SerializeWritesTheWireForm)
{
    CXmlMessageBag bag("TimeCmd");
    EXPECT_EQ(bag.Serialize(), "");
    EXPECT_EQ(bag.GetAttribute("", "Name", "d"), "d");
    EXPECT_FALSE(bag.HasDocument()); // gets never create a document

    EXPECT_TRUE(bag.SetAttribute("", "Name", "Check"));
    EXPECT_EQ(bag.Serialize(), R"(<TimeCmd Name="Check" />)");
    EXPECT_TRUE(bag.SetInt("Active", 1));
    EXPECT_EQ(bag.Serialize(), R"(<TimeCmd Name="Check"><Active>1</Active></TimeCmd>)");
    EXPECT_TRUE(bag.SetText("Empty", ""));
    EXPECT_EQ(bag.Serialize(), R"(<TimeCmd Name="Check"><Active>1</Active><Empty/></TimeCmd>)");

    // Elements keep the order in which they were first set; setting again replaces the value.
    CXmlMessageBag reply("TimeCmd");
    EXPECT_TRUE(reply.SetInt("B", 1));
    EXPECT_TRUE(reply.SetInt("A", 2));
    EXPECT_TRUE(reply.SetInt("B", LONG_MIN));
    EXPECT_TRUE(reply.SetText("A", "x"));
    EXPECT_EQ(reply.Serialize(), "<TimeCmd><B>-9223372036854775808</B><A>x</A></TimeCmd>");

    // The blank goes after single quotes too, and only before "/>".
    CXmlMessageBag single;
    ASSERT_TRUE(single.Parse(QByteArray("<T a='1'><E b='2'/><F/></T>")));
    EXPECT_EQ(single.Serialize(), R"(<T a="1"><E b="2" /><F/></T>)");
    ASSERT_TRUE(single.Parse(QByteArray("<T><![CDATA[x'/>]]></T>")));
    EXPECT_EQ(single.Serialize(), "<T><![CDATA[x'/>]]></T>");
    EXPECT_EQ(single.GetText(""), "x'/>");
}

TEST(XmlMessageBag, PathsAddressAtMostTwoLevels)
{
    CXmlMessageBag bag("R");
    EXPECT_TRUE(bag.SetText("A/B", "deep"));
    EXPECT_TRUE(bag.SetAttribute("A/C", "k", "v"));
    EXPECT_EQ(bag.Serialize(), R"(<R><A><B>deep</B><C k="v" /></A></R>)");
    EXPECT_EQ(bag.GetText("A/B"), "deep");
    EXPECT_EQ(bag.GetAttribute("A/C", "k"), "v");
    EXPECT_EQ(bag.GetText("A"), "deep"); // the text content of A includes its descendants

    for (const char* path : { "A/B/C", "/A", "A/", "A//B", "/", "a b", "1A" }) {
        EXPECT_EQ(bag.GetText(path, "d"), "d") << path;
        EXPECT_FALSE(bag.SetText(path, "x")) << path;
        EXPECT_FALSE(bag.SetAttribute(path, "k", "x")) << path;
    }
    EXPECT_FALSE(bag.SetAttribute("", "bad name", "x"));
    EXPECT_EQ(bag.Serialize(), R"(<R><A><B>deep</B><C k="v" /></A></R>)");

    // The first match is taken; set text replaces all of an element's content.
    ASSERT_TRUE(bag.Parse(QByteArray("<R><A><B>1</B></A><A><B>2</B></A></R>")));
    EXPECT_EQ(bag.GetText("A/B"), "1");
    EXPECT_TRUE(bag.SetText("A", "flat"));
    EXPECT_EQ(bag.Serialize(), "<R><A>flat</A><A><B>2</B></A></R>");

    // A bag whose name is no XML name cannot get a document.
    CXmlMessageBag unnamed;
    EXPECT_FALSE(unnamed.SetInt("A", 1));
    EXPECT_FALSE(unnamed.HasDocument());
}

TEST(XmlMessageBag, GetIntConvertsLikeStrtolWithBaseZero)
{
    CXmlMessageBag bag("R");
    const struct
    {
        const char* text;
        long value;
    } cases[] = { { "0x10", 16 }, { "010", 8 }, { "abc", 0 }, { "12abc", 12 }, { " \t-7", -7 }, { "+5", 5 },
        { "0x", 0 }, { "08", 0 }, { "-0X1f", -31 }, { "", 0 }, { "99999999999999999999", LONG_MAX },
        { "-99999999999999999999", LONG_MIN }, { "-9223372036854775808", LONG_MIN },
        { "9223372036854775807", LONG_MAX } };
    for (const auto& c : cases) {
        ASSERT_TRUE(bag.SetText("V", c.text));
        EXPECT_EQ(bag.GetInt("V", 42), c.value) << c.text;
    }
    EXPECT_EQ(bag.GetInt("Missing", -3), -3);
}

TEST(XmlMessageBag, ValuesSurviveTheWire)
{
    // Quotes before "/>" inside a value and carriage returns are values, not markup: kept as they are.
    const QString text = QStringLiteral("a<b & c>\"d\"/> 'e'/> \u00e4\u20ac\U0001F600 \t\r\n\rend");
    CXmlMessageBag bag("TimeCmd");
    ASSERT_TRUE(bag.SetText("T", text));
    ASSERT_TRUE(bag.SetAttribute("", "Name", text));
    const QByteArray wire = bag.Serialize();
    EXPECT_TRUE(wire.contains("&lt;b &amp; c"));

    CXmlMessageBag again;
    ASSERT_TRUE(again.Parse(wire));
    EXPECT_EQ(again.GetText("T"), text);
    EXPECT_EQ(again.GetAttribute("", "Name"), text);
    EXPECT_EQ(again.Serialize(), wire);

    // White space as a whole value is kept; a NUL ends a value (XML cannot carry one).
    ASSERT_TRUE(bag.SetText("W", "  "));
    ASSERT_TRUE(bag.SetText("Z", QString("ab") + QChar(0) + "cd"));
    ASSERT_TRUE(again.Parse(bag.Serialize()));
    EXPECT_EQ(again.GetText("W"), "  ");
    EXPECT_EQ(again.GetText("Z"), "ab");
}

TEST(XmlMessageBag, CopiesShareTheDocument)
{
    CXmlMessageBag first("TimeCmd");
    CXmlMessageBag second = first; // no document yet: each creates its own
    EXPECT_TRUE(first.SetInt("A", 1));
    EXPECT_EQ(second.Serialize(), "");

    CXmlMessageBag third = first;
    EXPECT_TRUE(third.SetInt("B", 2));
    EXPECT_EQ(first.GetInt("B", 0), 2);
    EXPECT_EQ(first.Serialize(), third.Serialize());

    // Parsing again replaces only this bag's reference.
    ASSERT_TRUE(third.Parse(QByteArray("<Other/>")));
    EXPECT_EQ(first.GetName(), "TimeCmd");
    EXPECT_EQ(first.GetInt("A", 0), 1);
}

TEST(XmlMessageBag, HostileInputIsBounded)
{
    CXmlMessageBag bag;
    // No DOCTYPE, so no internal subset and no entity expansion.
    EXPECT_FALSE(bag.Parse(QByteArray("<!DOCTYPE a [<!ENTITY x \"xxxxxxxx\"><!ENTITY y \"&x;&x;&x;&x;\">]>"
                                      "<a>&y;</a>")));
    EXPECT_FALSE(bag.Parse(QByteArray("<!DOCTYPE a SYSTEM \"file:///etc/passwd\"><a/>")));
    // Unknown entities stay literal text.
    ASSERT_TRUE(bag.Parse(QByteArray("<a>&y;&#65;&lt;</a>")));
    EXPECT_EQ(bag.GetText(""), "&y;A<");

    // Nesting is bounded; the limit itself is fine.
    EXPECT_TRUE(bag.Parse(Nested(CXmlMessageBag::MaxDepth)));
    EXPECT_FALSE(bag.Parse(Nested(CXmlMessageBag::MaxDepth + 1)));
    EXPECT_FALSE(bag.Parse(Nested(100000)));

    // A full 10 KB request is read; oversized input is refused unread.
    QByteArray request = "<TimeCmd Name=\"HandleResponse\"><ClientID>";
    request += QByteArray(10240 - request.size() - 22, 'x');
    request += "</ClientID></TimeCmd>";
    ASSERT_TRUE(bag.Parse(request));
    EXPECT_EQ(bag.GetText("ClientID").size(), 10240 - 22 - 41);
    EXPECT_EQ(bag.Serialize(), request);
    QByteArray huge = "<a>" + QByteArray(CXmlMessageBag::MaxInputBytes, 'x') + "</a>";
    EXPECT_FALSE(bag.Parse(huge));
    EXPECT_FALSE(bag.Parse(QString::fromLatin1(huge)));

    // The request text ends at a NUL byte.
    EXPECT_TRUE(bag.Parse(QByteArray("<a/>\0garbage", 12)));
}
