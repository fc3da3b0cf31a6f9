#include "exportjob.h"

#include "orderedrun.h"

#include <optional>
#include <utility>

ExportJob::ExportJob(const QVector<Item> &items, Writer writer) : m_items(items), m_writer(std::move(writer))
{
}

int ExportJob::run(const QString &folder, const Progress &progress, int workers)
{
    m_done = 0;
    m_failures.clear();
    int written = 0;
    // A result is the photograph's failure, none when its file was written.
    using Result = std::optional<ExportFailure>;
    // Read by several threads at once: only through const access, which never detaches.
    const QVector<Item> &items = m_items;
    const auto write = [&](int index) -> Result {
        ExportFailure failure{items.at(index).photo, ExportFailure::WriteFailed, QString()};
        if (m_writer(folder, index, items.at(index), failure))
            return std::nullopt;
        return failure;
    };
    const auto handOn = [&](int index, Result &failure) {
        m_done = index + 1;
        if (failure)
            m_failures << *failure;
        else
            ++written;
        if (progress)
            progress(index, failure ? &*failure : nullptr);
        return true;
    };
    runInOrder<Result>(m_items.size(), write, handOn, workers, &m_cancel);
    return written;
}
