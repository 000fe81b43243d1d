#pragma once
// A drop-down list combo box (CBS_DROPDOWNLIST). A selection the user makes
// sends CBN_SELCHANGE with the box's id to its dialog; selections made by
// the program send nothing.
//
// Indexes and results follow the platform: CB_ERR for a bad index or no
// selection. A new box has no selection until one is set.

#include "platform/ui/Wnd.h"

class CComboBox : public CWnd {
public:
    // With CBS_SORT the entry goes where it belongs among the others,
    // compared without regard to case; otherwise at the end. Returns its index.
    int AddString(std::wstring_view text);
    // At `index` (-1: the end), never sorted. Returns the index or CB_ERR.
    int InsertString(int index, std::wstring_view text);
    // Returns the number of entries left, or CB_ERR.
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;

    int GetCurSel() const;
    // -1 or an index beyond the entries clears the selection and returns CB_ERR.
    int SetCurSel(int index);

    // CB_ERR for a bad index.
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;

    // The entry's length, or CB_ERR (and `text` untouched) for a bad index.
    int GetLBText(int index, std::wstring& text) const;
    int GetLBTextLen(int index) const;

    // The drop-down list is never narrower than the box.
    int GetDroppedWidth() const;
    int SetDroppedWidth(UINT width);

    // The selected entry's text.
    std::wstring GetWindowText() const override;
    void SetWindowText(std::wstring_view) override {}

private:
    int m_droppedWidth = 0;
};
