#pragma once
#include <windows.h>

#include "ui/controls/LabelUI.h"

namespace SkinUI {

class CDateTimeWnd;

// A label that shows a date as "yyyy-mm-dd" and, while it has the focus,
// lays the platform's date picker (CDateTimeWnd) over itself. When the picker
// closes, the picked date is shown, or the text is cleared (Delete or
// Backspace), or kept as it was (Escape).
class CDateTimeUI : public CLabelUI {
public:
    // What the closing picker does to the text.
    enum UpdateModeUI {
        DTUPDATE_NONE = 0,
        DTUPDATE_SHOW = 1,  // show the date
        DTUPDATE_CLEAR = 2, // clear the text
        DTUPDATE_KEEP = 3,  // leave the text as it is
    };

    // Starts at, and shows, the local date.
    CDateTimeUI();
    // An open picker is detached and destroyed with the control.
    ~CDateTimeUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    void HandleEvent(TInputEventUI& event) override;

    const SYSTEMTIME& GetTime() const;
    // Stores the date and shows it.
    void SetTime(const SYSTEMTIME& time);
    // Kept for the skin's sake; nothing reads it.
    bool IsReadOnly() const;
    void SetReadOnly(bool readOnly);
    // Applies the update mode to the text (see UpdateModeUI).
    void UpdateText();

private:
    friend class CDateTimeWnd;

    void OpenPicker();

    SYSTEMTIME m_sysTime;
    int m_nDTUpdateFlag;
    bool m_bReadOnly;
    CDateTimeWnd* m_pWindow;
};

} // namespace SkinUI
