#include "waitwithevents.h"

#include <QEventLoop>
#include <QTimer>

void waitWithEvents(unsigned ms)
{
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(ms), &loop, &QEventLoop::quit);
    loop.exec();
}
