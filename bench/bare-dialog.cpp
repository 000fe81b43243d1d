// The reference for the installer's start-up time (bench/startup.sh): a bare
// Qt dialog of the size of the installer's first page (313 x 210 pixels, the
// English template 102), with a few labels and buttons. It ends with 0 once
// painted, the way the installer does with TALLOW_EXIT_AFTER_FIRST_PAGE, so
// the two whole-process timings stop at the same point.
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>

namespace {

class ExitAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, [] { std::_Exit(0); });
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);

    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Bare dialog"));
    auto* layout = new QGridLayout(&dialog);
    const char* const labels[][2] = {{"Model:", "KX-70"}, {"Version:", "From -.--  To 1.20"}, {"Port:", "Ethernet"}};
    int row = 0;
    for (const auto& [name, value] : labels) {
        layout->addWidget(new QLabel(QString::fromLatin1(name)), row, 0);
        layout->addWidget(new QLabel(QString::fromLatin1(value)), row, 1, 1, 2);
        ++row;
    }
    layout->addWidget(new QPushButton(QStringLiteral("Cancel")), row, 0);
    layout->addWidget(new QPushButton(QStringLiteral("Back")), row, 1);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    layout->addWidget(ok, row, 2);
    dialog.setFixedSize(313, 210);

    dialog.installEventFilter(new ExitAfterFirstPaint(&dialog));
    dialog.show();
    return application.exec();
}
