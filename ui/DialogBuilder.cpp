#include <windows.h>

#include "ui/DialogBuilder.h"

#include "ui/ContainerUI.h"
#include "ui/ControlClassTable.h"
#include "ui/controls/TreeNodeUI.h"
#include "ui/controls/TreeViewUI.h"
#include "ui/SkinBuildLimits.h"
#include "ui/UIAttributeValue.h"
#include "ui/WindowManagerUI.h"

#include <cwchar>

namespace SkinUI {

namespace {

// Longest "Include" source that is read.
const SIZE_T kMaxIncludeSource = 499;
const int kDefaultFontSize = 12;

bool Is(LPCWSTR text, LPCWSTR expected) {
    return text != nullptr && std::wcscmp(text, expected) == 0;
}

// Elements that only count as children of the root.
bool IsResourceTag(LPCWSTR tag) {
    return Is(tag, L"Image") || Is(tag, L"Font") || Is(tag, L"Default");
}

// Deletes a control that found no place in the tree. Its subtree had the
// manager attached while its attributes were applied and may have left
// traces there (focus, timers, option groups): with the manager attached
// again, each control's destruction makes the manager forget it.
void DiscardControl(CControlUI* control, CWindowManagerUI* manager) {
    if (manager != nullptr) {
        control->AttachManager(manager, nullptr, false);
    }
    delete control;
}

} // namespace

CDialogBuilder::CDialogBuilder() : m_pCallback(nullptr), m_bHasResourceType(false), m_wTypeId(0) {}

CDialogBuilder::~CDialogBuilder() = default;

IDialogBuilderCallback* CDialogBuilder::GetCallback() const {
    return m_pCallback;
}

CXmlDocument* CDialogBuilder::GetDocument() {
    return &m_xml;
}

void CDialogBuilder::SetResourceType(LPCWSTR type) {
    m_bHasResourceType = type != nullptr;
    m_wTypeId = 0;
    m_sTypeName.Empty();
    if (type == nullptr) {
        return;
    }
    if (IS_INTRESOURCE(type)) {
        m_wTypeId = LOWORD(reinterpret_cast<ULONG_PTR>(type));
    } else {
        m_sTypeName = type;
    }
}

LPCWSTR CDialogBuilder::GetResourceType() const {
    if (!m_bHasResourceType) {
        return nullptr;
    }
    return m_wTypeId != 0 ? MAKEINTRESOURCEW(m_wTypeId) : m_sTypeName.GetData();
}

bool CDialogBuilder::Load(LPCWSTR skin, LPCWSTR type) {
    if (IS_INTRESOURCE(skin)) {
        SetResourceType(type);
        return m_xml.LoadFromResource(CWindowManagerUI::GetResourceInstance(), skin,
                                      GetResourceType());
    }
    SetResourceType(nullptr);
    if (skin[0] == L'<') {
        return m_xml.Load(skin);
    }
    return m_xml.LoadFromFile(skin);
}

CControlUI* CDialogBuilder::Create(LPCWSTR skin, LPCWSTR type, IDialogBuilderCallback* callback,
                                   CWindowManagerUI* manager, CControlUI* parent) {
    m_pCallback = callback;
    CSkinBuildScope scope;
    if (!scope.IsAllowed() || !CSkinBuildScope::TakeStep()) {
        m_xml.Release();
        return nullptr;
    }
    if (!Load(skin, type)) {
        return nullptr;
    }
    return BuildLoadedWindow(manager, parent);
}

CControlUI* CDialogBuilder::Create(UINT resourceId, LPCWSTR type, IDialogBuilderCallback* callback,
                                   CWindowManagerUI* manager, CControlUI* parent) {
    return Create(MAKEINTRESOURCEW(LOWORD(resourceId)), type, callback, manager, parent);
}

CControlUI* CDialogBuilder::BuildWindow(IDialogBuilderCallback* callback, CWindowManagerUI* manager,
                                        CControlUI* parent) {
    m_pCallback = callback;
    CSkinBuildScope scope;
    if (!scope.IsAllowed()) {
        return nullptr;
    }
    return BuildLoadedWindow(manager, parent);
}

CControlUI* CDialogBuilder::BuildLoadedWindow(CWindowManagerUI* manager, CControlUI* parent) {
    CXmlNode root = m_xml.GetRoot();
    if (!root.IsValid()) {
        return nullptr;
    }
    if (manager != nullptr) {
        ApplyResources(root, manager);
        ApplyWindowAttributes(root, manager);
    }
    return BuildControls(root, parent, manager);
}

// "Image", "Font" and "Default" children of the root, in document order.
// Fonts are numbered by the order of the "Font" elements with a name.
void CDialogBuilder::ApplyResources(CXmlNode& root, CWindowManagerUI* manager) {
    for (CXmlNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR tag = node.GetName();
        LPCWSTR name = node.GetAttributeValue(L"name");
        if (name == nullptr || !IsResourceTag(tag)) {
            continue;
        }
        if (!CSkinBuildScope::TakeStep()) {
            break;
        }
        if (Is(tag, L"Image")) {
            const LPCWSTR mask = node.GetAttributeValue(L"mask");
            manager->AddImage(name, node.GetAttributeValue(L"restype"),
                              mask != nullptr ? ParseColorValue(mask) : 0);
        } else if (Is(tag, L"Font")) {
            const LPCWSTR sizeText = node.GetAttributeValue(L"size");
            const int size = sizeText != nullptr ? ParseDecimalValue(sizeText) : kDefaultFontSize;
            const bool bold = ParseBoolValue(node.GetAttributeValue(L"bold"));
            const bool underline = ParseBoolValue(node.GetAttributeValue(L"underline"));
            const bool italic = ParseBoolValue(node.GetAttributeValue(L"italic"));
            manager->AddFont(name, size, bold, underline, italic);
            if (ParseBoolValue(node.GetAttributeValue(L"default"))) {
                manager->SetDefaultFont(name, size, bold, underline, italic);
            }
        } else if (Is(tag, L"Default")) {
            const LPCWSTR value = node.GetAttributeValue(L"value");
            manager->AddDefaultAttributeList(name, value != nullptr ? value : L"");
        }
    }
}

void CDialogBuilder::ApplyWindowAttributes(CXmlNode& root, CWindowManagerUI* manager) {
    if (!Is(root.GetName(), L"Window") || manager->GetPaintWindow() == nullptr) {
        return;
    }
    const int count = root.GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        const LPCWSTR name = root.GetAttributeName(i);
        const LPCWSTR value = root.GetAttributeValue(i);
        if (Is(name, L"size")) {
            const SIZE size = ParseSizeValue(value);
            manager->SetInitSize(size.cx, size.cy);
        } else if (Is(name, L"sizebox")) {
            manager->SetSizeBox(ParseRectValue(value));
        } else if (Is(name, L"caption")) {
            manager->SetCaptionRect(ParseRectValue(value));
        } else if (Is(name, L"roundcorner")) {
            const SIZE size = ParseSizeValue(value);
            manager->SetRoundCorner(size.cx, size.cy);
        } else if (Is(name, L"mininfo")) {
            const SIZE size = ParseSizeValue(value);
            manager->SetMinInfo(size.cx, size.cy);
        } else if (Is(name, L"maxinfo")) {
            const SIZE size = ParseSizeValue(value);
            manager->SetMaxInfo(size.cx, size.cy);
        } else if (Is(name, L"showdirty")) {
            manager->SetShowUpdateRect(ParseBoolValue(value));
        } else if (Is(name, L"alpha")) {
            manager->SetWindowOpacity(ParseDecimalValue(value));
        } else if (Is(name, L"bktrans")) {
            manager->SetBackgroundTransparent(ParseBoolValue(value));
        } else if (Is(name, L"disabledfontcolor")) {
            manager->SetDefaultDisabledColor(ParseColorValue(value));
        } else if (Is(name, L"defaultfontcolor")) {
            manager->SetDefaultFontColor(ParseColorValue(value));
        } else if (Is(name, L"linkfontcolor")) {
            manager->SetDefaultLinkFontColor(ParseColorValue(value));
        } else if (Is(name, L"linkhoverfontcolor")) {
            manager->SetDefaultLinkHoverFontColor(ParseColorValue(value));
        } else if (Is(name, L"selectedcolor")) {
            manager->SetDefaultSelectedBkColor(ParseColorValue(value));
        }
    }
}

CControlUI* CDialogBuilder::MakeControl(LPCWSTR tag) {
    if (CControlUI* control = CreateControlByTag(tag)) {
        return control;
    }
    return m_pCallback != nullptr ? m_pCallback->CreateControl(tag) : nullptr;
}

// Children are built before their parent's attributes are applied, and a
// control is added to its parent before its own attributes, so that
// attributes that depend on the parent (a tab's selection) find it in place.
CControlUI* CDialogBuilder::BuildControls(CXmlNode& element, CControlUI* parent,
                                          CWindowManagerUI* manager) {
    CSkinBuildScope level;
    if (!level.IsAllowed()) {
        return nullptr;
    }
    IContainerUI* container = nullptr;
    bool containerAsked = false;
    CControlUI* first = nullptr;
    for (CXmlNode node = element.GetChild(); node.IsValid(); node = node.GetSibling()) {
        if (CSkinBuildScope::IsBudgetSpent()) {
            break;
        }
        const LPCWSTR tag = node.GetName();
        if (IsResourceTag(tag)) {
            continue;
        }
        if (Is(tag, L"Include")) {
            BuildInclude(node, parent, manager);
            continue;
        }
        CControlUI* control = MakeControl(tag);
        if (control == nullptr) {
            continue;
        }
        CSkinBuildScope::TakeStep();
        if (CTreeNodeUI* treeNode = AsTreeNode(control)) {
            if (!BuildTreeNode(node, treeNode, parent, manager)) {
                // The level ends without a result: without a parent, nothing else owns
                // what it built so far.
                if (parent == nullptr && first != nullptr) {
                    DiscardControl(first, manager);
                }
                return nullptr;
            }
            continue;
        }
        if (node.HasChildren()) {
            BuildControls(node, control, manager);
        }
        if (parent != nullptr) {
            if (!containerAsked) {
                container = static_cast<IContainerUI*>(parent->QueryInterfaceByName(L"IContainer"));
                containerAsked = true;
            }
            if (container == nullptr) {
                // Not a container: nothing at this level can be placed.
                DiscardControl(control, manager);
                return nullptr;
            }
            if (!container->Add(control)) {
                DiscardControl(control, manager);
                continue;
            }
        }
        ApplyControlAttributes(node, control, manager);
        if (first == nullptr) {
            first = control;
        } else if (parent == nullptr) {
            // Only the first control of a level without parent reaches the
            // caller; the others would be lost.
            DiscardControl(control, manager);
        }
    }
    return first;
}

// A tree node joins its parent node's child list before its own content is
// built, or a tree view after it (the view then takes the whole subtree in
// as rows). Tree nodes never count as a level's first control. False when
// the parent can hold no tree node: the level ends.
bool CDialogBuilder::BuildTreeNode(CXmlNode& element, CTreeNodeUI* node, CControlUI* parent,
                                   CWindowManagerUI* manager) {
    CTreeNodeUI* const parentNode = AsTreeNode(parent);
    if (parentNode != nullptr && !parentNode->Add(node)) {
        DiscardControl(node, manager);
        return true;
    }
    ApplyControlAttributes(element, node, manager);
    if (element.HasChildren()) {
        BuildControls(element, node, manager);
    }
    if (parentNode != nullptr) {
        return true;
    }
    auto* view = parent != nullptr
                     ? static_cast<CTreeViewUI*>(parent->QueryInterfaceByName(L"TreeView"))
                     : nullptr;
    if (view == nullptr) {
        DiscardControl(node, manager);
        return false;
    }
    if (!view->Add(node)) {
        DiscardControl(node, manager);
    }
    return true;
}

// The manager is attached while the attributes are applied, so that fonts,
// images and colours are found; afterwards the control goes back to what it
// was attached to (nothing, unless its parent already lives in a window),
// and attaching the whole tree later does the rest.
void CDialogBuilder::ApplyControlAttributes(CXmlNode& node, CControlUI* control,
                                            CWindowManagerUI* manager) {
    CWindowManagerUI* const attachedManager = control->GetManager();
    CControlUI* const attachedParent = control->GetParent();
    if (manager != nullptr) {
        control->AttachManager(manager, nullptr, false);
        if (LPCWSTR defaults = manager->GetDefaultAttributeList(node.GetName())) {
            control->ApplyAttributeList(defaults);
        }
    }
    const int count = node.GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        control->ApplyAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
    }
    if (manager != nullptr) {
        control->AttachManager(attachedManager, attachedParent, false);
    }
}

// The included skin's window settings apply like the main skin's, and its
// controls join the same parent. Every repetition would fail the same way,
// so a skin that doesn't load ends the repetitions.
void CDialogBuilder::BuildInclude(CXmlNode& node, CControlUI* parent, CWindowManagerUI* manager) {
    if (!node.HasAttributes()) {
        return;
    }
    wchar_t source[kMaxIncludeSource + 1] = {};
    if (!node.GetAttributeValue(L"source", source, kMaxIncludeSource)) {
        return;
    }
    const LPCWSTR countText = node.GetAttributeValue(L"count");
    const int count = countText != nullptr ? ParseDecimalValue(countText) : 1;
    for (int i = 0; i < count && !CSkinBuildScope::IsBudgetSpent(); ++i) {
        CDialogBuilder builder;
        CControlUI* built = nullptr;
        if (m_bHasResourceType) {
            built = builder.Create(static_cast<UINT>(ParseDecimalValue(source)), GetResourceType(),
                                   m_pCallback, manager, parent);
        } else {
            built = builder.Create(source, nullptr, m_pCallback, manager, parent);
        }
        if (built != nullptr && parent == nullptr) {
            // Included at a level without parent: the controls have no place.
            DiscardControl(built, manager);
        }
        if (!builder.GetDocument()->GetRoot().IsValid()) {
            break;
        }
    }
}

} // namespace SkinUI
