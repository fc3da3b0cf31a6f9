#include "layouthistory.h"

#include "measurementitems.h"
#include "mygraphicsscene.h"
#include "myitemtemp.h"
#include "pagetables.h"
#include "qgraphicspaint.h"
#include "sidecar.h"

#include <QDir>
#include <QFileInfo>
#include <QUndoCommand>
#include <QUndoStack>

namespace {

// One change of one photograph's layout: the whole layout before and after it.
class LayoutStep : public QUndoCommand
{
public:
    LayoutStep(LayoutHistory *history, const QString &path, const Layout &before, const Layout &after)
        : m_history(history), m_path(path), m_before(before), m_after(after)
    {
    }
    void undo() override { m_history->apply(m_path, m_before); }
    void redo() override { m_history->apply(m_path, m_after); }
    void moveOntoPixelCentres(const QSize &frame)
    {
        for (Layout *layout : {&m_before, &m_after})
            for (Measurement &m : *layout)
                m = onPixelCentres(m, frame);
    }

private:
    LayoutHistory *m_history;
    QString m_path;
    Layout m_before;
    Layout m_after;
};

} // namespace

LayoutHistory::LayoutHistory(QGraphicsPaint *view, QObject *parent)
    : QObject(parent)
    , m_view(view)
{
}

QUndoStack *LayoutHistory::stackOf(const QString &path)
{
    QUndoStack *&stack = m_stacks[path];
    if (!stack) {
        stack = new QUndoStack(&m_group);
        m_group.addStack(stack);
    }
    return stack;
}

void LayoutHistory::restore(const QString &path)
{
    if (itemTables().contains(path))
        return;
    // A sidecar that cannot be read at all is reported with the photograph's settings.
    QJsonArray saved;
    readSidecarLayout(path, saved, nullptr);
    QStringList skipped;
    const Layout layout = layoutFromJson(saved, &skipped);
    if (!skipped.isEmpty())
        m_messages[path] = tr("%1 中有 %2 个测温标记无法读取，已略过：")
                               .arg(QDir::toNativeSeparators(sidecarPath(path)))
                               .arg(skipped.size())
            + '\n' + skipped.join('\n');
    itemTables()[path] = itemsFor(path, layout, m_view->pictureRectFor(path));
    m_recorded[path] = layout;
}

void LayoutHistory::show(const QString &path)
{
    m_group.setActiveStack(stackOf(path));
    // The items on show are made from the recorded layout when they still show it (a change
    // of the view's size leaves only rounding); from what they show otherwise (placed on
    // another picture, a shape may have been held inside it), and that is written.
    const Layout now = layoutOf(path);
    const bool known = m_recorded.contains(path);
    const bool changed = !known || !sameLayout(m_recorded[path], now);
    if (changed)
        m_recorded[path] = now;
    apply(path, m_recorded[path], changed && known);
}

void LayoutHistory::commit(const QString &path)
{
    const MyGraphicsScene *scene = m_view->measurementScene();
    // A polygon being drawn would be lost by remaking the items; its finish commits.
    if (scene && scene->photoPath() == path && scene->polygonInProgress())
        return;
    const Layout now = layoutOf(path);
    const Layout before = m_recorded.value(path);
    if (!sameLayout(before, now))
        stackOf(path)->push(new LayoutStep(this, path, before, now));
}

void LayoutHistory::change(const QString &path, const Layout &layout)
{
    stackOf(path)->push(new LayoutStep(this, path, m_recorded.value(path), layout));
}

void LayoutHistory::turned(const QString &path)
{
    const QSize frame = mappingFor(path, QRectF()).frame;
    QUndoStack *stack = stackOf(path);
    for (int i = 0; i < stack->count(); ++i)
        static_cast<LayoutStep *>(const_cast<QUndoCommand *>(stack->command(i)))->moveOntoPixelCentres(frame);
    Layout recorded = m_recorded.value(path);
    for (Measurement &m : recorded)
        m = onPixelCentres(m, frame);
    // The items are made from it anew: they then show exactly what the steps hold.
    apply(path, recorded);
}

void LayoutHistory::apply(const QString &path, const Layout &layout, bool save)
{
    MyGraphicsScene *scene = m_view->measurementScene();
    const bool shown = scene && scene->photoPath() == path;
    const PictureMapping mapping = mappingFor(path, m_view->pictureRectFor(path));
    // Items keep their objects where they stay of the same kind: a selected one stays selected.
    ItemTable &table = itemTables()[path];
    ItemTable next;
    for (const Measurement &m : layout) {
        ItemPtr item = table.value(m.name);
        if (item && item->kind() == m.kind && !item->isCreating())
            showMeasurement(*item, m, mapping);
        else
            item = itemFor(m, mapping);
        item->computeStatistics(QPointF(0, 0), path);
        next.insert(m.name, item);
    }
    table = next;
    m_recorded[path] = layout;
    if (shown)
        scene->showTableItems();
    // The rows come again with the readings, as after a paste.
    for (MyItemTemp *row : itemRowTables().take(path))
        row->deleteLater();
    if (save)
        m_saver.schedule(path);
    emit sig_applied(path);
}

void LayoutHistory::clear()
{
    for (QUndoStack *stack : m_stacks) {
        m_group.removeStack(stack);
        delete stack;
    }
    m_stacks.clear();
    m_recorded.clear();
    m_messages.clear();
}
