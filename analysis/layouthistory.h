#pragma once

#include "layoutsaver.h"
#include "measurement.h"

#include <QHash>
#include <QObject>
#include <QUndoGroup>

class QGraphicsPaint;
class QUndoStack;

// The measurement layouts of the opened photographs as their history knows them: restored from
// their sidecars, each change recorded as one step on the photograph's own undo stack, and
// written back a moment later. Undo and redo reach the photograph on show only.
//
// Every step leaves the items as plain views of the layout it recorded, so undoing a step
// brings back the very geometry and readings there were before it.
class LayoutHistory : public QObject
{
    Q_OBJECT
public:
    explicit LayoutHistory(QGraphicsPaint *view, QObject *parent = nullptr);

    QUndoGroup *group() { return &m_group; }
    QUndoStack *stackOf(const QString &path);
    LayoutSaver *saver() { return &m_saver; }

    // The layout saved beside the photograph, the first time it is met in this run (it has no
    // table yet). Entries that are no measurement are left out with a message for the user.
    void restore(const QString &path);
    // The photograph is on show: Ctrl+Z reaches its stack, and its items are views of its layout.
    void show(const QString &path);
    // Whatever changed in the photograph's layout since the last step becomes one step.
    void commit(const QString &path);
    // The layout becomes the photograph's as one step (made by the program, not drawn).
    void change(const QString &path, const Layout &layout);
    // The photograph on show was turned a quarter: every point went to the centre of its pixel.
    // That is no step; the layouts of its steps go the same way, so undoing one after the turn
    // gives back what was there, turned. The layout is written.
    void turned(const QString &path);
    // Items made to show the layout, measured at once, and the layout written a moment later.
    void apply(const QString &path, const Layout &layout, bool save = true);
    // The message about entries left out of the photograph's saved layout, once.
    QString takeMessage(const QString &path) { return m_messages.take(path); }
    // Forgets every stack and recorded layout (a new run).
    void clear();

signals:
    // The photograph's items were made anew; its list rows follow.
    void sig_applied(const QString &path);

private:
    QGraphicsPaint *m_view;
    QUndoGroup m_group;
    QHash<QString, QUndoStack *> m_stacks;
    QHash<QString, Layout> m_recorded;
    QHash<QString, QString> m_messages;
    LayoutSaver m_saver;
};
