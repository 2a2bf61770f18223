#include "app/ui/DialogPrompt.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tarnwell"));
    QApplication::setApplicationName(QStringLiteral("Velmora Corvix for DeviceNet"));
    QApplication::setApplicationVersion(QStringLiteral("3.5.1.3"));

    QMainWindow window;
    corvix::DialogPrompt prompt(&window);
    corvix::UserPrompt::setCurrent(&prompt);
    window.setWindowTitle(QStringLiteral("Velmora Corvix for DeviceNet"));
    auto* placeholder = new QLabel(
        QStringLiteral("The network windows arrive with the main window; use the corvix command "
                       "line meanwhile."),
        &window);
    placeholder->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(placeholder);
    window.resize(900, 600);
    window.show();
    const int result = QApplication::exec();
    corvix::UserPrompt::setCurrent(nullptr);
    return result;
}
