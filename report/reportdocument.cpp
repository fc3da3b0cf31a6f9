#include "reportdocument.h"

#include "appsettings.h"
#include "language.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryFile>
#include <QTextStream>

#include <quazip.h>
#include <quazipfile.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

namespace {

const char *const kMain = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
const char *const kRelationshipsNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char *const kDocumentPart = "word/document.xml";
const char *const kRelationshipsPart = "word/_rels/document.xml.rels";
const char *const kContentTypesPart = "[Content_Types].xml";
const char *const kFlushedBody = "qct-flushed-body";
constexpr qint64 kEmuPerTwip = 635;

QDomElement child(QDomDocument &doc, QDomNode parent, const QString &name)
{
    QDomElement e = doc.createElement(name);
    parent.appendChild(e);
    return e;
}

// A run holding the text, with spaces kept.
QDomElement textRun(QDomDocument &doc, const QString &text)
{
    QDomElement run = doc.createElement("w:r");
    QDomElement t = child(doc, run, "w:t");
    t.setAttribute("xml:space", "preserve");
    t.appendChild(doc.createTextNode(text));
    return run;
}

QDomElement enclosing(QDomNode node, const QString &name)
{
    while (!node.isNull() && node.nodeName() != name)
        node = node.parentNode();
    return node.toElement();
}

QList<QDomElement> topLevelTables(const QDomDocument &doc)
{
    QList<QDomElement> tables;
    const QDomNodeList all = doc.elementsByTagName("w:tbl");
    for (int i = 0; i < all.size(); ++i) {
        if (enclosing(all.at(i).parentNode(), "w:tbl").isNull())
            tables << all.at(i).toElement();
    }
    return tables;
}

// The paragraph's properties, made when it has none (they come first in a paragraph).
QDomElement paragraphProperties(QDomDocument &doc, QDomElement paragraph)
{
    QDomElement properties = paragraph.firstChildElement("w:pPr");
    if (properties.isNull())
        properties = paragraph.insertBefore(doc.createElement("w:pPr"), paragraph.firstChild()).toElement();
    return properties;
}

// The header row: repeated on every page, never split, and each of its paragraphs kept with
// the next, so that it does not stand alone at a page's foot.
// The row's properties, made when it has none: before the cells, after row-level exceptions.
QDomElement rowProperties(QDomDocument &doc, QDomElement row)
{
    QDomElement properties = row.firstChildElement("w:trPr");
    if (properties.isNull()) {
        const QDomElement exceptions = row.firstChildElement("w:tblPrEx");
        properties = doc.createElement("w:trPr");
        if (exceptions.isNull())
            row.insertBefore(properties, row.firstChild());
        else
            row.insertAfter(properties, exceptions);
    }
    return properties;
}

// Adds the row property unless it is there, before the properties that follow it in the
// schema's order.
void setRowProperty(QDomDocument &doc, QDomElement row, const QString &name, const QStringList &later)
{
    QDomElement properties = rowProperties(doc, row);
    if (!properties.firstChildElement(name).isNull())
        return;
    QDomElement next = properties.firstChildElement();
    while (!next.isNull() && !later.contains(next.nodeName()))
        next = next.nextSiblingElement();
    properties.insertBefore(doc.createElement(name), next);
}

// A row is read whole: never split over two pages.
void keepRowWhole(QDomDocument &doc, QDomElement row)
{
    setRowProperty(doc, row, "w:cantSplit", {"w:trHeight", "w:tblHeader", "w:tblCellSpacing", "w:jc", "w:hidden"});
}

void markHeaderRow(QDomDocument &doc, QDomElement row)
{
    keepRowWhole(doc, row);
    setRowProperty(doc, row, "w:tblHeader", {"w:tblCellSpacing", "w:jc", "w:hidden"});
    const QDomNodeList paragraphs = row.elementsByTagName("w:p");
    for (int i = 0; i < paragraphs.size(); ++i) {
        QDomElement pPr = paragraphProperties(doc, paragraphs.at(i).toElement());
        if (!pPr.firstChildElement("w:keepNext").isNull())
            continue;
        // After the style, which comes first.
        const QDomElement style = pPr.firstChildElement("w:pStyle");
        const QDomElement keep = doc.createElement("w:keepNext");
        if (style.isNull())
            pPr.insertBefore(keep, pPr.firstChild());
        else
            pPr.insertAfter(keep, style);
    }
}

} // namespace

QString reportTemplatePath()
{
    const int language = AppSettings::instance().languageId();
    const QString name = language == LanguageId::English ? "template-en.dotx"
        : language == LanguageId::Japanese               ? "template-jp.dotx"
                                                         : "template.dotx";
    return QCoreApplication::applicationDirPath() + "/template/" + name;
}

namespace {

// The package's way to its file: every byte handed over is written (a short write is tried
// again, and the next attempt fails with the reason), and the reason of the first failure is
// kept, since a later seek clears the file's error.
class PackageOutput : public QIODevice
{
public:
    explicit PackageOutput(QSaveFile &file) : m_file(file) {}
    bool isSequential() const override { return false; }
    bool seek(qint64 position) override { return QIODevice::seek(position) && m_file.seek(position); }
    qint64 size() const override { return m_file.size(); }
    QString failure() const { return m_failure; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        for (qint64 done = 0; done < size;) {
            const qint64 written = m_file.write(data + done, size - done);
            if (written <= 0) {
                if (m_failure.isEmpty())
                    m_failure = m_file.errorString();
                return done > 0 ? done : -1;
            }
            done += written;
        }
        return size;
    }

private:
    QSaveFile &m_file;
    QString m_failure;
};

} // namespace

// The file being written: a zip package straight onto a file that appears only when committed.
struct ReportDocument::Package
{
    explicit Package(const QString &path) : file(path), output(file), zip(&output) {}
    QSaveFile file;
    PackageOutput output;
    QuaZip zip;
};

ReportDocument::ReportDocument() = default;

ReportDocument::~ReportDocument()
{
    cancel();
}

bool ReportDocument::open(const QString &templatePath)
{
    cancel();
    m_parts.clear();
    m_document.clear();
    QuaZip zip(templatePath);
    if (!zip.open(QuaZip::mdUnzip))
        return false;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        m_parts.insert(zip.getCurrentFileName(), file.readAll());
    }
    if (!m_document.setContent(m_parts.value(kDocumentPart))) {
        m_document.clear();
        return false;
    }
    // Parsed without namespace processing: elements keep the template's "w:" names as written.
    m_relationships.setContent(m_parts.value(kRelationshipsPart,
                                             "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
                                             "2006/relationships\"/>"));
    m_pictures = 0;
    return true;
}

QDomElement ReportDocument::bookmarkStart(const QString &name) const
{
    const QDomNodeList starts = m_document.elementsByTagName("w:bookmarkStart");
    for (int i = 0; i < starts.size(); ++i) {
        const QDomElement start = starts.at(i).toElement();
        if (start.attribute("w:name") == name)
            return start;
    }
    return QDomElement();
}

ReportDocument::Anchor ReportDocument::anchor(const QDomElement &start) const
{
    Anchor at;
    // Inside a paragraph: the content begins right after the start.
    const QDomElement enclosingParagraph = enclosing(start.parentNode(), "w:p");
    if (!enclosingParagraph.isNull()) {
        at.paragraph = enclosingParagraph;
        at.container = start.parentNode().toElement();
        at.after = start;
        return at;
    }
    QDomElement paragraph;
    const QDomElement parent = start.parentNode().toElement();
    if (parent.nodeName() == "w:tr" && start.hasAttribute("w:colFirst")) {
        // Word marks a range of cells by a start before the row's cells; the range begins in
        // the cell at grid column colFirst.
        const int first = start.attribute("w:colFirst").toInt();
        int column = parent.firstChildElement("w:trPr").firstChildElement("w:gridBefore").attribute("w:val").toInt();
        for (QDomElement tc = parent.firstChildElement("w:tc"); !tc.isNull(); tc = tc.nextSiblingElement("w:tc")) {
            const int span = std::max(1, tc.firstChildElement("w:tcPr").firstChildElement("w:gridSpan").attribute("w:val").toInt());
            if (first < column + span) {
                paragraph = tc.elementsByTagName("w:p").at(0).toElement();
                break;
            }
            column += span;
        }
    }
    if (paragraph.isNull()) {
        // Between paragraphs or before a row's cells: the range begins in the next paragraph,
        // unless it ends before one.
        const QString id = start.attribute("w:id");
        for (QDomNode up = start; !up.isNull() && paragraph.isNull(); up = up.parentNode()) {
            for (QDomNode node = up.nextSibling(); !node.isNull(); node = node.nextSibling()) {
                if (node.nodeName() == "w:bookmarkEnd" && node.toElement().attribute("w:id") == id)
                    return at;
                if (node.nodeName() == "w:p") {
                    paragraph = node.toElement();
                    break;
                }
                const QDomElement inner = node.toElement().elementsByTagName("w:p").at(0).toElement();
                if (!inner.isNull()) {
                    paragraph = inner;
                    break;
                }
            }
            if (up.nodeName() == "w:body")
                break;
        }
    }
    if (paragraph.isNull())
        return at;
    at.paragraph = paragraph;
    at.container = paragraph;
    at.after = paragraph.firstChildElement("w:pPr"); // null: the paragraph's first place
    return at;
}

void ReportDocument::insertAt(Anchor at, const QDomNode &node)
{
    if (at.after.isNull())
        at.container.insertBefore(node, at.container.firstChild());
    else
        at.container.insertAfter(node, at.after);
}

bool ReportDocument::setBookmarkText(const QString &bookmark, const QString &text)
{
    const QDomElement start = bookmarkStart(bookmark);
    if (start.isNull())
        return false;
    Anchor at = anchor(start);
    if (at.paragraph.isNull())
        return false;
    // The bookmark's content in its first paragraph is replaced by the text: what follows the
    // anchor up to the bookmark's end or the paragraph's end. Cells, rows and paragraphs stay,
    // as do the marks of other ranges, which would otherwise lose their other half.
    const QString id = start.attribute("w:id");
    QDomNode node = at.after.isNull() ? at.container.firstChild() : at.after.nextSibling();
    while (!node.isNull() && !(node.nodeName() == "w:bookmarkEnd" && node.toElement().attribute("w:id") == id)) {
        const QDomNode next = node.nextSibling();
        const QString name = node.nodeName();
        const bool rangeMark = name.endsWith("Start") || name.endsWith("End");
        if (!rangeMark && name != "w:pPr")
            at.container.removeChild(node);
        node = next;
    }
    insertAt(at, textRun(text));
    return true;
}

QString ReportDocument::addRelationship(const QString &type, const QString &target)
{
    QDomElement root = m_relationships.documentElement();
    QSet<QString> taken;
    for (QDomElement e = root.firstChildElement("Relationship"); !e.isNull(); e = e.nextSiblingElement("Relationship"))
        taken.insert(e.attribute("Id"));
    int n = taken.size() + 1;
    QString id;
    do {
        id = QString("rIdReport%1").arg(n++);
    } while (taken.contains(id));
    QDomElement rel = m_relationships.createElement("Relationship");
    rel.setAttribute("Id", id);
    rel.setAttribute("Type", type);
    rel.setAttribute("Target", target);
    root.appendChild(rel);
    return id;
}

qint64 ReportDocument::textWidthTwips() const
{
    const QDomElement size = m_document.elementsByTagName("w:pgSz").at(0).toElement();
    const QDomElement margins = m_document.elementsByTagName("w:pgMar").at(0).toElement();
    if (size.isNull() || margins.isNull())
        return 9026; // A4 with margins of an inch
    return size.attribute("w:w").toLongLong() - margins.attribute("w:left").toLongLong()
        - margins.attribute("w:right").toLongLong();
}

qint64 ReportDocument::textHeightTwips() const
{
    const QDomElement size = m_document.elementsByTagName("w:pgSz").at(0).toElement();
    const QDomElement margins = m_document.elementsByTagName("w:pgMar").at(0).toElement();
    if (size.isNull() || margins.isNull())
        return 13958;
    return size.attribute("w:h").toLongLong() - margins.attribute("w:top").toLongLong()
        - margins.attribute("w:bottom").toLongLong();
}

QDomElement ReportDocument::pictureRun(const QImage &image, qint64 maxHeightTwips, qint64 maxWidthTwips)
{
    if (image.isNull())
        return QDomElement();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // Light compression: the deflate of the default level took half of a long report's time
    // for files a fifth smaller.
    image.save(&buffer, "PNG", 80);
    const int number = ++m_pictures;
    const QString media = QString("media/report%1.png").arg(number);
    if (!addPart("word/" + media, png))
        return QDomElement();
    const QString rel = addRelationship("http://schemas.openxmlformats.org/officeDocument/2006/relationships/image", media);

    // As wide as the text column of the page (or the width given), the height in proportion.
    qint64 cx = (maxWidthTwips > 0 ? std::min<qint64>(maxWidthTwips, textWidthTwips()) : textWidthTwips()) * kEmuPerTwip;
    qint64 cy = cx * image.height() / std::max(1, image.width());
    if (maxHeightTwips > 0 && cy > maxHeightTwips * kEmuPerTwip) {
        cx = cx * maxHeightTwips * kEmuPerTwip / cy;
        cy = maxHeightTwips * kEmuPerTwip;
    }
    const QString drawing = QString(
        "<w:r xmlns:w=\"%1\"><w:drawing><wp:inline xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/"
        "wordprocessingDrawing\" distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent cx=\"%2\" cy=\"%3\"/>"
        "<wp:docPr id=\"%4\" name=\"Picture %4\"/><wp:cNvGraphicFramePr><a:graphicFrameLocks "
        "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" noChangeAspect=\"1\"/></wp:cNvGraphicFramePr>"
        "<a:graphic xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><a:graphicData "
        "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic "
        "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:nvPicPr><pic:cNvPr id=\"%4\" "
        "name=\"report%4.png\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"%5\" xmlns:r=\"%6\"/>"
        "<a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/>"
        "<a:ext cx=\"%2\" cy=\"%3\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>"
        "</a:graphicData></a:graphic></wp:inline></w:drawing></w:r>")
                                .arg(kMain)
                                .arg(cx)
                                .arg(cy)
                                .arg(1000 + number)
                                .arg(rel, kRelationshipsNs);
    QDomDocument fragment;
    fragment.setContent(drawing);
    return m_document.importNode(fragment.documentElement(), true).toElement();
}

bool ReportDocument::insertBookmarkPicture(const QString &bookmark, const QString &imagePath)
{
    const QDomElement start = bookmarkStart(bookmark);
    const QImage image(imagePath);
    if (start.isNull() || image.isNull())
        return false;
    const Anchor at = anchor(start);
    if (at.paragraph.isNull())
        return false;
    const QDomElement run = pictureRun(image);
    if (run.isNull())
        return false;
    insertAt(at, run);
    return true;
}

QString ReportDocument::styleIdForName(const QString &name) const
{
    QDomDocument styles;
    styles.setContent(m_parts.value("word/styles.xml"));
    const QDomNodeList all = styles.elementsByTagName("w:style");
    for (int i = 0; i < all.size(); ++i) {
        const QDomElement style = all.at(i).toElement();
        const QString own = style.firstChildElement("w:name").attribute("w:val");
        const QStringList aliases = style.firstChildElement("w:aliases").attribute("w:val").split(',');
        if (own == name || aliases.contains(name))
            return style.attribute("w:styleId");
    }
    return QString();
}

QDomElement ReportDocument::emptyTable(int columns, int rows, const QVector<qreal> &weights)
{
    QDomElement table = m_document.createElement("w:tbl");
    QDomElement properties = child(m_document, table, "w:tblPr");
    QDomElement width = child(m_document, properties, "w:tblW");
    QDomElement grid = child(m_document, table, "w:tblGrid");
    const qint64 text = textWidthTwips();
    qreal total = 0;
    for (int c = 0; c < columns; ++c)
        total += weights.value(c, 1);
    QStringList widths;
    for (int c = 0; c < columns; ++c)
        widths << QString::number(weights.isEmpty() ? 9026 / columns : qint64(text * weights.value(c, 1) / total));
    if (weights.isEmpty()) {
        width.setAttribute("w:type", "auto");
        width.setAttribute("w:w", "0");
    } else {
        // Fixed columns over the whole text column: long texts wrap in their cells instead of
        // widening the table past the page.
        width.setAttribute("w:type", "dxa");
        width.setAttribute("w:w", QString::number(text));
        child(m_document, properties, "w:tblLayout").setAttribute("w:type", "fixed");
        // Narrow cell margins (1 mm) leave the room to the texts.
        QDomElement margins = child(m_document, properties, "w:tblCellMar");
        for (const char *side : {"w:left", "w:right"}) {
            QDomElement margin = child(m_document, margins, side);
            margin.setAttribute("w:w", "57");
            margin.setAttribute("w:type", "dxa");
        }
    }
    for (int c = 0; c < columns; ++c)
        child(m_document, grid, "w:gridCol").setAttribute("w:w", widths[c]);
    for (int r = 0; r < rows; ++r) {
        QDomElement row = child(m_document, table, "w:tr");
        for (int c = 0; c < columns; ++c) {
            QDomElement cell = child(m_document, row, "w:tc");
            if (!weights.isEmpty()) {
                QDomElement cellWidth = child(m_document, child(m_document, cell, "w:tcPr"), "w:tcW");
                cellWidth.setAttribute("w:w", widths[c]);
                cellWidth.setAttribute("w:type", "dxa");
            }
            child(m_document, cell, "w:p");
        }
    }
    return table;
}

void ReportDocument::fillTable(QDomElement target, int columns, const QStringList &headers, const QStringList &cells)
{
    QDomElement targetProperties = target.firstChildElement("w:tblPr");
    if (targetProperties.isNull())
        targetProperties = target.insertBefore(m_document.createElement("w:tblPr"), target.firstChild()).toElement();
    const QString styleId = styleIdForName(QString::fromUtf8("网格型"));
    if (!styleId.isEmpty()) {
        QDomElement style = targetProperties.firstChildElement("w:tblStyle");
        if (style.isNull())
            style = targetProperties.insertBefore(m_document.createElement("w:tblStyle"),
                                                  targetProperties.firstChild()).toElement();
        style.setAttribute("w:val", styleId);
    }
    // Without headers the cells begin in the first row.
    const int first = headers.isEmpty() ? 1 : 2;
    const int rows = int(cells.size()) / columns + first - 1;
    const QDomNodeList targetRows = target.elementsByTagName("w:tr");
    for (int r = 1; r <= rows && r <= targetRows.size(); ++r) {
        QDomElement tr = targetRows.at(r - 1).toElement();
        int c = 1;
        for (QDomElement tc = tr.firstChildElement("w:tc"); !tc.isNull() && c <= columns;
             tc = tc.nextSiblingElement("w:tc"), ++c) {
            const int index = (r - first) * columns + c;
            const QString text = r < first ? headers[c - 1] : index - 1 < cells.size() ? cells[index - 1] : QString();
            QDomElement p = tc.firstChildElement("w:p");
            if (p.isNull())
                p = child(m_document, tc, "w:p");
            // The cell's text is replaced; its paragraph properties stay.
            for (QDomNode n = p.firstChild(); !n.isNull();) {
                const QDomNode next = n.nextSibling();
                if (n.nodeName() != "w:pPr")
                    p.removeChild(n);
                n = next;
            }
            if (!text.isEmpty())
                p.appendChild(textRun(text));
        }
        if (r < first)
            markHeaderRow(m_document, tr);
        else
            keepRowWhole(m_document, tr);
    }
}

bool ReportDocument::addBookmarkTable(const QString &bookmark, int tableNumber, const QStringList &headers,
                                      const QStringList &cells)
{
    const int columns = headers.size();
    if (columns == 0)
        return false;
    const QDomElement paragraph = paragraphAt(bookmark);
    if (paragraph.isNull())
        return false;

    // An empty table of the needed size goes where the bookmark's paragraph is.
    putAfter(paragraph, emptyTable(columns, cells.size() / columns + 1, {}));

    const QList<QDomElement> tables = topLevelTables(m_document);
    if (tableNumber < 1 || tableNumber > tables.size())
        return false;
    fillTable(tables[tableNumber - 1], columns, headers, cells);
    return true;
}

QDomElement ReportDocument::paragraphAt(const QString &bookmark) const
{
    const QDomElement start = bookmarkStart(bookmark);
    return start.isNull() ? QDomElement() : anchor(start).paragraph;
}

void ReportDocument::putAfter(const QDomElement &paragraph, const QDomElement &table)
{
    paragraph.parentNode().insertAfter(table, paragraph);
    // A cell must end with a paragraph.
    if (table.parentNode().nodeName() == "w:tc" && table.nextSibling().isNull())
        table.parentNode().appendChild(table.ownerDocument().createElement("w:p"));
}

bool ReportDocument::insertBookmarkTable(const QString &bookmark, const QStringList &headers,
                                         const QList<QStringList> &rows)
{
    const QDomElement paragraph = paragraphAt(bookmark);
    if (paragraph.isNull())
        return false;
    putAfter(paragraph, table(headers, rows, {}));
    return true;
}

QDomElement ReportDocument::table(const QStringList &headers, const QList<QStringList> &rows, const QVector<qreal> &weights)
{
    int columns = std::max(1, int(headers.size()));
    for (const QStringList &row : rows)
        columns = std::max(columns, int(row.size()));
    QStringList cells;
    for (const QStringList &row : rows) {
        for (int c = 0; c < columns; ++c)
            cells << row.value(c);
    }
    QStringList header = headers;
    while (!header.isEmpty() && header.size() < columns)
        header << QString();
    const QDomElement table = emptyTable(columns, rows.size() + (header.isEmpty() ? 0 : 1), weights);
    fillTable(table, columns, header, cells);
    return table;
}

QDomElement ReportDocument::body() const
{
    return m_document.documentElement().firstChildElement("w:body");
}

void ReportDocument::clearBody()
{
    QDomElement content = body();
    for (QDomNode node = content.firstChild(); !node.isNull();) {
        const QDomNode next = node.nextSibling();
        if (node.nodeName() != "w:sectPr")
            content.removeChild(node);
        node = next;
    }
}

QDomElement ReportDocument::append(const QDomElement &element)
{
    QDomElement content = body();
    const QDomElement settings = content.lastChildElement("w:sectPr");
    if (settings.isNull())
        content.appendChild(element);
    else
        content.insertBefore(element, settings);
    return element;
}

QDomElement ReportDocument::textRun(const QString &text)
{
    return ::textRun(m_document, text);
}

bool ReportDocument::failWrite()
{
    if (m_error.isEmpty()) {
        const QString fileName = QFileInfo(m_package->file.fileName()).fileName();
        // The system's reason when the file said no (a full disk), else the package's.
        const QString reason = m_package->output.failure();
        m_error = !reason.isEmpty() ? QCoreApplication::translate("ExportFileThread", "无法写入 %1：%2").arg(fileName, reason)
                                    : QCoreApplication::translate("ExportFileThread", "无法生成报告文档");
    }
    cancel();
    return false;
}

bool ReportDocument::addPart(const QString &name, const QByteArray &data)
{
    if (!m_package) {
        m_parts.insert(name, data);
        return true;
    }
    // Pictures are compressed already.
    const bool stored = name.endsWith(".png");
    QuaZipFile file(&m_package->zip);
    bool ok = file.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, stored ? 0 : Z_DEFLATED,
                        stored ? 0 : Z_DEFAULT_COMPRESSION);
    ok = ok && file.write(data) == data.size();
    file.close();
    if (!ok || file.getZipError() != ZIP_OK)
        return failWrite();
    return true;
}

bool ReportDocument::start(const QString &path)
{
    cancel();
    m_error.clear();
    if (!isOpen()) {
        m_error = QCoreApplication::translate("ExportFileThread", "无法生成报告文档");
        return false;
    }
    m_package = std::make_unique<Package>(path);
    // Unbuffered: every write reaches the system and its failure is seen at once; a failure
    // while commit() flushes Qt's buffer would go unnoticed.
    if (!m_package->file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_error = QCoreApplication::translate("ExportFileThread", "无法创建 %1：%2")
                      .arg(QFileInfo(path).fileName(), m_package->file.errorString());
        m_package.reset();
        return false;
    }
    // The file is committed here, not by the package.
    m_package->output.open(QIODevice::WriteOnly);
    m_package->zip.setAutoClose(false);
    if (!m_package->zip.open(QuaZip::mdCreate))
        return failWrite();

    // The content types first, as packages usually have them; pictures may follow.
    QByteArray types = m_parts.value(kContentTypesPart);
    types.replace("wordprocessingml.template.main+xml", "wordprocessingml.document.main+xml");
    if (!types.contains("Extension=\"png\""))
        types.replace("<Default Extension=\"xml\"", "<Default Extension=\"png\" ContentType=\"image/png\"/><Default Extension=\"xml\"");
    if (!addPart(kContentTypesPart, types))
        return false;
    for (auto it = m_parts.begin(); it != m_parts.end();) {
        // The document and its relationships come last, when they are complete.
        if (it.key() != kContentTypesPart && it.key() != kDocumentPart && it.key() != kRelationshipsPart
            && !addPart(it.key(), it.value()))
            return false;
        // Pictures leave memory once written; the template's parts are still read (its styles).
        it = it.key().startsWith("word/media/") ? m_parts.erase(it) : std::next(it);
    }
    return true;
}

bool ReportDocument::flushBody()
{
    // A failure of the temporary file is the document's, with the system's reason (a buffered
    // file's flush leaves only errno).
    const auto fail = [this] {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        const QString fileName = m_package ? QFileInfo(m_package->file.fileName()).fileName() : QString();
        m_error = QCoreApplication::translate("ExportFileThread", "无法写入 %1：%2").arg(fileName, reason);
        cancel();
        return false;
    };
    if (!m_body) {
        m_body = std::make_unique<QTemporaryFile>();
        if (!m_body->open())
            return fail();
    }
    QDomElement content = body();
    QString text;
    QTextStream out(&text);
    for (QDomNode node = content.firstChild(); !node.isNull() && node.nodeName() != "w:sectPr";) {
        const QDomNode next = node.nextSibling();
        node.save(out, -1);
        content.removeChild(node);
        node = next;
    }
    out.flush();
    const QByteArray bytes = text.toUtf8();
    if (m_body->write(bytes) != bytes.size() || !m_body->flush())
        return fail();
    return true;
}

bool ReportDocument::finish()
{
    if (!m_package)
        return false;
    // The document part: its body so far flushed to the temporary file spliced in where the
    // body begins, before what is still in memory.
    QDomElement content = body();
    const QDomComment mark = m_document.createComment(kFlushedBody);
    content.insertBefore(mark, content.firstChild());
    const QByteArray xml = m_document.toByteArray(-1);
    content.removeChild(mark);
    const QByteArray marker = QByteArray("<!--") + kFlushedBody + "-->";
    const int at = xml.indexOf(marker);
    {
        QuaZipFile file(&m_package->zip);
        bool ok = file.open(QIODevice::WriteOnly, QuaZipNewInfo(kDocumentPart));
        ok = ok && file.write(xml.constData(), at) == at;
        if (m_body && ok) {
            ok = m_body->seek(0);
            while (ok && !m_body->atEnd()) {
                const QByteArray chunk = m_body->read(1 << 16);
                ok = !chunk.isEmpty() && file.write(chunk) == chunk.size();
            }
        }
        const QByteArray rest = xml.mid(at + marker.size());
        ok = ok && file.write(rest) == rest.size();
        file.close();
        if (!ok || file.getZipError() != ZIP_OK)
            return failWrite();
    }
    m_body.reset();
    if (!addPart(kRelationshipsPart, m_relationships.toByteArray(-1)))
        return false;
    m_package->zip.close();
    if (m_package->zip.getZipError() != ZIP_OK)
        return failWrite();
    if (!m_package->file.commit()) {
        m_error = QCoreApplication::translate("ExportFileThread", "无法写入 %1：%2")
                      .arg(QFileInfo(m_package->file.fileName()).fileName(), m_package->file.errorString());
        m_package.reset();
        return false;
    }
    m_package.reset();
    return true;
}

void ReportDocument::cancel()
{
    if (m_package) {
        m_package->file.cancelWriting();
        m_package->zip.close();
        m_package.reset(); // the temporary file goes with it
    }
    m_body.reset();
}

bool ReportDocument::saveAs(const QString &path)
{
    m_error.clear();
    if (!isOpen()) {
        m_error = QCoreApplication::translate("ExportFileThread", "无法生成报告文档");
        return false;
    }
    // The parts stay for another save.
    const QMap<QString, QByteArray> parts = m_parts;
    const bool saved = start(path) && finish();
    m_parts = parts;
    return saved;
}
