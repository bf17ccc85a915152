#include <windows.h>

#include "ui/XmlDocument.h"

#include "tests/ui/SkinSamples.h"

#include <gtest/gtest.h>

#include <string>

using SkinUI::CXmlDocument;
using SkinUI::CXmlNode;

namespace {

// Parses text and expects failure with message; returns the location.
std::wstring ExpectError(const std::wstring& text, const wchar_t* message) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.Load(text.c_str())) << "text: " << std::string(text.begin(), text.end());
    EXPECT_STREQ(message, doc.GetLastErrorMessage());
    EXPECT_FALSE(doc.GetRoot().IsValid()); // a failed load leaves the document empty
    return doc.GetLastErrorLocation();
}

std::wstring Attr(CXmlNode node, const wchar_t* name) {
    const wchar_t* value = node.GetAttributeValue(name);
    return value == nullptr ? L"<none>" : value;
}

} // namespace

TEST(XmlDocumentTest, ParsesTreeOfARealSkin) {
    CXmlDocument doc(SkinSamples::kMainFrame);
    CXmlNode root = doc.GetRoot();
    ASSERT_TRUE(root.IsValid()) << doc.GetLastErrorMessage();
    EXPECT_STREQ(L"Window", root.GetName());
    EXPECT_EQ(6, root.GetAttributeCount());
    EXPECT_EQ(L"800,495", Attr(root, L"size"));
    EXPECT_EQ(L"false", Attr(root, L"bktrans"));
    EXPECT_STREQ(L"roundcorner", root.GetAttributeName(2));
    EXPECT_STREQ(L"4,4", root.GetAttributeValue(2));
    EXPECT_FALSE(root.GetParent().IsValid());
    EXPECT_FALSE(root.GetSibling().IsValid());

    CXmlNode font = root.GetChild();
    ASSERT_TRUE(font.IsValid());
    EXPECT_STREQ(L"Font", font.GetName());
    EXPECT_EQ(L"微软雅黑", Attr(font, L"name"));
    EXPECT_EQ(L"true", Attr(font, L"default"));
    EXPECT_FALSE(font.HasChildren());
    EXPECT_STREQ(L"", font.GetValue());

    std::wstring order;
    for (CXmlNode n = root.GetChild(); n.IsValid(); n = n.GetSibling()) {
        order += n.GetName();
        order += L" ";
    }
    EXPECT_EQ(L"Font Font Font Default Default Image Image VerticalLayout ", order);

    CXmlNode layout = root.GetChild(L"VerticalLayout");
    ASSERT_TRUE(layout.IsValid());
    EXPECT_TRUE(layout.HasChildren());
    EXPECT_EQ(L"file='bg.png' corner='4,4,4,4'", Attr(layout, L"bkimage"));
    CXmlNode caption = layout.GetChild();
    EXPECT_EQ(L"caption", Attr(caption, L"name"));
    CXmlNode close = caption.GetChild(L"Button");
    ASSERT_TRUE(close.IsValid());
    EXPECT_EQ(L"关闭", Attr(close, L"tooltip"));
    EXPECT_EQ(L"caption", Attr(close.GetParent(), L"name"));
    EXPECT_STREQ(L"root", layout.GetAttributeValue(L"name"));
    EXPECT_EQ(nullptr, layout.GetAttributeValue(L"Name")); // case-sensitive

    CXmlNode def = root.GetChild(L"Default");
    EXPECT_EQ(L"button1normalimage=\"file='scroll.png' source='0,0,16,16'\" showbutton1=\"false\"",
              Attr(def, L"value"));
}

TEST(XmlDocumentTest, AttributeAccessByIndexAndIntoABuffer) {
    CXmlDocument doc(L"<A one=\"1\" two=\"twenty-two\"/>");
    CXmlNode a = doc.GetRoot();
    ASSERT_EQ(2, a.GetAttributeCount());
    EXPECT_STREQ(L"", a.GetAttributeName(2));
    EXPECT_STREQ(L"", a.GetAttributeValue(-1));
    wchar_t buffer[6];
    for (wchar_t& c : buffer) {
        c = L'#';
    }
    ASSERT_TRUE(a.GetAttributeValue(L"two", buffer, 5));
    EXPECT_STREQ(L"twent", buffer); // at most size characters, then the terminator
    ASSERT_TRUE(a.GetAttributeValue(L"one", buffer, 5));
    EXPECT_STREQ(L"1", buffer);
    EXPECT_FALSE(a.GetAttributeValue(L"three", buffer, 5));
    EXPECT_TRUE(a.HasAttribute(L"one"));
    EXPECT_FALSE(a.HasAttribute(L"ONE"));
}

// Documents that parse, and what one element of each shows: the root, or
// its child at the given place.
TEST(XmlDocumentTest, EmptyElementsElementTextAndTextEndingInsideTheRoot) {
    const struct {
        const wchar_t* text;
        int child; // -1: the root itself
        const wchar_t* name;
        const wchar_t* value;
        int attributes;
    } cases[] = {
        // The element text of an element with children is the text before its first child.
        {L"<R>head<A>inner</A><B/></R>", -1, L"R", L"head", 0},
        {L"<R>head<A>inner</A><B/></R>", 0, L"A", L"inner", 0},
        // "/>" right behind the name or after blanks: empty, no attributes.
        {L"<R><A/><B   /><C x=\"1\"/><D x=\"1\"   /></R>", 0, L"A", L"", 0},
        {L"<R><A/><B   /><C x=\"1\"/><D x=\"1\"   /></R>", 1, L"B", L"", 0},
        {L"<R><A/><B   /><C x=\"1\"/><D x=\"1\"   /></R>", 2, L"C", L"", 1},
        {L"<R><A/><B   /><C x=\"1\"/><D x=\"1\"   /></R>", 3, L"D", L"", 1},
        // A text ending inside the root's content is accepted.
        {L"<A>text", -1, L"A", L"text", 0},
        {L"<A><B/>", 0, L"B", L"", 0},
        {L"<A><B>text", 0, L"B", L"text", 0},
    };
    for (const auto& c : cases) {
        const ::testing::Message where = ::testing::Message() << c.text << " child " << c.child;
        CXmlDocument doc;
        ASSERT_TRUE(doc.Load(c.text)) << where << ": " << doc.GetLastErrorMessage();
        CXmlNode node = doc.GetRoot();
        if (c.child >= 0) {
            node = node.GetChild();
            for (int i = 0; i < c.child && node.IsValid(); ++i) {
                node = node.GetSibling();
            }
        }
        ASSERT_TRUE(node.IsValid()) << where;
        EXPECT_STREQ(c.name, node.GetName()) << where;
        EXPECT_STREQ(c.value, node.GetValue()) << where;
        EXPECT_EQ(c.attributes, node.GetAttributeCount()) << where;
    }
}

TEST(XmlDocumentTest, UnterminatedCommentOrInstructionEndsWithTheText) {
    // At the top level and among the root's children the end of the text is
    // allowed; deeper it is a missing end tag.
    CXmlDocument doc;
    EXPECT_TRUE(doc.Load(L"<R><A/><!-- never closed <B/>"));
    EXPECT_STREQ(L"A", doc.GetRoot().GetChild().GetName());
    EXPECT_FALSE(doc.GetRoot().GetChild().GetSibling().IsValid());
    EXPECT_TRUE(doc.Load(L"<?xml version=\"1.0\""));
    EXPECT_FALSE(doc.GetRoot().IsValid());
    ExpectError(L"<R><A><!-- open", L"Expected start tag");
    ExpectError(L"<R><A><? open ?", L"Expected start tag");
    EXPECT_TRUE(doc.Load(L"<!-"));
    EXPECT_TRUE(doc.Load(L"<?"));
    EXPECT_TRUE(doc.Load(L"<!"));
}

TEST(XmlDocumentTest, EveryErrorTextOfTheParser) {
    EXPECT_EQ(L"abc", ExpectError(L"abc", L"Expected start tag"));
    // A missing end tag two levels down fails at the end of the text.
    EXPECT_EQ(L"", ExpectError(L"<A><B><C></C>", L"Expected start tag"));
    // Text between child elements is not part of the syntax.
    ExpectError(L"<A><B></B>text<C/>", L"Expected start tag");
    ExpectError(L"<A><B/>text", L"Expected start tag");
    EXPECT_EQ(L"", ExpectError(L"<Window", L"Error parsing element name"));
    ExpectError(L"<A><B", L"Error parsing element name");
    EXPECT_EQ(L">", ExpectError(L"<A x>", L"Error while parsing attributes"));
    ExpectError(L"<A x \"1\">", L"Error while parsing attributes");
    EXPECT_EQ(L"'1'/>", ExpectError(L"<A x='1'/>", L"Expected attribute value"));
    ExpectError(L"<A x=1/>", L"Expected attribute value");
    ExpectError(L"<A x=", L"Expected attribute value");
    ExpectError(L"<A x=\"1", L"Error while parsing attribute string");
    ExpectError(L"<A x=\"1&amp;", L"Error while parsing attribute string");
    EXPECT_EQ(L"/ >", ExpectError(L"<A x=\"1\" / >", L"Expected start-tag closing"));
    ExpectError(L"<A x=\"1\"", L"Expected start-tag closing");
    ExpectError(L"<A x=\"1\" y", L"Error while parsing attributes");
    ExpectError(L"<A/", L"Expected start-tag closing");
    ExpectError(L"<A><B><C>text", L"Expected end-tag start");
    EXPECT_EQ(L"B>", ExpectError(L"<A></B>", L"Unmatched closing tag"));
    ExpectError(L"<A><B></A></B>", L"Unmatched closing tag");
    ExpectError(L"<Ab></A>", L"Unmatched closing tag");
    ExpectError(L"<A></Ab>", L"Unmatched closing tag");
    ExpectError(L"<A></A", L"Unmatched closing tag");
}

TEST(XmlDocumentTest, ErrorLocationIsCutTo49Characters) {
    std::wstring text = L"<A x='";
    text += std::wstring(300, L'v');
    const std::wstring location = ExpectError(text, L"Expected attribute value");
    EXPECT_EQ(49u, location.size());
    EXPECT_EQ(L"'" + std::wstring(48, L'v'), location);
}

TEST(XmlDocumentTest, PredefinedEntities) {
    CXmlDocument doc(L"<A v=\"&lt;b&gt;\" w=\"&amp;amp;\" q=\"&quot;x&apos;\" "
                     L"u=\"&nbsp;&copy;&\" r=\"&lt;&lt;&gt;&gt;\">t &amp; &lt;x&gt;</A>");
    CXmlNode a = doc.GetRoot();
    ASSERT_TRUE(a.IsValid()) << doc.GetLastErrorMessage();
    EXPECT_EQ(L"<b>", Attr(a, L"v"));
    EXPECT_EQ(L"&amp;", Attr(a, L"w"));
    EXPECT_EQ(L"\"x'", Attr(a, L"q"));
    EXPECT_EQ(L"&nbsp;&copy;&", Attr(a, L"u")); // unknown ones stay, ampersand included
    EXPECT_EQ(L"<<>>", Attr(a, L"r"));
    EXPECT_EQ(5, a.GetAttributeCount());
    EXPECT_STREQ(L"t & <x>", a.GetValue());
}

TEST(XmlDocumentTest, CharacterReferences) {
    CXmlDocument doc(
        L"<A d=\"&#65;&#x42;&#X63;\" cjk=\"&#21368;&#x8F7D;\" astral=\"&#x1F600;&#128512;\" "
        L"max=\"&#x10FFFF;\">&#x3C;tag&#62;</A>");
    CXmlNode a = doc.GetRoot();
    ASSERT_TRUE(a.IsValid()) << doc.GetLastErrorMessage();
    EXPECT_EQ(L"ABc", Attr(a, L"d"));
    EXPECT_EQ(L"卸载", Attr(a, L"cjk"));
    EXPECT_EQ(L"\xD83D\xDE00\xD83D\xDE00", Attr(a, L"astral"));
    EXPECT_EQ(L"\xDBFF\xDFFF", Attr(a, L"max"));
    EXPECT_STREQ(L"<tag>", a.GetValue());
}

TEST(XmlDocumentTest, CharacterReferencesThatAreNoCharactersStayAsWritten) {
    const wchar_t* kept[] = {
        L"&#x110000;",
        L"&#1114112;",
        L"&#xFFFFFFFFFFFFFFFFFFFF;",
        L"&#99999999999999999999;",
        L"&#0;",
        L"&#xD800;",
        L"&#xDFFF;",
        L"&#;",
        L"&#x;",
        L"&#65",
        L"&#6a;",
        L"&#x-1;",
    };
    for (const wchar_t* ref : kept) {
        const std::wstring text = L"<A v=\"" + std::wstring(ref) + L"\">" + ref + L"</A>";
        CXmlDocument doc(text.c_str());
        CXmlNode a = doc.GetRoot();
        ASSERT_TRUE(a.IsValid()) << doc.GetLastErrorMessage();
        EXPECT_EQ(std::wstring(ref), Attr(a, L"v"));
        EXPECT_EQ(std::wstring(ref), a.GetValue());
    }
}

TEST(XmlDocumentTest, ShortenedValuesKeepLaterAttributesReadable) {
    CXmlDocument doc(L"<A a=\"&amp;&amp;&amp;\" b=\"x&#x1F600;y\"c=\"3\"/>");
    CXmlNode a = doc.GetRoot();
    ASSERT_TRUE(a.IsValid()) << doc.GetLastErrorMessage();
    ASSERT_EQ(3, a.GetAttributeCount());
    EXPECT_EQ(L"&&&", Attr(a, L"a"));
    EXPECT_EQ(L"x\xD83D\xDE00y", Attr(a, L"b"));
    EXPECT_EQ(L"3", Attr(a, L"c"));
}

TEST(XmlDocumentTest, AtMost64AttributesAreVisible) {
    std::wstring text = L"<A";
    for (int i = 0; i < 70; ++i) {
        text += L" a" + std::to_wstring(i) + L"=\"" + std::to_wstring(i * 10) + L"\"";
    }
    text += L"><B z=\"1\"/></A>";
    CXmlDocument doc(text.c_str());
    CXmlNode a = doc.GetRoot();
    ASSERT_TRUE(a.IsValid()) << doc.GetLastErrorMessage();
    EXPECT_EQ(64, a.GetAttributeCount());
    EXPECT_STREQ(L"a63", a.GetAttributeName(63));
    EXPECT_STREQ(L"630", a.GetAttributeValue(63));
    EXPECT_STREQ(L"", a.GetAttributeName(64));
    EXPECT_EQ(nullptr, a.GetAttributeValue(L"a64"));
    EXPECT_EQ(1, a.GetChild().GetAttributeCount());
}

TEST(XmlDocumentTest, AttributeMappingStopsAtTheElementsEnd) {
    // The element text after ">" looks like attributes; none of it is one.
    CXmlDocument doc(L"<A> x=\"1\" y=\"2\"</A>");
    CXmlNode a = doc.GetRoot();
    ASSERT_TRUE(a.IsValid());
    EXPECT_EQ(0, a.GetAttributeCount());
    EXPECT_EQ(nullptr, a.GetAttributeValue(L"x"));
    CXmlDocument doc2(L"<A k=\"v\"> x=\"1\"<B/></A>");
    EXPECT_EQ(1, doc2.GetRoot().GetAttributeCount());
    CXmlDocument doc3(L"<A k=\"v\"/> <B x=\"1\"/>");
    EXPECT_EQ(1, doc3.GetRoot().GetAttributeCount());
    EXPECT_STREQ(L"B", doc3.GetRoot().GetSibling().GetName());
}

TEST(XmlDocumentTest, NestingUpToTheLimitParsesAndDeeperFails) {
    const int limit = CXmlDocument::MAX_NESTING_DEPTH;
    auto nested = [](int depth, bool closed) {
        std::wstring text;
        for (int i = 0; i < depth; ++i) {
            text += L"<L>";
        }
        if (closed) {
            for (int i = 0; i < depth; ++i) {
                text += L"</L>";
            }
        }
        return text;
    };
    CXmlDocument doc;
    ASSERT_TRUE(doc.Load(nested(limit, true).c_str())) << doc.GetLastErrorMessage();
    int depth = 0;
    for (CXmlNode n = doc.GetRoot(); n.IsValid(); n = n.GetChild()) {
        ++depth;
    }
    EXPECT_EQ(limit, depth);
    ExpectError(nested(limit + 1, true), L"Elements nested too deeply");
    // Far beyond any stack: an error text, not an overflow.
    ExpectError(nested(200000, false), L"Elements nested too deeply");
    ExpectError(nested(100000, true), L"Elements nested too deeply");
}
