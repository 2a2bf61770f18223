#include "DriverMessage.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace corvix::serial {

void ShowDriverMessage(const QString& text)
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("RS232 Interface"), text,
                                QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("SerialDriverMessage"));
    box->show();
}

}  // namespace corvix::serial
