// SPDX-License-Identifier: GPL-3.0-or-later
// Fits the window's frames, count labels and bottom controls to its size.
//
// Every formula reads the current values, so a value written by an earlier step is what a later
// step reads. Lengths are single-precision twips; the two divisors of the label widths are
// double-precision constants and the label lefts are computed in single precision in the
// order written, so that results agree to the fraction of a twip with the design's own.

#include "ui/main_window.h"
#include "ui/window_controls.h"
#include "ui/window_design.h"

#include <QResizeEvent>
#include <cmath>

namespace talvero {

namespace {

// The designed window's outer size is the smallest the pass allows.
constexpr float kMinimumOuterWidth = kDesignClientArea.width + kBorderAllowanceWidth;
constexpr float kMinimumOuterHeight = kDesignClientArea.height + kBorderAllowanceHeight;
// A height below the minimum is set one twip short of it: the window reads back on its pixel
// grid (4514 reads as 4515), so the pass does not set it again from a nested resize.
constexpr float kHeightBelowMinimum = kMinimumOuterHeight - 1;

// How much narrower or lower than the window's outer size the controls are.
constexpr float kTabControlWidthLess = 165;
constexpr float kTabControlHeightLess = 1050;
constexpr float kUpperFrameWidthLess = 2985; // "Wurfergebnis"
constexpr float kLowerFrameWidthLess = 3705; // "Sortierung"
// The frames share half the window's height: H / 2 + 5025 - 6200.
constexpr float kFrameHeightOverHalf = 5025 - 6200;
// The lower frames start this far below the top of the upper frames' contents: 80 twips under
// the upper frames, whose designed Top is 1050.
constexpr float kLowerFrameTopOverUpperHeight = 1130;
// Along the bottom: distance of each control's top from the window's bottom edge, and of its
// left edge from the window's right edge.
constexpr float kBottomRowTopFromBottom = 915; // logo, "Schriftart", "Schließen"
constexpr float kCheckBoxTopFromBottom = 875;  // "90°"
constexpr float kFontButtonLeftFromRight = 3000;
constexpr float kCloseButtonLeftFromRight = 1560;
constexpr float kResetButtonLeftFromRight = 750; // the cross on either page

// The count labels: as high as their frame less its caption line and margins, their widths a
// fixed share of the frame's.
constexpr float kCountLabelHeightLess = 630;
constexpr double kUpperColumnDivisor = 10.46;
constexpr double kLowerColumnDivisor = 9.4;
constexpr float kFirstColumnLeft = 90;
// Neighbouring columns are a 360th of the frame's width apart, reckoned as (width / 9 × i) / 40.
constexpr float kGapFirstDivisor = 9;
constexpr float kGapSecondDivisor = 40;
// The font grows with the labels: one point for every 40 twips of the first label's width.
constexpr float kTwipsPerPoint = 40;

// Left of column i: label width × i + (frame width / 9 × i) / 40 + 90, in single precision and
// in this order.
float columnLeft(float labelWidth, float frameWidth, int i)
{
    const float column = static_cast<float>(i);
    const float labels = labelWidth * column;
    float gaps = frameWidth / kGapFirstDivisor;
    gaps = gaps * column;
    gaps = gaps / kGapSecondDivisor;
    return labels + gaps + kFirstColumnLeft;
}

// One pair of count-label rows (the hit page's and the damage page's) with their headings. The
// two pages' frames of a pair are equally wide, so both rows and both heading rows take the
// columns of the hit page's row.
template <std::size_t Columns>
void layOutRows(const std::array<CountLabel *, Columns> &hitRow,
                const std::array<CountLabel *, Columns> &damageRow,
                const std::array<PlainLabel *, 2 * Columns> &headings, const FrameBox &frame,
                double columnDivisor, const CountLabel &fontLead)
{
    for (std::size_t i = 0; i < Columns; ++i) {
        CountLabel *hit = hitRow[i];
        CountLabel *damage = damageRow[i];
        hit->setTwipsHeight(frame.twipsHeight() - kCountLabelHeightLess);
        damage->setTwipsHeight(frame.twipsHeight() - kCountLabelHeightLess);
        hit->setTwipsWidth(static_cast<float>(frame.twipsWidth() / columnDivisor));
        damage->setTwipsWidth(static_cast<float>(frame.twipsWidth() / columnDivisor));
        hit->setTwipsLeft(columnLeft(hit->twipsWidth(), frame.twipsWidth(), static_cast<int>(i)));
        damage->setTwipsLeft(
            columnLeft(hit->twipsWidth(), frame.twipsWidth(), static_cast<int>(i)));
        hit->setFontSize(fontLead.twipsWidth() / kTwipsPerPoint);
        damage->setFontSize(fontLead.twipsWidth() / kTwipsPerPoint);
        for (PlainLabel *heading : {headings[i], headings[i + Columns]}) {
            heading->setTwipsWidth(hit->twipsWidth());
            heading->setTwipsLeft(hit->twipsLeft());
        }
    }
}

} // namespace

float MainWindow::twipsOuterWidth() const
{
    return twipsFromPixels(width()) + kBorderAllowanceWidth;
}

float MainWindow::twipsOuterHeight() const
{
    return twipsFromPixels(height()) + kBorderAllowanceHeight;
}

void MainWindow::setTwipsOuterWidth(float twips)
{
    resize(pixelsFromTwips(twips - kBorderAllowanceWidth), height());
}

void MainWindow::setTwipsOuterHeight(float twips)
{
    resize(width(), pixelsFromTwips(twips - kBorderAllowanceHeight));
}

void MainWindow::layoutPass()
{
    if (isMinimized())
        return;
    if (twipsOuterWidth() < kMinimumOuterWidth)
        setTwipsOuterWidth(kMinimumOuterWidth);
    if (twipsOuterHeight() < kMinimumOuterHeight)
        setTwipsOuterHeight(kHeightBelowMinimum);

    // The tab control, the frames and the controls along the bottom edge.
    WindowControls &ui = *ui_;
    ui.SSTab->setTwipsWidth(twipsOuterWidth() - kTabControlWidthLess);
    ui.SSTab->setTwipsHeight(twipsOuterHeight() - kTabControlHeightLess);
    ui.Frame[0]->setTwipsWidth(twipsOuterWidth() - kUpperFrameWidthLess);
    ui.Frame[0]->setTwipsHeight(twipsOuterHeight() / 2 + kFrameHeightOverHalf);
    ui.Frame[1]->setTwipsWidth(twipsOuterWidth() - kUpperFrameWidthLess);
    ui.Frame[1]->setTwipsHeight(ui.Frame[0]->twipsHeight());
    ui.Frame[2]->setTwipsTop(ui.Frame[0]->twipsHeight() + kLowerFrameTopOverUpperHeight);
    ui.Frame[2]->setTwipsWidth(twipsOuterWidth() - kLowerFrameWidthLess);
    ui.Frame[2]->setTwipsHeight(ui.Frame[0]->twipsHeight());
    ui.Frame[3]->setTwipsTop(ui.Frame[2]->twipsTop());
    ui.Frame[3]->setTwipsWidth(twipsOuterWidth() - kLowerFrameWidthLess);
    ui.Frame[3]->setTwipsHeight(ui.Frame[0]->twipsHeight());
    ui.Logo->setTwipsTop(twipsOuterHeight() - kBottomRowTopFromBottom);
    ui.Check_90Grad->setTwipsTop(twipsOuterHeight() - kCheckBoxTopFromBottom);
    ui.cmd_Schrift->setTwipsTop(twipsOuterHeight() - kBottomRowTopFromBottom);
    ui.cmd_Schrift->setTwipsLeft(twipsOuterWidth() - kFontButtonLeftFromRight);
    ui.cmd_Ende->setTwipsTop(twipsOuterHeight() - kBottomRowTopFromBottom);
    ui.cmd_Ende->setTwipsLeft(twipsOuterWidth() - kCloseButtonLeftFromRight);
    ui.cmd_Reset[0]->setTwipsLeft(twipsOuterWidth() - kResetButtonLeftFromRight);
    ui.cmd_Reset[1]->setTwipsLeft(twipsOuterWidth() - kResetButtonLeftFromRight);

    // The count labels and their headings; every count label takes the first one's font size.
    const CountLabel &fontLead = *ui.txt_Gewuerfelt[0];
    layOutRows(ui.txt_Gewuerfelt, ui.txt_Gewuerfelt2, ui.LabelWurf, *ui.Frame[0],
               kUpperColumnDivisor, fontLead);
    layOutRows(ui.txt_Gewuerfelt_2er, ui.txt_Gewuerfelt_2er2, ui.LabelWurfUnten, *ui.Frame[2],
               kLowerColumnDivisor, fontLead);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPass();
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        layoutPass();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        layoutPass();
    }
}

} // namespace talvero
