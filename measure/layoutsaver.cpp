#include "layoutsaver.h"

#include "measurementitems.h"
#include "sidecar.h"

#include <QTimer>

LayoutSaver::LayoutSaver(int delayMs, QObject *parent)
    : QObject(parent)
    , m_delay(delayMs)
{
}

LayoutSaver::~LayoutSaver()
{
    flushAll();
}

void LayoutSaver::schedule(const QString &path)
{
    QTimer *&timer = m_waiting[path];
    if (!timer) {
        timer = new QTimer(this);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, path] { flush(path); });
    }
    // Not restarted by later edits: a long run of them is still written every delay.
    if (!timer->isActive())
        timer->start(m_delay);
}

bool LayoutSaver::flush(const QString &path)
{
    // A layout whose last write failed is tried again.
    QTimer *timer = m_waiting.take(path);
    if (timer)
        timer->deleteLater();
    else if (!m_errors.contains(path))
        return true;
    return write(path);
}

bool LayoutSaver::flushAll()
{
    QStringList paths = m_waiting.keys() + m_errors.keys();
    paths.removeDuplicates();
    for (const QString &path : paths)
        flush(path);
    return m_errors.isEmpty();
}

QStringList LayoutSaver::unsaved() const
{
    QStringList paths = m_errors.keys();
    paths.sort();
    return paths;
}

void LayoutSaver::discard()
{
    for (QTimer *timer : m_waiting)
        timer->deleteLater();
    m_waiting.clear();
    m_errors.clear();
}

bool LayoutSaver::write(const QString &path)
{
    QString error;
    if (!writeSidecarLayout(path, layoutToJson(layoutOf(path)), &error)) {
        m_errors[path] = error;
        return false;
    }
    m_errors.remove(path);
    return true;
}
