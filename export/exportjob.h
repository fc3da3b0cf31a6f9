#pragma once

#include <QList>
#include <QString>
#include <QThread>
#include <QVector>

#include <atomic>
#include <functional>

// A photograph whose file could not be written, and why.
struct ExportFailure
{
    enum Kind {
        PhotoUnreadable,    // the photograph is gone or cannot be read
        NoTemperatures,     // the file holds no temperatures: the photograph gave none
        WriteFailed,        // the file could not be created or completed (permissions, full disk)
        TemplateUnreadable, // the report template could not be read
    };
    QString photo;  // path of the photograph
    Kind kind = WriteFailed;
    QString reason; // for the user, with the system's message where there is one
};

// Writes one file per photograph into a folder, on every core. Each file is written whole or
// not at all (the writers go through QSaveFile), the photographs are handed on in the order
// given, and a cancel stops the job between photographs. Shared by the export dialog's job and
// the qct command; it knows no widget.
class ExportJob
{
public:
    struct Item
    {
        QString photo; // the photograph's path
        QString name;  // the file's name in the folder, without its suffix
    };
    // Writes the index-th item's file into folder; runs on several threads at once. True when
    // written; otherwise failure (whose photo is set) receives the kind and the reason.
    using Writer = std::function<bool(const QString &folder, int index, const Item &item, ExportFailure &failure)>;
    // Told after each photograph, in the order given, on the thread that runs the job: the
    // item's index and its failure, or nullptr when its file was written.
    using Progress = std::function<void(int index, const ExportFailure *failure)>;

    ExportJob(const QVector<Item> &items, Writer writer);

    // Writes the files into folder, which exists; returns how many were written.
    int run(const QString &folder, const Progress &progress = Progress(), int workers = QThread::idealThreadCount());
    // From any thread: no photograph is started after this, those being written are finished.
    void cancel() { m_cancel = true; }
    bool cancelled() const { return m_cancel; }

    const QVector<Item> &items() const { return m_items; }
    // Photographs handed on so far (written or failed): always the first ones of the list.
    int done() const { return m_done; }
    // The photographs that failed, in the order given.
    QList<ExportFailure> failures() const { return m_failures; }

private:
    QVector<Item> m_items;
    Writer m_writer;
    std::atomic<bool> m_cancel{false};
    int m_done = 0;
    QList<ExportFailure> m_failures;
};
