#pragma once
// The Qt window of a running CDialog (private to the UI layer): turns the
// window's keyboard, mouse, close and tooltip events into the dialog's
// commands and handlers.

#include <QDialog>
#include <QMenu>
#include <QPointer>

class CDialog;

namespace platform::ui {

class DialogWindow final : public QDialog {
public:
    DialogWindow(CDialog& owner, QWidget* parent, Qt::WindowFlags flags);

    // The context menu that stands for the window menu, while it is open.
    QMenu* SystemMenuPopup() const { return m_menu; }
    // The text of the tooltip this window showed last, while it shows.
    const QString& ShownToolTip() const { return m_toolTip; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Tooltip requests of the controls (the filter is on each control).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CDialog& m_owner;
    QPointer<QMenu> m_menu;
    QString m_toolTip;
};

} // namespace platform::ui
