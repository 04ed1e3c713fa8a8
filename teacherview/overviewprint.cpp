#include "teacherview/overviewprint.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("OverviewPrint", text);
}

constexpr int noLimit = 1 << 20;

int textHeight(const QFontMetrics &metrics, int width, const QString &text)
{
    return metrics.boundingRect(QRect(0, 0, std::max(1, width), noLimit), Qt::TextWordWrap, text).height();
}

int widestWord(const QFontMetrics &metrics, const QString &text)
{
    static const QRegularExpression between(QStringLiteral("\\s+"));
    int widest = 0;
    for (const QString &word : text.split(between, Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest;
}

int widestLine(const QFontMetrics &metrics, const QString &text)
{
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

} // namespace

OverviewPrint::OverviewPrint(const QString &title, const QString &subtitle, const QStringList &headings,
                             const QVector<QVector<Cell>> &rows, const QImage &chart)
    : title(title)
    , subtitle(subtitle)
    , headings(headings)
    , rows(rows)
    , chart(chart)
{
}

QVector<int> OverviewPrint::pageStarts(const QVector<int> &rowHeights, int firstPage, int otherPages)
{
    QVector<int> starts { 0 };
    int room = firstPage;
    for (int row = 0; row < rowHeights.size(); ++row) {
        const bool pageEmpty = starts.last() == row;
        if (rowHeights.at(row) > room && !pageEmpty) {
            starts.append(row);
            room = otherPages;
        }
        room -= rowHeights.at(row);
    }
    return starts;
}

QVector<int> OverviewPrint::columnWidths(const QVector<int> &natural, const QVector<int> &longestWord, int pageWidth)
{
    const int wanted = std::accumulate(natural.begin(), natural.end(), 0);
    QVector<int> widths = natural;
    if (wanted <= pageWidth) {
        // The spare room goes to each column by its width, so the table spans the page.
        int given = 0;
        for (int i = 0; i < widths.size() && wanted > 0; ++i) {
            const int extra = int(qint64(pageWidth - wanted) * natural.at(i) / wanted);
            widths[i] += extra;
            given += extra;
        }
        if (!widths.isEmpty())
            widths.last() += pageWidth - wanted - given;
        return widths;
    }
    // The widest columns are cut to one width, the highest that fits, but never below their
    // longest word: a heading or a name breaks between words, not inside one.
    const auto capped = [&](int cap) {
        int sum = 0;
        for (int i = 0; i < natural.size(); ++i)
            sum += std::min(natural.at(i), std::max(longestWord.value(i), cap));
        return sum;
    };
    int low = 0;
    int high = *std::max_element(natural.begin(), natural.end());
    while (low < high) {
        const int cap = (low + high + 1) / 2;
        if (capped(cap) <= pageWidth)
            low = cap;
        else
            high = cap - 1;
    }
    for (int i = 0; i < widths.size(); ++i)
        widths[i] = std::min(natural.at(i), std::max(longestWord.value(i), low));
    return widths;
}

int OverviewPrint::print(QPrinter &printer) const
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const QRect page(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    const double mm = printer.resolution() / 25.4;
    const int pad = int(1.2 * mm);

    QFont body = painter.font();
    body.setPointSizeF(8.5);
    QFont bold = body;
    bold.setBold(true);
    QFont titleFont = bold;
    titleFont.setPointSizeF(13);
    const QFontMetrics bodyMetrics(body, &printer);
    const QFontMetrics boldMetrics(bold, &printer);
    const QFontMetrics titleMetrics(titleFont, &printer);

    // Widths from every cell and heading.
    const int columns = int(headings.size());
    QVector<int> natural(columns, 0);
    QVector<int> longestWord(columns, 0);
    for (int c = 0; c < columns; ++c) {
        natural[c] = widestLine(boldMetrics, headings.at(c));
        longestWord[c] = widestWord(boldMetrics, headings.at(c));
        for (const QVector<Cell> &row : rows) {
            natural[c] = std::max(natural[c], bodyMetrics.horizontalAdvance(row.value(c).text));
            longestWord[c] = std::max(longestWord[c], widestWord(bodyMetrics, row.value(c).text));
        }
        natural[c] += 2 * pad + 1;
        longestWord[c] += 2 * pad + 1;
    }
    const QVector<int> widths = columnWidths(natural, longestWord, page.width());

    int headingHeight = 0;
    for (int c = 0; c < columns; ++c)
        headingHeight = std::max(headingHeight, textHeight(boldMetrics, widths[c] - 2 * pad, headings.at(c)));
    headingHeight += 2 * pad;
    QVector<int> rowHeights;
    for (const QVector<Cell> &row : rows) {
        int height = bodyMetrics.height();
        for (int c = 0; c < columns; ++c)
            height = std::max(height, textHeight(bodyMetrics, widths[c] - 2 * pad, row.value(c).text));
        rowHeights.append(height + 2 * pad);
    }

    const int titleHeight = titleMetrics.height() + bodyMetrics.height() + int(4 * mm);
    const int footHeight = bodyMetrics.height() + int(3 * mm);
    const int tableSpace = page.height() - footHeight - headingHeight;
    QVector<int> starts = pageStarts(rowHeights, tableSpace - titleHeight, tableSpace);

    // The chart after the last row, or on a page of its own when there is no room for it.
    const QSize chartSize = chart.isNull() ? QSize()
                                           : chart.size().scaled(QSize(int(150 * mm), int(80 * mm)), Qt::KeepAspectRatio);
    int end = (starts.size() == 1 ? titleHeight : 0) + headingHeight;
    for (int row = starts.last(); row < rowHeights.size(); ++row)
        end += rowHeights.at(row);
    const bool chartAlone = chartSize.isValid() && end + int(6 * mm) + chartSize.height() > page.height() - footHeight;
    const int pages = int(starts.size()) + (chartAlone ? 1 : 0);

    const auto drawFoot = [&](int number) {
        painter.setFont(body);
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, page.height() - bodyMetrics.height(), page.width(), bodyMetrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, tr("Side %1 af %2").arg(number).arg(pages));
    };
    const auto drawRow = [&](int y, int height, const QFont &font, const auto &cellAt) {
        painter.setFont(font);
        int x = 0;
        for (int c = 0; c < columns; ++c) {
            const Cell cell = cellAt(c);
            const QRect box(x, y, widths[c], height);
            if (cell.background.isValid())
                painter.fillRect(box, cell.background);
            painter.setPen(QColor(0x80, 0x80, 0x80));
            painter.drawRect(box);
            painter.setPen(Qt::black);
            painter.drawText(box.adjusted(pad, pad, -pad, -pad),
                             Qt::TextWordWrap | Qt::AlignVCenter | (cell.alignRight ? Qt::AlignRight : Qt::AlignLeft),
                             cell.text);
            x += widths[c];
        }
    };

    int y = 0;
    for (int p = 0; p < starts.size(); ++p) {
        if (p > 0)
            printer.newPage();
        y = 0;
        if (p == 0) {
            painter.setFont(titleFont);
            painter.drawText(QRect(0, 0, page.width(), titleMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter, title);
            painter.setFont(body);
            painter.drawText(QRect(0, titleMetrics.height() + int(mm), page.width(), bodyMetrics.height()),
                             Qt::AlignLeft | Qt::AlignVCenter, subtitle);
            y = titleHeight;
        }
        drawRow(y, headingHeight, bold, [&](int c) { return Cell { headings.at(c), QColor(0xe8, 0xe8, 0xe8), false }; });
        y += headingHeight;
        const int last = p + 1 < starts.size() ? starts.at(p + 1) : int(rows.size());
        for (int row = starts.at(p); row < last; ++row) {
            drawRow(y, rowHeights.at(row), body, [&](int c) { return rows.at(row).value(c); });
            y += rowHeights.at(row);
        }
        drawFoot(p + 1);
    }
    if (chartSize.isValid()) {
        if (chartAlone) {
            printer.newPage();
            y = 0;
            drawFoot(pages);
        } else {
            y += int(6 * mm);
        }
        painter.drawImage(QRect(QPoint(0, y), chartSize), chart);
    }
    painter.end();
    return pages;
}
