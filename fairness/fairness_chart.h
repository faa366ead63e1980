// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <span>
#include <vector>

namespace talvero::fairness {

// One number of sides: how far each face's count lies from its fair share.
struct ChartPanel
{
    int sides = 0;
    std::vector<double> deviations; // element k: face k + 1, in dice (negative: fewer)
    double standardDeviation = 0.0; // of one face's count under fair dice
    double pValue = 1.0;            // chi-square test of the face counts
    double rerollPValue = 1.0;      // the same of the rerolled dice's faces
};

struct ChartText
{
    QString title;
    QString subtitle;
    QString footer;
};

// A grid of bar charts, one per panel, on one shared scale, each with the bands that chance
// alone fills: two standard deviations (and, fainter, three).
QImage drawFairnessChart(std::span<const ChartPanel> panels, const ChartText &text);

} // namespace talvero::fairness
