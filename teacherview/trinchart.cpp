#include "teacherview/trinchart.h"

#include "teacherview/resulttablemodel.h"

#include <QBarCategoryAxis>
#include <QHorizontalBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QPainter>
#include <QVBoxLayout>
#include <QValueAxis>

TrinChart::TrinChart(QWidget *parent)
    : QWidget(parent)
    , chart(new QChart)
    , view(new QChartView(chart, this))
    , bars(new QBarSet(tr("Kursister")))
    , countAxis(new QValueAxis)
{
    view->setObjectName(QStringLiteral("trinChart"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(300, 260);
    setMaximumWidth(300);
    chart->setTitle(tr("Trin for de viste kursister"));
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    bars->setColor(QColor(0x3a, 0x5f, 0x9e));
    bars->setLabelColor(Qt::black);
    auto *series = new QHorizontalBarSeries; // the categories' names have room on the left
    series->append(bars);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    chart->addSeries(series);
    auto *categories = new QBarCategoryAxis;
    // The first category is drawn at the bottom: Trin 1 comes out on top.
    categories->append({ tr("Ikke afsluttet"), tr("Trin 4"), tr("Trin 3"), tr("Trin 2"), tr("Trin 1") });
    chart->addAxis(categories, Qt::AlignLeft);
    series->attachAxis(categories);
    countAxis->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(countAxis, Qt::AlignBottom);
    series->attachAxis(countAxis);
    bars->append({ 0, 0, 0, 0, 0 });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    setCounts(shown);
}

void TrinChart::setCounts(const std::array<int, 6> &counts)
{
    shown = counts;
    int highest = 0;
    const int order[5] = { 0, 4, 3, 2, 1 }; // as the categories
    for (int i = 0; i < 5; ++i) {
        bars->replace(i, counts[size_t(order[i])]);
        highest = std::max(highest, counts[size_t(order[i])]);
    }
    // Whole numbers on the axis, with room above the tallest bar for its label.
    const int top = std::max(4, highest + std::max(1, highest / 8));
    countAxis->setRange(0, top);
    countAxis->setTickCount(std::min(top, 8) + 1);
    countAxis->applyNiceNumbers();
}

QImage TrinChart::picture(const QSize &size) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    view->render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}
