// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The dice an engine throws, retraced from its start seed on the random source alone.

#include "engine/dice_engine.h"
#include "engine/random_source.h"

#include <QStringList>

namespace talvero::testing {

// The number a clock at 12:34 gives every roll: its seconds twice, times its minutes.
inline constexpr std::uint64_t kClockSeed = 34 * 34 * 12;

struct Retrace
{
    explicit Retrace(std::uint64_t startSeed)
        : random(startSeed)
    {}
    // The face counts "1er" to "10er" of the next roll: re-seeded with `seed`, one draw a die.
    QStringList roll(std::uint64_t seed, std::uint64_t dice, int sides)
    {
        random.reseed(seed);
        std::uint64_t counts[10] = {};
        for (std::uint64_t i = 0; i < dice; ++i)
            ++counts[DiceEngine::faceValue(random.next(), sides) - 1];
        QStringList texts;
        for (const std::uint64_t count : counts)
            texts << QString::number(count);
        return texts;
    }
    RandomSource random;
};

// The at-least row "2+" to "10+" that belongs to a face row: the sums from "10er" down.
inline QStringList atLeastOf(const QStringList &faces)
{
    QStringList sums;
    long long total = 0;
    for (qsizetype i = faces.size() - 1; i >= 1; --i)
        sums.prepend(QString::number(total += faces[i].toLongLong()));
    return sums;
}

// The counts less `taken` plus `thrown`, face by face: a reroll.
inline QStringList afterReroll(const QStringList &counts, const QStringList &taken,
                               const QStringList &thrown)
{
    QStringList after;
    for (qsizetype i = 0; i < counts.size(); ++i)
        after << QString::number(counts[i].toLongLong() - taken[i].toLongLong() +
                                 thrown[i].toLongLong());
    return after;
}

inline QStringList added(const QStringList &a, const QStringList &b)
{
    return afterReroll(a, QStringList(a.size(), QStringLiteral("0")), b);
}

// The counts of the faces from `firstFace` to `lastFace`, the others 0.
inline QStringList only(const QStringList &counts, int firstFace, int lastFace)
{
    QStringList kept(counts.size(), QStringLiteral("0"));
    for (int face = firstFace; face <= lastFace; ++face)
        kept[face - 1] = counts[face - 1];
    return kept;
}

} // namespace talvero::testing
