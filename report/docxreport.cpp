#include "docxreport.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// Half-points: the text of tables, smaller than the body's so that the summary's eight columns
// keep most of their cells on one line.
constexpr int kTableTextSize = 16;
// Twips a character of that size takes at most in the fonts offices use (0.6 em for Latin
// letters and digits, a full em for Chinese and Japanese), and a cell's margins.
constexpr qreal kLatinTwips = 0.6 * kTableTextSize * 10;
constexpr qreal kWideTwips = kTableTextSize * 10;
constexpr qreal kCellMarginTwips = 2 * 57 + 30;
// The side of a picture in a table's row (12 mm).
constexpr qint64 kRowPictureTwips = 680;
const char *const kHeaderShade = "DDE6F0";

qreal textTwips(const QString &text)
{
    qreal width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x2E80 ? kWideTwips : kLatinTwips;
    return width + kCellMarginTwips;
}

// As the PDF lays tables out: data cells keep their line when the page allows, a column gets
// the width of its longest cell, and what is left goes to the columns whose headers need more
// (a header takes two lines at most).
QVector<qreal> columnWidths(const ReportTable &table, qreal width)
{
    int columns = table.headers.size();
    for (const QStringList &row : table.rows)
        columns = std::max(columns, int(row.size()));
    QVector<qreal> data(columns, 0);
    QVector<qreal> wanted(columns, 0);
    qreal dataTotal = 0;
    qreal extraTotal = 0;
    for (int c = 0; c < columns; ++c) {
        for (const QStringList &row : table.rows)
            data[c] = std::max(data[c], textTwips(row.value(c)));
        if (c == 0 && !table.pictures.isEmpty())
            data[c] = std::max(data[c], kRowPictureTwips + kCellMarginTwips);
        const qreal header = textTwips(table.headers.value(c));
        data[c] = std::max(data[c], header / 2 + kCellMarginTwips / 2);
        wanted[c] = std::max(data[c], header);
        dataTotal += data[c];
        extraTotal += wanted[c] - data[c];
    }
    QVector<qreal> widths(columns);
    for (int c = 0; c < columns; ++c) {
        if (dataTotal + extraTotal <= width)
            widths[c] = wanted[c];
        else if (dataTotal < width)
            widths[c] = data[c] + (wanted[c] - data[c]) * (width - dataTotal) / extraTotal;
        else
            widths[c] = data[c];
    }
    return widths; // the document spreads them over the text column in proportion
}

// Table paragraphs without the body's spacing, runs at the table's size; the header row bold
// on a shade.
void styleTable(QDomDocument doc, const QDomElement &table)
{
    const QDomNodeList paragraphs = table.elementsByTagName("w:p");
    for (int i = 0; i < paragraphs.size(); ++i) {
        QDomElement p = paragraphs.at(i).toElement();
        QDomElement properties = p.firstChildElement("w:pPr");
        if (properties.isNull())
            properties = p.insertBefore(doc.createElement("w:pPr"), p.firstChild()).toElement();
        QDomElement spacing = doc.createElement("w:spacing");
        spacing.setAttribute("w:before", "20");
        spacing.setAttribute("w:after", "20");
        properties.appendChild(spacing);
    }
    const QDomElement first = table.firstChildElement("w:tr");
    const bool header = !first.firstChildElement("w:trPr").firstChildElement("w:tblHeader").isNull();
    const QDomNodeList runs = table.elementsByTagName("w:r");
    for (int i = 0; i < runs.size(); ++i) {
        QDomElement run = runs.at(i).toElement();
        QDomElement properties = run.insertBefore(doc.createElement("w:rPr"), run.firstChild()).toElement();
        if (header && run.parentNode().parentNode().parentNode() == first)
            properties.appendChild(doc.createElement("w:b"));
        QDomElement size = doc.createElement("w:sz");
        size.setAttribute("w:val", kTableTextSize);
        properties.appendChild(size);
    }
    if (!header)
        return;
    for (QDomElement cell = first.firstChildElement("w:tc"); !cell.isNull(); cell = cell.nextSiblingElement("w:tc")) {
        QDomElement shade = doc.createElement("w:shd");
        shade.setAttribute("w:val", "clear");
        shade.setAttribute("w:color", "auto");
        shade.setAttribute("w:fill", kHeaderShade);
        cell.firstChildElement("w:tcPr").appendChild(shade);
    }
}

QDomElement property(QDomDocument doc, QDomElement parent, const QString &name)
{
    QDomElement e = doc.createElement(name);
    parent.appendChild(e);
    return e;
}

} // namespace

DocxReport::DocxReport(const QString &path)
{
    const QString templatePath = reportTemplatePath();
    if (!m_document.open(templatePath)) {
        m_error = QCoreApplication::translate("ExportFileThread", "无法读取报告模板：%1").arg(templatePath);
        return;
    }
    m_document.clearBody();
    if (!m_document.start(path))
        m_error = m_document.errorString();
}

QDomElement DocxReport::paragraph(const QString &text, const QString &style)
{
    QDomDocument doc = m_document.document();
    QDomElement p = doc.createElement("w:p");
    QDomElement properties = property(doc, p, "w:pPr");
    if (!style.isEmpty())
        property(doc, properties, "w:pStyle").setAttribute("w:val", style);
    if (!text.isEmpty())
        p.appendChild(m_document.textRun(text));
    return m_document.append(p);
}

void DocxReport::title(const QString &text)
{
    if (failed())
        return;
    QDomDocument doc = m_document.document();
    QDomElement p = paragraph(text, "Title");
    // A cover: the title a quarter down the first page.
    QDomElement spacing = doc.createElement("w:spacing");
    spacing.setAttribute("w:before", QString::number(m_document.textHeightTwips() / 4));
    spacing.setAttribute("w:after", "600");
    p.firstChildElement("w:pPr").appendChild(spacing);
}

void DocxReport::heading(const QString &text, bool newPage)
{
    if (failed())
        return;
    // What came before leaves memory: a section is written whole before the next begins.
    if (!m_document.flushBody()) {
        m_error = m_document.errorString();
        return;
    }
    QDomDocument doc = m_document.document();
    QDomElement properties = paragraph(text, "Heading1").firstChildElement("w:pPr");
    // A heading never ends a page.
    property(doc, properties, "w:keepNext");
    if (newPage)
        property(doc, properties, "w:pageBreakBefore");
}

void DocxReport::table(const ReportTable &table)
{
    if (failed())
        return;
    QDomDocument doc = m_document.document();
    if (!table.title.isEmpty()) {
        QDomElement p = paragraph(table.title, QString());
        // The title stays with the table.
        property(doc, p.firstChildElement("w:pPr"), "w:keepNext");
        QDomElement run = p.firstChildElement("w:r");
        run.insertBefore(doc.createElement("w:rPr"), run.firstChild()).appendChild(doc.createElement("w:b"));
    }
    const QVector<qreal> widths = columnWidths(table, m_document.textWidthTwips());
    const QDomElement element = m_document.append(m_document.table(table.headers, table.rows, widths));
    styleTable(doc, element);
    // Each row's picture in its first cell, the rows after the header in order.
    QDomElement row = element.firstChildElement("w:tr");
    if (!table.headers.isEmpty())
        row = row.nextSiblingElement("w:tr");
    for (const QImage &image : table.pictures) {
        if (row.isNull())
            break;
        if (!image.isNull()) {
            const QDomElement run = m_document.pictureRun(image, kRowPictureTwips, kRowPictureTwips);
            if (run.isNull()) {
                m_error = m_document.errorString();
                return;
            }
            row.firstChildElement("w:tc").firstChildElement("w:p").appendChild(run);
        }
        row = row.nextSiblingElement("w:tr");
    }
    // Word needs a paragraph between two tables, or it joins them.
    paragraph(QString(), QString());
}

void DocxReport::picture(const QImage &image)
{
    if (failed() || image.isNull())
        return;
    const QDomElement run = m_document.pictureRun(image, m_document.textHeightTwips() / 2);
    if (run.isNull()) {
        m_error = m_document.errorString();
        return;
    }
    QDomDocument doc = m_document.document();
    QDomElement p = paragraph(QString(), QString());
    property(doc, p.firstChildElement("w:pPr"), "w:jc").setAttribute("w:val", "center");
    p.appendChild(run);
}

bool DocxReport::finish(QString *error)
{
    if (!failed() && !m_document.finish())
        m_error = m_document.errorString();
    if (failed()) {
        m_document.cancel();
        if (error)
            *error = m_error;
        return false;
    }
    return true;
}

void DocxReport::cancel()
{
    m_document.cancel();
}
