#pragma once

#include "reportmodel.h"

#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <memory>

// Writes a report as PDF through Qt's own PDF output, top to bottom: what is drawn goes to the
// file page by page, so pictures are not kept. Fonts are embedded (Chinese and Japanese text
// included). The file appears only when finish() succeeds.
class PdfReport
{
public:
    explicit PdfReport(const QString &path);
    ~PdfReport();

    // A large title, centred.
    void title(const QString &text);
    // A heading over what follows, on a new page when asked.
    void heading(const QString &text, bool newPage);
    // A table: a title line, then its rows under its header; the header row is repeated on every
    // page the table runs onto and never stands alone at a page's foot. Without headers the rows
    // are label and value pairs.
    void table(const ReportTable &table);
    // The picture as wide as the text column (at most 40 % of the page high), in proportion.
    void picture(const QImage &image);

    // Ends the document. False with the reason when it could not be written.
    bool finish(QString *error);
    // Ends it without writing anything: a file already at the path stays as it was.
    void cancel();

private:
    void room(qreal height);
    void newPage();
    // The height of text set in width; wrap is how lines may break (Qt::TextWordWrap, with
    // Qt::TextWrapAnywhere also inside words).
    qreal textHeight(const QString &text, qreal width, const QFont &font,
                     int wrap = Qt::TextWordWrap | Qt::TextWrapAnywhere) const;
    void drawRow(const QStringList &cells, const QVector<qreal> &widths, qreal height, const QFont &font,
                 const QColor &background, int wrap);

    QSaveFile m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    QRectF m_area; // the text column, in device units
    qreal m_y = 0;
    QFont m_font;
    QFont m_bold;
};
