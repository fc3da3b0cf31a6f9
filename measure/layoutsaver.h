#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class QTimer;

// Writes photographs' measurement layouts into their sidecars, a short while after they change:
// the edits of that while go out in one atomic write. Writes that failed are remembered until
// a later write of the photograph succeeds.
class LayoutSaver : public QObject
{
    Q_OBJECT
public:
    explicit LayoutSaver(int delayMs = 400, QObject *parent = nullptr);
    ~LayoutSaver() override;

    // The photograph's layout changed: it is written when the delay ends (or on a flush).
    void schedule(const QString &path);
    // Writes now what waits for the photograph, or failed before; false when the write failed.
    bool flush(const QString &path);
    // The same for every photograph; true when nothing is left unwritten.
    bool flushAll();
    // Photographs whose layout could not be written, by path.
    QStringList unsaved() const;
    // Forgets the failures and what waits (the user chose to discard them).
    void discard();
    QString lastError(const QString &path) const { return m_errors.value(path); }

private:
    bool write(const QString &path);

    int m_delay;
    QHash<QString, QTimer *> m_waiting;
    QHash<QString, QString> m_errors; // path -> why its last write failed
};
