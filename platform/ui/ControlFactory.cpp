#include "platform/ui/ControlFactory.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DialogAccess.h"
#include "platform/ui/DialogWindow.h"
#include "platform/ui/IPAddressCtrl.h"
#include "platform/ui/ImageResources.h"
#include "platform/ui/IpAddressEdit.h"
#include "platform/ui/QtText.h"
#include "platform/ui/Static.h"
#include "platform/ui/WndAccess.h"

namespace platform::ui {
namespace {

QRect ToQRect(const CRect& rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

// Controls without WS_TABSTOP still take the focus when clicked.
Qt::FocusPolicy FocusPolicyOf(DWORD style)
{
    return (style & WS_TABSTOP) != 0 ? Qt::StrongFocus : Qt::ClickFocus;
}

QWidget* MakeButton(CDialog& dialog, QWidget* parent, const ControlTemplate& control)
{
    if ((control.style & BS_TYPEMASK) == BS_GROUPBOX)
        return new QGroupBox(parent);
    auto* button = new QPushButton(parent);
    // The dialog, not Qt, decides what Enter does (DialogWindow).
    button->setAutoDefault(false);
    button->setDefault((control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
    button->setFocusPolicy(FocusPolicyOf(control.style));
    const int id = control.id;
    QObject::connect(button, &QPushButton::clicked, button,
                     [&dialog, id] { DialogAccess::RouteCommand(dialog, id, BN_CLICKED); });
    return button;
}

QWidget* MakeStatic(QWidget* parent, const ControlTemplate& control)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setFocusPolicy(Qt::NoFocus);
    const DWORD kind = control.style & SS_TYPEMASK;
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (kind == SS_CENTER)
        horizontal = Qt::AlignHCenter;
    else if (kind == SS_RIGHT)
        horizontal = Qt::AlignRight;
    // Static text starts at the top of its rectangle and wraps at words.
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setWordWrap(kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT);
    return label;
}

QWidget* MakeComboBox(CDialog& dialog, QWidget* parent, const ControlTemplate& control)
{
    auto* box = new QComboBox(parent);
    box->setEditable(false);
    box->setFocusPolicy(FocusPolicyOf(control.style));
    const int id = control.id;
    QObject::connect(box, &QComboBox::activated, box,
                     [&dialog, id](int) { DialogAccess::RouteCommand(dialog, id, CBN_SELCHANGE); });
    return box;
}

std::unique_ptr<CWnd> MakeHandle(const ControlTemplate& control)
{
    switch (control.cls) {
    case ControlClass::Button:
        return std::make_unique<CButton>();
    case ControlClass::Static:
        return std::make_unique<CStatic>();
    case ControlClass::ComboBox:
        return std::make_unique<CComboBox>();
    case ControlClass::IpAddress:
        return std::make_unique<CIPAddressCtrl>();
    }
    return std::make_unique<CWnd>();
}

} // namespace

std::unique_ptr<CWnd> CreateControl(CDialog& dialog, DialogWindow& window, const ControlTemplate& control,
                                    const QFont& font, DialogBaseUnits units)
{
    const CRect rect = DialogUnitsToPixels(control.rect, units);
    QWidget* widget = nullptr;
    switch (control.cls) {
    case ControlClass::Button:
        widget = MakeButton(dialog, &window, control);
        break;
    case ControlClass::Static:
        widget = MakeStatic(&window, control);
        break;
    case ControlClass::ComboBox:
        widget = MakeComboBox(dialog, &window, control);
        break;
    case ControlClass::IpAddress: {
        auto* edit = new IpAddressEdit(&window);
        edit->SetTabStop((control.style & WS_TABSTOP) != 0);
        // The fields keep the template's font when the control's font
        // changes later, as the platform's do.
        edit->SetFieldFont(font);
        widget = edit;
        break;
    }
    }

    // Each control has a font of its own: a font given to the dialog later
    // does not reach its controls by itself.
    widget->setFont(font);
    QRect geometry = ToQRect(rect);
    if (auto* box = qobject_cast<QComboBox*>(widget)) {
        // The template's height is that of the box with its list dropped
        // down: the box is as high as Qt draws it, the list gets the rest.
        geometry.setHeight(box->sizeHint().height());
        const int itemHeight = std::max(1, box->fontMetrics().height() + 2);
        box->setMaxVisibleItems(std::max(1, (rect.Height() - geometry.height()) / itemHeight));
    }
    widget->setGeometry(geometry);
    if ((control.style & WS_DISABLED) != 0)
        widget->setEnabled(false);
    if ((control.style & WS_VISIBLE) == 0)
        widget->hide();
    widget->installEventFilter(&window);
    for (QWidget* part : widget->findChildren<QWidget*>())
        part->installEventFilter(&window);

    std::unique_ptr<CWnd> handle = MakeHandle(control);
    WndAccess::Attach(*handle, widget, &dialog, control.id, control.style);
    if (auto* picture = dynamic_cast<CStatic*>(handle.get())) {
        const DWORD kind = control.style & SS_TYPEMASK;
        if (kind == SS_BITMAP)
            picture->SetBitmap(LoadBitmapResource(control.imageId));
        else if (kind == SS_ICON)
            picture->SetIcon(LoadIconResource(control.imageId));
        else
            picture->SetWindowText(control.text);
    } else {
        handle->SetWindowText(control.text);
    }
    return handle;
}

} // namespace platform::ui
