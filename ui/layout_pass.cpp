// Fits the window's frames, count labels and bottom controls to its size.
//
// Every formula reads the current values, so a value written by an earlier step is what a later
// step reads. Lengths are single-precision twips; the two divisors of the label widths are
// double-precision constants and the label lefts are computed in single precision in the
// order written, so that results agree to the fraction of a twip with the design's own.

#include "ui/main_window.h"

#include <QResizeEvent>
#include <cmath>

namespace talvero {

namespace {

// The designed window: outer size, and its allowance for border and title bar.
constexpr float kMinimumOuterWidth = 10050;
constexpr float kMinimumOuterHeight = 4515;
constexpr float kFrameAllowanceWidth = 10050 - 9930;
constexpr float kFrameAllowanceHeight = 4515 - 4110;

constexpr double kUpperColumnDivisor = 10.46;
constexpr double kLowerColumnDivisor = 9.4;

int pixelsFromTwips(float twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

// Left of column i: label width × i + (frame width / 9 × i) / 40 + 90, in single precision.
float columnLeft(float labelWidth, float frameWidth, int i)
{
    const float column = static_cast<float>(i);
    const float labels = labelWidth * column;
    float gaps = frameWidth / 9.0f;
    gaps = gaps * column;
    gaps = gaps / 40.0f;
    float left = labels + gaps;
    left = left + 90.0f;
    return left;
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
        setOuterHeight(kMinimumOuterHeight - 1);

    // The tab control, the frames and the controls along the bottom edge.
    ui.SSTab->setWidth(outerWidth() - 165);
    ui.SSTab->setHeight(outerHeight() - 1050);
    ui.Frame[0]->setWidth(outerWidth() - 2985);
    ui.Frame[0]->setHeight(outerHeight() / 2 + 5025 - 6200);
    ui.Frame[1]->setWidth(outerWidth() - 2985);
    ui.Frame[1]->setHeight(ui.Frame[0]->Height());
    ui.Frame[2]->setTop(ui.Frame[0]->Height() + 1130);
    ui.Frame[2]->setWidth(outerWidth() - 3705);
    ui.Frame[2]->setHeight(ui.Frame[0]->Height());
    ui.Frame[3]->setTop(ui.Frame[2]->Top());
    ui.Frame[3]->setWidth(outerWidth() - 3705);
    ui.Frame[3]->setHeight(ui.Frame[0]->Height());
    ui.Logo->setTop(outerHeight() - 915);
    ui.Check_90Grad->setTop(outerHeight() - 875);
    ui.cmd_Schrift->setTop(outerHeight() - 915);
    ui.cmd_Schrift->setLeft(outerWidth() - 3000);
    ui.cmd_Ende->setTop(outerHeight() - 915);
    ui.cmd_Ende->setLeft(outerWidth() - 1560);
    ui.cmd_Reset[0]->setLeft(outerWidth() - 750);
    ui.cmd_Reset[1]->setLeft(outerWidth() - 750);

    // The upper rows of count labels and their headings.
    const int upperColumns = static_cast<int>(ui.txt_Gewuerfelt.size());
    for (int i = 0; i < upperColumns; ++i) {
        const auto u = static_cast<std::size_t>(i);
        CountLabel *hit = ui.txt_Gewuerfelt[u];
        CountLabel *damage = ui.txt_Gewuerfelt2[u];
        FrameBox *frame = ui.Frame[0];
        hit->setHeight(frame->Height() - 630);
        damage->setHeight(frame->Height() - 630);
        hit->setWidth(static_cast<float>(frame->Width() / kUpperColumnDivisor));
        damage->setWidth(static_cast<float>(frame->Width() / kUpperColumnDivisor));
        hit->setLeft(columnLeft(hit->Width(), frame->Width(), i));
        damage->setLeft(columnLeft(hit->Width(), frame->Width(), i));
        hit->setFontSize(ui.txt_Gewuerfelt[0]->Width() / 40);
        damage->setFontSize(ui.txt_Gewuerfelt[0]->Width() / 40);
        ui.LabelWurf[u]->setWidth(hit->Width());
        ui.LabelWurf[u]->setLeft(hit->Left());
        ui.LabelWurf[u + 10]->setWidth(hit->Width());
        ui.LabelWurf[u + 10]->setLeft(hit->Left());
    }

    // The lower rows, in the same manner; every count label takes the upper row's font size.
    const int lowerColumns = static_cast<int>(ui.txt_Gewuerfelt_2er.size());
    for (int i = 0; i < lowerColumns; ++i) {
        const auto u = static_cast<std::size_t>(i);
        CountLabel *hit = ui.txt_Gewuerfelt_2er[u];
        CountLabel *damage = ui.txt_Gewuerfelt_2er2[u];
        FrameBox *frame = ui.Frame[2];
        hit->setHeight(frame->Height() - 630);
        damage->setHeight(frame->Height() - 630);
        hit->setWidth(static_cast<float>(frame->Width() / kLowerColumnDivisor));
        damage->setWidth(static_cast<float>(frame->Width() / kLowerColumnDivisor));
        hit->setLeft(columnLeft(hit->Width(), frame->Width(), i));
        damage->setLeft(columnLeft(damage->Width(), frame->Width(), i));
        hit->setFontSize(ui.txt_Gewuerfelt[0]->Width() / 40);
        damage->setFontSize(ui.txt_Gewuerfelt[0]->Width() / 40);
        ui.LabelWurfUnten[u]->setWidth(damage->Width());
        ui.LabelWurfUnten[u]->setLeft(damage->Left());
        ui.LabelWurfUnten[u + 9]->setWidth(damage->Width());
        ui.LabelWurfUnten[u + 9]->setLeft(damage->Left());
    }
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
