#pragma once

#include <QColor>
#include <QProxyStyle>

// The program's widget style with a focus ring a learner can see: 2 pixels wide around a
// focused button or field, in a blue with at least 3:1 contrast against the dark page, the
// dark button face and a field's white (about 4:1 each way).
class FocusRingStyle : public QProxyStyle
{
    Q_OBJECT

public:
    explicit FocusRingStyle(QStyle *base);

    static const QColor ringColour;
    static constexpr int ringWidth = 2;

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
};
