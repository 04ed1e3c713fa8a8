#include "teacherview/trinchart.h"

#include "teacherview/resulttablemodel.h"

#include <QBarCategoryAxis>
#include <QHorizontalBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {

// The chart's series and axes; the window's chart and a picture's are made alike.
struct Parts
{
    QBarSet *bars;
    QValueAxis *countAxis;
};

Parts build(QChart *chart)
{
    chart->setTitle(QCoreApplication::translate("TrinChart", "Trin for de viste kursister"));
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    auto *bars = new QBarSet(QCoreApplication::translate("TrinChart", "Kursister"));
    bars->setColor(QColor(0x3a, 0x5f, 0x9e));
    bars->setLabelColor(Qt::black);
    auto *series = new QHorizontalBarSeries; // the categories' names have room on the left
    series->append(bars);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    chart->addSeries(series);
    auto *categories = new QBarCategoryAxis;
    // The first category is drawn at the bottom: Trin 1 comes out on top.
    categories->append({ QCoreApplication::translate("TrinChart", "Ikke afsluttet"),
                         QCoreApplication::translate("TrinChart", "Trin 4"),
                         QCoreApplication::translate("TrinChart", "Trin 3"),
                         QCoreApplication::translate("TrinChart", "Trin 2"),
                         QCoreApplication::translate("TrinChart", "Trin 1") });
    chart->addAxis(categories, Qt::AlignLeft);
    series->attachAxis(categories);
    auto *countAxis = new QValueAxis;
    countAxis->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(countAxis, Qt::AlignBottom);
    series->attachAxis(countAxis);
    bars->append({ 0, 0, 0, 0, 0 });
    return { bars, countAxis };
}

void showCounts(const Parts &parts, const std::array<int, 6> &counts)
{
    int highest = 0;
    const int order[5] = { 0, 4, 3, 2, 1 }; // as the categories
    for (int i = 0; i < 5; ++i) {
        parts.bars->replace(i, counts[size_t(order[i])]);
        highest = std::max(highest, counts[size_t(order[i])]);
    }
    // Whole numbers on the axis, with room beyond the longest bar for its label.
    const int top = std::max(4, highest + std::max(1, highest / 8));
    parts.countAxis->setRange(0, top);
    parts.countAxis->setTickCount(std::min(top, 8) + 1);
    parts.countAxis->applyNiceNumbers();
}

} // namespace

TrinChart::TrinChart(QWidget *parent)
    : QWidget(parent)
    , chart(new QChart)
    , view(new QChartView(chart, this))
{
    view->setObjectName(QStringLiteral("trinChart"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(320, 260);
    setMaximumWidth(340);
    const Parts parts = build(chart);
    bars = parts.bars;
    countAxis = parts.countAxis;

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    setCounts(shown);
}

void TrinChart::setCounts(const std::array<int, 6> &counts)
{
    shown = counts;
    showCounts({ bars, countAxis }, counts);
}

// Drawn afresh at the size asked for: the window's chart is tall and narrow beside the table.
QImage TrinChart::picture(const QSize &size) const
{
    auto *copy = new QChart;
    QChartView canvas(copy);
    canvas.setRenderHint(QPainter::Antialiasing);
    showCounts(build(copy), shown);
    // A view never shown lays its chart out only when told its size.
    canvas.resize(size);
    canvas.setSceneRect(QRectF(QPointF(0, 0), size));
    copy->resize(size);
    copy->layout()->activate();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    canvas.render(&painter);
    return image;
}
