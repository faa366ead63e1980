// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Stand-ins for the window's labels and clock, for tests of the engine without a window: rows of
// caption strings, and a journal of every caption write and clock read in the order they happen.

#include "engine/clock.h"
#include "engine/count_row.h"

#include <QStringList>
#include <deque>
#include <string>

namespace talvero::testing {

class StringRow final : public CountRow
{
public:
    StringRow(QString name, int size, QStringList *journal)
        : captions(size, QStringLiteral("0"))
        , name_(std::move(name))
        , journal_(journal)
    {}
    int size() const override { return static_cast<int>(captions.size()); }
    std::string caption(int index) const override { return captions.at(index).toStdString(); }
    void setCaption(int index, std::string_view text) override
    {
        captions[index] = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        *journal_ << QStringLiteral("%1(%2)=%3").arg(name_).arg(index).arg(captions[index]);
    }
    double sum() const
    {
        double total = 0;
        for (const QString &c : captions)
            total += c.toDouble();
        return total;
    }

    QStringList captions;

private:
    QString name_;
    QStringList *journal_;
};

class CaptionLog final : public CaptionTarget
{
public:
    CaptionLog(QString name, QString initial, QStringList *journal)
        : text(std::move(initial))
        , name_(std::move(name))
        , journal_(journal)
    {}
    void setCaption(std::string_view caption) override
    {
        text = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
        *journal_ << name_ + QLatin1Char('=') + text;
    }

    QString text;

private:
    QString name_;
    QStringList *journal_;
};

// Returns the given times one after the other, then keeps the last one.
class ScriptedClock final : public Clock
{
public:
    ScriptedClock(std::deque<TimeOfDay> times, QStringList *journal)
        : times_(std::move(times))
        , journal_(journal)
    {}
    TimeOfDay now() override
    {
        *journal_ << QStringLiteral("clock");
        const TimeOfDay t = times_.front();
        if (times_.size() > 1)
            times_.pop_front();
        return t;
    }

private:
    std::deque<TimeOfDay> times_;
    QStringList *journal_;
};

// Both pages' rows, frames and counter labels, as a window has them when it is created.
struct Pages
{
    explicit Pages(QStringList *journal)
        : face{{QStringLiteral("face0"), 10, journal}, {QStringLiteral("face1"), 10, journal}}
        , atLeast{{QStringLiteral("atLeast0"), 9, journal},
                  {QStringLiteral("atLeast1"), 9, journal}}
        , frame{{QStringLiteral("frame0"), QStringLiteral("Wurfergebnis"), journal},
                {QStringLiteral("frame1"), QStringLiteral("Wurfergebnis"), journal}}
        , counter{{QStringLiteral("counter0"), QStringLiteral("Wurf 0"), journal},
                  {QStringLiteral("counter1"), QStringLiteral("Wurf 0"), journal}}
    {}
    TallySet set(int i) { return {face[i], atLeast[i], frame[i], counter[i]}; }

    StringRow face[2];
    StringRow atLeast[2];
    CaptionLog frame[2];
    CaptionLog counter[2];
};

} // namespace talvero::testing
