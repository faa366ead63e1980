// SPDX-License-Identifier: GPL-3.0-or-later
// The dice engine on plain rows of captions: the random source and its seeds, the rolls, refusals,
// rerolls and resets as the captions show them, and the dice behind the counts.

#include "engine/count_text.h"
#include "engine/dice_engine.h"
#include "engine/start_seed.h"
#include "engine/text_pages.h"
#include "support/retrace.h"

#include <QStringList>
#include <QTest>
#include <QTime>
#include <cmath>

using namespace talvero;
using namespace talvero::testing;
using namespace Qt::StringLiterals;
using enum talvero::Page;

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
    TimeOfDay now() override { return times[std::min<std::size_t>(reads++, times.size() - 1)]; }
    std::vector<TimeOfDay> times;
    int reads = 0;
};

// Both pages of a new window on a clock that shows 12:34 on and on.
struct Pages
{
    explicit Pages(std::uint64_t startSeed = kSeed)
        : pages(clock, startSeed)
    {}
    QStringList face(Page t) { return captions(pages.faceRow(t)); }
    QStringList atLeast(Page t) { return captions(pages.atLeastRow(t)); }
    QString frame(Page t) const { return QString::fromStdString(pages.frame(t)); }
    QString counter(Page t) const { return QString::fromStdString(pages.counter(t)); }
    QString tip(int index) { return QString::fromStdString(engine().followUpToolTip(index)); }
    DiceEngine &engine() { return pages.engine(); }

    FixedClock clock{TimeOfDay{12, 34}};
    TextPages pages;
};

} // namespace

class EngineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomSourceAndSeeds();
    void systemClockReadsTheLocalTime();
    void tallies();
    void followUpRolls();
    void rerollsTakeEachDieOnce();
    void rerollsTakeOnlyTheLastRoll();
    void rerollsOnTheDamagePage();
    void diceBehindTheCounts();
};

void EngineTest::systemClockReadsTheLocalTime()
{
    // Against Qt's local time, read again while a second ticked between the two.
    QTime before, after;
    TimeOfDay read;
    do {
        before = QTime::currentTime();
        read = SystemClock().now();
        after = QTime::currentTime();
    } while (before.second() != after.second());
    QCOMPARE(QList({read.hour, read.minute, read.second}),
             QList({before.hour(), before.minute(), before.second()}));
}

void EngineTest::randomSourceAndSeeds()
{
    // Formed in single precision, M times the largest draw plus one would round up to M + 1.
    const float largest = std::nextafter(1.0f, 0.0f);
    for (int m = 2; m <= 10; ++m) {
        QCOMPARE(DiceEngine::faceValue(0.0f, m), 1);
        QCOMPARE(DiceEngine::faceValue(0.5f, m), m / 2 + 1);
        QCOMPARE(DiceEngine::faceValue(largest, m), m);
    }
    // Three reads: seconds, seconds again, minutes; the field a read does not use holds something
    // else, so that a read of the wrong field shows. Then: the second ticks between the reads, the
    // largest seed (beyond 16 bits), seconds 0, minutes 0.
    const struct
    {
        int s1, s2, minute;
        std::uint64_t seed;
    } cases[] = {
        {10, 10, 5, 500}, {10, 11, 5, 550}, {59, 59, 59, 205379}, {0, 0, 30, 0}, {30, 30, 0, 0}};
    for (const auto &c : cases) {
        ScriptedClock clock;
        clock.times = {{7, c.s1}, {8, c.s2}, {c.minute, 9}};
        TextPages pages(clock, 99);
        pages.engine().hitRoll(200, 10, true);
        QCOMPARE(clock.reads, 3);
        const QStringList first = captions(pages.faceRow(Hit));
        QCOMPARE(first, Retrace(99).roll(c.seed, 200, 10));
        // A second roll in the same second re-seeds with the same number, yet throws other dice.
        pages.engine().hitRoll(200, 10, true);
        QVERIFY(captions(pages.faceRow(Hit)) != first);
    }
    QCOMPARE(startSeed([] { return std::uint64_t{42}; }), 42ull);
    // Where the system has none, the start still gets a seed, and the next start another.
    auto none = []() -> std::uint64_t {
        throw std::runtime_error("no entropy source");
    };
    QVERIFY(startSeed(none) != startSeed(none));
}

void EngineTest::tallies()
{
    Pages p;
    // Two sides: only the first two faces and "2+" ever count.
    p.engine().hitRoll(200, 2, true);
    QCOMPARE(sum(p.pages.faceRow(Hit)), 200.0);
    QCOMPARE(p.face(Hit).mid(2), QStringList(8, u"0"_s));
    QCOMPARE(p.atLeast(Hit), QStringList{p.face(Hit)[1]} + QStringList(8, u"0"_s));
    p.engine().hitRoll(1, 2, true);
    QVERIFY(p.face(Hit).mid(0, 2) == words("1 0") || p.face(Hit).mid(0, 2) == words("0 1"));
    QCOMPARE(p.frame(Hit), u"Wurfergebnis 1 Würfel mit je 2 Seiten"_s);
    // In "Addition", counts of faces above a lowered number of sides stay and still count.
    p.engine().hitRoll(200, 10, false);
    const QStringList high = p.face(Hit).mid(6);
    QVERIFY(high[3] != u"0"_s);
    p.engine().hitRoll(200, 6, false);
    QCOMPARE(p.face(Hit).mid(6), high);
    QCOMPARE(sum(p.pages.faceRow(Hit)), 401.0);
    QCOMPARE(p.atLeast(Hit)[8], high[3]); // "10+" still counts the old tens
    // The at-least row from the face row as it reads, one die added in "Addition": the design's
    // example 10 9 11 8 12 10 gives 50 41 30 22 10 before the die.
    const QStringList example = words("10 9 11 8 12 10 0 0 0 0");
    for (int i = 0; i < 10; ++i)
        p.pages.faceRow(Damage).setCaption(i, example[i].toStdString());
    p.pages.atLeastRow(Hit).setCaption(0, "1");
    QVERIFY(!p.engine().followUpRoll(0, 6, false));
    QCOMPARE(sum(p.pages.faceRow(Damage)), 61.0);
    QCOMPARE(p.atLeast(Damage), atLeastOf(p.face(Damage)));
    QCOMPARE(atLeastOf(example), words("50 41 30 22 10 0 0 0 0"));
    // Counts past a million are written without an exponent.
    p.pages.faceRow(Hit).setCaption(0, "999999");
    p.pages.faceRow(Hit).setCaption(1, "999999");
    p.engine().hitRoll(1, 2, false);
    QVERIFY(p.face(Hit).contains(u"1000000"_s) && p.face(Hit).contains(u"999999"_s));
}

void EngineTest::followUpRolls()
{
    Pages p;
    Pages twin;
    p.pages.atLeastRow(Hit).setCaption(2, "vier"); // a damaged caption counts as none
    const QString refusal =
        u"Dieser Wurf kann nicht ausgeführt werden, der Würfel %1+ hat keine Treffer."_s;
    for (int index = 0; index < 9; ++index)
        QCOMPARE(QString::fromStdString(p.engine().followUpRoll(index, 10, true).value_or("")),
                 refusal.arg(index + 2));
    // Nothing changed, not even the random source: the next roll throws what it would have.
    QCOMPARE(p.face(Damage) + p.atLeast(Damage), QStringList(19, u"0"_s));
    QCOMPARE(p.frame(Damage) + p.counter(Damage), u"WurfergebnisWurf 0"_s);
    p.engine().hitRoll(200, 10, true);
    twin.engine().hitRoll(200, 10, true);
    QCOMPARE(p.face(Hit), twin.face(Hit));

    // One hit: the texts have no singular.
    p.pages.atLeastRow(Hit).setCaption(2, "1"); // "4+"
    QVERIFY(!p.engine().followUpRoll(2, 6, true));
    QCOMPARE(sum(p.pages.faceRow(Damage)), 1.0);
    QCOMPARE(p.counter(Damage), u"Wurf 1"_s);
    QCOMPARE(p.frame(Damage), u"Wurfergebnis 4+ (1 Würfe)"_s);
    QCOMPARE(p.tip(2), u"1 Würfe"_s);
    // Every hit is rolled, far beyond the 16 bits a count was once read into.
    for (const QString &hits : words("32768 40000 1000001")) {
        p.pages.atLeastRow(Hit).setCaption(8, hits.toStdString());
        QVERIFY(!p.engine().followUpRoll(8, 10, true));
        QCOMPARE(QString::fromStdString(countText(sum(p.pages.faceRow(Damage)))), hits);
        QCOMPARE(p.frame(Damage), u"Wurfergebnis 10+ (%1 Würfe)"_s.arg(hits));
        QCOMPARE(p.tip(8), hits + u" Würfe"_s);
    }
    // The sides at the time of the follow-up roll count: they went up to 8 since the hit roll.
    p.engine().hitRoll(200, 6, true);
    QVERIFY(!p.engine().followUpRoll(0, 8, true));
    QCOMPARE(sum(p.pages.faceRow(Damage)), p.atLeast(Hit)[0].toDouble());
    QVERIFY(p.face(Damage).mid(6, 2) != words("0 0"));
    QCOMPARE(p.face(Damage).mid(8), words("0 0"));
}

void EngineTest::rerollsTakeEachDieOnce()
{
    Pages p;
    QCOMPARE(p.engine().lastRollSides(Hit), std::nullopt);
    QCOMPARE(p.engine().rerollFace(Hit, 1), 0ull); // nothing rolled yet
    p.engine().hitRoll(60, 6, true);
    Retrace retrace(kSeed);
    const QStringList first = retrace.roll(kClockSeed, 60, 6);
    QCOMPARE(p.engine().lastRollSides(Hit), 6);
    QCOMPARE(p.engine().rerollableFace(Hit, 1), first[0].toULongLong());
    QCOMPARE(p.engine().rerollableBelow(Hit, 3), first[0].toULongLong() + first[1].toULongLong());
    // The 1s: taken from "1er", thrown again with the roll's six sides, re-seeded from the clock.
    QCOMPARE(p.engine().rerollFace(Hit, 1), first[0].toULongLong());
    const QStringList ones = retrace.roll(kClockSeed, first[0].toULongLong(), 6);
    QStringList counts = afterReroll(first, only(first, 1, 1), ones);
    QCOMPARE(p.face(Hit) + p.atLeast(Hit), counts + atLeastOf(counts));
    QCOMPARE(p.frame(Hit),
             u"Wurfergebnis 60 Würfel mit je 6 Seiten, %1 neu gewürfelt"_s.arg(first[0]));
    QCOMPARE(p.counter(Hit), u"Wurf 1"_s); // not a roll
    QCOMPARE(p.tip(0), atLeastOf(counts)[0] + u" Würfe"_s);
    // Then the fails below 3+: the first roll's 2s, not the rerolled dice that show 1 or 2 now.
    QCOMPARE(p.engine().rerollableBelow(Hit, 3), first[1].toULongLong());
    QCOMPARE(p.engine().rerollBelow(Hit, 3), first[1].toULongLong());
    const QStringList twos = retrace.roll(kClockSeed, first[1].toULongLong(), 6);
    counts = afterReroll(counts, only(first, 2, 2), twos);
    QCOMPARE(p.face(Hit), counts);
    QCOMPARE(p.frame(Hit), u"Wurfergebnis 60 Würfel mit je 6 Seiten, %1 neu gewürfelt"_s.arg(
                               first[0].toInt() + first[1].toInt()));
    // Nothing left to reroll below 3+: nothing changes, not even the random source.
    QCOMPARE(p.engine().rerollableBelow(Hit, 3), 0ull);
    QCOMPARE(p.engine().rerollFace(Hit, 1), 0ull);
    QCOMPARE(p.face(Hit), counts);
    p.engine().hitRoll(60, 6, true);
    QCOMPARE(p.face(Hit), retrace.roll(kClockSeed, 60, 6));
    QCOMPARE(p.frame(Hit), u"Wurfergebnis 60 Würfel mit je 6 Seiten"_s);
}

void EngineTest::rerollsTakeOnlyTheLastRoll()
{
    for (const bool newCount : {false, true}) { // "Addition", "neue Zählung"
        Pages p;
        Retrace retrace(kSeed);
        p.engine().hitRoll(100, 10, newCount);
        const QStringList earlier = retrace.roll(kClockSeed, 100, 10);
        p.engine().hitRoll(50, 4, newCount); // the sides lowered: the last roll has four
        const QStringList last = retrace.roll(kClockSeed, 50, 4);
        const QStringList shown = newCount ? last : added(earlier, last);
        QCOMPARE(p.face(Hit), shown);
        QCOMPARE(p.engine().lastRollSides(Hit), 4);
        // Below 10+: only the last roll's dice, all of them below 5, thrown with four sides.
        QCOMPARE(p.engine().rerollBelow(Hit, 10), 50ull);
        const QStringList thrown = retrace.roll(kClockSeed, 50, 4);
        QCOMPARE(p.face(Hit), afterReroll(shown, last, thrown));
        QCOMPARE(p.face(Hit).mid(4), newCount ? QStringList(6, u"0"_s) : earlier.mid(4));
    }
}

void EngineTest::rerollsOnTheDamagePage()
{
    Pages p;
    std::vector<RollEvent> events;
    p.engine().setListener([&](const RollEvent &event) { events.push_back(event); });
    Retrace retrace(kSeed);
    p.engine().hitRoll(200, 6, true);
    const QStringList hits = retrace.roll(kClockSeed, 200, 6);
    QVERIFY(!p.engine().followUpRoll(2, 8, true)); // "4+" with eight sides
    const std::uint64_t dice = atLeastOf(hits)[2].toULongLong();
    const QStringList damage = retrace.roll(kClockSeed, dice, 8);
    const QStringList hitPage = p.face(Hit) + p.atLeast(Hit);

    // The fails below 4+ of the damage roll, with its eight sides.
    const std::uint64_t fails =
        damage[0].toULongLong() + damage[1].toULongLong() + damage[2].toULongLong();
    QCOMPARE(p.engine().rerollBelow(Damage, 4), fails);
    const QStringList thrown = retrace.roll(kClockSeed, fails, 8);
    QCOMPARE(p.face(Damage), afterReroll(damage, only(damage, 1, 3), thrown));
    QCOMPARE(p.frame(Damage),
             u"Wurfergebnis 4+ (%1 Würfe), %2 neu gewürfelt"_s.arg(dice).arg(fails));
    QCOMPARE(p.counter(Damage), u"Wurf 1"_s);
    QCOMPARE(p.face(Hit) + p.atLeast(Hit), hitPage); // the other page stays

    // A refused follow-up roll leaves the damage page's last roll as it was.
    p.pages.atLeastRow(Hit).setCaption(8, "0");
    QVERIFY(p.engine().followUpRoll(8, 10, true).has_value());
    QCOMPARE(p.engine().lastRollSides(Damage), 8);
    QCOMPARE(p.engine().rerollableFace(Damage, 8), damage[7].toULongLong());

    // Every step that threw dice was told, with what it threw.
    const auto told = [](Page page, RollKind kind, int value, int sides, std::uint64_t n,
                         const QStringList &faces) {
        return u"%1 %2 %3+ d%4 ×%5: "_s.arg(int(page)).arg(int(kind)).arg(value).arg(sides).arg(n) +
               faces.join(u' ');
    };
    QStringList seen;
    for (const RollEvent &e : events) {
        QStringList faces;
        for (const std::uint64_t count : e.thrown.faces)
            faces << QString::number(count);
        seen << told(e.page, e.kind, e.value, e.thrown.sides, e.thrown.dice, faces);
    }
    QCOMPARE(seen, (QStringList{told(Hit, RollKind::Roll, 0, 6, 200, hits),
                                told(Damage, RollKind::FollowUp, 4, 8, dice, damage),
                                told(Damage, RollKind::RerollBelow, 4, 8, fails, thrown)}));
}

void EngineTest::diceBehindTheCounts()
{
    // Every roll since the page was cleared, by sides and by the faces rerolled.
    using Groups = std::vector<DiceGroup>;
    Pages p;
    QVERIFY(p.engine().diceBehind(Hit).empty());
    p.engine().hitRoll(100, 10, false);
    p.engine().hitRoll(50, 4, false);
    p.engine().rerollBelow(Hit, 3);
    QVERIFY((p.engine().diceBehind(Hit) == Groups{{10, 0, 100}, {4, 0b11, 50}}));
    p.engine().hitRoll(50, 4, false);
    p.engine().hitRoll(30, 10, false);
    p.engine().hitRoll(20, 6, false);
    QVERIFY((p.engine().diceBehind(Hit) ==
             Groups{{10, 0, 130}, {4, 0b11, 50}, {4, 0, 50}, {6, 0, 20}}));
    QVERIFY(p.engine().diceBehind(Damage).empty());
    // A roll in "neue Zählung" starts anew, as the cross does.
    p.engine().hitRoll(60, 6, true);
    QVERIFY((p.engine().diceBehind(Hit) == Groups{{6, 0, 60}}));
    p.engine().clearCounts(Hit);
    QVERIFY(p.engine().diceBehind(Hit).empty());
}

QTEST_APPLESS_MAIN(EngineTest)
#include "test_engine.moc"
