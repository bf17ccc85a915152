#include <windows.h>

#include "statistics/XmlTextDoc.h"
#include "statistics/XmlTextFile.h"
#include "statistics/XmlTextNames.h"

#include <cwchar>
#include <unordered_map>

namespace {

constexpr std::size_t kResultLogLimit = 1000;

} // namespace

CXmlTextDoc::CXmlTextDoc() {
    SetDocText(nullptr);
}

bool CXmlTextDoc::SetDocText(const wchar_t* text) {
    if ((docFlags_ & kFileModes) != 0) {
        return false;
    }
    result_.clear();
    if (text == nullptr) {
        text_.clear();
        records_.assign(1, XmlElementPos());
        ResetPos();
        return true;
    }
    text_ = text;
    return ParseDocument();
}

bool CXmlTextDoc::ReadTextFile(const wchar_t* path, int& docFlags) {
    if (path == nullptr || ((docFlags | docFlags_) & kFileModes) != 0) {
        return false;
    }
    result_.clear();
    std::string bytes;
    return XmlTextFile(*this).ReadAll(path, bytes) && ReadTextBytes(bytes, docFlags);
}

bool CXmlTextDoc::ReadTextBytes(const std::string& bytes, int& docFlags) {
    if (((docFlags | docFlags_) & kFileModes) != 0) {
        return false;
    }
    // The old records point into the old text: they go with it.
    records_.assign(1, XmlElementPos());
    ResetPos();
    int encodingFlags = 0;
    const bool decoded = XmlTextFile(*this).Decode(bytes, text_, encodingFlags);
    docFlags = (docFlags & ~kEncodingFlags) | encodingFlags;
    docFlags_ = (docFlags_ & ~kEncodingFlags) | encodingFlags;
    return decoded;
}

void CXmlTextDoc::ResetPos() {
    parentPos_ = currentPos_ = childPos_ = 0;
    nodeType_ = 0;
    nodeOffset_ = nodeLength_ = 0;
}

bool CXmlTextDoc::ParseDocument() {
    ResetPos();
    records_.clear();
    records_.reserve(text_.size() / 64 + 8);
    records_.emplace_back();
    if (!text_.empty()) {
        ParseElements(0);
        records_[0].length = static_cast<std::uint32_t>(text_.size());
        if (records_[0].firstChild == 0) {
            AddResult(L"no_root_element", {});
        } else if (records_[records_[0].firstChild].next != 0) {
            AddResult(L"root_has_sibling", {});
        }
    }
    if ((docFlags_ & kFileWrite) != 0) {
        return true;
    }
    if ((docFlags_ & kFileRead) != 0) {
        return (records_[0].flags & XmlElementPos::kDocIllFormed) == 0;
    }
    return IsWellFormed();
}

bool CXmlTextDoc::IsWellFormed() const {
    const XmlElementPos& document = records_[0];
    return (document.flags & XmlElementPos::kDocIllFormed) == 0 && document.firstChild != 0 &&
           records_[document.firstChild].next == 0;
}

void CXmlTextDoc::AppendChild(std::uint32_t parent, std::uint32_t child) {
    XmlElementPos& owner = records_[parent];
    XmlElementPos& added = records_[child];
    added.parent = parent;
    added.next = 0;
    if (owner.firstChild == 0) {
        owner.firstChild = child;
        added.prev = child;
        added.flags |= XmlElementPos::kFirstChild;
        return;
    }
    added.flags &= ~XmlElementPos::kFirstChild;
    XmlElementPos& first = records_[owner.firstChild];
    records_[first.prev].next = child;
    added.prev = first.prev;
    first.prev = child;
}

std::uint32_t CXmlTextDoc::NewRecord(std::uint32_t parent, const XmlNodeToken& token) {
    const auto index = static_cast<std::uint32_t>(records_.size());
    records_.emplace_back();
    records_[index].start = static_cast<std::uint32_t>(token.start);
    records_[index].startTagLength = static_cast<std::uint32_t>(token.length);
    AppendChild(parent, index);
    return index;
}

void CXmlTextDoc::CloseElement(std::uint32_t index, const XmlNodeToken& endTag) {
    XmlElementPos& element = records_[index];
    element.length = static_cast<std::uint32_t>(endTag.start + endTag.length - element.start);
    element.endTagLength = static_cast<std::uint32_t>(endTag.length);
}

// A start tag without its end tag: it keeps only its start tag, and its children move out to
// follow it under its parent. It is its parent's last child while it is open, so its ring of
// children joins the parent's ring in one step; their parent fields are set once the whole text
// is read (SetLevels), or nested unended elements would move the same children again and again.
void CXmlTextDoc::UnendElement(std::uint32_t index, std::size_t endOffset) {
    XmlElementPos& element = records_[index];
    element.flags |= XmlElementPos::kNotEnded;
    element.length = element.startTagLength;
    if ((element.flags & XmlElementPos::kIllFormedContent) != 0) {
        records_[element.parent].flags |= XmlElementPos::kIllFormedContent;
    }
    const std::wstring name =
        text_.substr(element.start + 1, XmlNameLength(text_, element.start + 1));
    AddResult(L"unended_start_tag", {{L"tagname", name},
                                     {L"offset", std::to_wstring(element.start)},
                                     {L"offset2", std::to_wstring(endOffset)}});
    const std::uint32_t first = element.firstChild;
    if (first == 0) {
        return;
    }
    element.firstChild = 0;
    element.next = first;
    XmlElementPos& moved = records_[first];
    XmlElementPos& siblings = records_[records_[element.parent].firstChild];
    siblings.prev = moved.prev;
    moved.prev = index;
    moved.flags &= ~XmlElementPos::kFirstChild;
}

bool CXmlTextDoc::TagNameMatches(std::uint32_t index, const wchar_t* name,
                                 std::size_t length) const {
    const std::size_t start = records_[index].start + 1;
    const std::wstring tagName = text_.substr(start, XmlNameLength(text_, start));
    return XmlNamesEqual(tagName, std::wstring(name, length), (docFlags_ & kIgnoreCase) != 0);
}

void CXmlTextDoc::ParseElements(std::uint32_t parent) {
    // Open elements, and for each name the places in that stack of the open elements it names:
    // an end tag finds the innermost one at once, however deep the stack or many the lone tags.
    std::vector<std::uint32_t> open;
    std::vector<std::vector<std::uint32_t>*> openNames;
    std::unordered_map<std::wstring, std::vector<std::uint32_t>> byName;
    const bool ignoreCase = (docFlags_ & kIgnoreCase) != 0;
    XmlNodeToken token;
    const auto innermost = [&] { return open.empty() ? parent : open.back(); };
    const auto markIllFormed = [&] {
        records_[0].flags |= XmlElementPos::kDocIllFormed;
        records_[innermost()].flags |= XmlElementPos::kIllFormedContent;
    };
    const auto pop = [&] {
        open.pop_back();
        openNames.back()->pop_back();
        openNames.pop_back();
    };
    for (std::size_t pos = 0; TokenizeNode(text_, pos, token, true) != kEndOfDocument;
         pos += token.length) {
        if (token.type == kElement) {
            const std::uint32_t index = NewRecord(innermost(), token);
            if (token.emptyElement) {
                records_[index].length = records_[index].startTagLength;
            } else {
                auto& places =
                    byName[XmlNameKey(text_, token.nameStart, token.nameLength, ignoreCase)];
                places.push_back(static_cast<std::uint32_t>(open.size()));
                openNames.push_back(&places);
                open.push_back(index);
            }
        } else if (token.type == kEndTag) {
            const auto found =
                byName.find(XmlNameKey(text_, token.nameStart, token.nameLength, ignoreCase));
            if (found == byName.end() || found->second.empty()) {
                markIllFormed();
                AddResult(L"lone_end_tag",
                          {{L"tagname", text_.substr(token.nameStart, token.nameLength)},
                           {L"offset", std::to_wstring(token.start)}});
                continue;
            }
            const std::size_t depth = found->second.back() + 1;
            if (depth < open.size()) {
                records_[0].flags |= XmlElementPos::kDocIllFormed;
            }
            while (open.size() > depth) {
                UnendElement(open.back(), token.start);
                pop();
            }
            CloseElement(open.back(), token);
            pop();
        } else if (token.type == kSyntaxError) {
            markIllFormed();
        }
    }
    if (!open.empty()) {
        records_[0].flags |= XmlElementPos::kDocIllFormed;
    }
    while (!open.empty()) {
        UnendElement(open.back(), text_.size() - 1);
        pop();
    }
    SetLevels();
}

// Parents always come before their children in the table. A child whose parent was left unended
// moved out to that element's parent (already settled, as it comes earlier).
void CXmlTextDoc::SetLevels() {
    for (std::size_t i = 1; i < records_.size(); ++i) {
        XmlElementPos& element = records_[i];
        if ((records_[element.parent].flags & XmlElementPos::kNotEnded) != 0) {
            element.parent = records_[element.parent].parent;
        }
        const std::uint32_t level =
            element.parent == 0 ? 0
                                : (records_[element.parent].flags & XmlElementPos::kLevelMask) + 1;
        element.flags =
            (element.flags & ~XmlElementPos::kLevelMask) | (level & XmlElementPos::kLevelMask);
    }
}

bool CXmlTextDoc::FindElement(const wchar_t* name) {
    if ((docFlags_ & kFileWrite) != 0 || records_.size() <= 1) {
        return false;
    }
    std::wstring first;
    if (name != nullptr && *name != L'\0' && !FirstNameOfXmlPath(name, first)) {
        return false;
    }
    std::uint32_t index =
        currentPos_ != 0 ? records_[currentPos_].next : records_[parentPos_].firstChild;
    for (; index != 0; index = records_[index].next) {
        if (first.empty() || TagNameMatches(index, first.c_str(), first.size())) {
            break;
        }
    }
    if (index == 0) {
        return false;
    }
    currentPos_ = index;
    parentPos_ = records_[index].parent;
    childPos_ = 0;
    nodeType_ = kElement;
    nodeOffset_ = nodeLength_ = 0;
    return true;
}

bool CXmlTextDoc::EnterElement() {
    if (currentPos_ == 0 || nodeType_ != kElement) {
        return false;
    }
    parentPos_ = currentPos_;
    currentPos_ = childPos_;
    childPos_ = 0;
    nodeType_ = currentPos_ != 0 ? kElement : 0;
    return true;
}

bool CXmlTextDoc::LeaveElement() {
    if (parentPos_ == 0) {
        return false;
    }
    childPos_ = currentPos_;
    currentPos_ = parentPos_;
    parentPos_ = records_[parentPos_].parent;
    nodeType_ = kElement;
    return true;
}

std::wstring CXmlTextDoc::GetAttribute(const wchar_t* name) const {
    if (name == nullptr || currentPos_ == 0 || nodeType_ != kElement) {
        return std::wstring();
    }
    const XmlElementPos& element = records_[currentPos_];
    const std::size_t nameEnd = element.start + 1 + XmlNameLength(text_, element.start + 1);
    std::wstring value;
    if (!FindXmlAttribute(text_, nameEnd, element.start + element.startTagLength, name,
                          (docFlags_ & kIgnoreCase) != 0, value)) {
        return std::wstring();
    }
    return UnescapeText(value);
}

bool FindXmlAttribute(const std::wstring& text, std::size_t begin, std::size_t end,
                      const wchar_t* name, bool ignoreCase, std::wstring& value) {
    end = end < text.size() ? end : text.size();
    std::size_t pos = begin;
    const auto skipBlanks = [&] {
        while (pos < end && IsXmlWhitespace(text[pos])) {
            ++pos;
        }
    };
    for (;;) {
        skipBlanks();
        if (pos >= end || text[pos] == L'>' || text[pos] == L'/' || text[pos] == L'?') {
            return false;
        }
        const std::size_t nameStart = pos;
        while (pos < end && !IsXmlWhitespace(text[pos]) &&
               std::wcschr(L"/=>?", text[pos]) == nullptr) {
            ++pos;
        }
        const std::wstring attribute = text.substr(nameStart, pos - nameStart);
        skipBlanks();
        std::size_t valueStart = pos, valueEnd = pos;
        if (pos < end && text[pos] == L'=') {
            ++pos;
            skipBlanks();
            const wchar_t quote =
                pos < end && (text[pos] == L'"' || text[pos] == L'\'') ? text[pos] : 0;
            valueStart = quote != 0 ? pos + 1 : pos;
            valueEnd = valueStart;
            while (valueEnd < end &&
                   (quote != 0 ? text[valueEnd] != quote
                               : !IsXmlWhitespace(text[valueEnd]) && text[valueEnd] != L'>')) {
                ++valueEnd;
            }
            pos = quote != 0 && valueEnd < end ? valueEnd + 1 : valueEnd;
        }
        if (XmlNamesEqual(attribute, name, ignoreCase)) {
            value = text.substr(valueStart, valueEnd - valueStart);
            return true;
        }
        if (pos == nameStart) {
            ++pos; // a lone "=" or quote: step over it
        }
    }
}

// ---- edits, used on the result log ----

bool CXmlTextDoc::Reparse(const std::wstring& text) {
    const std::uint32_t parent = parentPos_, current = currentPos_;
    text_ = text;
    ParseDocument();
    parentPos_ = parent < records_.size() ? parent : 0;
    currentPos_ = current < records_.size() ? current : 0;
    nodeType_ = currentPos_ != 0 ? kElement : 0;
    return true;
}

bool CXmlTextDoc::AddElement(const wchar_t* name, const std::wstring& content, bool asCdata) {
    if (name == nullptr || *name == L'\0') {
        return false;
    }
    std::wstring element = L"<" + std::wstring(name);
    if (content.empty()) {
        element += L"/>";
    } else if (asCdata) {
        std::wstring inner;
        for (std::size_t pos = 0, found; pos < content.size(); pos = found + 3) {
            found = content.find(L"]]>", pos);
            found = found == std::wstring::npos ? content.size() : found;
            inner += content.substr(pos, found - pos);
            if (found < content.size()) {
                inner += L"]]]]><![CDATA[>";
            }
            if (found >= content.size()) {
                break;
            }
        }
        element += L"><![CDATA[" + inner + L"]]></" + name + L">";
    } else {
        element += L">" + EscapeText(content, 0) + L"</" + name + L">";
    }
    element += L"\r\n";
    std::size_t at = text_.size();
    if (parentPos_ != 0) {
        const XmlElementPos& parent = records_[parentPos_];
        if (parent.endTagLength == 0) {
            return false; // no content to add to
        }
        at = parent.start + parent.length - parent.endTagLength;
    }
    Reparse(text_.substr(0, at) + element + text_.substr(at));
    const std::uint32_t first = records_[parentPos_].firstChild;
    currentPos_ = first != 0 ? records_[first].prev : 0;
    nodeType_ = currentPos_ != 0 ? kElement : 0;
    return currentPos_ != 0;
}

bool CXmlTextDoc::SetAttribute(const wchar_t* name, const std::wstring& value) {
    if (name == nullptr || currentPos_ == 0 || nodeType_ != kElement) {
        return false;
    }
    const XmlElementPos& element = records_[currentPos_];
    std::size_t tagEnd = element.start + element.startTagLength - 1;
    if (tagEnd > element.start && text_[tagEnd - 1] == L'/') {
        --tagEnd;
    }
    const std::wstring written =
        L" " + std::wstring(name) + L"=\"" + EscapeText(value, kEscapeQuotes) + L"\"";
    return Reparse(text_.substr(0, tagEnd) + written + text_.substr(tagEnd));
}

void CXmlTextDoc::AddResult(
    const wchar_t* event,
    std::initializer_list<std::pair<const wchar_t*, std::wstring>> attributes) const {
    if (!keepsLog_ || result_.size() >= kResultLogLimit) {
        return;
    }
    CXmlTextDoc log;
    log.keepsLog_ = false;
    log.Reparse(result_);
    log.ResetPos();
    if (!log.AddElement(event)) {
        return;
    }
    for (const auto& attribute : attributes) {
        log.SetAttribute(attribute.first, attribute.second);
    }
    result_ = log.text_;
}
