#pragma once

#include <QColor>
#include <QImage>
#include <QStringList>
#include <QVector>

class QPrinter;

// The overview of the class on paper or in a PDF file, A4 landscape: the table first, each row
// whole on one page and the column headings at the top of every page, headings wrapped
// between words only; then the chart, and the page number at every foot.
class OverviewPrint
{
public:
    struct Cell
    {
        QString text;
        QColor background; // invalid: none
        bool alignRight = false;
    };

    OverviewPrint(const QString &title, const QString &subtitle, const QStringList &headings,
                  const QVector<QVector<Cell>> &rows, const QImage &chart);

    // Sets the printer to A4 landscape and draws every page. Returns how many, 0 when the
    // printer could not be drawn on.
    int print(QPrinter &printer) const;

    // Where each page begins, as the index of its first row: the rows that fit one below the
    // other in the space of a page (the first page has less, under the title). A row taller
    // than a page gets a page of its own.
    static QVector<int> pageStarts(const QVector<int> &rowHeights, int firstPage, int otherPages);

    // Each column as wide as its widest text when that fits the page, the spare room shared
    // out; otherwise the widest columns wrap their text, down to their longest word.
    static QVector<int> columnWidths(const QVector<int> &natural, const QVector<int> &longestWord, int pageWidth);

private:
    QString title;
    QString subtitle;
    QStringList headings;
    QVector<QVector<Cell>> rows;
    QImage chart;
};
