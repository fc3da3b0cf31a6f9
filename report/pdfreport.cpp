#include "pdfreport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPageLayout>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

constexpr int kResolution = 300; // dots per inch of the page's coordinates
constexpr qreal kPadding = 12;   // inside a cell, in dots (1 mm)
const QColor kHeaderBackground(0xDD, 0xE6, 0xF0);
const QColor kRule(0x80, 0x80, 0x80);
constexpr qreal kSmallestTablePoints = 6; // a table's font shrinks no further to fit its columns
constexpr qreal kRowPicture = 142;        // the side of a picture in a table's row, in dots (12 mm)
// The most of a page's height a picture takes: a photograph's section (its picture, parameters,
// statistics and a few measurements) then fits on one page.
constexpr qreal kPictureShare = 0.4;

QFont reportFont(int points, bool bold)
{
    // The CJK families carry Latin, Chinese and Japanese glyphs; the PDF embeds what is used.
    QFont font;
    font.setFamilies({"DejaVu Sans", "Noto Sans CJK SC", "Noto Sans CJK JP", "Microsoft YaHei"});
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

// The widest piece of text that a line may not break: between two break opportunities (a space;
// between Chinese or Japanese characters any place is one).
qreal widestWord(const QString &text, const QFontMetricsF &metrics)
{
    qreal widest = 0;
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    int start = 0;
    while (breaks.toNextBoundary() != -1) {
        widest = std::max(widest, metrics.horizontalAdvance(text.mid(start, breaks.position() - start).trimmed()));
        start = breaks.position();
    }
    return widest;
}

} // namespace

PdfReport::PdfReport(const QString &path) : m_file(path)
{
    if (!m_file.open(QIODevice::WriteOnly))
        return;
    m_writer = std::make_unique<QPdfWriter>(&m_file);
    m_writer->setResolution(kResolution);
    m_writer->setCreator(QCoreApplication::applicationName());
    m_writer->setTitle(reportTitle());
    m_writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                        QPageLayout::Millimeter));
    if (!m_painter.begin(m_writer.get()))
        return;
    m_area = QRectF(QPointF(0, 0), QSizeF(m_writer->width(), m_writer->height()));
    m_font = reportFont(9, false);
    m_bold = reportFont(9, true);
}

PdfReport::~PdfReport()
{
    if (m_painter.isActive())
        m_painter.end();
}

void PdfReport::newPage()
{
    m_writer->newPage();
    m_y = 0;
}

void PdfReport::room(qreal height)
{
    if (m_y > 0 && m_y + height > m_area.height())
        newPage();
}

qreal PdfReport::textHeight(const QString &text, qreal width, const QFont &font, int wrap) const
{
    const QFontMetricsF metrics(font, m_writer.get());
    return metrics.boundingRect(QRectF(0, 0, width, 1e6), wrap, text).height();
}

void PdfReport::title(const QString &text)
{
    if (!m_painter.isActive())
        return;
    const QFont font = reportFont(22, true);
    const qreal height = textHeight(text, m_area.width(), font);
    m_y += m_area.height() / 4; // a cover: the title well down the first page
    m_painter.setFont(font);
    m_painter.setPen(Qt::black);
    m_painter.drawText(QRectF(0, m_y, m_area.width(), height), Qt::AlignHCenter | Qt::TextWordWrap, text);
    m_y += height + 2 * textHeight("M", m_area.width(), font);
}

void PdfReport::heading(const QString &text, bool startPage)
{
    if (!m_painter.isActive())
        return;
    if (startPage && m_y > 0)
        newPage();
    const QFont font = reportFont(13, true);
    const qreal height = textHeight(text, m_area.width(), font);
    // A heading never ends a page: some room for what it introduces.
    room(height * 4);
    m_painter.setFont(font);
    m_painter.setPen(Qt::black);
    m_painter.drawText(QRectF(0, m_y, m_area.width(), height), Qt::TextWordWrap | Qt::TextWrapAnywhere, text);
    m_y += height * 1.4;
}

void PdfReport::drawRow(const QStringList &cells, const QVector<qreal> &widths, qreal height, const QFont &font,
                        const QColor &background, int wrap)
{
    qreal x = 0;
    m_painter.setFont(font);
    for (int c = 0; c < widths.size(); ++c) {
        const QRectF cell(x, m_y, widths[c], height);
        if (background.isValid())
            m_painter.fillRect(cell, background);
        m_painter.setPen(QPen(kRule, 1));
        m_painter.drawRect(cell);
        m_painter.setPen(Qt::black);
        m_painter.drawText(cell.adjusted(kPadding, kPadding, -kPadding, -kPadding),
                           Qt::AlignLeft | Qt::AlignVCenter | wrap, cells.value(c));
        x += widths[c];
    }
    m_y += height;
}

void PdfReport::table(const ReportTable &table)
{
    if (!m_painter.isActive())
        return;
    const int columns = std::max<int>(table.headers.size(), table.rows.isEmpty() ? 0 : table.rows.first().size());
    if (columns == 0)
        return;
    // Data cells keep their line when the page allows, and header cells break between words only
    // ("Maximum" is never split into "Maxi" and "mum"): a column is at least as wide as its
    // longest cell and its header's widest word. What the page has beyond that goes to the
    // headers, so that they take as few lines as they can. When the page is too narrow, the
    // table's font gets smaller, and at its smallest the data cells give up their single line.
    QFont font = m_font;
    QFont bold = m_bold;
    QVector<qreal> word(columns);      // the header's widest word
    QVector<qreal> line(columns);      // the header on one line
    QVector<qreal> narrowest(columns); // data on one line, header words whole
    qreal wordTotal = 0;
    qreal narrowestTotal = 0;
    const auto measure = [&] {
        const QFontMetricsF dataMetrics(font, m_writer.get());
        const QFontMetricsF headerMetrics(bold, m_writer.get());
        wordTotal = narrowestTotal = 0;
        for (int c = 0; c < columns; ++c) {
            qreal longest = 0;
            for (const QStringList &row : table.rows)
                longest = std::max(longest, dataMetrics.horizontalAdvance(row.value(c)));
            if (c == 0 && !table.pictures.isEmpty())
                longest = std::max(longest, kRowPicture);
            word[c] = widestWord(table.headers.value(c), headerMetrics) + 2 * kPadding;
            line[c] = headerMetrics.horizontalAdvance(table.headers.value(c)) + 2 * kPadding;
            narrowest[c] = std::max(longest + 2 * kPadding, word[c]);
            wordTotal += word[c];
            narrowestTotal += narrowest[c];
        }
    };
    const qreal width = m_area.width();
    measure();
    while (narrowestTotal > width && font.pointSizeF() > kSmallestTablePoints) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        bold.setPointSizeF(font.pointSizeF());
        measure();
    }
    // A header set in a column of its width / lines + its widest word takes at most that many
    // lines; the fewest lines the page allows, then the rest of the page in proportion.
    QVector<qreal> wanted(columns);
    qreal wantedTotal = 0;
    for (int c = 0; c < columns; ++c) {
        wanted[c] = std::max(narrowest[c], line[c]);
        wantedTotal += wanted[c];
    }
    QVector<qreal> least = narrowest;
    qreal leastTotal = narrowestTotal;
    for (int lines = 2; lines <= columns && wantedTotal > width; ++lines) {
        QVector<qreal> fit(columns);
        qreal fitTotal = 0;
        for (int c = 0; c < columns; ++c) {
            fit[c] = std::max(narrowest[c], std::min(line[c], (line[c] - 2 * kPadding) / lines + word[c]));
            fitTotal += fit[c];
        }
        if (fitTotal <= width) {
            least = fit;
            leastTotal = fitTotal;
            break;
        }
    }
    QVector<qreal> widths(columns);
    for (int c = 0; c < columns; ++c) {
        if (wantedTotal <= width)
            widths[c] = table.headers.isEmpty() ? wanted[c] : wanted[c] * width / wantedTotal;
        else if (leastTotal <= width)
            widths[c] = least[c] + (wanted[c] - least[c]) * (width - leastTotal) / (wantedTotal - leastTotal);
        else if (wordTotal < width)
            widths[c] = word[c] + (narrowest[c] - word[c]) * (width - wordTotal) / (narrowestTotal - wordTotal);
        else
            widths[c] = narrowest[c] * width / narrowestTotal;
    }
    // Only where the header's words alone are wider than the page may they break.
    const int headerWrap = wordTotal < width ? int(Qt::TextWordWrap) : Qt::TextWordWrap | Qt::TextWrapAnywhere;
    const int dataWrap = Qt::TextWordWrap | Qt::TextWrapAnywhere;

    const auto rowHeight = [&](const QStringList &cells, const QFont &cellFont, int wrap) {
        qreal height = 0;
        for (int c = 0; c < columns; ++c)
            height = std::max(height, textHeight(cells.value(c), widths[c] - 2 * kPadding, cellFont, wrap));
        return height + 2 * kPadding;
    };
    const qreal headerHeight = table.headers.isEmpty() ? 0 : rowHeight(table.headers, bold, headerWrap);
    const auto dataHeight = [&](int r) {
        const qreal height = rowHeight(table.rows[r], font, dataWrap);
        return r < table.pictures.size() ? std::max(height, kRowPicture + 2 * kPadding) : height;
    };
    const auto header = [&] {
        if (!table.headers.isEmpty())
            drawRow(table.headers, widths, headerHeight, bold, kHeaderBackground, headerWrap);
    };

    if (!table.title.isEmpty()) {
        const qreal titleHeight = textHeight(table.title, m_area.width(), m_bold) * 1.3;
        // The title stays with the header and the first row.
        room(titleHeight + headerHeight + (table.rows.isEmpty() ? 0 : dataHeight(0)));
        m_painter.setFont(m_bold);
        m_painter.setPen(Qt::black);
        m_painter.drawText(QRectF(0, m_y, m_area.width(), titleHeight), Qt::AlignLeft | Qt::AlignVCenter, table.title);
        m_y += titleHeight;
    }
    for (int r = 0; r < table.rows.size(); ++r) {
        const qreal height = dataHeight(r);
        const bool first = r == 0;
        if (m_y + height + (first ? headerHeight : 0) > m_area.height() && m_y > 0) {
            newPage();
            header();
        } else if (first) {
            header();
        }
        const qreal top = m_y;
        drawRow(table.rows[r], widths, height, font, QColor(), dataWrap);
        const QImage picture = table.pictures.value(r);
        if (!picture.isNull()) {
            QSizeF size = picture.size();
            size.scale(kRowPicture, kRowPicture, Qt::KeepAspectRatio);
            const QPointF corner((widths[0] - size.width()) / 2, top + (height - size.height()) / 2);
            m_painter.drawImage(QRectF(corner, size), picture);
        }
    }
    if (table.rows.isEmpty()) {
        room(headerHeight);
        header();
    }
    m_y += textHeight("M", m_area.width(), m_font);
}

void PdfReport::picture(const QImage &image)
{
    if (!m_painter.isActive() || image.isNull())
        return;
    QSizeF size(m_area.width(), m_area.width() * image.height() / image.width());
    if (size.height() > m_area.height() * kPictureShare)
        size.scale(m_area.width(), m_area.height() * kPictureShare, Qt::KeepAspectRatio);
    room(size.height());
    m_painter.drawImage(QRectF(QPointF((m_area.width() - size.width()) / 2, m_y), size), image);
    m_y += size.height() + textHeight("M", m_area.width(), m_font);
}

bool PdfReport::finish(QString *error)
{
    const QString fileName = QFileInfo(m_file.fileName()).fileName();
    if (!m_writer || !m_painter.isActive()) {
        if (error)
            *error = QCoreApplication::translate("ReportModel", "无法创建 %1：%2").arg(fileName, m_file.errorString());
        m_file.cancelWriting();
        return false;
    }
    m_painter.end();
    if (!m_file.commit()) {
        if (error)
            *error = QCoreApplication::translate("ReportModel", "无法写入 %1：%2").arg(fileName, m_file.errorString());
        return false;
    }
    return true;
}

void PdfReport::cancel()
{
    if (m_painter.isActive())
        m_painter.end();
    m_file.cancelWriting();
}
