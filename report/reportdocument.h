#pragma once

#include <QByteArray>
#include <QDomDocument>
#include <QMap>
#include <QStringList>

// A Word document made from a report template, edited the way the report needs: text into
// bookmarks, a picture at a bookmark, a table at a bookmark, saved as ".docx". It reads and
// writes the Office Open XML package itself; no office suite is involved.
class ReportDocument
{
public:
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
    // Writes the document (not a template) to path. The file appears only when complete; on
    // failure nothing is left there and errorString() says why.
    bool saveAs(const QString &path);
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
    Anchor anchor(const QDomElement &start) const;
    static void insertAt(Anchor at, const QDomNode &node);
    QDomElement bookmarkStart(const QString &name) const;
    QString styleIdForName(const QString &name) const;
    QString addRelationship(const QString &type, const QString &target);

    QMap<QString, QByteArray> m_parts;
    QDomDocument m_document;
    QDomDocument m_relationships;
    int m_pictures = 0;
    QString m_error;
};
