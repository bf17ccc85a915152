#pragma once
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/UIString.h"
#include "ui/WindowManagerUI.h"
#include "ui/XmlDocument.h"

namespace SkinUI {

class CTreeNodeUI;

// Makes the controls of skin tags that the framework doesn't know; the
// application implements it.
class IDialogBuilderCallback {
public:
    // A new control for the tag, or null to skip the element and everything
    // under it.
    virtual CControlUI* CreateControl(LPCWSTR className) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

// Turns a skin XML document into a control tree for one window: the root's
// "Image", "Font" and "Default" children and the "Window" attributes go to
// the window's manager, every other element becomes a control of its tag
// (unknown tags go to the callback), nested as the elements nest; "Include"
// builds another skin file in place.
//
//   CDialogBuilder builder;
//   CControlUI* root = builder.Create(L"UninstallFrame.xml", nullptr, &callback, &m_pm);
//   if (root != nullptr) m_pm.AttachRootControl(root);
//
// A skin that includes itself, directly or in a cycle, stops at a nesting
// limit; malformed elements are skipped and the rest still builds.
class CDialogBuilder {
public:
    CDialogBuilder();
    ~CDialogBuilder();
    CDialogBuilder(const CDialogBuilder&) = delete;
    CDialogBuilder& operator=(const CDialogBuilder&) = delete;

    // skin: an XML text beginning with "<", or the name of a skin file (an
    // item of the skin archive, or a file of the resource folder), or a
    // resource id made with MAKEINTRESOURCEW, then looked up under type in
    // the resource instance. Loads the skin and builds it (BuildWindow); null
    // when the skin cannot be loaded or builds no control. A parent receives
    // the top-level controls through its "IContainer" interface.
    CControlUI* Create(LPCWSTR skin, LPCWSTR type = nullptr,
                       IDialogBuilderCallback* callback = nullptr,
                       CWindowManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    // A skin resource by its id (16 bits) and type; "Include" sources inside
    // it are resource ids of the same type.
    CControlUI* Create(UINT resourceId, LPCWSTR type, IDialogBuilderCallback* callback = nullptr,
                       CWindowManagerUI* manager = nullptr, CControlUI* parent = nullptr);

    // Builds the loaded document: window settings (with a manager), then the
    // controls. Null when the document has no root.
    CControlUI* BuildWindow(IDialogBuilderCallback* callback = nullptr,
                            CWindowManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    // The controls of the element's children; the first one made at this
    // level, or null.
    CControlUI* BuildControls(CXmlNode& element, CControlUI* parent, CWindowManagerUI* manager);

    IDialogBuilderCallback* GetCallback() const;
    // The document stays here until released (CXmlDocument::Release) or the
    // builder goes; a failed load leaves its error message in it.
    CXmlDocument* GetDocument();

private:
    bool Load(LPCWSTR skin, LPCWSTR type);
    CControlUI* BuildLoadedWindow(CWindowManagerUI* manager, CControlUI* parent);
    void SetResourceType(LPCWSTR type);
    LPCWSTR GetResourceType() const;
    void ApplyResources(CXmlNode& root, CWindowManagerUI* manager);
    void ApplyWindowAttributes(CXmlNode& root, CWindowManagerUI* manager);
    void BuildInclude(CXmlNode& node, CControlUI* parent, CWindowManagerUI* manager);
    CControlUI* MakeControl(LPCWSTR tag);
    bool BuildTreeNode(CXmlNode& element, CTreeNodeUI* node, CControlUI* parent,
                       CWindowManagerUI* manager);
    void ApplyControlAttributes(CXmlNode& node, CControlUI* control, CWindowManagerUI* manager);

    CXmlDocument m_xml;
    IDialogBuilderCallback* m_pCallback;
    // The resource type of a skin loaded from a resource: a name, or an id
    // (m_wTypeId, when not 0).
    bool m_bHasResourceType;
    WORD m_wTypeId;
    CUIString m_sTypeName;
};

} // namespace SkinUI
