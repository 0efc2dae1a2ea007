#include "support/XmlMessageBag.h"

#include <climits>
#include <gtest/gtest.h>

#include "support/ExpatReference.h"

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

// White space beside other content of an element is layout, whether it is written raw or as
// character references; the whole text of an element is a value either way. So a bag reads the
// same after being written and parsed again.
TEST(XmlMessageBag, LayoutSpaceIsDroppedHoweverWritten)
{
    const struct
    {
        const char* text;
        const char* rootText;
    } cases[] = {
        { "<T><A>x</A> \n\t</T>", "x" },
        { "<T><A>x</A>&#32;&#10;&#9;</T>", "x" },
        { "<T>&#32;<!-- c -->&#x20;<A>x</A></T>", "x" },
        { "<T>&#32;<![CDATA[x]]></T>", "x" },
        { "<T>&#32;</T>", " " },
        { "<T>&#32;<!-- c -->&#32;</T>", "  " },
        { "<T>&#32;x<A>y</A></T>", " xy" },
        { "<T>&#13;<A>y</A></T>", "\ry" }, // a carriage return is written as a reference and stays
        { "<T><A>&#32;</A><A>&#9;<B/></A></T>", " " },
    };
    for (const auto& c : cases) {
        CXmlMessageBag bag;
        ASSERT_TRUE(bag.Parse(QByteArray(c.text))) << c.text;
        EXPECT_EQ(bag.GetText(""), c.rootText) << c.text;
        CXmlMessageBag again;
        ASSERT_TRUE(again.Parse(bag.Serialize())) << c.text;
        EXPECT_EQ(again.GetText(""), c.rootText) << c.text;
        EXPECT_EQ(again.Serialize(), bag.Serialize()) << c.text;
    }
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
    // Only the predefined entities and character references are known.
    EXPECT_FALSE(bag.Parse(QByteArray("<a>&y;&#65;&lt;</a>")));
    ASSERT_TRUE(bag.Parse(QByteArray("<a>&#65;&lt;</a>")));
    EXPECT_EQ(bag.GetText(""), "A<");

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

// Whether a text is well-formed is what a strict parser written by others says; each case is held
// against expat as well as against the bag. Where the bag is stricter by design (no document type
// declaration, nesting bounded, the version number as XML 1.0 writes it) or follows the current
// edition of XML 1.0 where expat follows an older one (names), the case says so.
namespace {

struct CWellFormedCase
{
    const char* text;
    bool wellFormed;
    bool expatAgrees = true;
};

void ExpectVerdicts(std::initializer_list<CWellFormedCase> cases)
{
    for (const CWellFormedCase& c : cases) {
        const QByteArray text(c.text);
        CXmlMessageBag bag;
        EXPECT_EQ(bag.Parse(text), c.wellFormed) << c.text;
        EXPECT_EQ(bag.HasDocument(), c.wellFormed) << c.text;
        EXPECT_EQ(ExpatWellFormed(text.toStdString()) == c.wellFormed, c.expatAgrees) << c.text;
    }
}

} // namespace

TEST(XmlMessageBagStrict, Attributes)
{
    ExpectVerdicts({
        { R"(<T Name="Check" Other='x'/>)", true },
        { R"(<T Name = "1"
Other	=	'2' />)",
            true },
        { R"(<T Name="a" Name="b"/>)", false }, // repeated
        { R"(<T Name="a" Other="b" Name="a"/>)", false },
        { R"(<T a="1"b="2"/>)", false }, // no blank between
        { R"(<T a="<"/>)", false },
        { R"(<T a="&"/>)", false },
        { R"(<T a="x & y"/>)", false },
        { R"(<T a="&amp;&lt;&gt;&quot;&apos;&#9;&#x41;>'"/>)", true },
        { R"(<T a='"'/>)", true },
        { R"(<T a="&unknown;"/>)", false },
        { R"(<T a=1/>)", false },
        { R"(<T a/>)", false },
        { R"(<T a="1/>)", false },
        { R"(<T/ >)", false },
        { R"(<T a="1">x</T >)", true },
        { R"(<T a="1">x</ T>)", false },
    });
    // Any number of attributes, one of them repeated last: every count across the point where the
    // check of each new name against the earlier ones hands over to sorting.
    QByteArray many = "<T";
    CXmlMessageBag bag;
    for (int count = 1; count <= 40; ++count) {
        many += " a" + QByteArray::number(count) + "=\"\"";
        EXPECT_TRUE(bag.Parse(many + "/>")) << count;
        for (const int repeated : { 1, count }) {
            const QByteArray twice = many + " a" + QByteArray::number(repeated) + "=\"\"/>";
            EXPECT_FALSE(bag.Parse(twice)) << count << " attributes, a" << repeated << " again";
            EXPECT_FALSE(ExpatWellFormed(twice.toStdString()));
        }
    }
}

TEST(XmlMessageBagStrict, References)
{
    ExpectVerdicts({
        { "<T>&lt;&gt;&amp;&quot;&apos;</T>", true },
        { "<T>&unknown;</T>", false },
        { "<T>&nbsp;</T>", false },
        { "<T>&lt</T>", false },
        { "<T>a & b</T>", false },
        { "<T>&;</T>", false },
        { "<T>&#65;&#x41;&#x10FFFF;&#0000065;&#9;&#10;&#13;</T>", true },
        { "<T>&#X41;</T>", false },
        { "<T>&#x;</T>", false },
        { "<T>&#;</T>", false },
        { "<T>&#65</T>", false },
        { "<T>&#0;</T>", false },
        { "<T>&#1;</T>", false },
        { "<T>&#x1F;</T>", false },
        { "<T>&#xD800;</T>", false },
        { "<T>&#xDFFF;</T>", false },
        { "<T>&#xFFFE;</T>", false },
        { "<T>&#xFFFF;</T>", false },
        { "<T>&#x110000;</T>", false },
        { "<T>&#99999999999999999999;</T>", false },
        { R"(<T Name="&#1;"/>)", false },
    });
}

TEST(XmlMessageBagStrict, Characters)
{
    ExpectVerdicts({
        { "<T>\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF\xEF\xBF\xBD</T>", true },
        { "<T>\x7F\xC2\x80\xC2\x9F</T>", true }, // DEL and C1 controls are allowed characters
        { "<T>\t\r\n</T>", true }, { "<T>\x01</T>", false }, { "<T>\x0B</T>", false },
        { "<T>\x1F</T>", false }, { "<T a=\"\x01\"/>", false }, { "<T><!-- \x01 --></T>", false },
        { "<T><![CDATA[\x01]]></T>", false }, { "<T>\xC0\x80</T>", false }, // overlong NUL
        { "<T>\xC1\xBF</T>", false }, // overlong
        { "<T>\xE0\x80\xAF</T>", false }, // overlong "/"
        { "<T>\xF0\x80\x80\xAF</T>", false }, // overlong "/"
        { "<T>\xED\xA0\x80</T>", false }, // a high surrogate
        { "<T>\xED\xBF\xBF</T>", false }, // a low surrogate
        { "<T>\xF4\x90\x80\x80</T>", false }, // beyond U+10FFFF
        { "<T>\xF5\x80\x80\x80</T>", false }, { "<T>\xEF\xBF\xBE</T>", false }, // U+FFFE
        { "<T>\xEF\xBF\xBF</T>", false }, // U+FFFF
        { "<T>\xC3</T>", false }, // cut short
        { "<T>\xE2\x82</T>", false }, { "<T>\xF0\x9F\x98</T>", false },
        { "<T>\x80</T>", false }, // a stray continuation byte
        { "<T>\xFF</T>", false }, { "<T a=\"\xC3\"/>", false }, { "<T>x</T>\xC3", false },
        { "\xEF\xBB\xBF<T/>", true }, // a byte order mark
    });
}

TEST(XmlMessageBagStrict, Markup)
{
    ExpectVerdicts({
        { "<T><!-- a - b --><!----></T>", true },
        { "<T><!-- a -- b --></T>", false },
        { "<T><!-- a ---></T>", false },
        { "<T><!---></T>", false },
        { "<T><!-- open</T>", false },
        { "<T>a ]] > b ]</T>", true },
        { "<T>a ]]> b</T>", false },
        { "<T><![CDATA[ <&]] ]]]]></T>", true },
        { "<T><![CDATA[ open</T>", false },
        { "<T><![cdata[x]]></T>", false },
        { "<![CDATA[x]]><T/>", false },
        { "<T><?target data ? > ?><?t?></T>", true },
        { "<T><?t\tx?></T>", true },
        { "<T><?t?x?></T>", false },
        { "<T><?xml version=\"1.0\"?></T>", false }, // a declaration inside
        { "<T><?XmL x?></T>", false }, // a reserved target
        { "<T><?xml-stylesheet x?></T>", true },
        { "<T><? t?></T>", false },
        { "<?xml version=\"1.0\"?><T/>", true },
        { "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n<T/>", true },
        { "<?xml version = \"1.0\" standalone=\"no\"?><T/>", true },
        { " <?xml version=\"1.0\"?><T/>", false }, // not at the start
        { "<T/><?xml version=\"1.0\"?>", false },
        { "<?xml?><T/>", false },
        { "<?xml encoding=\"UTF-8\"?><T/>", false },
        { "<?xml version=\"1.0\"encoding=\"UTF-8\"?><T/>", false },
        { "<?xml version=\"1.0\" standalone=\"yes\" encoding=\"UTF-8\"?><T/>", false },
        { "<?xml version=\"1.0\" standalone=\"maybe\"?><T/>", false },
        { "<?xml version=\"1.0\" encoding=\"8bit\"?><T/>", false },
        { "<?xml version=\"2.0\"?><T/>", false, false }, // expat takes any version
        { "<!DOCTYPE T><T/>", false, false }, // refused by design
        { "<T><!DOCTYPE T></T>", false },
        { "<T><!ELEMENT T ANY></T>", false },
    });
}

TEST(XmlMessageBagStrict, Structure)
{
    ExpectVerdicts({
        { "", false }, { " \r\n\t", false }, { "<T>", false }, { "<T></t>", false },
        { "<T><A></T></A>", false }, { "<T><A></AB></T>", false }, { "<T><AB></A></T>", false },
        { "</T>", false }, { "<T/></T>", false }, { "<T/><T/>", false }, { "<T/>x", false },
        { "x<T/>", false }, { "<T/>&amp;", false }, { "\r\n <!-- c --> <?p x?> <T/> <!-- c --> \r\n", true },
        { "< T/>", false }, { "<T\n/>", true }, { "<-T/>", false }, { "<T.a-b_c:d/>", true },
        { "<:T/>", true }, { "<T\xC3\xA4/>", true }, { "<\xC3\x97/>", false }, // U+00D7 is no name character
        { "<T\xC3\x97/>", false }, { "<T\xCC\x80\xC2\xB7/>", true },
        { "<\xCC\x80/>", false }, // a combining mark cannot start a name
        { "<\xE0\xB8\x80/>", true, false }, // U+0E00: a name start since the fifth edition
        { "<\xF0\x90\x80\x80/>", true, false }, // U+10000 likewise
    });
    // The nesting limit is a limit of this program, not of XML.
    CXmlMessageBag bag;
    EXPECT_TRUE(bag.Parse(Nested(CXmlMessageBag::MaxDepth)));
    EXPECT_FALSE(bag.Parse(Nested(CXmlMessageBag::MaxDepth + 1)));
    EXPECT_TRUE(ExpatWellFormed(Nested(CXmlMessageBag::MaxDepth + 1).toStdString()));
}

// What the bag writes is well-formed whatever is set into it, and reads back the same in a strict
// parser: forbidden characters become U+FFFD, tab, line feed and carriage return are kept.
TEST(XmlMessageBagStrict, WrittenTextIsWellFormed)
{
    const QString kept = QStringLiteral("a\tb\nc\rd\r\ne \u00e4\U0001F600<&>\"'");
    QString forbidden = QStringLiteral("x");
    for (const char16_t c :
        { u'\x01', u'\x08', u'\x0B', u'\x0C', u'\x1F', u'\xFFFE', u'\xFFFF', u'\xD800', u'\xDC00' })
        forbidden += QChar(c) + QStringLiteral("x");
    forbidden += QChar(0xD83D); // a high surrogate at the end
    const QString replaced
        = QStringLiteral("x\uFFFDx\uFFFDx\uFFFDx\uFFFDx\uFFFDx\uFFFDx\uFFFDx\uFFFDx\uFFFDx\uFFFD");

    CXmlMessageBag bag("TimeCmd");
    ASSERT_TRUE(bag.SetAttribute("", "Name", kept));
    ASSERT_TRUE(bag.SetAttribute("", "Bad", forbidden));
    ASSERT_TRUE(bag.SetText("Kept", kept));
    ASSERT_TRUE(bag.SetText("Bad", forbidden));
    EXPECT_EQ(bag.GetText("Bad"), replaced);
    EXPECT_EQ(bag.GetAttribute("", "Bad"), replaced);

    const QByteArray wire = bag.Serialize();
    const CExpatDocument reference = ExpatParse(wire.toStdString());
    ASSERT_TRUE(reference.wellFormed) << reference.error << " " << wire.toStdString();
    EXPECT_EQ(QString::fromStdString(reference.rootAttributes.at("Name")), kept);
    EXPECT_EQ(QString::fromStdString(reference.childTexts.at("Kept")), kept);
    EXPECT_EQ(QString::fromStdString(reference.rootAttributes.at("Bad")), replaced);
    EXPECT_EQ(QString::fromStdString(reference.childTexts.at("Bad")), replaced);

    CXmlMessageBag again;
    ASSERT_TRUE(again.Parse(wire));
    EXPECT_EQ(again.GetAttribute("", "Name"), kept);
    EXPECT_EQ(again.GetText("Kept"), kept);

    // Names that are not XML names are refused rather than written.
    EXPECT_FALSE(bag.SetAttribute("", QStringLiteral("a\u00d7"), "x"));
    EXPECT_FALSE(bag.SetText(QStringLiteral("\u0300A"), "x"));
    CXmlMessageBag unnamed(QStringLiteral("-T"));
    EXPECT_FALSE(unnamed.SetInt("A", 1));
}
