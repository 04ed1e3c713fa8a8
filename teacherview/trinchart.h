#pragma once

#include <QWidget>

#include <array>

// A bar chart of how many learners shown reached each Trin and how many did not finish.
// Drawn by hand: five bars need no chart library, and the Windows build has none.
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

    QSize sizeHint() const override { return { 320, 300 }; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::array<int, 6> shown {};
};
