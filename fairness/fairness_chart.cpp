// SPDX-License-Identifier: GPL-3.0-or-later
#include "fairness/fairness_chart.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

namespace talvero::fairness {

namespace {

// Drawn at twice its logical size, so that it stays sharp on high-density screens.
constexpr qreal kPixelRatio = 2.0;
constexpr qreal kWidth = 1000.0;
constexpr qreal kMargin = 28.0;
constexpr int kColumns = 3;
constexpr qreal kPanelHeight = 230.0;
constexpr qreal kPanelGap = 18.0;
constexpr qreal kTickLabelWidth = 58.0; // left of the first column only; the scale is shared
constexpr qreal kAxisTitleWidth = 22.0;
constexpr qreal kPanelHeadingHeight = 26.0;
constexpr qreal kFaceLabelHeight = 20.0;
constexpr qreal kBarShare = 0.62; // of a face's slot
constexpr qreal kLineGap = 6.0;
constexpr qreal kTallEnough = 1000.0; // height of a box that wrapped text never fills

constexpr double kInnerBand = 2.0; // standard deviations
constexpr double kOuterBand = 3.0;
constexpr double kHeadroom = 1.08; // above the larger of the outer band and the longest bar
constexpr int kTicksPerHalf = 4;

constexpr int kTitleSize = 24;
constexpr int kTextSize = 14;
constexpr int kSmallSize = 12;

const QColor kBackground(0xff, 0xff, 0xff);
const QColor kInk(0x22, 0x22, 0x22);
const QColor kMutedInk(0x5f, 0x63, 0x68);
const QColor kGrid(0xe3, 0xe5, 0xe8);
const QColor kGridOverBands(0x00, 0x00, 0x00, 0x16); // shows on white and green alike
const QColor kInnerBandColor(0xcd, 0xe6, 0xcf);
const QColor kInnerBandEdge(0x8f, 0xc1, 0x94);
const QColor kOuterBandColor(0xe6, 0xf2, 0xe7);
const QColor kBarColor(0x2c, 0x5f, 0xa8);
const QColor kZeroLine(0x55, 0x55, 0x55);

QFont font(int pixelSize, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// 1, 2, 2.5 or 5 times a power of ten: the step of the scale's ticks.
double niceStep(double rough)
{
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const std::array<double, 4> multiples{1.0, 2.0, 2.5, 5.0};
    for (const double multiple : multiples) {
        if (multiple * power >= rough)
            return multiple * power;
    }
    return 10.0 * power;
}

QString signedNumber(double value)
{
    const QLocale english(QLocale::English);
    const QString digits = english.toString(std::llround(std::abs(value)));
    if (value > 0.0)
        return QStringLiteral("+") + digits;
    if (value < 0.0)
        return QStringLiteral("\u2212") + digits;
    return digits;
}

QString pValueText(double p)
{
    constexpr double smallest = 0.001;
    return p >= smallest ? QString::number(p, 'f', 3) : QString::number(p, 'e', 1);
}

// Draws wrapped text within `width` from `top`; returns the height it took.
qreal drawParagraph(QPainter &painter, const QString &text, qreal left, qreal top, qreal width)
{
    const QRectF bounds(left, top, width, kTallEnough);
    const QRectF used = painter.boundingRect(bounds, Qt::TextWordWrap | Qt::AlignLeft, text);
    painter.drawText(bounds, Qt::TextWordWrap | Qt::AlignLeft, text);
    return used.height();
}

struct Scale
{
    double limit = 1.0; // dice at the top edge; the bottom edge is -limit
    double step = 1.0;  // between ticks
    QRectF plot;

    qreal y(double dice) const { return plot.center().y() - dice / limit * plot.height() / 2.0; }
};

void drawBand(QPainter &painter, const Scale &scale, double halfWidth, const QColor &color,
              const QColor &edge = QColor())
{
    const qreal top = scale.y(std::min(halfWidth, scale.limit));
    const qreal bottom = scale.y(-std::min(halfWidth, scale.limit));
    const QRectF band(scale.plot.left(), top, scale.plot.width(), bottom - top);
    painter.fillRect(band, color);
    if (edge.isValid()) {
        painter.setPen(QPen(edge, 1.0));
        painter.drawLine(band.topLeft(), band.topRight());
        painter.drawLine(band.bottomLeft(), band.bottomRight());
    }
}

void drawPanel(QPainter &painter, const ChartPanel &panel, const Scale &scale, bool withTicks)
{
    const QRectF &plot = scale.plot;

    painter.setFont(font(kTextSize, true));
    painter.setPen(kInk);
    const QRectF heading(plot.left(), plot.top() - kPanelHeadingHeight, plot.width(),
                         kPanelHeadingHeight);
    painter.drawText(heading, Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("%1 sides").arg(panel.sides));
    painter.setFont(font(kSmallSize));
    painter.setPen(kMutedInk);
    painter.drawText(heading, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("χ² p = %1 · rerolled %2")
                         .arg(pValueText(panel.pValue), pValueText(panel.rerollPValue)));

    drawBand(painter, scale, kOuterBand * panel.standardDeviation, kOuterBandColor);
    drawBand(painter, scale, kInnerBand * panel.standardDeviation, kInnerBandColor, kInnerBandEdge);

    painter.setFont(font(kSmallSize));
    for (int tick = -kTicksPerHalf; tick <= kTicksPerHalf; ++tick) {
        const double dice = tick * scale.step;
        if (std::abs(dice) > scale.limit)
            continue;
        const qreal y = scale.y(dice);
        if (tick != 0) {
            painter.setPen(QPen(kGridOverBands, 1.0));
            painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        }
        if (withTicks) {
            painter.setPen(kMutedInk);
            painter.drawText(QRectF(plot.left() - kTickLabelWidth, y - kSmallSize,
                                    kTickLabelWidth - kLineGap, 2.0 * kSmallSize),
                             Qt::AlignRight | Qt::AlignVCenter, signedNumber(dice));
        }
    }

    const qreal slot = plot.width() / panel.sides;
    const qreal barWidth = slot * kBarShare;
    for (int face = 1; face <= panel.sides; ++face) {
        const double deviation = std::clamp(panel.deviations[static_cast<std::size_t>(face - 1)],
                                            -scale.limit, scale.limit);
        const qreal centre = plot.left() + (face - 0.5) * slot;
        const qreal zero = scale.y(0.0);
        const qreal end = scale.y(deviation);
        painter.fillRect(
            QRectF(centre - barWidth / 2.0, std::min(zero, end), barWidth, std::abs(end - zero)),
            kBarColor);
        painter.setPen(kInk);
        painter.drawText(QRectF(centre - slot / 2.0, plot.bottom(), slot, kFaceLabelHeight),
                         Qt::AlignCenter, QString::number(face));
    }

    painter.setPen(QPen(kZeroLine, 1.0));
    painter.drawLine(QPointF(plot.left(), scale.y(0.0)), QPointF(plot.right(), scale.y(0.0)));
    painter.setPen(QPen(kGrid, 1.0));
    painter.drawRect(plot);
}

void drawLegend(QPainter &painter, qreal left, qreal top)
{
    constexpr qreal swatch = 14.0;
    constexpr qreal itemGap = 26.0;
    constexpr qreal baselineLift = 2.0; // the text's baseline a little above the swatch's foot
    painter.setFont(font(kSmallSize));
    const QFontMetricsF metrics(painter.font());
    struct Item
    {
        QColor color;
        QString text;
    };
    const std::array<Item, 3> items{
        Item{kBarColor, QStringLiteral("dice above or below the fair share of a face")},
        Item{kInnerBandColor, QStringLiteral("±2 standard deviations: 95 % of fair bars")},
        Item{kOuterBandColor, QStringLiteral("±3 standard deviations: 99.7 %")},
    };
    qreal x = left;
    for (const Item &item : items) {
        painter.fillRect(QRectF(x, top, swatch, swatch), item.color);
        painter.setPen(QPen(kGrid, 1.0));
        painter.drawRect(QRectF(x, top, swatch, swatch));
        x += swatch + kLineGap;
        painter.setPen(kInk);
        painter.drawText(QPointF(x, top + swatch - baselineLift), item.text);
        x += metrics.horizontalAdvance(item.text) + itemGap;
    }
}

} // namespace

QImage drawFairnessChart(std::span<const ChartPanel> panels, const ChartText &text)
{
    const int rows = static_cast<int>((panels.size() + kColumns - 1) / kColumns);

    // One scale for all panels, so that the bands can be compared from one number of sides
    // to the next.
    double reach = 0.0;
    for (const ChartPanel &panel : panels) {
        reach = std::max(reach, kOuterBand * panel.standardDeviation);
        for (const double deviation : panel.deviations)
            reach = std::max(reach, std::abs(deviation));
    }
    if (!(reach > 0.0))
        reach = 1.0;
    Scale scale;
    scale.limit = reach * kHeadroom;
    scale.step = niceStep(scale.limit / kTicksPerHalf);

    // The text above the grid decides where it starts: measure it on a scratch image first.
    const qreal contentWidth = kWidth - 2.0 * kMargin;
    qreal headerHeight = 0.0;
    {
        QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
        QPainter measure(&scratch);
        measure.setFont(font(kTitleSize, true));
        headerHeight +=
            measure
                .boundingRect(QRectF(0, 0, contentWidth, kTallEnough), Qt::TextWordWrap, text.title)
                .height() +
            kLineGap;
        measure.setFont(font(kTextSize));
        headerHeight += measure
                            .boundingRect(QRectF(0, 0, contentWidth, kTallEnough), Qt::TextWordWrap,
                                          text.subtitle)
                            .height() +
                        2.0 * kLineGap;
    }
    constexpr qreal legendHeight = 30.0;
    constexpr qreal footerHeight = 30.0;
    const qreal gridTop = kMargin + headerHeight + legendHeight + kPanelHeadingHeight;
    const qreal rowHeight = kPanelHeadingHeight + kPanelHeight + kFaceLabelHeight + kPanelGap;
    const qreal height =
        gridTop + rows * rowHeight - kPanelHeadingHeight + kFaceLabelHeight + footerHeight;

    QImage image(static_cast<int>(std::ceil(kWidth * kPixelRatio)),
                 static_cast<int>(std::ceil(height * kPixelRatio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(kPixelRatio);
    image.fill(kBackground);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    qreal y = kMargin;
    painter.setPen(kInk);
    painter.setFont(font(kTitleSize, true));
    y += drawParagraph(painter, text.title, kMargin, y, contentWidth) + kLineGap;
    painter.setPen(kMutedInk);
    painter.setFont(font(kTextSize));
    y += drawParagraph(painter, text.subtitle, kMargin, y, contentWidth) + 2.0 * kLineGap;
    drawLegend(painter, kMargin, y);

    const qreal gridLeft = kMargin + kAxisTitleWidth + kTickLabelWidth;
    const qreal panelWidth = (kWidth - kMargin - gridLeft - (kColumns - 1) * kPanelGap) / kColumns;
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const int column = static_cast<int>(i % kColumns);
        const int row = static_cast<int>(i / kColumns);
        scale.plot = QRectF(gridLeft + column * (panelWidth + kPanelGap), gridTop + row * rowHeight,
                            panelWidth, kPanelHeight);
        drawPanel(painter, panels[i], scale, column == 0);
    }

    // Axis titles: the scale's along the left edge, the faces' below the grid.
    const qreal gridBottom = gridTop + rows * rowHeight - kPanelHeadingHeight - kPanelGap;
    painter.setPen(kInk);
    painter.setFont(font(kTextSize));
    painter.save();
    painter.translate(kMargin, (gridTop + gridBottom) / 2.0);
    painter.rotate(-90.0);
    painter.drawText(
        QRectF(-(gridBottom - gridTop) / 2.0, 0.0, gridBottom - gridTop, kAxisTitleWidth),
        Qt::AlignCenter, QStringLiteral("dice above (+) or below (−) the fair share"));
    painter.restore();
    const QRectF facesTitle(gridLeft, gridBottom + kLineGap, kWidth - kMargin - gridLeft,
                            kFaceLabelHeight);
    painter.drawText(facesTitle, Qt::AlignCenter, QStringLiteral("face"));

    painter.setPen(kMutedInk);
    painter.setFont(font(kSmallSize));
    painter.drawText(
        QRectF(kMargin, height - footerHeight + kLineGap, contentWidth, footerHeight - kLineGap),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text.footer);
    painter.end();
    return image;
}

} // namespace talvero::fairness
