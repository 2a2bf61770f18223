#include "app/ui/FindWindow.h"

#include <QApplication>
#include <QWidget>

namespace corvix {

QWidget* FindWindowByCaption(const QString& caption)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowTitle() == caption) {
            return widget;
        }
    }
    return nullptr;
}

}  // namespace corvix
