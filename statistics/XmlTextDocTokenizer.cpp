#include <windows.h>

#include "statistics/XmlTextDoc.h"
#include "statistics/XmlTextNames.h"

#include <cwchar>

// The node tokenizer. Every scan is bounded by the end of the text: the files it reads are
// untrusted, and a tag left open at the end is a node of its own that ends there.

namespace {

bool IsNameStart(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || c == L'_' || c == L':' || c > 0x60;
}

bool StartsWithAt(const std::wstring& text, std::size_t pos, const wchar_t* what) {
    return text.compare(pos, std::wcslen(what), what) == 0;
}

// Offset just past the first occurrence of end at or after pos, or npos.
std::size_t PastTerminator(const std::wstring& text, std::size_t pos, const wchar_t* end) {
    const std::size_t found = text.find(end, pos);
    return found == std::wstring::npos ? found : found + std::wcslen(end);
}

// The end of a start tag: ">" outside quoted values. Sets emptyElement for "/>".
std::size_t StartTagEnd(const std::wstring& text, std::size_t pos, bool& emptyElement) {
    wchar_t quote = 0;
    for (; pos < text.size(); ++pos) {
        const wchar_t c = text[pos];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == L'"' || c == L'\'') {
            quote = c;
        } else if (c == L'>') {
            emptyElement = text[pos - 1] == L'/';
            return pos + 1;
        }
    }
    return std::wstring::npos;
}

// A document type declaration ends at its own ">": inner declarations in angle brackets and
// quoted strings are skipped.
std::size_t DocTypeEnd(const std::wstring& text, std::size_t pos) {
    int depth = 0;
    wchar_t quote = 0;
    for (; pos < text.size(); ++pos) {
        const wchar_t c = text[pos];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == L'"' || c == L'\'') {
            quote = c;
        } else if (c == L'<') {
            ++depth;
        } else if (c == L'>' && depth-- == 0) {
            return pos + 1;
        }
    }
    return std::wstring::npos;
}

// An error or unterminated text node ends at the next "<" (or the end of the text).
std::size_t NextOpen(const std::wstring& text, std::size_t pos) {
    const std::size_t found = text.find(L'<', pos);
    return found == std::wstring::npos ? text.size() : found;
}

} // namespace

int CXmlTextDoc::TokenizeNode(const std::wstring& text, std::size_t pos, XmlNodeToken& token,
                              bool logErrors) const {
    token = XmlNodeToken();
    token.start = pos;
    if (pos >= text.size()) {
        token.type = kEndOfDocument;
        return token.type;
    }
    const auto finish = [&](int type, std::size_t end) {
        token.type = type;
        token.length = end - pos;
        return type;
    };
    const auto error = [&](const wchar_t* event) {
        if (logErrors) {
            AddResult(event, {{L"offset", std::to_wstring(pos)}});
        }
        return finish(kSyntaxError, NextOpen(text, pos + 1));
    };
    const auto unterminated = [&](const wchar_t* kind) {
        if (logErrors) {
            AddResult(L"unterminated_tag_syntax",
                      {{L"type", kind}, {L"offset", std::to_wstring(pos)}});
        }
        return finish(kSyntaxError, text.size());
    };
    if (text[pos] != L'<') {
        int type = kWhitespace;
        std::size_t end = pos;
        for (; end < text.size() && text[end] != L'<'; ++end) {
            type = IsXmlWhitespace(text[end]) ? type : kText;
        }
        return finish(type, end);
    }
    if (pos + 1 >= text.size()) {
        return unterminated(L"tag");
    }
    const wchar_t next = text[pos + 1];
    std::size_t end = std::wstring::npos;
    if (IsNameStart(next) || next == L'/') {
        const bool endTag = next == L'/';
        token.nameStart = pos + (endTag ? 2 : 1);
        token.nameLength = XmlNameLength(text, token.nameStart);
        end = endTag ? PastTerminator(text, pos, L">")
                     : StartTagEnd(text, token.nameStart, token.emptyElement);
        if (end == std::wstring::npos) {
            return unterminated(endTag ? L"end_tag" : L"start_tag");
        }
        return finish(endTag ? kEndTag : kElement, end);
    }
    if (next == L'?') {
        token.nameStart = pos + 2;
        token.nameLength = XmlNameLength(text, token.nameStart);
        end = PastTerminator(text, pos + 2, L"?>");
        return end == std::wstring::npos ? unterminated(L"processing_instruction")
                                         : finish(kProcessingInstruction, end);
    }
    if (next != L'!') {
        return error(L"first_tag_syntax");
    }
    if (StartsWithAt(text, pos, L"<!-")) {
        if (!StartsWithAt(text, pos, L"<!--")) {
            return error(L"comment_tag_syntax");
        }
        end = PastTerminator(text, pos + 4, L"-->");
        return end == std::wstring::npos ? unterminated(L"comment") : finish(kComment, end);
    }
    if (StartsWithAt(text, pos, L"<![")) {
        if (!StartsWithAt(text, pos, L"<![CDATA[")) {
            return error(L"cdata_section_syntax");
        }
        end = PastTerminator(text, pos + 9, L"]]>");
        return end == std::wstring::npos ? unterminated(L"cdata_section") : finish(kCdata, end);
    }
    if (StartsWithAt(text, pos, L"<!D")) {
        if (!StartsWithAt(text, pos, L"<!DOCTYPE")) {
            return error(L"doctype_tag_syntax");
        }
        end = DocTypeEnd(text, pos + 9);
        return end == std::wstring::npos ? unterminated(L"document_type") : finish(kDocType, end);
    }
    return error(L"exclamation_tag_syntax");
}

std::wstring CXmlTextDoc::FindDeclaredEncoding(const std::wstring& text) const {
    XmlNodeToken token;
    bool inHtml = false;
    bool first = true;
    std::wstring value;
    for (std::size_t pos = 0; TokenizeNode(text, pos, token, false) != kEndOfDocument;
         pos += token.length) {
        const std::wstring name = text.substr(token.nameStart, token.nameLength);
        const std::size_t end = token.start + token.length;
        const std::size_t attributes = token.nameStart + token.nameLength;
        if (token.type == kProcessingInstruction && first && name == L"xml") {
            FindXmlAttribute(text, attributes, end, L"encoding", false, value);
            return value;
        }
        if (token.type == kEndTag && XmlNamesEqual(name, L"head", true)) {
            break;
        }
        if (token.type == kElement) {
            inHtml = inHtml || XmlNamesEqual(name, L"html", true);
            std::wstring equiv, content;
            if (inHtml && XmlNamesEqual(name, L"meta", true) &&
                FindXmlAttribute(text, attributes, end, L"http-equiv", true, equiv) &&
                XmlNamesEqual(equiv, L"Content-Type", true) &&
                FindXmlAttribute(text, attributes, end, L"content", true, content)) {
                return CharsetOfContentType(content);
            }
        }
        first = first && token.type == kWhitespace;
    }
    return std::wstring();
}
