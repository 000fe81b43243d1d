#include "platform/ui/Static.h"

#include <QLabel>
#include <QPixmap>

#include "platform/ui/GraphicsAccess.h"
#include "platform/ui/QtText.h"
#include "platform/ui/WndAccess.h"

using platform::ui::GraphicsAccess;
using platform::ui::WndAccess;

namespace {

// What the platform draws for a text with mnemonic marks: each '&' goes,
// "&&" leaves one.
std::wstring WithoutPrefixes(std::wstring_view text)
{
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        else if (text[i] == L'&')
            continue;
        shown += text[i];
    }
    return shown;
}

QLabel* Label(const CWnd& wnd)
{
    return static_cast<QLabel*>(WndAccess::Widget(wnd));
}

void ShowPicture(QLabel* label, const QImage& image)
{
    label->setPixmap(QPixmap::fromImage(image));
    label->resize(image.size());
}

} // namespace

void CStatic::SetWindowText(std::wstring_view text)
{
    m_text = std::wstring(text);
    QLabel* label = Label(*this);
    if (!label)
        return;
    const bool noPrefix = (WndAccess::TemplateStyle(*this) & SS_NOPREFIX) != 0;
    label->setText(platform::ui::ToQString(noPrefix ? m_text : WithoutPrefixes(m_text)));
}

std::wstring CStatic::GetWindowText() const
{
    return m_text;
}

CBitmap CStatic::SetBitmap(const CBitmap& bitmap)
{
    CBitmap previous = m_bitmap;
    m_bitmap = bitmap;
    if (QLabel* label = Label(*this)) {
        if (const QImage* image = GraphicsAccess::Image(bitmap))
            ShowPicture(label, *image);
        else
            label->clear();
    }
    return previous;
}

CIcon CStatic::SetIcon(const CIcon& icon)
{
    CIcon previous = m_icon;
    m_icon = icon;
    if (QLabel* label = Label(*this)) {
        if (const QImage* image = GraphicsAccess::Image(icon))
            ShowPicture(label, *image);
        else
            label->clear();
    }
    return previous;
}
