// SPDX-License-Identifier: GPL-3.0-or-later
// The dice engine on plain rows of captions: count texts, the random source and its seeds, the
// rolls and resets, and the order of their steps, from a journal of every caption written and
// every clock read.

#include "engine/count_text.h"
#include "engine/dice_engine.h"
#include "engine/start_seed.h"

#include <QStringList>
#include <QTest>
#include <cmath>
#include <deque>
#include <memory>
#include <stdexcept>

using namespace talvero;
using namespace Qt::StringLiterals;

namespace {

QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(u' ');
}

// Captions that note every write in the journal: a row of count labels, or with one element a
// frame or counter label.
struct Captions final : CountRow, CaptionTarget
{
    Captions(QString captionsName, int size, QStringList &log, const QString &initial = u"0"_s)
        : captions(size, initial)
        , name(std::move(captionsName))
        , journal(log)
    {}
    int size() const override { return static_cast<int>(captions.size()); }
    std::string caption(int index) const override { return captions.at(index).toStdString(); }
    void setCaption(int index, std::string_view text) override
    {
        captions[index] = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        journal << u"%1(%2)=%3"_s.arg(name).arg(index).arg(captions[index]);
    }
    void setCaption(std::string_view text) override
    {
        captions[0] = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        journal << name + u'=' + captions[0];
    }
    double sum() const
    {
        double total = 0;
        for (const QString &c : captions)
            total += c.toDouble();
        return total;
    }
    QString text() const { return captions[0]; }
    QStringList captions;
    QString name;
    QStringList &journal;
};

// Gives the times one after the other, then keeps the last one.
struct ScriptedClock final : Clock
{
    ScriptedClock(std::deque<TimeOfDay> script, QStringList &log)
        : times(std::move(script))
        , journal(log)
    {}
    TimeOfDay now() override
    {
        journal << u"clock"_s;
        const TimeOfDay t = times.front();
        if (times.size() > 1)
            times.pop_front();
        return t;
    }
    std::deque<TimeOfDay> times;
    QStringList &journal;
};

// Both pages' rows, frames and counter labels as a window has them when it is made, and an
// engine on them.
struct Pages
{
    Pages(std::deque<TimeOfDay> times, std::uint64_t initialSeed)
        : face{{u"face0"_s, 10, journal}, {u"face1"_s, 10, journal}}
        , atLeast{{u"atLeast0"_s, 9, journal}, {u"atLeast1"_s, 9, journal}}
        , frame{{u"frame0"_s, 1, journal, u"Wurfergebnis"_s},
                {u"frame1"_s, 1, journal, u"Wurfergebnis"_s}}
        , counter{{u"counter0"_s, 1, journal, u"Wurf 0"_s},
                  {u"counter1"_s, 1, journal, u"Wurf 0"_s}}
        , clock(std::move(times), journal)
        , engine({face[0], atLeast[0], frame[0], counter[0]},
                 {face[1], atLeast[1], frame[1], counter[1]}, clock, initialSeed)
    {}
    QStringList journal;
    Captions face[2];
    Captions atLeast[2];
    Captions frame[2];
    Captions counter[2];
    ScriptedClock clock;
    DiceEngine engine;
};

// The face counts of `dice` dice thrown right after re-seeding with `seed`, one draw a die.
QStringList facesAfterSeed(std::uint64_t initialSeed, std::uint64_t seed, int dice, int sides)
{
    RandomSource random(initialSeed);
    random.reseed(seed);
    int counts[10] = {};
    for (int i = 0; i < dice; ++i)
        ++counts[DiceEngine::faceValue(random.next(), sides) - 1];
    QStringList texts;
    for (const int count : counts)
        texts << QString::number(count);
    return texts;
}

} // namespace

class EngineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { p = std::make_unique<Pages>(std::deque<TimeOfDay>{{12, 34}}, 1); }

    void countTexts();
    void faceValueBoundaries();
    void seedFromTheClock();
    void sameSecondDoesNotReplay();
    void startWithoutAnEntropySource();
    void diceAreFair();

    void countingModes();
    void tallies();
    void hitRollStepOrder();

    void followUpRefusedWithoutHits();
    void followUpRolls();
    void followUpStepOrder();

private:
    // The journal from its start: `prefix`, the clearing of `page`, its dice, its at-least row
    // rewritten from "10+" down to "2+", and `summary` last.
    void verifySteps(const QStringList &prefix, int page, const QString &summary)
    {
        QStringList expected = prefix;
        for (int i = 0; i < 10; ++i)
            expected << u"face%1(%2)=0"_s.arg(page).arg(i);
        for (int k = 0; k < 9; ++k)
            expected << u"atLeast%1(%2)=0"_s.arg(page).arg(k);
        expected << u"frame%1=Wurfergebnis"_s.arg(page);
        QCOMPARE(p->journal.mid(0, expected.size()), expected);
        const qsizetype sortStart = p->journal.size() - 10;
        for (qsizetype i = expected.size(); i < sortStart; ++i)
            QVERIFY(p->journal[i].startsWith(u"face%1("_s.arg(page)));
        for (int k = 8; k >= 0; --k)
            QVERIFY(p->journal[sortStart + 8 - k].startsWith(u"atLeast%1(%2)="_s.arg(page).arg(k)));
        QCOMPARE(p->journal.last(), summary);
    }

    std::unique_ptr<Pages> p;
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

void EngineTest::seedFromTheClock()
{
    // Three reads: seconds, seconds again, minutes; the field a read does not use holds something
    // else, so that a read of the wrong field shows. Ordinary, the second ticking between the
    // reads, the largest seed (beyond 16 bits), seconds 0, minutes 0.
    for (const auto &[s1, s2, minute, seed] : {std::tuple{10, 10, 5, 500},
                                               {10, 11, 5, 550},
                                               {59, 59, 59, 205379},
                                               {0, 0, 30, 0},
                                               {30, 30, 0, 0}}) {
        p = std::make_unique<Pages>(std::deque<TimeOfDay>{{7, s1}, {8, s2}, {minute, 9}}, 99);
        p->engine.hitRoll(200, 10, true);
        QCOMPARE(p->journal.count(u"clock"_s), 3);
        QCOMPARE(p->face[0].captions, facesAfterSeed(99, seed, 200, 10));
    }
}

void EngineTest::sameSecondDoesNotReplay()
{
    // Re-seeding mixes the number into the state: the same number twice goes on differently.
    for (const std::uint64_t seed : {0ull, 1ull, 205379ull}) {
        RandomSource random;
        float draws[2][16];
        for (auto &run : draws) {
            random.reseed(seed);
            for (float &r : run)
                r = random.next();
        }
        QVERIFY2(!std::equal(draws[0], draws[0] + 16, draws[1]), "the same seed replayed");
    }
    p->engine.hitRoll(200, 10, true); // two rolls in one second
    const QStringList firstRoll = p->face[0].captions;
    p->engine.hitRoll(200, 10, true);
    QVERIFY(p->face[0].captions != firstRoll);
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
        p = std::make_unique<Pages>(std::deque<TimeOfDay>{{17, 42}}, 1000 + sides);
        constexpr int rolls = 600;
        for (int i = 0; i < rolls; ++i)
            p->engine.hitRoll(200, sides, false);
        const double expected = rolls * 200.0 / sides;
        double chi2 = 0;
        for (int f = 0; f < sides; ++f)
            chi2 += std::pow(p->face[0].captions[f].toDouble() - expected, 2) / expected;
        QCOMPARE(p->face[0].sum(), rolls * 200.0);
        QCOMPARE(p->face[0].captions.mid(sides), QStringList(10 - sides, u"0"_s));
        QVERIFY2(chi2 < critical[sides - 2],
                 qPrintable(u"M=%1: chi-square %2"_s.arg(sides).arg(chi2)));
    }
}

void EngineTest::countingModes()
{
    for (const bool newCount : {false, true}) { // "Addition", "neue Zählung"
        init();
        p->engine.hitRoll(60, 6, newCount);
        p->engine.hitRoll(60, 6, newCount);
        const double dice = newCount ? 60 : 120;
        QCOMPARE(p->face[0].sum(), dice);
        QCOMPARE(p->atLeast[0].captions[0].toDouble(), dice - p->face[0].captions[0].toDouble());
        QCOMPARE(p->counter[0].text(), u"Wurf 2"_s);
        QCOMPARE(p->frame[0].text(), u"Wurfergebnis 60 Würfel mit je 6 Seiten"_s);
    }
}

void EngineTest::tallies()
{
    // Two sides: only the first two faces and "2+" ever count.
    p->engine.hitRoll(200, 2, true);
    QCOMPARE(p->face[0].sum(), 200.0);
    QCOMPARE(p->face[0].captions.mid(2), QStringList(8, u"0"_s));
    QCOMPARE(p->atLeast[0].captions, QStringList{p->face[0].captions[1]} + QStringList(8, u"0"_s));
    p->engine.hitRoll(1, 2, true);
    QVERIFY(p->face[0].captions.mid(0, 2) == words("1 0") ||
            p->face[0].captions.mid(0, 2) == words("0 1"));
    QCOMPARE(p->frame[0].text(), u"Wurfergebnis 1 Würfel mit je 2 Seiten"_s);
    // In "Addition", counts of faces above a lowered number of sides stay and still count.
    p->engine.hitRoll(200, 10, false);
    const QStringList high = p->face[0].captions.mid(6);
    QVERIFY(high[3] != u"0"_s);
    p->engine.hitRoll(200, 6, false);
    QCOMPARE(p->face[0].captions.mid(6), high);
    QCOMPARE(p->face[0].sum(), 401.0);
    QCOMPARE(p->atLeast[0].captions[8], high[3]); // "10+" still counts the old tens
    // The at-least row from a face row, and counts past a million without an exponent.
    p->face[1].captions = words("10 9 11 8 12 10 0 0 0 0");
    p->engine.SortierungSetzen(Tally::Damage);
    QCOMPARE(p->atLeast[1].captions, words("50 41 30 22 10 0 0 0 0"));
    p->face[0].captions[0] = p->face[0].captions[1] = u"999999"_s;
    p->engine.hitRoll(1, 2, false);
    QVERIFY(p->face[0].captions.contains(u"1000000"_s) &&
            p->face[0].captions.contains(u"999999"_s));
}

void EngineTest::hitRollStepOrder()
{
    p->engine.hitRoll(200, 10, true);
    // Re-seed (three clock reads), count the roll, clear, throw, sort, summarise.
    verifySteps(words("clock clock clock") << u"counter0=Wurf 1"_s, 0,
                u"frame0=Wurfergebnis 200 Würfel mit je 10 Seiten"_s);
}

void EngineTest::followUpRefusedWithoutHits()
{
    // Before any roll, and with a caption that is no count; nothing changes, not even the seed.
    for (int index = 0; index <= 9; ++index) {
        init();
        const int threshold = index < 9 ? index : 2;
        if (index == 9)
            p->atLeast[0].captions[threshold] = u"vier"_s;
        const auto refusal = p->engine.followUpRoll(threshold, 10, true);
        QCOMPARE(
            QString::fromStdString(refusal.value_or("")),
            u"Dieser Wurf kann nicht ausgeführt werden, der Würfel %1+ hat keine Treffer."_s.arg(
                threshold + 2));
        QVERIFY2(p->journal.isEmpty(), qPrintable(p->journal.join(u' ')));
    }
}

void EngineTest::followUpRolls()
{
    // One hit: the texts have no singular.
    p->atLeast[0].captions[2] = u"1"_s; // "4+"
    QVERIFY(!p->engine.followUpRoll(2, 6, true));
    QCOMPARE(p->face[1].sum(), 1.0);
    QCOMPARE(p->counter[1].text(), u"Wurf 1"_s);
    QCOMPARE(p->frame[1].text(), u"Wurfergebnis 4+ (1 Würfe)"_s);
    QCOMPARE(QString::fromStdString(p->engine.followUpToolTip(2)), u"1 Würfe"_s);
    // Every hit is rolled, far beyond the 16 bits a count was once read into.
    for (const QString &hits : words("32768 40000 1000001")) {
        p->atLeast[0].captions[8] = hits;
        QVERIFY(!p->engine.followUpRoll(8, 10, true));
        QCOMPARE(QString::fromStdString(countText(p->face[1].sum())), hits);
        QCOMPARE(p->frame[1].text(), u"Wurfergebnis 10+ (%1 Würfe)"_s.arg(hits));
        QCOMPARE(QString::fromStdString(p->engine.followUpToolTip(8)), hits + u" Würfe"_s);
    }
    // The sides at the time of the follow-up roll count: they went up to 8 since the hit roll.
    p->engine.hitRoll(200, 6, true);
    QVERIFY(!p->engine.followUpRoll(0, 8, true));
    QCOMPARE(p->face[1].sum(), p->atLeast[0].captions[0].toDouble());
    QVERIFY(p->face[1].captions.mid(6, 2) != words("0 0"));
    QCOMPARE(p->face[1].captions.mid(8), words("0 0"));
}

void EngineTest::followUpStepOrder()
{
    p->atLeast[0].captions[8] = u"3"_s;
    QVERIFY(!p->engine.followUpRoll(8, 10, true));
    // Count the roll, then re-seed, clear, throw, sort, summarise.
    verifySteps(QStringList{u"counter1=Wurf 1"_s} + words("clock clock clock"), 1,
                u"frame1=Wurfergebnis 10+ (3 Würfe)"_s);
}

QTEST_APPLESS_MAIN(EngineTest)
#include "test_engine.moc"
