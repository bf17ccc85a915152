#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

// One element of a parsed document: where it lies in the text and how it links to the others.
// Tag lengths are full-width so that no tag, however long, loses its length.
struct XmlElementPos {
    std::uint32_t start = 0;          // offset of the "<", in UTF-16 units
    std::uint32_t length = 0;         // the whole element, end tag included
    std::uint32_t startTagLength = 0; //
    std::uint32_t endTagLength = 0;   // 0 for an empty-element tag and an unended one
    std::uint32_t flags = 0;          // nesting level in the low 16 bits, marks above
    std::uint32_t parent = 0;         // 0: the document level
    std::uint32_t firstChild = 0;
    std::uint32_t next = 0;
    std::uint32_t prev = 0; // the first child's prev is the last child: a ring

    static constexpr std::uint32_t kLevelMask = 0xFFFF;
    static constexpr std::uint32_t kFirstChild = 1u << 19;
    static constexpr std::uint32_t kNotEnded = 1u << 20;
    static constexpr std::uint32_t kIllFormedContent = 1u << 21;
    static constexpr std::uint32_t kDocIllFormed = 1u << 23; // record 0 only
};

// One node as the tokenizer sees it.
struct XmlNodeToken {
    int type = -2;
    std::size_t start = 0;
    std::size_t length = 0;
    std::size_t nameStart = 0; // tag name (start and end tags, processing instructions)
    std::size_t nameLength = 0;
    bool emptyElement = false;
};

// The statistics component's own XML reader: the whole document as one UTF-16 text, a table of
// element records pointing into it, and a cursor (parent, current element, child) that walks the
// tree. Files in any encoding are read into the text first (XmlTextFile). Bad input never throws:
// it gives a table with ill-formed marks and a false parse result. Diagnostics go to a small XML
// log of its own.
class CXmlTextDoc {
public:
    enum DocFlags : int {
        kUtf16LittleEndian = 0x1,
        kUtf8Bom = 0x4,
        kIgnoreCase = 0x8,
        kFileRead = 0x10,
        kFileWrite = 0x20,
        kFileAppend = 0x40,
        kUtf16BigEndian = 0x80,
        kEncodingFlags = 0x1 | 0x4 | 0x80,
        kFileModes = 0x10 | 0x20,
    };
    enum NodeType : int {
        kEndTag = 0,
        kElement = 1,
        kText = 2,
        kWhitespace = 4,
        kCdata = 8,
        kProcessingInstruction = 0x10,
        kComment = 0x20,
        kDocType = 0x40,
        kSyntaxError = -1,
        kEndOfDocument = -2,
    };
    enum TextFlags : int { kKeepReferences = 0x8, kEscapeQuotes = 0x100 };

    CXmlTextDoc();
    CXmlTextDoc(const CXmlTextDoc&) = delete;
    CXmlTextDoc& operator=(const CXmlTextDoc&) = delete;

    // Reads the whole file into the text (does not parse); docFlags gets the encoding bits.
    bool ReadTextFile(const wchar_t* path, int& docFlags);
    // The same for bytes already in memory (what ReadTextFile does after reading the file).
    bool ReadTextBytes(const std::string& bytes, int& docFlags);
    bool ParseDocument();
    bool SetDocText(const wchar_t* text);

    bool FindElement(const wchar_t* name);
    bool EnterElement();
    bool LeaveElement();
    // Back to the document level (parent 0, no current element).
    void ResetPos();
    std::wstring GetAttribute(const wchar_t* name) const;

    // Edits for the result log: a new last element under the cursor's parent (it becomes the
    // current one), and an attribute of the current element.
    bool AddElement(const wchar_t* name, const std::wstring& content = std::wstring(),
                    bool asCdata = false);
    bool SetAttribute(const wchar_t* name, const std::wstring& value);

    const std::wstring& GetDocText() const { return text_; }
    const std::wstring& GetResult() const { return result_; }
    int GetDocFlags() const { return docFlags_; }
    void SetDocFlags(int flags) { docFlags_ = flags; }
    std::size_t ElementCount() const { return records_.size(); }
    const XmlElementPos& Element(std::uint32_t index) const { return records_[index]; }

    static std::wstring UnescapeText(const std::wstring& text);
    static std::wstring EscapeText(const std::wstring& text, int flags);
    // Code page of an encoding name: 0 for an empty name, -1 for an unknown one.
    static int CodePageFromEncodingName(const std::wstring& name);
    // The encoding that the start of a text declares, or the empty text.
    std::wstring FindDeclaredEncoding(const std::wstring& text) const;
    int TokenizeNode(const std::wstring& text, std::size_t pos, XmlNodeToken& token,
                     bool logErrors) const;

    // One log entry: an element named after the event with the given attributes.
    void AddResult(const wchar_t* event,
                   std::initializer_list<std::pair<const wchar_t*, std::wstring>> attributes) const;

private:
    void ParseElements(std::uint32_t parent);
    std::uint32_t NewRecord(std::uint32_t parent, const XmlNodeToken& token);
    void AppendChild(std::uint32_t parent, std::uint32_t child);
    void CloseElement(std::uint32_t index, const XmlNodeToken& endTag);
    void UnendElement(std::uint32_t index, std::size_t endOffset);
    void SetLevels();
    bool TagNameMatches(std::uint32_t index, const wchar_t* name, std::size_t length) const;
    bool IsWellFormed() const;
    bool Reparse(const std::wstring& text);

    std::wstring text_;
    mutable std::wstring result_;
    std::uint32_t parentPos_ = 0;
    std::uint32_t currentPos_ = 0;
    std::uint32_t childPos_ = 0;
    int nodeType_ = 0;
    std::uint32_t nodeOffset_ = 0;
    std::uint32_t nodeLength_ = 0;
    int docFlags_ = 0;
    bool keepsLog_ = true;
    std::vector<XmlElementPos> records_;
};

// Finds an attribute in the tag text [begin, end) after its name; false when absent.
bool FindXmlAttribute(const std::wstring& text, std::size_t begin, std::size_t end,
                      const wchar_t* name, bool ignoreCase, std::wstring& value);
