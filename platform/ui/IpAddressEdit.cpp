#include "platform/ui/IpAddressEdit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace platform::ui {

IpAddressEdit::IpAddressEdit(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    UpdateBackground();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(0);
    auto* validator = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (i > 0) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setFocusPolicy(Qt::NoFocus);
            layout->addWidget(dot);
        }
        auto* field = new QLineEdit(this);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(3);
        field->setValidator(validator);
        field->setFocusPolicy(Qt::ClickFocus);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            if (text.size() == 3 && m_fields[i]->cursorPosition() == 3 && i + 1 < m_fields.size())
                FocusField(static_cast<int>(i + 1));
        });
        connect(field, &QLineEdit::editingFinished, this, [this, i] { Constrain(static_cast<int>(i)); });
        layout->addWidget(field, 1);
        m_fields[i] = field;
    }
    setFocusPolicy(Qt::NoFocus);
    setFocusProxy(m_fields[0]);
}

int IpAddressEdit::FieldValue(int field) const
{
    const QString text = m_fields[static_cast<std::size_t>(field)]->text();
    if (text.isEmpty())
        return -1;
    return std::min(text.toInt(), 255);
}

int IpAddressEdit::Address(DWORD& address) const
{
    int filled = 0;
    address = 0;
    for (int i = 0; i < 4; ++i) {
        const int value = FieldValue(i);
        if (value >= 0)
            ++filled;
        address = (address << 8) | static_cast<DWORD>(value >= 0 ? value : 0);
    }
    return filled;
}

void IpAddressEdit::SetAddress(DWORD address)
{
    for (int i = 0; i < 4; ++i)
        m_fields[static_cast<std::size_t>(i)]->setText(QString::number((address >> (8 * (3 - i))) & 0xFF));
}

void IpAddressEdit::Clear()
{
    for (QLineEdit* field : m_fields)
        field->clear();
}

bool IpAddressEdit::IsBlank() const
{
    for (int i = 0; i < 4; ++i) {
        if (FieldValue(i) >= 0)
            return false;
    }
    return true;
}

void IpAddressEdit::FocusField(int field)
{
    if (field < 0 || field > 3)
        return;
    QLineEdit* edit = m_fields[static_cast<std::size_t>(field)];
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
}

QString IpAddressEdit::DottedText() const
{
    QStringList parts;
    for (int i = 0; i < 4; ++i) {
        const int value = FieldValue(i);
        parts << (value >= 0 ? QString::number(value) : QString());
    }
    return parts.join(QLatin1Char('.'));
}

void IpAddressEdit::SetTabStop(bool tabStop)
{
    m_fields[0]->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

void IpAddressEdit::SetFieldFont(const QFont& font)
{
    for (QLineEdit* field : m_fields)
        field->setFont(font);
}

int IpAddressEdit::FieldOf(const QObject* object) const
{
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i] == object)
            return static_cast<int>(i);
    }
    return -1;
}

void IpAddressEdit::Constrain(int field)
{
    const int value = FieldValue(field);
    if (value >= 0)
        m_fields[static_cast<std::size_t>(field)]->setText(QString::number(value));
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event)
{
    const int field = FieldOf(watched);
    if (field < 0 || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    QLineEdit* edit = m_fields[static_cast<std::size_t>(field)];
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool atStart = edit->cursorPosition() == 0 && !edit->hasSelectedText();
    const bool atEnd = edit->cursorPosition() == edit->text().size() && !edit->hasSelectedText();
    switch (key->key()) {
    case Qt::Key_Period:
    case Qt::Key_Space:
        if (!edit->text().isEmpty() && field < 3) {
            Constrain(field);
            FocusField(field + 1);
        }
        return true;
    case Qt::Key_Backspace:
        if (atStart && field > 0) {
            QLineEdit* previous = m_fields[static_cast<std::size_t>(field - 1)];
            previous->setFocus(Qt::OtherFocusReason);
            previous->end(false);
            return true;
        }
        break;
    case Qt::Key_Left:
        if (atStart && field > 0) {
            QLineEdit* previous = m_fields[static_cast<std::size_t>(field - 1)];
            previous->setFocus(Qt::OtherFocusReason);
            previous->end(false);
            return true;
        }
        break;
    case Qt::Key_Right:
        if (atEnd && field < 3) {
            QLineEdit* next = m_fields[static_cast<std::size_t>(field + 1)];
            next->setFocus(Qt::OtherFocusReason);
            next->home(false);
            return true;
        }
        break;
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}

void IpAddressEdit::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        UpdateBackground();
    QFrame::changeEvent(event);
}

// The platform greys the whole control when it is disabled, not only its text.
void IpAddressEdit::UpdateBackground()
{
    setBackgroundRole(isEnabled() ? QPalette::Base : QPalette::Window);
}

} // namespace platform::ui
