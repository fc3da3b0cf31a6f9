#pragma once

#include "reportdocument.h"
#include "reportmodel.h"

#include <QImage>
#include <QString>

// Writes a report as a Word document (.docx) from the report template, top to bottom, as the
// PDF writer lays it out: each picture goes into the file as it comes and the body written so
// far leaves memory at every heading, so neither is kept. Table header rows repeat on every
// page and stay with their first row. The file appears only when finish() succeeds.
class DocxReport
{
public:
    explicit DocxReport(const QString &path);

    // A large title, centred, well down the first page.
    void title(const QString &text);
    // A heading over what follows, on a new page when asked.
    void heading(const QString &text, bool newPage);
    // A table: a title line, then its rows under its header. Without headers the rows are
    // label and value pairs.
    void table(const ReportTable &table);
    // The picture as wide as the text column (at most half the page high), in proportion.
    void picture(const QImage &image);

    // Ends the document. False with the reason when it could not be written.
    bool finish(QString *error);
    // Ends it without writing anything: a file already at the path stays as it was.
    void cancel();

private:
    QDomElement paragraph(const QString &text, const QString &style);
    bool failed() const { return !m_error.isEmpty(); }

    ReportDocument m_document;
    QString m_error;
};
