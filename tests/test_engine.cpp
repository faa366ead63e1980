// SPDX-License-Identifier: GPL-3.0-or-later
// The dice engine on plain rows of captions: count texts, the random source and its seeds, the
// rolls, refusals and resets as the captions show them.

#include "engine/count_text.h"
#include "engine/dice_engine.h"
#include "engine/start_seed.h"
#include "engine/text_pages.h"
#include "support/retrace.h"

#include <QStringList>
#include <QTest>
#include <cmath>
#include <deque>
#include <memory>
#include <stdexcept>

using namespace talvero;
using namespace talvero::testing;
using namespace Qt::StringLiterals;

namespace {

constexpr std::uint64_t kSeed = 1;

QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(u' ');
}

QStringList captions(const TextRow &row)
{
    QStringList texts;
    for (int i = 0; i < row.size(); ++i)
        texts << QString::fromStdString(row.caption(i));
    return texts;
}

double sum(const TextRow &row)
{
    double total = 0;
    for (const QString &caption : captions(row))
        total += caption.toDouble();
    return total;
}

// Gives the times one after the other, then keeps the last one, and counts the reads.
struct ScriptedClock final : Clock
{
    explicit ScriptedClock(std::deque<TimeOfDay> script)
        : times(std::move(script))
    {}
    TimeOfDay now() override
    {
        ++reads;
        const TimeOfDay t = times.front();
        if (times.size() > 1)
            times.pop_front();
        return t;
    }
    std::deque<TimeOfDay> times;
    int reads = 0;
};

// Both pages of a new window on a clock that shows 12:34 on and on.
struct Pages
{
    explicit Pages(std::uint64_t startSeed = kSeed)
        : pages(clock, startSeed)
    {}
    QStringList face(Tally t) { return captions(pages.faceRow(t)); }
    QStringList atLeast(Tally t) { return captions(pages.atLeastRow(t)); }
    QString frame(Tally t) const { return QString::fromStdString(pages.frame(t)); }
    QString counter(Tally t) const { return QString::fromStdString(pages.counter(t)); }
    DiceEngine &engine() { return pages.engine(); }

    FixedClock clock{TimeOfDay{12, 34}};
    TextPages pages;
};

} // namespace

class EngineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countTexts();
    void faceValueBoundaries();
    void seedFromTheClock_data();
    void seedFromTheClock();
    void sameSecondDoesNotReplay();
    void startWithoutAnEntropySource();
    void diceAreFair();

    void countingModes_data();
    void countingModes();
    void tallies();
    void resetsKeepToTheirPart();

    void followUpRefusedWithoutHits_data();
    void followUpRefusedWithoutHits();
    void followUpRolls();
    void followUpDiceFollowTheHitRoll();
};

void EngineTest::countTexts()
{
    // Digits only, no exponent or grouping, however large; a caption that is no count reads as
    // 0, so that it can never stop a roll.
    for (const double count : {0.0, 1234567.0, 1e20})
        QCOMPARE(readCount(countText(count)), count);
    QCOMPARE(QString::fromStdString(countText(1e20)), u"100000000000000000000"_s);
    for (const char *damaged : {"", "abc", "-5", "1e300", " 12", "12.5"})
        QCOMPARE(readCount(damaged), 0.0);
}

void EngineTest::faceValueBoundaries()
{
    // Formed in single precision, M times the largest draw plus one would round up to M + 1.
    const float largest = std::nextafter(1.0f, 0.0f);
    for (int m = 2; m <= 10; ++m) {
        QCOMPARE(DiceEngine::faceValue(0.0f, m), 1);
        QCOMPARE(DiceEngine::faceValue(0.5f, m), m / 2 + 1);
        QCOMPARE(DiceEngine::faceValue(largest, m), m);
    }
}

void EngineTest::seedFromTheClock_data()
{
    // Three reads: seconds, seconds again, minutes; the field a read does not use holds something
    // else, so that a read of the wrong field shows.
    QTest::addColumn<int>("s1");
    QTest::addColumn<int>("s2");
    QTest::addColumn<int>("minute");
    QTest::addColumn<qulonglong>("seed");
    QTest::newRow("ordinary") << 10 << 10 << 5 << 500ull;
    QTest::newRow("the second ticks between the reads") << 10 << 11 << 5 << 550ull;
    QTest::newRow("the largest seed, beyond 16 bits") << 59 << 59 << 59 << 205379ull;
    QTest::newRow("seconds 0") << 0 << 0 << 30 << 0ull;
    QTest::newRow("minutes 0") << 30 << 30 << 0 << 0ull;
}

void EngineTest::seedFromTheClock()
{
    QFETCH(int, s1);
    QFETCH(int, s2);
    QFETCH(int, minute);
    QFETCH(qulonglong, seed);
    ScriptedClock clock({{7, s1}, {8, s2}, {minute, 9}});
    TextPages pages(clock, 99);
    pages.engine().hitRoll(200, 10, true);
    QCOMPARE(clock.reads, 3);
    QCOMPARE(captions(pages.faceRow(Tally::Hit)), Retrace(99).roll(seed, 200, 10));
}

void EngineTest::sameSecondDoesNotReplay()
{
    // Re-seeding mixes the number into the state: the same number twice goes on differently.
    for (const std::uint64_t seed : {0ull, 1ull, 205379ull}) {
        RandomSource random(kSeed);
        float draws[2][16];
        for (auto &run : draws) {
            random.reseed(seed);
            for (float &r : run)
                r = random.next();
        }
        QVERIFY2(!std::equal(draws[0], draws[0] + 16, draws[1]), "the same seed replayed");
    }
    Pages p;
    p.engine().hitRoll(200, 10, true); // two rolls in one second
    const QStringList firstRoll = p.face(Tally::Hit);
    p.engine().hitRoll(200, 10, true);
    QVERIFY(p.face(Tally::Hit) != firstRoll);
}

void EngineTest::startWithoutAnEntropySource()
{
    QCOMPARE(startSeed([] { return std::uint64_t{42}; }), 42ull);
    // Where the system has none, the start still gets a seed, and the next start another.
    auto none = []() -> std::uint64_t {
        throw std::runtime_error("no entropy source");
    };
    const std::uint64_t first = startSeed(none);
    QVERIFY(startSeed(none) != first);
}

void EngineTest::diceAreFair()
{
    // Chi-square critical values at p = 0.001 for M - 1 degrees of freedom.
    const double critical[] = {10.83, 13.82, 16.27, 18.47, 20.52, 22.46, 24.32, 26.12, 27.88};
    for (int sides = 2; sides <= 10; ++sides) {
        Pages p(static_cast<std::uint64_t>(1000 + sides));
        constexpr int rolls = 600;
        for (int i = 0; i < rolls; ++i)
            p.engine().hitRoll(200, sides, false);
        const double expected = rolls * 200.0 / sides;
        double chi2 = 0;
        const QStringList faces = p.face(Tally::Hit);
        for (int f = 0; f < sides; ++f)
            chi2 += std::pow(faces[f].toDouble() - expected, 2) / expected;
        QCOMPARE(sum(p.pages.faceRow(Tally::Hit)), rolls * 200.0);
        QCOMPARE(faces.mid(sides), QStringList(10 - sides, u"0"_s));
        QVERIFY2(chi2 < critical[sides - 2],
                 qPrintable(u"M=%1: chi-square %2"_s.arg(sides).arg(chi2)));
    }
}

void EngineTest::countingModes_data()
{
    QTest::addColumn<bool>("newCount");
    QTest::newRow("Addition") << false;
    QTest::newRow("neue Zählung") << true;
}

void EngineTest::countingModes()
{
    QFETCH(bool, newCount);
    Pages p;
    p.engine().hitRoll(60, 6, newCount);
    p.engine().hitRoll(60, 6, newCount);
    Retrace retrace(kSeed);
    const QStringList first = retrace.roll(kClockSeed, 60, 6);
    const QStringList second = retrace.roll(kClockSeed, 60, 6);
    QCOMPARE(p.face(Tally::Hit), newCount ? second : added(first, second));
    QCOMPARE(p.atLeast(Tally::Hit), atLeastOf(p.face(Tally::Hit)));
    // Counted in either mode, and not cleared with the counts; the frame tells the last roll.
    QCOMPARE(p.counter(Tally::Hit), u"Wurf 2"_s);
    QCOMPARE(p.frame(Tally::Hit), u"Wurfergebnis 60 Würfel mit je 6 Seiten"_s);
    QCOMPARE(p.face(Tally::Damage), QStringList(10, u"0"_s));
    QCOMPARE(p.counter(Tally::Damage), u"Wurf 0"_s);
}

void EngineTest::tallies()
{
    Pages p;
    // Two sides: only the first two faces and "2+" ever count.
    p.engine().hitRoll(200, 2, true);
    QCOMPARE(sum(p.pages.faceRow(Tally::Hit)), 200.0);
    QCOMPARE(p.face(Tally::Hit).mid(2), QStringList(8, u"0"_s));
    QCOMPARE(p.atLeast(Tally::Hit), QStringList{p.face(Tally::Hit)[1]} + QStringList(8, u"0"_s));
    p.engine().hitRoll(1, 2, true);
    QVERIFY(p.face(Tally::Hit).mid(0, 2) == words("1 0") ||
            p.face(Tally::Hit).mid(0, 2) == words("0 1"));
    QCOMPARE(p.frame(Tally::Hit), u"Wurfergebnis 1 Würfel mit je 2 Seiten"_s);
    // In "Addition", counts of faces above a lowered number of sides stay and still count.
    p.engine().hitRoll(200, 10, false);
    const QStringList high = p.face(Tally::Hit).mid(6);
    QVERIFY(high[3] != u"0"_s);
    p.engine().hitRoll(200, 6, false);
    QCOMPARE(p.face(Tally::Hit).mid(6), high);
    QCOMPARE(sum(p.pages.faceRow(Tally::Hit)), 401.0);
    QCOMPARE(p.atLeast(Tally::Hit)[8], high[3]); // "10+" still counts the old tens
    // The at-least row from the face row as it reads, one die added in "Addition": the design's
    // example 10 9 11 8 12 10 gives 50 41 30 22 10 before the die.
    const QStringList example = words("10 9 11 8 12 10 0 0 0 0");
    for (int i = 0; i < 10; ++i)
        p.pages.faceRow(Tally::Damage).setCaption(i, example[i].toStdString());
    p.pages.atLeastRow(Tally::Hit).setCaption(0, "1");
    QVERIFY(!p.engine().followUpRoll(0, 6, false));
    QCOMPARE(sum(p.pages.faceRow(Tally::Damage)), 61.0);
    QCOMPARE(p.atLeast(Tally::Damage), atLeastOf(p.face(Tally::Damage)));
    QCOMPARE(atLeastOf(example), words("50 41 30 22 10 0 0 0 0"));
    // Counts past a million are written without an exponent.
    p.pages.faceRow(Tally::Hit).setCaption(0, "999999");
    p.pages.faceRow(Tally::Hit).setCaption(1, "999999");
    p.engine().hitRoll(1, 2, false);
    QVERIFY(p.face(Tally::Hit).contains(u"1000000"_s) && p.face(Tally::Hit).contains(u"999999"_s));
}

void EngineTest::resetsKeepToTheirPart()
{
    Pages p;
    for (int i = 0; i < 3; ++i)
        p.engine().hitRoll(60, 6, false);
    QVERIFY(!p.engine().followUpRoll(0, 6, true));
    const QStringList damage = p.face(Tally::Damage) + p.atLeast(Tally::Damage);
    // The cross: counts and frame of its page, not the counter.
    p.engine().clearCounts(Tally::Hit);
    QCOMPARE(p.face(Tally::Hit) + p.atLeast(Tally::Hit), QStringList(19, u"0"_s));
    QCOMPARE(p.frame(Tally::Hit), u"Wurfergebnis"_s);
    QCOMPARE(p.counter(Tally::Hit), u"Wurf 3"_s);
    QCOMPARE(p.face(Tally::Damage) + p.atLeast(Tally::Damage), damage);
    // The arrow: the counter alone; the next roll counts 1.
    p.engine().hitRoll(60, 6, false);
    const QStringList counts = p.face(Tally::Hit);
    p.engine().resetRollCounter(Tally::Hit);
    QCOMPARE(p.counter(Tally::Hit), u"Wurf 0"_s);
    QCOMPARE(p.face(Tally::Hit), counts);
    p.engine().hitRoll(60, 6, false);
    QCOMPARE(p.counter(Tally::Hit), u"Wurf 1"_s);
    QCOMPARE(p.counter(Tally::Damage), u"Wurf 1"_s);
}

void EngineTest::followUpRefusedWithoutHits_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("hits"); // the hit page's caption at that threshold
    for (int index = 0; index < 9; ++index)
        QTest::addRow("%d+ before any roll", index + 2) << index << u"0"_s;
    QTest::newRow("4+ damaged") << 2 << u"vier"_s;
}

void EngineTest::followUpRefusedWithoutHits()
{
    QFETCH(int, index);
    QFETCH(QString, hits);
    Pages p;
    Pages twin;
    p.pages.atLeastRow(Tally::Hit).setCaption(index, hits.toStdString());
    const auto refusal = p.engine().followUpRoll(index, 10, true);
    QCOMPARE(QString::fromStdString(refusal.value_or("")),
             u"Dieser Wurf kann nicht ausgeführt werden, der Würfel %1+ hat keine Treffer."_s.arg(
                 index + 2));
    // Nothing changed, not even the random source: the next roll throws what it would have.
    QCOMPARE(p.face(Tally::Damage) + p.atLeast(Tally::Damage), QStringList(19, u"0"_s));
    QCOMPARE(p.frame(Tally::Damage) + p.counter(Tally::Damage), u"WurfergebnisWurf 0"_s);
    p.engine().hitRoll(200, 10, true);
    twin.engine().hitRoll(200, 10, true);
    QCOMPARE(p.face(Tally::Hit), twin.face(Tally::Hit));
}

void EngineTest::followUpRolls()
{
    Pages p;
    // One hit: the texts have no singular.
    p.pages.atLeastRow(Tally::Hit).setCaption(2, "1"); // "4+"
    QVERIFY(!p.engine().followUpRoll(2, 6, true));
    QCOMPARE(sum(p.pages.faceRow(Tally::Damage)), 1.0);
    QCOMPARE(p.counter(Tally::Damage), u"Wurf 1"_s);
    QCOMPARE(p.frame(Tally::Damage), u"Wurfergebnis 4+ (1 Würfe)"_s);
    QCOMPARE(QString::fromStdString(p.engine().followUpToolTip(2)), u"1 Würfe"_s);
    // Every hit is rolled, far beyond the 16 bits a count was once read into.
    for (const QString &hits : words("32768 40000 1000001")) {
        p.pages.atLeastRow(Tally::Hit).setCaption(8, hits.toStdString());
        QVERIFY(!p.engine().followUpRoll(8, 10, true));
        QCOMPARE(QString::fromStdString(countText(sum(p.pages.faceRow(Tally::Damage)))), hits);
        QCOMPARE(p.frame(Tally::Damage), u"Wurfergebnis 10+ (%1 Würfe)"_s.arg(hits));
        QCOMPARE(QString::fromStdString(p.engine().followUpToolTip(8)), hits + u" Würfe"_s);
    }
    // The sides at the time of the follow-up roll count: they went up to 8 since the hit roll.
    p.engine().hitRoll(200, 6, true);
    QVERIFY(!p.engine().followUpRoll(0, 8, true));
    QCOMPARE(sum(p.pages.faceRow(Tally::Damage)), p.atLeast(Tally::Hit)[0].toDouble());
    QVERIFY(p.face(Tally::Damage).mid(6, 2) != words("0 0"));
    QCOMPARE(p.face(Tally::Damage).mid(8), words("0 0"));
}

void EngineTest::followUpDiceFollowTheHitRoll()
{
    // One random source for both pages, re-seeded from the clock before every roll.
    Pages p;
    p.engine().hitRoll(200, 6, true);
    QVERIFY(!p.engine().followUpRoll(1, 8, true));
    Retrace retrace(kSeed);
    const QStringList hits = retrace.roll(kClockSeed, 200, 6);
    QCOMPARE(p.face(Tally::Hit), hits);
    const std::uint64_t dice = p.atLeast(Tally::Hit)[1].toULongLong();
    QCOMPARE(p.face(Tally::Damage), retrace.roll(kClockSeed, dice, 8));
}

QTEST_APPLESS_MAIN(EngineTest)
#include "test_engine.moc"
