// SPDX-License-Identifier: GPL-3.0-or-later
// Fits the window's frames, count labels and bottom controls to its size.
//
// Every formula reads the current values, so a value written by an earlier step is what a later
// step reads. Lengths are single-precision twips; the two divisors of the label widths are
// double-precision constants and the label lefts are computed in single precision in the
// order written, so that results agree to the fraction of a twip with the design's own.

#include "ui/main_window.h"
#include "ui/window_controls.h"

#include <QResizeEvent>
#include <cmath>

namespace talvero {

namespace {

// The designed window: its outer size is the smallest the pass allows, and the outer size is
// the client area plus this allowance for border and title bar.
constexpr float kMinimumOuterWidth = 10050;
constexpr float kMinimumOuterHeight = 4515;
constexpr float kFrameAllowanceWidth = 10050 - 9930;
constexpr float kFrameAllowanceHeight = 4515 - 4110;
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

int pixelsFromTwips(float twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

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
        hit->setHeight(frame.Height() - kCountLabelHeightLess);
        damage->setHeight(frame.Height() - kCountLabelHeightLess);
        hit->setWidth(static_cast<float>(frame.Width() / columnDivisor));
        damage->setWidth(static_cast<float>(frame.Width() / columnDivisor));
        hit->setLeft(columnLeft(hit->Width(), frame.Width(), static_cast<int>(i)));
        damage->setLeft(columnLeft(hit->Width(), frame.Width(), static_cast<int>(i)));
        hit->setFontSize(fontLead.Width() / kTwipsPerPoint);
        damage->setFontSize(fontLead.Width() / kTwipsPerPoint);
        for (PlainLabel *heading : {headings[i], headings[i + Columns]}) {
            heading->setWidth(hit->Width());
            heading->setLeft(hit->Left());
        }
    }
}

} // namespace

float MainWindow::outerWidth() const
{
    return twipsFromPixels(width()) + kFrameAllowanceWidth;
}

float MainWindow::outerHeight() const
{
    return twipsFromPixels(height()) + kFrameAllowanceHeight;
}

void MainWindow::setOuterWidth(float twips)
{
    resize(pixelsFromTwips(twips - kFrameAllowanceWidth), height());
}

void MainWindow::setOuterHeight(float twips)
{
    resize(width(), pixelsFromTwips(twips - kFrameAllowanceHeight));
}

void MainWindow::layoutPass()
{
    if (isMinimized())
        return;
    if (outerWidth() < kMinimumOuterWidth)
        setOuterWidth(kMinimumOuterWidth);
    if (outerHeight() < kMinimumOuterHeight)
        setOuterHeight(kHeightBelowMinimum);

    // The tab control, the frames and the controls along the bottom edge.
    WindowControls &ui = *ui_;
    ui.SSTab->setWidth(outerWidth() - kTabControlWidthLess);
    ui.SSTab->setHeight(outerHeight() - kTabControlHeightLess);
    ui.Frame[0]->setWidth(outerWidth() - kUpperFrameWidthLess);
    ui.Frame[0]->setHeight(outerHeight() / 2 + kFrameHeightOverHalf);
    ui.Frame[1]->setWidth(outerWidth() - kUpperFrameWidthLess);
    ui.Frame[1]->setHeight(ui.Frame[0]->Height());
    ui.Frame[2]->setTop(ui.Frame[0]->Height() + kLowerFrameTopOverUpperHeight);
    ui.Frame[2]->setWidth(outerWidth() - kLowerFrameWidthLess);
    ui.Frame[2]->setHeight(ui.Frame[0]->Height());
    ui.Frame[3]->setTop(ui.Frame[2]->Top());
    ui.Frame[3]->setWidth(outerWidth() - kLowerFrameWidthLess);
    ui.Frame[3]->setHeight(ui.Frame[0]->Height());
    ui.Logo->setTop(outerHeight() - kBottomRowTopFromBottom);
    ui.Check_90Grad->setTop(outerHeight() - kCheckBoxTopFromBottom);
    ui.cmd_Schrift->setTop(outerHeight() - kBottomRowTopFromBottom);
    ui.cmd_Schrift->setLeft(outerWidth() - kFontButtonLeftFromRight);
    ui.cmd_Ende->setTop(outerHeight() - kBottomRowTopFromBottom);
    ui.cmd_Ende->setLeft(outerWidth() - kCloseButtonLeftFromRight);
    ui.cmd_Reset[0]->setLeft(outerWidth() - kResetButtonLeftFromRight);
    ui.cmd_Reset[1]->setLeft(outerWidth() - kResetButtonLeftFromRight);

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
