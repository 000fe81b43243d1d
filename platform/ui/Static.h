#pragma once
// A static control: a line of text, or a picture (SS_BITMAP, SS_ICON).

#include "platform/ui/Wnd.h"

class CStatic : public CWnd {
public:
    // An '&' marks the next character as the mnemonic ("&&" is an '&')
    // unless the control has SS_NOPREFIX; GetWindowText returns the text as set.
    void SetWindowText(std::wstring_view text) override;
    std::wstring GetWindowText() const override;

    // A picture control takes the size of its picture, its top-left corner
    // staying where it is. Each returns the picture shown before.
    CBitmap SetBitmap(const CBitmap& bitmap);
    CBitmap GetBitmap() const { return m_bitmap; }
    CIcon SetIcon(const CIcon& icon);
    CIcon GetIcon() const { return m_icon; }

private:
    std::wstring m_text;
    CBitmap m_bitmap;
    CIcon m_icon;
};
