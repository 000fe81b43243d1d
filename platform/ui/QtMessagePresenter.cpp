#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

#include "platform/ui/MessageBox.h"
#include "platform/ui/QtText.h"

namespace platform::ui {
namespace {

// A box without a Cancel button cannot be dismissed by Escape or the
// window's Close button: the user must answer (Yes/No), as on the platform
// the program was written for. Qt would otherwise take No for Escape.
class BoxWindow final : public QMessageBox {
public:
    BoxWindow(QWidget* parent, bool dismissable) : QMessageBox(parent), m_dismissable(dismissable) {}

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape && !m_dismissable) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        if (!m_dismissable) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

private:
    bool m_dismissable;
};

QMessageBox::Icon QtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

std::vector<std::pair<int, QMessageBox::StandardButton>> ButtonsOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel:
        return {{IDOK, QMessageBox::Ok}, {IDCANCEL, QMessageBox::Cancel}};
    case MessageButtons::YesNo:
        return {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}};
    case MessageButtons::YesNoCancel:
        return {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}, {IDCANCEL, QMessageBox::Cancel}};
    case MessageButtons::Ok:
        break;
    }
    return {{IDOK, QMessageBox::Ok}};
}

class QtMessagePresenter final : public MessagePresenter {
public:
    int Present(const MessageBoxRequest& request) override
    {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
            return 0;
        const auto buttons = ButtonsOf(request.buttons);
        const bool dismissable = request.buttons != MessageButtons::YesNo;
        BoxWindow box(QApplication::activeModalWidget(), dismissable);
        box.setWindowTitle(ToQString(request.caption));
        box.setTextFormat(Qt::PlainText);
        box.setText(ToQString(request.text));
        box.setIcon(QtIcon(request.icon));
        for (const auto& [result, standard] : buttons) {
            QPushButton* button = box.addButton(standard);
            if (result == request.defaultButton)
                box.setDefaultButton(button);
        }
        if (request.buttons == MessageButtons::Ok)
            box.setEscapeButton(box.button(QMessageBox::Ok));
        else if (request.buttons != MessageButtons::YesNo)
            box.setEscapeButton(box.button(QMessageBox::Cancel));

        // A handler's wait cursor must not sit over the question it asks.
        const bool waiting = QGuiApplication::overrideCursor() != nullptr;
        if (waiting)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        box.exec();
        if (waiting)
            QGuiApplication::restoreOverrideCursor();

        for (const auto& [result, standard] : buttons) {
            if (box.clickedButton() == box.button(standard))
                return result;
        }
        return 0;
    }
};

} // namespace

MessagePresenter& WindowedMessagePresenter()
{
    static QtMessagePresenter presenter;
    return presenter;
}

} // namespace platform::ui
