#include "teacherview/trinchart.h"

#include <QCoreApplication>
#include <QPainter>

namespace {

const QColor barColour(0x3a, 0x5f, 0x9e);

// The rows from the top: Trin 1 first, those who did not finish last.
struct Row
{
    const char *name;
    size_t count; // index into the counts
};
const Row rows[] = { { QT_TRANSLATE_NOOP("TrinChart", "Trin 1"), 1 },
                     { QT_TRANSLATE_NOOP("TrinChart", "Trin 2"), 2 },
                     { QT_TRANSLATE_NOOP("TrinChart", "Trin 3"), 3 },
                     { QT_TRANSLATE_NOOP("TrinChart", "Trin 4"), 4 },
                     { QT_TRANSLATE_NOOP("TrinChart", "Ikke afsluttet"), 0 } };

// Whole-number ticks, at most eight, with room beyond the longest bar for its number.
std::pair<int, int> axis(int highest)
{
    const int wanted = std::max(4, highest + std::max(1, highest / 8));
    int step = 1;
    for (int magnitude = 1;; magnitude *= 10) {
        for (int factor : { 1, 2, 5 }) {
            step = factor * magnitude;
            if ((wanted + step - 1) / step <= 8)
                return { (wanted + step - 1) / step * step, step };
        }
    }
}

void draw(QPainter &painter, const QRect &area, const std::array<int, 6> &counts)
{
    painter.fillRect(area, Qt::white);
    painter.setPen(Qt::black);
    const QFontMetrics metrics = painter.fontMetrics();
    const int line = metrics.height();

    QFont titleFont = painter.font();
    titleFont.setBold(true);
    painter.save();
    painter.setFont(titleFont);
    const QRect titleRect(area.left(), area.top() + line / 2, area.width(), QFontMetrics(titleFont).height());
    painter.drawText(titleRect, Qt::AlignCenter, QCoreApplication::translate("TrinChart", "Trin for de viste kursister"));
    painter.restore();

    int labelWidth = 0;
    for (const Row &row : rows)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(QCoreApplication::translate("TrinChart", row.name)));
    // Names on the left, numbers under the bars.
    const QRect bars(QPoint(area.left() + labelWidth + line, titleRect.bottom() + line),
                     QPoint(area.right() - line, area.bottom() - 2 * line));
    if (bars.width() < 10 || bars.height() < 10)
        return;

    int highest = 0;
    for (int count : counts)
        highest = std::max(highest, count);
    const auto [top, step] = axis(highest);
    const auto xOf = [&](int value) { return bars.left() + int(qint64(bars.width()) * value / top); };

    // Grid lines and the numbers under them.
    for (int value = 0; value <= top; value += step) {
        const int x = xOf(value);
        painter.setPen(value == 0 ? Qt::black : QColor(0xd0, 0xd0, 0xd0));
        painter.drawLine(x, bars.top(), x, bars.bottom());
        painter.setPen(Qt::black);
        painter.drawText(QRect(x - 3 * line, bars.bottom() + line / 4, 6 * line, line), Qt::AlignHCenter | Qt::AlignTop,
                         QString::number(value));
    }

    const int rowHeight = bars.height() / int(std::size(rows));
    for (int i = 0; i < int(std::size(rows)); ++i) {
        const QRect band(bars.left(), bars.top() + i * rowHeight, bars.width(), rowHeight);
        painter.drawText(QRect(area.left(), band.top(), labelWidth + line / 2, band.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QCoreApplication::translate("TrinChart", rows[i].name));
        const int count = counts[rows[i].count];
        const int end = xOf(count);
        // Thick enough to see, not blocks when the window is tall.
        const int thickness = std::min(band.height() * 3 / 5, 2 * line);
        const QRect bar(bars.left() + 1, band.center().y() - thickness / 2, end - bars.left(), thickness);
        if (count > 0)
            painter.fillRect(bar, barColour);
        painter.drawText(QRect(end + line / 3, band.top(), 4 * line, band.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::number(count));
    }
}

} // namespace

TrinChart::TrinChart(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("trinChart"));
    setMinimumSize(320, 260);
    setMaximumWidth(340);
}

void TrinChart::setCounts(const std::array<int, 6> &counts)
{
    shown = counts;
    // Read out by a screen reader instead of the bars.
    QStringList parts;
    for (const Row &row : rows)
        parts << QCoreApplication::translate("TrinChart", row.name) + QStringLiteral(": ") + QString::number(counts[row.count]);
    setAccessibleDescription(parts.join(QStringLiteral(", ")));
    update();
}

void TrinChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    draw(painter, rect(), shown);
}

// Drawn afresh at the size asked for: the window's chart is tall and narrow beside the table.
QImage TrinChart::picture(const QSize &size) const
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(std::max(12, size.height() / 28));
    painter.setFont(font);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw(painter, image.rect(), shown);
    return image;
}
