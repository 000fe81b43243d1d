#pragma once
// The widget behind CIPAddressCtrl (private to the UI layer).
//
// It behaves as the platform's address control does for a user typing: the
// fields take up to three digits, the third digit or a '.' moves on to the
// next field, Backspace at the start of a field and the arrow keys at its
// ends move between fields, and a value above 255 becomes 255 when the field
// is left or read. Tab leaves the control from any field.

#include <QFrame>
#include <array>

#include "platform/core/WinTypes.h"

class QLineEdit;

namespace platform::ui {

class IpAddressEdit final : public QFrame {
public:
    explicit IpAddressEdit(QWidget* parent);

    int Address(DWORD& address) const;
    void SetAddress(DWORD address);
    void Clear();
    bool IsBlank() const;
    void FocusField(int field);
    QString DottedText() const;
    // Field 0 takes the focus in the tab order when the control has WS_TABSTOP.
    void SetTabStop(bool tabStop);
    void SetFieldFont(const QFont& font);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int FieldOf(const QObject* object) const;
    // The field's value, 255 at most; -1 when blank.
    int FieldValue(int field) const;
    void Constrain(int field);
    void UpdateBackground();

    std::array<QLineEdit*, 4> m_fields{};
};

} // namespace platform::ui
