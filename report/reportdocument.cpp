#include "reportdocument.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include <quazip.h>
#include <quazipfile.h>

#include <algorithm>

namespace {

const char *const kMain = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
const char *const kRelationshipsNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char *const kDocumentPart = "word/document.xml";
const char *const kRelationshipsPart = "word/_rels/document.xml.rels";
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

} // namespace

bool ReportDocument::open(const QString &templatePath)
{
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
    insertAt(at, textRun(m_document, text));
    return true;
}

QString ReportDocument::addRelationship(const QString &type, const QString &target)
{
    QDomElement root = m_relationships.documentElement();
    int n = root.elementsByTagName("Relationship").size() + 1;
    QString id;
    do {
        id = QString("rIdReport%1").arg(n++);
    } while (m_relationships.toString().contains("\"" + id + "\""));
    QDomElement rel = m_relationships.createElement("Relationship");
    rel.setAttribute("Id", id);
    rel.setAttribute("Type", type);
    rel.setAttribute("Target", target);
    root.appendChild(rel);
    return id;
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
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const int number = ++m_pictures;
    const QString media = QString("media/report%1.png").arg(number);
    m_parts.insert("word/" + media, png);
    const QString rel = addRelationship("http://schemas.openxmlformats.org/officeDocument/2006/relationships/image", media);

    // As wide as the text column of the page, the height in proportion.
    qint64 widthTwips = 9026;
    const QDomNodeList sizes = m_document.elementsByTagName("w:pgSz");
    const QDomNodeList margins = m_document.elementsByTagName("w:pgMar");
    if (!sizes.isEmpty() && !margins.isEmpty()) {
        widthTwips = sizes.at(0).toElement().attribute("w:w").toLongLong()
            - margins.at(0).toElement().attribute("w:left").toLongLong()
            - margins.at(0).toElement().attribute("w:right").toLongLong();
    }
    const qint64 cx = widthTwips * kEmuPerTwip;
    const qint64 cy = cx * image.height() / std::max(1, image.width());
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
    insertAt(at, m_document.importNode(fragment.documentElement(), true));
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

bool ReportDocument::addBookmarkTable(const QString &bookmark, int tableNumber, const QStringList &headers,
                                      const QStringList &cells)
{
    const int columns = headers.size();
    if (columns == 0)
        return false;
    const QDomElement start = bookmarkStart(bookmark);
    if (start.isNull())
        return false;
    const QDomElement paragraph = anchor(start).paragraph;
    if (paragraph.isNull())
        return false;

    // An empty table of the needed size goes where the bookmark's paragraph is.
    const int rows = cells.size() / columns + 1;
    QDomElement table = m_document.createElement("w:tbl");
    QDomElement properties = child(m_document, table, "w:tblPr");
    child(m_document, properties, "w:tblW").setAttribute("w:type", "auto");
    properties.firstChildElement("w:tblW").setAttribute("w:w", "0");
    QDomElement grid = child(m_document, table, "w:tblGrid");
    for (int c = 0; c < columns; ++c)
        child(m_document, grid, "w:gridCol").setAttribute("w:w", QString::number(9026 / columns));
    for (int r = 0; r < rows; ++r) {
        QDomElement row = child(m_document, table, "w:tr");
        for (int c = 0; c < columns; ++c)
            child(m_document, child(m_document, row, "w:tc"), "w:p");
    }
    paragraph.parentNode().insertAfter(table, paragraph);
    // A cell must end with a paragraph.
    if (table.parentNode().nodeName() == "w:tc" && table.nextSibling().isNull())
        table.parentNode().appendChild(m_document.createElement("w:p"));

    const QList<QDomElement> tables = topLevelTables(m_document);
    if (tableNumber < 1 || tableNumber > tables.size())
        return false;
    QDomElement target = tables[tableNumber - 1];
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
    const QDomNodeList targetRows = target.elementsByTagName("w:tr");
    for (int r = 1; r <= rows && r <= targetRows.size(); ++r) {
        QDomElement tr = targetRows.at(r - 1).toElement();
        int c = 1;
        for (QDomElement tc = tr.firstChildElement("w:tc"); !tc.isNull() && c <= columns;
             tc = tc.nextSiblingElement("w:tc"), ++c) {
            const int index = (r - 2) * columns + c;
            const QString text = r == 1 ? headers[c - 1] : index - 1 < cells.size() ? cells[index - 1] : QString();
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
                p.appendChild(textRun(m_document, text));
        }
    }
    return true;
}

bool ReportDocument::saveAs(const QString &path)
{
    m_error.clear();
    if (!isOpen()) {
        m_error = QCoreApplication::translate("ExportFileThread", "无法生成报告文档");
        return false;
    }
    QByteArray types = m_parts.value("[Content_Types].xml");
    types.replace("wordprocessingml.template.main+xml", "wordprocessingml.document.main+xml");
    if (m_pictures > 0 && !types.contains("Extension=\"png\""))
        types.replace("<Default Extension=\"xml\"", "<Default Extension=\"png\" ContentType=\"image/png\"/><Default Extension=\"xml\"");

    // The package is put together in memory, then written under a temporary name and renamed
    // only when complete: a failed write (a full disk) leaves no broken document behind.
    QByteArray package;
    QBuffer buffer(&package);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdCreate)) {
        m_error = QCoreApplication::translate("ExportFileThread", "无法生成报告文档");
        return false;
    }
    QMap<QString, QByteArray> parts = m_parts;
    parts.insert("[Content_Types].xml", types);
    parts.insert(kDocumentPart, m_document.toByteArray(-1));
    parts.insert(kRelationshipsPart, m_relationships.toByteArray(-1));
    bool ok = true;
    // The content types first, as packages usually have them.
    QStringList order = parts.keys();
    order.removeOne("[Content_Types].xml");
    order.prepend("[Content_Types].xml");
    for (const QString &name : order) {
        QuaZipFile file(&zip);
        ok = file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) && file.write(parts.value(name)) == parts.value(name).size() && ok;
        file.close();
        ok = ok && file.getZipError() == ZIP_OK;
    }
    zip.close();
    if (!ok || zip.getZipError() != ZIP_OK) {
        m_error = QCoreApplication::translate("ExportFileThread", "无法生成报告文档");
        return false;
    }

    const QString fileName = QFileInfo(path).fileName();
    QSaveFile file(path);
    // Unbuffered: every write reaches the system and its failure is seen here; a failure
    // while commit() flushes Qt's buffer would go unnoticed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_error = QCoreApplication::translate("ExportFileThread", "无法创建 %1：%2").arg(fileName, file.errorString());
        return false;
    }
    QString reason;
    // A short write sets no error; the next attempt on the rest fails with the reason.
    bool written = true;
    for (qint64 at = 0, n = 0; written && at < package.size(); at += n)
        written = (n = file.write(package.constData() + at, package.size() - at)) > 0;
    if (!written) {
        // Kept before cancelling, which would replace it.
        reason = file.errorString();
        file.cancelWriting();
    }
    if (!file.commit() || !reason.isEmpty()) {
        if (reason.isEmpty())
            reason = file.errorString();
        m_error = QCoreApplication::translate("ExportFileThread", "无法写入 %1：%2").arg(fileName, reason);
        return false;
    }
    return true;
}
