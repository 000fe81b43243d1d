#include "platform/ui/ComboBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QVariant>
#include <algorithm>

#include "platform/ui/QtText.h"
#include "platform/ui/WndAccess.h"

using platform::ui::ToQString;
using platform::ui::ToWide;
using platform::ui::WndAccess;

namespace {

QComboBox* Box(const CWnd& wnd)
{
    return static_cast<QComboBox*>(WndAccess::Widget(wnd));
}

bool Valid(const QComboBox* box, int index)
{
    return box != nullptr && index >= 0 && index < box->count();
}

// Where the platform puts a new entry in a sorted list: a binary search
// over the entries (which it takes to be sorted), comparing without regard
// to case; an entry equal to one met on the way goes in front of it.
int SortedPosition(const QComboBox* box, const QString& text)
{
    int low = 0;
    int high = box->count() - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int order = QString::compare(box->itemText(middle), text, Qt::CaseInsensitive);
        if (order == 0)
            return middle;
        if (order > 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return low;
}

// QComboBox selects the first entry of an empty box by itself; the
// platform's box keeps no selection until the program sets one.
int Insert(QComboBox* box, int index, const QString& text)
{
    const bool hadSelection = box->currentIndex() >= 0;
    box->insertItem(index, text, QVariant::fromValue<qulonglong>(0));
    if (!hadSelection)
        box->setCurrentIndex(-1);
    return index;
}

} // namespace

int CComboBox::AddString(std::wstring_view text)
{
    QComboBox* box = Box(*this);
    if (!box)
        return CB_ERR;
    const QString entry = ToQString(text);
    const bool sorted = (WndAccess::TemplateStyle(*this) & CBS_SORT) != 0;
    return Insert(box, sorted ? SortedPosition(box, entry) : box->count(), entry);
}

int CComboBox::InsertString(int index, std::wstring_view text)
{
    QComboBox* box = Box(*this);
    if (!box || index < -1 || index > box->count())
        return CB_ERR;
    return Insert(box, index == -1 ? box->count() : index, ToQString(text));
}

int CComboBox::DeleteString(int index)
{
    QComboBox* box = Box(*this);
    if (!Valid(box, index))
        return CB_ERR;
    box->removeItem(index);
    return box->count();
}

void CComboBox::ResetContent()
{
    if (QComboBox* box = Box(*this))
        box->clear();
}

int CComboBox::GetCount() const
{
    const QComboBox* box = Box(*this);
    return box ? box->count() : CB_ERR;
}

int CComboBox::GetCurSel() const
{
    const QComboBox* box = Box(*this);
    return box && box->currentIndex() >= 0 ? box->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int index)
{
    QComboBox* box = Box(*this);
    if (!box)
        return CB_ERR;
    if (!Valid(box, index)) {
        box->setCurrentIndex(-1);
        return CB_ERR;
    }
    box->setCurrentIndex(index);
    return index;
}

int CComboBox::SetItemData(int index, DWORD_PTR data)
{
    QComboBox* box = Box(*this);
    if (!Valid(box, index))
        return CB_ERR;
    box->setItemData(index, QVariant::fromValue<qulonglong>(data));
    return 0;
}

DWORD_PTR CComboBox::GetItemData(int index) const
{
    const QComboBox* box = Box(*this);
    if (!Valid(box, index))
        return static_cast<DWORD_PTR>(CB_ERR);
    return static_cast<DWORD_PTR>(box->itemData(index).value<qulonglong>());
}

int CComboBox::GetLBText(int index, std::wstring& text) const
{
    const QComboBox* box = Box(*this);
    if (!Valid(box, index))
        return CB_ERR;
    text = ToWide(box->itemText(index));
    return static_cast<int>(text.size());
}

int CComboBox::GetLBTextLen(int index) const
{
    std::wstring text;
    return GetLBText(index, text);
}

int CComboBox::GetDroppedWidth() const
{
    const QComboBox* box = Box(*this);
    return box ? std::max(m_droppedWidth, box->width()) : CB_ERR;
}

int CComboBox::SetDroppedWidth(UINT width)
{
    QComboBox* box = Box(*this);
    if (!box)
        return CB_ERR;
    m_droppedWidth = static_cast<int>(std::min<UINT>(width, 32767));
    box->view()->setMinimumWidth(m_droppedWidth);
    return GetDroppedWidth();
}

std::wstring CComboBox::GetWindowText() const
{
    const QComboBox* box = Box(*this);
    return box && box->currentIndex() >= 0 ? ToWide(box->currentText()) : std::wstring{};
}
