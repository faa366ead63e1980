// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace talvero {

// The five choices the window offers and the settings store keeps, each with the value the
// window is designed with, and the ranges of the two selectors.
struct WindowChoices
{
    static constexpr int kFewestDice = 1;
    static constexpr int kMostDice = 200;
    static constexpr int kFewestSides = 2;
    static constexpr int kMostSides = 10;

    int dice = 60;
    int sides = 6;
    bool addHits = false;   // "Addition" on the hit page, else "neue Zählung"
    bool addDamage = false; // the same on the damage page
    bool turned = false;    // "90°" ticked

    bool operator==(const WindowChoices &) const = default;
};

} // namespace talvero
