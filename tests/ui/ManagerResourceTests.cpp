#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"
#include "ui/XmlDocument.h"

#include "tests/support/Process.h"
#include "tests/support/ZipWriter.h"
#include "tests/ui/support/LiveFontCounter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using SkinUI::CControlUI;
using SkinUI::CUIPtrArray;
using SkinUI::CWindowManagerUI;
using SkinUI::CXmlDocument;
using SkinUI::TFontRecordUI;
using SkinUI::TImageRecordUI;
using TestSupport::ZipItem;
using TestSupport::ZipWriter;

namespace {

const DWORD kMaxXml = 4 * 1024 * 1024;

// A 2 x 2 24-bit BMP: red, green on top; blue, white below. The test
// program carries the same bytes as resource 12 of type TESTIMG.
std::string SmallBmp() {
    static const unsigned char bytes[] = {
        0x42, 0x4D, 0x46, 0,    0,    0,    0,    0,    0, 0, 0x36, 0, 0,    0, 0x28, 0, 0,    0,
        2,    0,    0,    0,    2,    0,    0,    0,    1, 0, 0x18, 0, 0,    0, 0,    0, 0x10, 0,
        0,    0,    0x13, 0x0B, 0,    0,    0x13, 0x0B, 0, 0, 0,    0, 0,    0, 0,    0, 0,    0,
        0xFF, 0,    0,    0xFF, 0xFF, 0xFF, 0,    0,    0, 0, 0xFF, 0, 0xFF, 0, 0,    0};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof(bytes));
}

// A well-formed XML text of exactly the given size.
std::string XmlOfSize(size_t size) {
    std::string xml = "<A>";
    xml.append(size - 7, 'x');
    xml += "</A>";
    return xml;
}

// The skin archive of this process; SetResourceZip takes only the first one,
// so every test that needs it goes through here. The state before the first
// call is kept for the test that checks it.
struct SkinArchive {
    std::string bytes;
    std::string otherBytes;
    bool zipNameWasEmpty = false;
    bool wasCached = false;
    bool handleWasNull = false;
    SkinUI::ZipHandle handle = nullptr;
    SkinUI::ZipHandle secondHandle = nullptr;
};

SkinArchive& Skin() {
    static SkinArchive skin = [] {
        SkinArchive s;
        ZipWriter writer;
        writer.AddFile("skin.xml", "<Window size=\"10,10\"><Label text=\"ok\"/></Window>")
            .AddFile("bad.xml", "<Window><Label></Window>")
            .AddFile("empty.xml", "", ZipWriter::kStored)
            .AddFile("exact.xml", XmlOfSize(kMaxXml))
            .AddFile("big.xml", XmlOfSize(kMaxXml + 1))
            .AddFile("img/pic.bmp", SmallBmp(), ZipWriter::kStored);
        ZipItem broken;
        broken.name = "broken.xml";
        broken.data = "<Window/>";
        broken.method = 8;
        broken.storedData = std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 9);
        writer.Add(broken);
        s.bytes = writer.Bytes();
        s.otherBytes = ZipWriter().AddFile("other.xml", "<Other/>").Bytes();
        s.zipNameWasEmpty = CWindowManagerUI::GetResourceZip().IsEmpty();
        s.wasCached = CWindowManagerUI::IsCachedResourceZip();
        s.handleWasNull = CWindowManagerUI::GetResourceZipHandle() == nullptr;
        s.handle = CWindowManagerUI::SetResourceZip(&s.bytes[0],
                                                    static_cast<unsigned int>(s.bytes.size()));
        s.secondHandle = CWindowManagerUI::SetResourceZip(
            &s.otherBytes[0], static_cast<unsigned int>(s.otherBytes.size()));
        return s;
    }();
    return skin;
}

std::wstring ModuleFolder() {
    wchar_t name[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, name, MAX_PATH);
    std::wstring path(name);
    return path.substr(0, path.rfind(L'\\') + 1);
}

} // namespace

// ---- Process-wide state -------------------------------------------------------

TEST(ManagerProcessState, ResourceFolderEndsInOneSeparator) {
    const struct {
        const wchar_t* given;
        const wchar_t* stored;
    } paths[] = {
        {L"C:\\skins", L"C:\\skins\\"},
        {L"C:/skins/", L"C:/skins/"},
        {L"C:\\skins\\", L"C:\\skins\\"},
        {L"", L""},
        {nullptr, L""},
    };
    for (const auto& p : paths) {
        CWindowManagerUI::SetResourcePath(p.given);
        EXPECT_STREQ(p.stored, CWindowManagerUI::GetResourcePath())
            << (p.given != nullptr ? p.given : L"(null)");
    }
}

TEST(ManagerSkinArchive, FirstArchiveInMemoryStays) {
    const SkinArchive& skin = Skin();
    EXPECT_TRUE(skin.zipNameWasEmpty);
    EXPECT_FALSE(skin.wasCached);
    EXPECT_TRUE(skin.handleWasNull);
    ASSERT_NE(nullptr, skin.handle);
    EXPECT_EQ(skin.handle, skin.secondHandle);
    EXPECT_EQ(skin.handle, CWindowManagerUI::GetResourceZipHandle());
    EXPECT_STREQ(L"membuffer", CWindowManagerUI::GetResourceZip());
    EXPECT_TRUE(CWindowManagerUI::IsCachedResourceZip());
    CXmlDocument doc;
    EXPECT_FALSE(doc.LoadFromFile(L"other.xml"));
    EXPECT_STREQ(L"Could not find ziped file", doc.GetLastErrorMessage());
}

TEST(ManagerSkinArchive, SkinFilesComeFromTheArchive) {
    Skin();
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadFromFile(L"skin.xml")) << doc.GetLastErrorMessage();
    EXPECT_STREQ(L"Window", doc.GetRoot().GetName());
    // Names are looked up ignoring case, and the archive stays open.
    ASSERT_TRUE(doc.LoadFromFile(L"SKIN.XML")) << doc.GetLastErrorMessage();
    ASSERT_TRUE(doc.LoadFromFile(L"skin.xml")) << doc.GetLastErrorMessage();
    EXPECT_STREQ(L"Label", doc.GetRoot().GetChild().GetName());
}

TEST(ManagerSkinArchive, SkinFileSizeIsCapped) {
    Skin();
    CXmlDocument doc;
    EXPECT_TRUE(doc.LoadFromFile(L"exact.xml")) << doc.GetLastErrorMessage();
    EXPECT_FALSE(doc.LoadFromFile(L"big.xml"));
    EXPECT_STREQ(L"File too large", doc.GetLastErrorMessage());
}

TEST(ManagerSkinArchive, ReadingItemsWithACap) {
    Skin();
    std::vector<BYTE> bytes;
    EXPECT_EQ(CWindowManagerUI::ZIPREAD_OK,
              CWindowManagerUI::ReadResourceZipItem(L"img/PIC.bmp", 70, bytes));
    EXPECT_EQ(SmallBmp(), std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(CWindowManagerUI::ZIPREAD_TOO_LARGE,
              CWindowManagerUI::ReadResourceZipItem(L"img/pic.bmp", 69, bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(CWindowManagerUI::ZIPREAD_NOT_FOUND,
              CWindowManagerUI::ReadResourceZipItem(nullptr, 100, bytes));
    EXPECT_EQ(CWindowManagerUI::ZIPREAD_EMPTY,
              CWindowManagerUI::ReadResourceZipItem(L"empty.xml", 100, bytes));
    EXPECT_EQ(CWindowManagerUI::ZIPREAD_UNZIP_FAILED,
              CWindowManagerUI::ReadResourceZipItem(L"broken.xml", 100, bytes));
}

// Runs only in a child process of this program (see below): there the first
// archive in memory is unreadable, which no later call can change.
TEST(ManagerUnreadableArchiveChild, ErrorOpeningZipFile) {
    if (::GetEnvironmentVariableW(L"MANAGER_UNREADABLE_ARCHIVE", nullptr, 0) == 0) {
        GTEST_SKIP() << "child-process case";
    }
    static char garbage[] = "this is no zip archive at all, not even close";
    EXPECT_EQ(nullptr, CWindowManagerUI::SetResourceZip(garbage, sizeof(garbage)));
    EXPECT_STREQ(L"membuffer", CWindowManagerUI::GetResourceZip());
    EXPECT_TRUE(CWindowManagerUI::IsCachedResourceZip());
    CXmlDocument doc;
    EXPECT_FALSE(doc.LoadFromFile(L"skin.xml"));
    EXPECT_STREQ(L"Error opening zip file", doc.GetLastErrorMessage());
    std::vector<BYTE> bytes;
    EXPECT_EQ(CWindowManagerUI::ZIPREAD_NO_ARCHIVE,
              CWindowManagerUI::ReadResourceZipItem(L"skin.xml", 100, bytes));
    CWindowManagerUI manager;
    EXPECT_EQ(nullptr, manager.AddImage(L"img/pic.bmp"));
}

TEST(ManagerSkinArchive, UnreadableArchiveFailsWithItsText) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring commandLine =
        std::wstring(L"\"") + self + L"\" --gtest_filter=ManagerUnreadableArchiveChild.*";
    TestSupport::ChildProcess child = TestSupport::StartProcess(
        self, commandLine, ModuleFolder(), {{L"MANAGER_UNREADABLE_ARCHIVE", L"1"}});
    ASSERT_TRUE(static_cast<bool>(child));
    DWORD code = 99;
    ASSERT_TRUE(child.Wait(60000, &code));
    EXPECT_EQ(0u, code);
}

// ---- Fonts -----------------------------------------------------------------------

namespace {

LOGFONTW LogFontOf(HFONT font) {
    LOGFONTW lf = {};
    ::GetObjectW(font, sizeof(lf), &lf);
    return lf;
}

} // namespace

TEST(ManagerFonts, FontTableByIndexAndByLook) {
    CWindowManagerUI manager;
    HFONT first = manager.AddFont(L"Arial", 14, true, false, true);
    HFONT second = manager.AddFont(L"Tahoma", 12, false, true, false);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(first, manager.GetFont(0));
    EXPECT_EQ(second, manager.GetFont(1));
    HFONT fallback = manager.GetDefaultFontInfo()->hFont;
    EXPECT_EQ(fallback, manager.GetFont(-1));
    EXPECT_EQ(fallback, manager.GetFont(2)); // two fonts held, no third

    const LOGFONTW lf = LogFontOf(first);
    EXPECT_EQ(-14, lf.lfHeight);
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_FALSE(lf.lfUnderline);
    // Chinese when the PC lacks the face (the test prefix has no Arial).
    EXPECT_TRUE(lf.lfCharSet == DEFAULT_CHARSET || lf.lfCharSet == GB2312_CHARSET);
    EXPECT_STREQ(L"Arial", lf.lfFaceName);

    TFontRecordUI* info = manager.GetFontInfo(0);
    EXPECT_EQ(first, info->hFont);
    EXPECT_GT(info->tm.tmHeight, 0);
    EXPECT_EQ(manager.GetDefaultFontInfo(), manager.GetFontInfo(7));
    EXPECT_EQ(manager.GetFontInfo(1), manager.GetFontInfo(second));
    EXPECT_EQ(manager.GetDefaultFontInfo(), manager.GetFontInfo(static_cast<HFONT>(nullptr)));

    EXPECT_EQ(first, manager.GetFont(L"Arial", 14, true, false, true));
    EXPECT_EQ(nullptr, manager.GetFont(L"arial", 14, true, false, true));
    EXPECT_EQ(nullptr, manager.GetFont(L"Arial", 14, false, false, true));
    EXPECT_EQ(nullptr, manager.GetFont(L"Arial", 15, true, false, true));

    manager.RemoveAllFonts();
    EXPECT_EQ(fallback, manager.GetFont(0));
    EXPECT_EQ(fallback, manager.GetFont(1));
    EXPECT_EQ(manager.GetDefaultFontInfo(), manager.GetFontInfo(0));
    EXPECT_EQ(nullptr, manager.GetFont(L"Arial", 14, true, false, true));
}

// Beyond the cap a font record is refused before its font is made: a refused
// record leaves no font object behind, and every font held goes with the
// table or the manager.
TEST(ManagerFonts, CapRefusesRecordsWithoutMakingTheirFonts) {
    const int cap = CWindowManagerUI::MAX_CUSTOM_FONTS;
    const TestSupport::LiveFontCounter fonts;
    ASSERT_TRUE(fonts.Counting());
    {
        CWindowManagerUI manager;
        const int own = fonts.Live(); // the default font
        std::vector<HFONT> held;
        for (int i = 0; i < cap; ++i) {
            held.push_back(manager.AddFont(L"DejaVu Sans", 6 + i % 100, i >= 100, false, false));
            ASSERT_NE(nullptr, held.back()) << i;
        }
        EXPECT_EQ(own + cap, fonts.Live());
        const int made = fonts.Made();
        const struct {
            const wchar_t* face;
            int size;
        } refused[] = {
            {L"DejaVu Sans", 12}, {L"DejaVu Serif", 30}, {nullptr, 9}, {L"no such face", 14}};
        for (const auto& record : refused) {
            EXPECT_EQ(nullptr, manager.AddFont(record.face, record.size, false, true, false))
                << record.size;
        }
        EXPECT_EQ(made, fonts.Made());
        EXPECT_EQ(own + cap, fonts.Live());
        EXPECT_EQ(held.front(), manager.GetFont(0));
        EXPECT_EQ(held.back(), manager.GetFont(cap - 1));
        EXPECT_EQ(held.back(), manager.GetFontInfo(cap - 1)->hFont);
        EXPECT_EQ(manager.GetDefaultFontInfo()->hFont, manager.GetFont(cap));
        EXPECT_EQ(manager.GetDefaultFontInfo(), manager.GetFontInfo(cap));

        manager.RemoveAllFonts();
        EXPECT_EQ(own, fonts.Live());
        // The cap counts the fonts held, not those ever added.
        EXPECT_NE(nullptr, manager.AddFont(L"DejaVu Sans", 12, false, false, false));
        EXPECT_EQ(own + 1, fonts.Live());
    }
    EXPECT_EQ(0, fonts.Live());
}

TEST(ManagerFonts, LongFaceNameKeepsItsTerminator) {
    CWindowManagerUI manager;
    const std::wstring longName(40, L'F');
    HFONT font = manager.AddFont(longName.c_str(), 12, false, false, false);
    ASSERT_NE(nullptr, font);
    const LOGFONTW lf = LogFontOf(font);
    EXPECT_EQ(std::wstring(31, L'F'), std::wstring(lf.lfFaceName));
    // Looked up by the name it was given.
    EXPECT_EQ(font, manager.GetFont(longName.c_str(), 12, false, false, false));
    manager.SetDefaultFont(longName.c_str(), 13, false, false, false);
    EXPECT_EQ(std::wstring(31, L'F'),
              std::wstring(LogFontOf(manager.GetDefaultFontInfo()->hFont).lfFaceName));
    EXPECT_EQ(13, manager.GetDefaultFontInfo()->iSize);
}

TEST(ManagerFonts, ParentResourcesLendFontsAndDefaults) {
    CWindowManagerUI parent;
    CWindowManagerUI child;
    parent.SetDefaultFont(L"Tahoma", 18, false, false, false);
    HFONT shared = parent.AddFont(L"Arial", 11, false, false, false);
    ASSERT_TRUE(child.SetParentResource(&parent));
    EXPECT_EQ(parent.GetDefaultFontInfo(), child.GetDefaultFontInfo());
    EXPECT_EQ(shared, child.GetFont(L"Arial", 11, false, false, false));
    EXPECT_EQ(parent.GetFontInfo(0), child.GetFontInfo(shared));
    // An index addresses the child's own table; out of range gives the
    // top-most default.
    EXPECT_EQ(parent.GetDefaultFontInfo()->hFont, child.GetFont(0));
    HFONT own = child.AddFont(L"Arial", 11, false, false, false);
    EXPECT_EQ(own, child.GetFont(0));
    EXPECT_EQ(own, child.GetFont(L"Arial", 11, false, false, false));
}

// ---- Parent resources, colours, default lists, option groups ----------------------

TEST(ManagerResources, ParentChainRefusesCycles) {
    CWindowManagerUI a, b, c;
    EXPECT_TRUE(a.SetParentResource(nullptr));
    EXPECT_FALSE(a.SetParentResource(&a));
    EXPECT_EQ(nullptr, a.GetParentResource());
    EXPECT_TRUE(b.SetParentResource(&a));
    EXPECT_FALSE(a.SetParentResource(&b));
    EXPECT_EQ(nullptr, a.GetParentResource());
    EXPECT_TRUE(c.SetParentResource(&b));
    EXPECT_FALSE(a.SetParentResource(&c));
    EXPECT_TRUE(c.SetParentResource(&a));
    EXPECT_EQ(&a, c.GetParentResource());
    EXPECT_FALSE(a.SetParentResource(&c));
    EXPECT_TRUE(c.SetParentResource(nullptr));
    EXPECT_EQ(nullptr, c.GetParentResource());
}

TEST(ManagerResources, DefaultColoursComeFromTheTopMostManager) {
    CWindowManagerUI parent, child;
    EXPECT_EQ(0xFF0000FFu, child.GetDefaultLinkFontColor());
    child.SetDefaultLinkFontColor(0xFF112233);
    EXPECT_EQ(0xFF112233u, child.GetDefaultLinkFontColor());
    ASSERT_TRUE(child.SetParentResource(&parent));
    // The child's own colour is passed over for the parent's.
    EXPECT_EQ(0xFF0000FFu, child.GetDefaultLinkFontColor());
    parent.SetDefaultLinkFontColor(0xFF445566);
    EXPECT_EQ(0xFF445566u, child.GetDefaultLinkFontColor());
}

TEST(ManagerResources, AnOptionIsInItsGroupOnce) {
    CWindowManagerUI manager;
    CControlUI a, b;
    EXPECT_TRUE(manager.AddToOptionGroup(L"g", &a));
    EXPECT_FALSE(manager.AddToOptionGroup(L"g", &a));
    EXPECT_TRUE(manager.AddToOptionGroup(L"g", &b));
    CUIPtrArray* group = manager.GetOptionGroup(L"g");
    ASSERT_NE(nullptr, group);
    ASSERT_EQ(2, group->GetSize());
    EXPECT_EQ(&a, group->GetAt(0));
    EXPECT_EQ(&b, group->GetAt(1));
    manager.RemoveOptionGroup(L"g", &a);
    ASSERT_EQ(1, manager.GetOptionGroup(L"g")->GetSize());
    // Removing the last option removes the group.
    manager.RemoveOptionGroup(L"g", &b);
    EXPECT_EQ(nullptr, manager.GetOptionGroup(L"g"));
}

TEST(ManagerResources, DefaultAttributeListsKeepTheFirst) {
    CWindowManagerUI parent, child;
    child.AddDefaultAttributeList(L"Button", L"height=\"20\"");
    child.AddDefaultAttributeList(L"Button", L"height=\"30\"");
    EXPECT_STREQ(L"height=\"20\"", child.GetDefaultAttributeList(L"Button"));
    EXPECT_EQ(nullptr, child.GetDefaultAttributeList(L"button"));
    EXPECT_EQ(nullptr, child.GetDefaultAttributeList(L"VScrollBar"));
    EXPECT_EQ(nullptr, child.GetDefaultAttributeList(nullptr));
    parent.AddDefaultAttributeList(L"VScrollBar", L"width=\"8\"");
    ASSERT_TRUE(child.SetParentResource(&parent));
    EXPECT_STREQ(L"width=\"8\"", child.GetDefaultAttributeList(L"VScrollBar"));
    const std::wstring longList(5000, L'a');
    child.AddDefaultAttributeList(L"Long", longList.c_str());
    EXPECT_EQ(longList, std::wstring(child.GetDefaultAttributeList(L"Long")));
    child.RemoveAllDefaultAttributeList();
    EXPECT_EQ(nullptr, child.GetDefaultAttributeList(L"Button"));
    EXPECT_STREQ(L"width=\"8\"", child.GetDefaultAttributeList(L"VScrollBar"));
}

// ---- Images ------------------------------------------------------------------------

TEST(ManagerImages, CachedPerNameFromTheArchive) {
    Skin();
    CWindowManagerUI manager;
    TImageRecordUI* image = manager.AddImage(L"img/pic.bmp", nullptr, 0xFFFF0000);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(2, image->nX);
    EXPECT_EQ(2, image->nY);
    EXPECT_EQ(0xFFFF0000u, image->dwMask);
    EXPECT_TRUE(image->sResType.IsEmpty());
    // The red pixel matched the mask.
    EXPECT_TRUE(image->alphaChannel);
    EXPECT_EQ(image, manager.GetImage(L"img/pic.bmp"));
    EXPECT_EQ(image, manager.GetImageOrAdd(L"img/pic.bmp"));
    // A second definition of the name is refused; the first stays.
    EXPECT_EQ(nullptr, manager.AddImage(L"img/pic.bmp"));
    EXPECT_EQ(image, manager.GetImage(L"img/pic.bmp"));
    // Another spelling is another cache entry for the same item.
    TImageRecordUI* other = manager.GetImageOrAdd(L"IMG/PIC.BMP");
    ASSERT_NE(nullptr, other);
    EXPECT_NE(image, other);
    EXPECT_FALSE(other->alphaChannel);
    EXPECT_EQ(nullptr, manager.AddImage(L"img/missing.bmp"));
    EXPECT_EQ(nullptr, manager.GetImage(L"img/missing.bmp"));
    EXPECT_EQ(nullptr, manager.GetImageOrAdd(L"img/missing.bmp"));
    EXPECT_EQ(nullptr, manager.AddImage(L""));
    EXPECT_EQ(nullptr, manager.AddImage(nullptr));
    manager.RemoveAllImages();
    EXPECT_EQ(nullptr, manager.GetImage(L"img/pic.bmp"));
}

TEST(ManagerImages, TypedNamesAreResourceIds) {
    CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CWindowManagerUI manager;
    TImageRecordUI* image = manager.AddImage(L"12abc", L"TESTIMG");
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(2, image->nX);
    EXPECT_STREQ(L"TESTIMG", image->sResType);
    EXPECT_EQ(image, manager.GetImage(L"12abc"));
    EXPECT_EQ(nullptr, manager.AddImage(L"abc12", L"TESTIMG"));
    EXPECT_EQ(nullptr, manager.AddImage(L"13", L"TESTIMG"));
    EXPECT_EQ(nullptr, manager.AddImage(L"0", L"TESTIMG"));
    EXPECT_NE(nullptr, manager.AddImage(L"12", L"TESTIMG"));
}

TEST(ManagerImages, EveryManagerSharesTheProcessDecode) {
    Skin();
    CWindowManagerUI parent, child;
    ASSERT_TRUE(child.SetParentResource(&parent));
    TImageRecordUI* image = parent.AddImage(L"img/pic.bmp");
    ASSERT_NE(nullptr, image);
    // Each manager keeps its own names, with the one decoded record.
    EXPECT_EQ(nullptr, child.GetImage(L"img/pic.bmp"));
    EXPECT_EQ(image, child.GetImageOrAdd(L"img/pic.bmp"));
    // Another mask is another image.
    CWindowManagerUI masked;
    TImageRecordUI* red = masked.AddImage(L"img/pic.bmp", nullptr, 0xFFFF0000);
    ASSERT_NE(nullptr, red);
    EXPECT_NE(image, red);
    EXPECT_TRUE(red->alphaChannel);
    EXPECT_FALSE(image->alphaChannel);
    // A record outlives the managers that let it go.
    parent.RemoveAllImages();
    child.RemoveAllImages();
    EXPECT_EQ(2, image->nX);
    CWindowManagerUI later;
    EXPECT_EQ(image, later.AddImage(L"img/pic.bmp"));
}
