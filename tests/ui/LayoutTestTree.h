#pragma once
#include <windows.h>

#include "ui/DialogBuilder.h"
#include "ui/WindowManagerUI.h"

#include "tests/ui/SkinBuildTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace SkinBuildTest {

// A tree built from inline skin XML with a window manager of its own (no
// window), attached as the manager's root and laid out into a rectangle.
// The root element of a skin is no control: the text given here is wrapped
// in one.
class BuiltTree {
public:
    explicit BuiltTree(const wchar_t* xml, RECT rc = RECT{0, 0, 200, 300},
                       IDialogBuilderCallback* callback = nullptr) {
        UseSkinArchive();
        const std::wstring skin = std::wstring(L"<Skin>") + xml + L"</Skin>";
        root_ = builder_.Create(skin.c_str(), nullptr, callback, &pm_);
        if (root_ != nullptr) {
            pm_.AttachRootControl(root_);
            root_->SetPos(rc);
        }
    }

    CControlUI* Root() const { return root_; }
    CWindowManagerUI& Manager() { return pm_; }
    CDialogBuilder& Builder() { return builder_; }
    CControlUI* operator[](const wchar_t* name) const {
        CControlUI* found = Find(root_, name);
        EXPECT_NE(found, nullptr) << "no control named " << TestSupport::ToUtf8(name);
        return found;
    }
    template <typename T> T* As(const wchar_t* name) const {
        T* found = FindAs<T>(root_, name);
        EXPECT_NE(found, nullptr) << "no control of that class named " << TestSupport::ToUtf8(name);
        return found;
    }
    void Layout(RECT rc) { root_->SetPos(rc); }
    // The rectangle of a control, as text for readable failures.
    std::wstring Pos(const wchar_t* name) const {
        CControlUI* control = (*this)[name];
        return control == nullptr ? L"?" : RectText(control->GetPos());
    }

private:
    CWindowManagerUI pm_;
    CDialogBuilder builder_;
    CControlUI* root_ = nullptr;
};

} // namespace SkinBuildTest
