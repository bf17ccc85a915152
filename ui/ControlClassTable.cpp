#include <windows.h>

#include "ui/ControlClassTable.h"

#include "ui/ContainerUI.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/CheckBoxUI.h"
#include "ui/controls/ChildLayoutUI.h"
#include "ui/controls/DateTimeUI.h"
#include "ui/controls/EditUI.h"
#include "ui/controls/HorizontalLayoutUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/RichEditUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/SliderUI.h"
#include "ui/controls/TabLayoutUI.h"
#include "ui/controls/TextUI.h"
#include "ui/controls/TileLayoutUI.h"
#include "ui/controls/VerticalLayoutUI.h"
#include "ui/controls/WebBrowserUI.h"

#include <cwchar>

namespace SkinUI {

namespace {

template <typename T> CControlUI* Make() {
    return new T();
}

struct TControlClassUI {
    LPCWSTR tag;
    CControlUI* (*create)();
};

// Tag names are compared case-sensitively.
const TControlClassUI kControlClasses[] = {
    {L"Control", &Make<CControlUI>},
    {L"Container", &Make<CContainerUI>},
    {L"VerticalLayout", &Make<CVerticalLayoutUI>},
    {L"HorizontalLayout", &Make<CHorizontalLayoutUI>},
    {L"TileLayout", &Make<CTileLayoutUI>},
    {L"TabLayout", &Make<CTabLayoutUI>},
    {L"ChildLayout", &Make<CChildLayoutUI>},
    {L"Label", &Make<CLabelUI>},
    {L"Text", &Make<CTextUI>},
    {L"Button", &Make<CButtonUI>},
    {L"Option", &Make<COptionUI>},
    {L"CheckBox", &Make<CCheckBoxUI>},
    {L"Progress", &Make<CProgressUI>},
    {L"Slider", &Make<CSliderUI>},
    {L"ScrollBar", &Make<CScrollBarUI>},
    {L"Edit", &Make<CEditUI>},
    {L"RichEdit", &Make<CRichEditUI>},
    {L"DateTime", &Make<CDateTimeUI>},
    {L"ActiveX", &Make<CActiveXUI>},
    {L"WebBrowser", &Make<CWebBrowserUI>},
};

} // namespace

CControlUI* CreateControlByTag(LPCWSTR tag) {
    if (tag == nullptr) {
        return nullptr;
    }
    for (const TControlClassUI& entry : kControlClasses) {
        if (std::wcscmp(entry.tag, tag) == 0) {
            return entry.create();
        }
    }
    return nullptr;
}

} // namespace SkinUI
