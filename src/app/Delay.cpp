#include "app/Delay.h"

#include <QEventLoop>
#include <QTimer>

namespace corvix {

void Delay(int seconds, int milliseconds)
{
    const int total = seconds * 1000 + milliseconds;
    if (total <= 0) {
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(total, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace corvix
