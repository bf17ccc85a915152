#include <windows.h>

#include "statistics/XmlTextDoc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>

#include <string>
#include <vector>

namespace {

struct ParseCase {
    const wchar_t* xml;
    bool wellFormed;
    std::vector<const wchar_t*> logged; // texts the result log must hold
};

// Cursor on the root's first child named name (or any child for null).
bool FindUnderRoot(CXmlTextDoc& doc, const wchar_t* name) {
    doc.ResetPos();
    return doc.FindElement(nullptr) && doc.EnterElement() && doc.FindElement(name);
}

} // namespace

TEST(XmlTextDoc, ParseResultsAndLogEntries) {
    const std::vector<ParseCase> cases = {
        {L"", false, {}},
        {L"  ", false, {L"<no_root_element"}},
        {L"<a/><b/>", false, {L"<root_has_sibling"}},
        {L"<a><b></a>", false, {L"<unended_start_tag", L"tagname=\"b\""}},
        {L"<a></b></a>", false, {L"<lone_end_tag", L"tagname=\"b\""}},
        {L"<a><!-- x", false, {L"<unterminated_tag_syntax type=\"comment\" offset=\"3\""}},
        {L"<a", false, {L"type=\"start_tag\""}},
        {L"<a></a", false, {L"type=\"end_tag\""}},
        {L"<a><?pi", false, {L"type=\"processing_instruction\""}},
        {L"<a><![CDATA[", false, {L"type=\"cdata_section\""}},
        {L"<a><!DOCTYPE", false, {L"type=\"document_type\""}},
        {L"<a>< b/></a>", false, {L"<first_tag_syntax"}},
        {L"<a><!x></a>", false, {L"<exclamation_tag_syntax"}},
        {L"<a><!-x></a>", false, {L"<comment_tag_syntax"}},
        {L"<a><![x></a>", false, {L"<cdata_section_syntax"}},
        {L"<a><!DOCX></a>", false, {L"<doctype_tag_syntax"}},
        {L"<a b='>' c=\"/\"/>", true, {}},
        {L"<?xml version='1.0'?>\r\n<!DOCTYPE a [<!ELEMENT a ANY> <!ATTLIST a b CDATA '>'>]>"
         L"<a><![CDATA[<b>]]><!-- <c> --> text &amp; <d/></a>",
         true,
         {}},
    };
    for (const ParseCase& c : cases) {
        CXmlTextDoc doc;
        EXPECT_EQ(doc.SetDocText(c.xml), c.wellFormed) << c.xml;
        for (const wchar_t* entry : c.logged) {
            EXPECT_NE(doc.GetResult().find(entry), std::wstring::npos) << c.xml << doc.GetResult();
        }
        if (c.logged.empty()) {
            EXPECT_EQ(doc.GetResult(), L"") << c.xml;
        }
    }
}

TEST(XmlTextDoc, UnendedElementKeepsItsStartTagAndItsChildrenMoveOut) {
    CXmlTextDoc doc;
    const std::wstring xml = L"<a><b x='1'><c/></a>";
    EXPECT_FALSE(doc.SetDocText(xml.c_str()));
    ASSERT_EQ(doc.ElementCount(), 4u);
    const XmlElementPos &a = doc.Element(1), &b = doc.Element(2), &c = doc.Element(3);
    EXPECT_EQ(a.length, xml.size());
    EXPECT_EQ(a.endTagLength, 4u);
    EXPECT_NE(b.flags & XmlElementPos::kNotEnded, 0u);
    EXPECT_EQ(b.length, b.startTagLength);
    EXPECT_EQ(c.parent, 1u);
    EXPECT_EQ(b.next, 3u);
    EXPECT_EQ(doc.Element(a.firstChild).prev, 3u); // the ring's last child
    EXPECT_EQ(c.flags & XmlElementPos::kLevelMask, 1u);
    EXPECT_NE(doc.Element(0).flags & XmlElementPos::kDocIllFormed, 0u);
}

// Every record field of a document, one record per line: start, length, start and end tag lengths,
// flags (hexadecimal), parent, first child, next, previous.
std::wstring RecordsOf(const CXmlTextDoc& doc) {
    std::wstring text;
    for (std::uint32_t i = 0; i < doc.ElementCount(); ++i) {
        const XmlElementPos& e = doc.Element(i);
        wchar_t line[160];
        swprintf(line, 160, L"%u %u %u %u %x %u %u %u %u\n", e.start, e.length, e.startTagLength,
                 e.endTagLength, e.flags, e.parent, e.firstChild, e.next, e.prev);
        text += line;
    }
    return text;
}

// Unended elements nested in each other and end tags that match no open element, or an outer one:
// the records stay as they always were.
TEST(XmlTextDoc, UnendedAndUnmatchedTagShapesKeepTheirRecords) {
    const struct {
        const wchar_t* xml;
        bool ignoreCase;
        const wchar_t* records;
    } cases[] = {
        {L"<r><a><b><c/>t<d></r>", false,
         L"0 21 0 0 800000 0 1 0 0\n"
         L"0 21 3 4 80000 0 2 0 1\n"
         L"3 3 3 0 180001 1 0 3 5\n"
         L"6 3 3 0 100001 1 0 4 2\n"
         L"9 4 4 0 1 1 0 5 3\n"
         L"14 3 3 0 100001 1 0 0 4\n"},
        {L"<a><a><a><a>", false,
         L"0 12 0 0 800000 0 1 0 0\n"
         L"0 3 3 0 180000 0 0 2 4\n"
         L"3 3 3 0 100000 0 0 3 1\n"
         L"6 3 3 0 100000 0 0 4 2\n"
         L"9 3 3 0 100000 0 0 0 3\n"},
        {L"<a><b><c><d/></b></e></a></c>", false,
         L"0 29 0 0 a00000 0 1 0 0\n"
         L"0 25 3 4 280000 0 2 0 1\n"
         L"3 14 3 4 80001 1 3 0 2\n"
         L"6 3 3 0 180002 2 0 4 4\n"
         L"9 4 4 0 2 2 0 0 3\n"},
        {L"<x><y><x></x></x></y><z/>", false,
         L"0 25 0 0 a00000 0 1 0 0\n"
         L"0 17 3 4 80000 0 2 4 4\n"
         L"3 3 3 0 180001 1 0 3 3\n"
         L"6 7 3 4 1 1 0 0 2\n"
         L"21 4 4 0 0 0 0 0 1\n"},
        {L"<R><a><B/></A></b></r>", true,
         L"0 22 0 0 800000 0 1 0 0\n"
         L"0 22 3 4 280000 0 2 0 1\n"
         L"3 11 3 4 80001 1 3 0 2\n"
         L"6 4 4 0 80002 2 0 0 3\n"},
        {L"<R><a><B/></A></b></r>", false,
         L"0 22 0 0 a00000 0 1 0 0\n"
         L"0 3 3 0 380000 0 0 2 3\n"
         L"3 3 3 0 300000 0 0 3 1\n"
         L"6 4 4 0 0 0 0 0 2\n"},
        {L"<a><b/><c><d><e/></d><f>", false,
         L"0 24 0 0 800000 0 1 0 0\n"
         L"0 3 3 0 180000 0 0 2 6\n"
         L"3 4 4 0 0 0 0 3 1\n"
         L"7 3 3 0 100000 0 0 4 2\n"
         L"10 11 3 4 0 0 5 6 3\n"
         L"13 4 4 0 80001 4 0 0 5\n"
         L"21 3 3 0 100000 0 0 0 4\n"},
    };
    for (const auto& c : cases) {
        CXmlTextDoc doc;
        doc.SetDocFlags(c.ignoreCase ? CXmlTextDoc::kIgnoreCase : 0);
        EXPECT_FALSE(doc.SetDocText(c.xml));
        EXPECT_EQ(RecordsOf(doc), c.records) << c.xml;
    }
}

TEST(XmlTextDoc, LongEndTagKeepsItsLength) {
    const std::wstring name(1100, L'n');
    CXmlTextDoc doc;
    ASSERT_TRUE(doc.SetDocText((L"<" + name + L"></" + name + L">").c_str()));
    EXPECT_EQ(doc.Element(1).endTagLength, 1103u);
    EXPECT_EQ(doc.Element(1).startTagLength, 1102u);
}

TEST(XmlTextDoc, FindElementComparesWholeFirstNamesOfPaths) {
    CXmlTextDoc doc;
    ASSERT_TRUE(doc.SetDocText(L"<r><CPU_INFOX n='0'/><CPU_INFO n='1'/><a n='2'><b/></a>"
                               L"<b n='3'/><a n='4'/></r>"));
    const struct {
        const wchar_t* name;
        const wchar_t* found; // n of the element found, null: not found
    } cases[] = {
        {nullptr, L"0"},    {L"CPU", nullptr},  {L"CPU_INFO", L"1"},  {L"cpu_info", nullptr},
        {L"a/b", L"2"},     {L"a[2]", L"2"},    {L"a[@n='4']", L"2"}, {L"a[@n=4]/@n", L"2"},
        {L"a[b]", L"2"},    {L"/a", nullptr},   {L"//a", nullptr},    {L"a[", nullptr},
        {L"a[@]", nullptr}, {L"a//b", nullptr}, {L"b", L"3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindUnderRoot(doc, c.name), c.found != nullptr) << (c.name ? c.name : L"null");
        if (c.found != nullptr) {
            EXPECT_EQ(doc.GetAttribute(L"n"), c.found) << c.name;
        }
    }
    // A failed find leaves the cursor; the next find goes on after the current element.
    ASSERT_TRUE(FindUnderRoot(doc, L"a"));
    EXPECT_FALSE(doc.FindElement(L"zzz"));
    EXPECT_EQ(doc.GetAttribute(L"n"), L"2");
    ASSERT_TRUE(doc.FindElement(L"a"));
    EXPECT_EQ(doc.GetAttribute(L"n"), L"4");
    doc.SetDocFlags(CXmlTextDoc::kIgnoreCase);
    ASSERT_TRUE(FindUnderRoot(doc, L"cpu_info"));
    EXPECT_EQ(doc.GetAttribute(L"N"), L"1");
}

// A name that the text's name begins with, or that begins with the text's name, is another name.
TEST(XmlTextDoc, NamesMatchWholeNeverAsPrefixes) {
    const struct {
        const wchar_t* xml;
        const wchar_t* element;
        const wchar_t* attribute;
        const wchar_t* value; // null: the element is not found
    } cases[] = {
        {L"<r><CPU n='0'/><CPU_INFO n='1'/></r>", L"CPU_INFO", L"n", L"1"},
        {L"<r><CPU n='0'/></r>", L"CPU_INFO", L"n", nullptr},
        {L"<r><CPU_INFO n='1'/><CPU n='0'/></r>", L"CPU", L"n", L"0"},
        {L"<r><e Submit='Yes' SubmitType='No'/></r>", L"e", L"SubmitType", L"No"},
        {L"<r><e SubmitType='No' Submit='Yes'/></r>", L"e", L"Submit", L"Yes"},
        {L"<r><e Submit='Yes'/></r>", L"e", L"SubmitType", L""},
        {L"<r><e SubmitType='No'/></r>", L"e", L"Submit", L""},
    };
    for (const int flags : {0, static_cast<int>(CXmlTextDoc::kIgnoreCase)}) {
        for (const auto& c : cases) {
            CXmlTextDoc doc;
            ASSERT_TRUE(doc.SetDocText(c.xml));
            doc.SetDocFlags(flags);
            EXPECT_EQ(FindUnderRoot(doc, c.element), c.value != nullptr) << c.xml;
            if (c.value != nullptr) {
                EXPECT_EQ(doc.GetAttribute(c.attribute), c.value) << c.xml << " " << c.attribute;
            }
        }
    }
}

TEST(XmlTextDoc, AttributeValuesResolveReferences) {
    const struct {
        const wchar_t* value;
        const wchar_t* read;
    } cases[] = {
        {L"&amp;", L"&"},
        {L"&#x4E2D;&#20013;", L"中中"},
        {L"&#x1F600;", L"\U0001F600"},
        {L"&apos;&quot;&lt;&gt;", L"'\"<>"},
        {L"&eacute;&euro;&nbsp;", L"é€\u00A0"},
        // Stay as written: unknown names, no characters, too long, not closed, not numbers.
        {L"&nosuch;&#0;&#x110000;&#xD800;&#55296;&toolongname;a & b&#xZZ;&#;&AMP;&amp", nullptr},
    };
    for (const auto& c : cases) {
        CXmlTextDoc doc;
        ASSERT_TRUE(doc.SetDocText((L"<a v=\"" + std::wstring(c.value) + L"\"/>").c_str()));
        ASSERT_TRUE(doc.FindElement(nullptr));
        EXPECT_EQ(doc.GetAttribute(L"v"), c.read ? c.read : c.value) << c.value;
    }
}

TEST(XmlTextDoc, AttributeSyntax) {
    CXmlTextDoc doc;
    ASSERT_TRUE(doc.SetDocText(L"<a\tx = 'q\"r' y=bare z\r\nw=\"1\" vv=\"2\"/>"));
    ASSERT_TRUE(doc.FindElement(nullptr));
    EXPECT_EQ(doc.GetAttribute(L"x"), L"q\"r");
    EXPECT_EQ(doc.GetAttribute(L"y"), L"bare");
    EXPECT_EQ(doc.GetAttribute(L"z"), L"");
    EXPECT_EQ(doc.GetAttribute(L"w"), L"1");
    EXPECT_EQ(doc.GetAttribute(L"v"), L"");
    EXPECT_EQ(doc.GetAttribute(L"X"), L"");
    EXPECT_EQ(doc.GetAttribute(nullptr), L"");
}

TEST(XmlTextDoc, EscapeText) {
    EXPECT_EQ(CXmlTextDoc::EscapeText(L"<&>\"'", 0), L"&lt;&amp;&gt;\"'");
    EXPECT_EQ(CXmlTextDoc::EscapeText(L"\"'", CXmlTextDoc::kEscapeQuotes), L"&quot;&apos;");
    EXPECT_EQ(CXmlTextDoc::EscapeText(L"&amp;&#1; & x", CXmlTextDoc::kKeepReferences),
              L"&amp;&#1; &amp; x");
}

TEST(XmlTextDoc, EncodingNames) {
    const struct {
        std::wstring name;
        int codePage;
    } cases[] = {{L"UTF-8", 65001},  {L"gb2312", 936},    {L"GBK", 936},
                 {L"cp1256 ", 1256}, {L"UTF-16BE", 1201}, {L"UTF-32", 65005},
                 {L"", 0},           {L"gb 2312", -1},    {std::wstring(100, L'a'), -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(CXmlTextDoc::CodePageFromEncodingName(c.name), c.codePage) << c.name;
    }
}
