#pragma once

#include <QWidget>

#include <array>

class QBarSet;
class QChart;
class QChartView;
class QValueAxis;

// A bar chart of how many learners shown reached each Trin and how many did not finish.
class TrinChart : public QWidget
{
    Q_OBJECT

public:
    explicit TrinChart(QWidget *parent = nullptr);

    // Counts as ResultFilter::levelCounts gives them.
    void setCounts(const std::array<int, 6> &counts);
    const std::array<int, 6> &counts() const { return shown; }

    // The chart as a picture of the given size, for the PNG file and the printed overview.
    QImage picture(const QSize &size) const;

private:
    std::array<int, 6> shown {};
    QChart *chart;
    QChartView *view;
    QBarSet *bars;
    QValueAxis *countAxis;
};
