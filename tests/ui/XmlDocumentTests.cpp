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

TEST(XmlDocumentTest, InvalidNodeAnswers) {
    CXmlNode invalid;
    EXPECT_FALSE(invalid.IsValid());
    EXPECT_EQ(nullptr, invalid.GetName());
    EXPECT_EQ(nullptr, invalid.GetValue());
    EXPECT_FALSE(invalid.GetChild().IsValid());
    EXPECT_FALSE(invalid.GetSibling().IsValid());
    EXPECT_FALSE(invalid.HasChildren());
    EXPECT_EQ(0, invalid.GetAttributeCount());
    EXPECT_FALSE(invalid.HasAttributes());
    EXPECT_EQ(nullptr, invalid.GetAttributeName(0));
    EXPECT_EQ(nullptr, invalid.GetAttributeValue(0));
    wchar_t buffer[8] = L"x";
    EXPECT_FALSE(invalid.GetAttributeValue(L"a", buffer, 7));

    CXmlDocument empty;
    EXPECT_FALSE(empty.GetRoot().IsValid());
    EXPECT_TRUE(empty.Load(L"  "));
    EXPECT_FALSE(empty.GetRoot().IsValid());
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

TEST(XmlDocumentTest, EmptyElementsWithAndWithoutBlanks) {
    CXmlDocument doc(L"<R><A/><B   /><C x=\"1\"/><D x=\"1\"   /></R>");
    CXmlNode r = doc.GetRoot();
    ASSERT_TRUE(r.IsValid());
    CXmlNode a = r.GetChild();
    EXPECT_STREQ(L"A", a.GetName());
    EXPECT_EQ(0, a.GetAttributeCount());
    CXmlNode b = a.GetSibling();
    EXPECT_STREQ(L"B", b.GetName());
    EXPECT_EQ(0, b.GetAttributeCount());
    EXPECT_STREQ(L"", b.GetValue());
    CXmlNode c = b.GetSibling();
    EXPECT_EQ(1, c.GetAttributeCount());
    CXmlNode d = c.GetSibling();
    EXPECT_EQ(1, d.GetAttributeCount());
    EXPECT_EQ(L"1", Attr(d, L"x"));
    EXPECT_FALSE(d.GetSibling().IsValid());
}

TEST(XmlDocumentTest, ElementTextIsTheTextBeforeTheFirstChild) {
    CXmlDocument doc(L"<R>head<A>inner</A><B/></R>");
    CXmlNode r = doc.GetRoot();
    ASSERT_TRUE(r.IsValid());
    EXPECT_STREQ(L"head", r.GetValue());
    EXPECT_STREQ(L"inner", r.GetChild().GetValue());
}

TEST(XmlDocumentTest, SpacesAroundEqualsAndInEndTags) {
    CXmlDocument doc(L"<R  a = \"1\"\tb\n=\n\"2\" >x</ R >");
    CXmlNode r = doc.GetRoot();
    ASSERT_TRUE(r.IsValid()) << doc.GetLastErrorMessage();
    EXPECT_EQ(L"1", Attr(r, L"a"));
    EXPECT_EQ(L"2", Attr(r, L"b"));
    EXPECT_STREQ(L"x", r.GetValue());
}

TEST(XmlDocumentTest, DeclarationCommentsAndInstructionsAreSkipped) {
    CXmlDocument doc(L"<?xml version=\"1.0\"?>\n<!-- head --><R><!-- a <B/> inside --><?pi x?><A/>"
                     L"<!----></R><!-- trailing -->");
    CXmlNode r = doc.GetRoot();
    ASSERT_TRUE(r.IsValid()) << doc.GetLastErrorMessage();
    EXPECT_STREQ(L"R", r.GetName());
    CXmlNode a = r.GetChild();
    EXPECT_STREQ(L"A", a.GetName());
    EXPECT_FALSE(a.GetSibling().IsValid());
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

TEST(XmlDocumentTest, TextEndingInsideTheRootIsAccepted) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.Load(L"<A>text"));
    EXPECT_STREQ(L"text", doc.GetRoot().GetValue());
    ASSERT_TRUE(doc.Load(L"<A><B/>"));
    EXPECT_STREQ(L"B", doc.GetRoot().GetChild().GetName());
    ASSERT_TRUE(doc.Load(L"<A><B>text"));
    EXPECT_STREQ(L"text", doc.GetRoot().GetChild().GetValue());
}

TEST(XmlDocumentTest, ErrorLocationIsCutTo49Characters) {
    std::wstring text = L"<A x='";
    text += std::wstring(300, L'v');
    const std::wstring location = ExpectError(text, L"Expected attribute value");
    EXPECT_EQ(49u, location.size());
    EXPECT_EQ(L"'" + std::wstring(48, L'v'), location);
}

TEST(XmlDocumentTest, NextLoadClearsTheError) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.Load(L"<A"));
    EXPECT_STRNE(L"", doc.GetLastErrorMessage());
    EXPECT_TRUE(doc.Load(L"<A/>"));
    EXPECT_STREQ(L"", doc.GetLastErrorMessage());
    EXPECT_STREQ(L"", doc.GetLastErrorLocation());
    doc.Release();
    EXPECT_FALSE(doc.GetRoot().IsValid());
    EXPECT_FALSE(doc.Load(nullptr));
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

TEST(XmlDocumentTest, EmptyNamesAreKeptAsWritten) {
    CXmlDocument doc(L"<A =\"1\" b=\"2\"></A><></>");
    CXmlNode a = doc.GetRoot();
    ASSERT_TRUE(a.IsValid()) << doc.GetLastErrorMessage();
    ASSERT_EQ(2, a.GetAttributeCount());
    EXPECT_STREQ(L"", a.GetAttributeName(0));
    EXPECT_STREQ(L"1", a.GetAttributeValue(0));
    EXPECT_STREQ(L"2", a.GetAttributeValue(L"b"));
    EXPECT_STREQ(L"", a.GetSibling().GetName());
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

TEST(XmlDocumentTest, ManyElementsGrowTheTable) {
    std::wstring text = L"<R>";
    for (int i = 0; i < 5000; ++i) {
        text += L"<I n=\"" + std::to_wstring(i) + L"\"/>";
    }
    text += L"</R>";
    CXmlDocument doc(text.c_str());
    int count = 0;
    for (CXmlNode n = doc.GetRoot().GetChild(); n.IsValid(); n = n.GetSibling()) {
        ASSERT_EQ(std::to_wstring(count), Attr(n, L"n"));
        ++count;
    }
    EXPECT_EQ(5000, count);
}

TEST(XmlDocumentTest, StrayEndTagAtTopLevelEndsTheDocument) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.Load(L"<A/></B> garbage"));
    EXPECT_STREQ(L"A", doc.GetRoot().GetName());
}

TEST(XmlDocumentTest, SeveralTopLevelElementsAreSiblings) {
    CXmlDocument doc(L"<A/>\r\n<B/>");
    ASSERT_TRUE(doc.GetRoot().IsValid());
    EXPECT_STREQ(L"B", doc.GetRoot().GetSibling().GetName());
}
