#include "platform/ui/Button.h"

#include <QAbstractButton>
#include <QGroupBox>

#include "platform/ui/QtText.h"
#include "platform/ui/WndAccess.h"

using platform::ui::ToQString;
using platform::ui::ToWide;
using platform::ui::WndAccess;

// Qt reads '&' as the mnemonic mark the same way, so the text goes as it is.
void CButton::SetWindowText(std::wstring_view text)
{
    QWidget* widget = WndAccess::Widget(*this);
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(ToQString(text));
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(ToQString(text));
}

std::wstring CButton::GetWindowText() const
{
    QWidget* widget = WndAccess::Widget(*this);
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return ToWide(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return ToWide(group->title());
    return {};
}
