#pragma once

#include <QByteArray>
#include <QDomDocument>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QVector>

#include <memory>

class QImage;
class QTemporaryFile;

// The report template of the current language: template.dotx, template-en.dotx or
// template-jp.dotx in the folder "template" beside the program.
QString reportTemplatePath();

// A Word document made from a report template, edited the way the reports need: text into
// bookmarks, a picture at a bookmark, a table at a bookmark, or a body of its own appended
// after the template's; saved as ".docx". It reads and writes the Office Open XML package
// itself; no office suite is involved.
class ReportDocument
{
public:
    ReportDocument();
    ~ReportDocument();

    // Creates the document from a ".dotx" template; false when it cannot be read.
    bool open(const QString &templatePath);
    bool isOpen() const { return !m_document.isNull(); }

    // Replaces the bookmark's content in its first paragraph by the text (a bookmark over cells
    // or paragraphs keeps them); false when there is no such bookmark.
    bool setBookmarkText(const QString &bookmark, const QString &text);
    // Inlines the picture at the bookmark, as wide as the page allows.
    bool insertBookmarkPicture(const QString &bookmark, const QString &imagePath);
    // Adds a table of headers and cells (row-major, header row not included) at the bookmark,
    // then fills table number tableNumber of the document (1-based) in the grid style. When
    // that table does not exist, the added table stays empty and false is returned.
    bool addBookmarkTable(const QString &bookmark, int tableNumber, const QStringList &headers,
                          const QStringList &cells);
    // Puts a table (see table()) of equal columns after the bookmark's paragraph; false when
    // there is no such bookmark.
    bool insertBookmarkTable(const QString &bookmark, const QStringList &headers, const QList<QStringList> &rows);

    // A body of the document's own: the template's paragraphs and tables are removed (its page
    // settings stay), and what is appended goes before the page settings.
    void clearBody();
    QDomElement append(const QDomElement &element);
    // A run of the text, spaces kept.
    QDomElement textRun(const QString &text);
    // A table in the grid style with the header row repeated on every page the table runs onto
    // and kept with the first row; a row is never split over two pages. The columns are as wide
    // as the text column allows, in proportion to weights (all equal when empty). Without
    // headers the rows stand alone (a list of labels and values).
    QDomElement table(const QStringList &headers, const QList<QStringList> &rows, const QVector<qreal> &weights);
    // A run with the picture as wide as the text column, in proportion, at most maxHeightTwips
    // high (no limit when 0). Null when the picture cannot be stored.
    QDomElement pictureRun(const QImage &image, qint64 maxHeightTwips = 0, qint64 maxWidthTwips = 0);
    // The width and the height of the text column in twips, from the template's page settings.
    qint64 textWidthTwips() const;
    qint64 textHeightTwips() const;

    // Writes the document (not a template) to path. The file appears only when complete; on
    // failure nothing is left there and errorString() says why.
    bool saveAs(const QString &path);

    // A long document is written while it is made: start() opens the file and writes the
    // template's parts, every picture made afterwards goes into the file at once, flushBody()
    // moves the body appended so far out of memory (into a temporary file; bookmarks in it are
    // out of reach then), finish() completes the file. cancel() leaves nothing at the path.
    bool start(const QString &path);
    bool flushBody();
    bool finish();
    void cancel();

    QString errorString() const { return m_error; }

    // Texts of the document's tables and bookmarks, for checks.
    QDomDocument document() const { return m_document; }

private:
    // Where a bookmark's content begins: after `after` in `container` (at its first place when
    // `after` is null), in `paragraph`. That is the bookmark's own paragraph, or, for a bookmark
    // that starts before a row's cells or between paragraphs, the first paragraph of its first
    // cell or the next paragraph. No paragraph when the range holds none.
    struct Anchor
    {
        QDomElement paragraph;
        QDomElement container;
        QDomNode after;
    };
    struct Package;

    Anchor anchor(const QDomElement &start) const;
    static void insertAt(Anchor at, const QDomNode &node);
    QDomElement bookmarkStart(const QString &name) const;
    QDomElement body() const;
    QString styleIdForName(const QString &name) const;
    QString addRelationship(const QString &type, const QString &target);
    QDomElement emptyTable(int columns, int rows, const QVector<qreal> &weights);
    QDomElement paragraphAt(const QString &bookmark) const;
    static void putAfter(const QDomElement &paragraph, const QDomElement &table);
    void fillTable(QDomElement table, int columns, const QStringList &headers, const QStringList &cells);
    bool addPart(const QString &name, const QByteArray &data);
    bool failWrite();

    QMap<QString, QByteArray> m_parts;
    QDomDocument m_document;
    QDomDocument m_relationships;
    int m_pictures = 0;
    std::unique_ptr<Package> m_package;     // the file being written, from start() on
    std::unique_ptr<QTemporaryFile> m_body; // the body flushed so far
    QString m_error;
};
