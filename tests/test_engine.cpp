// The dice engine on plain rows of captions: texts, random source, rolls and resets.

#include "engine/count_text.h"
#include "engine/dice_engine.h"
#include "support/caption_rows.h"

#include <QTest>
#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

using namespace talvero;
using namespace talvero::testing;

namespace {

QString q(const std::string &s)
{
    return QString::fromStdString(s);
}

std::vector<float> draws(RandomSource &random, int n)
{
    std::vector<float> values;
    for (int i = 0; i < n; ++i)
        values.push_back(random.next());
    return values;
}

// Face and at-least rows agree: label k of the at-least row sums the face labels k + 1 .. 9.
void verifyAtLeastRow(const StringRow &face, const StringRow &atLeast)
{
    for (int k = 0; k < 9; ++k) {
        double expected = 0;
        for (int i = k + 1; i < 10; ++i)
            expected += std::stod(face.captions[static_cast<std::size_t>(i)]);
        QCOMPARE(q(atLeast.captions[static_cast<std::size_t>(k)]), q(countText(expected)));
    }
}

} // namespace

class EngineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countTexts_data();
    void countTexts();
    void damagedCaptionsReadAsZero_data();
    void damagedCaptionsReadAsZero();
    void faceValueBoundaries_data();
    void faceValueBoundaries();
    void randomStaysInUnitInterval();
    void reseedWithSameNumberDoesNotReplay();
    void seedComesFromSecondsTwiceAndMinutes_data();
    void seedComesFromSecondsTwiceAndMinutes();
    void diceAreFair_data();
    void diceAreFair();

    void firstHitRollWithDesignedSettings();
    void countingModes_data();
    void countingModes();
    void twoSidesTouchOnlyFirstTwoFaces();
    void lowerSidesKeepsOldCountsInAddition();
    void rollInSameSecondDoesNotRepeat();
    void atLeastRowFromFaceRow();
    void addingDieReachesOneMillion();
    void hitRollStepOrder();

    void followUpRefusedWithoutHits_data();
    void followUpRefusedWithoutHits();
    void followUpRollsTheHits_data();
    void followUpRollsTheHits();
    void followUpTakesSidesAtItsOwnTime();
    void followUpBeyondSixteenBits();
    void followUpStepOrder();
    void toolTipShowsCaptionAsIs();

    void resetCountsKeepsCounter();
    void resetCounterKeepsCounts();
    void resetsStayOnTheirPage();
    void shortRowsAreRejected();
};

void EngineTest::countTexts_data()
{
    QTest::addColumn<double>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("one") << 1.0 << "1";
    QTest::newRow("one million, no exponent") << 1e6 << "1000000";
    QTest::newRow("no grouping") << 1234567.0 << "1234567";
    QTest::newRow("largest exact form") << 999999999999999.0 << "999999999999999";
    QTest::newRow("beyond 2^53 still digits") << 1e20 << "100000000000000000000";
    QTest::newRow("negative never shown") << -3.0 << "0";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "0";
}

void EngineTest::countTexts()
{
    QFETCH(double, count);
    QFETCH(QString, text);
    QCOMPARE(q(countText(count)), text);
    if (count >= 0 && count < 1e15)
        QCOMPARE(readCount(text.toStdString()), count);
}

void EngineTest::damagedCaptionsReadAsZero_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("count");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("sign") << "-5" << 0.0;
    QTest::newRow("exponent") << "1e300" << 0.0;
    QTest::newRow("blank") << " 12" << 0.0;
    QTest::newRow("fraction") << "12.5" << 0.0;
    QTest::newRow("overflowing digits") << QString(400, QLatin1Char('9')) << 0.0;
    QTest::newRow("plain") << "42" << 42.0;
}

void EngineTest::damagedCaptionsReadAsZero()
{
    QFETCH(QString, caption);
    QFETCH(double, count);
    QCOMPARE(readCount(caption.toStdString()), count);
}

void EngineTest::faceValueBoundaries_data()
{
    QTest::addColumn<int>("sides");
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("face");
    const float largest = std::nextafter(1.0f, 0.0f);
    QTest::newRow("M=6 r=0") << 6 << 0.0f << 1;
    QTest::newRow("M=6 r=0.5") << 6 << 0.5f << 4;
    QTest::newRow("M=6 largest below 1") << 6 << largest << 6;
    for (int m = 2; m <= 10; ++m) {
        QTest::addRow("M=%d r=0", m) << m << 0.0f << 1;
        QTest::addRow("M=%d largest below 1", m) << m << largest << m;
        QTest::addRow("M=%d r=0.5", m) << m << 0.5f << m / 2 + 1;
    }
}

void EngineTest::faceValueBoundaries()
{
    QFETCH(int, sides);
    QFETCH(float, r);
    QFETCH(int, face);
    QCOMPARE(static_cast<int>(DiceEngine::faceValue(r, sides)), face);
}

void EngineTest::randomStaysInUnitInterval()
{
    RandomSource random(1);
    float lowest = 1, highest = 0;
    for (int i = 0; i < 1'000'000; ++i) {
        const float r = random.next();
        QVERIFY(r >= 0.0f && r < 1.0f);
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    QVERIFY(lowest < 1e-4f);
    QVERIFY(highest > 1.0f - 1e-4f);
}

void EngineTest::reseedWithSameNumberDoesNotReplay()
{
    for (const std::uint64_t seed : {0ull, 1ull, 205379ull}) {
        RandomSource random;
        random.reseed(seed);
        const auto first = draws(random, 16);
        random.reseed(seed);
        const auto second = draws(random, 16);
        QVERIFY2(first != second, "the same seed replayed the sequence");
        // Seed 0 is a valid seed: ordinary, varied values.
        QVERIFY(std::set<float>(first.begin(), first.end()).size() > 10);
    }
}

void EngineTest::seedComesFromSecondsTwiceAndMinutes_data()
{
    QTest::addColumn<int>("s1");
    QTest::addColumn<int>("s2");
    QTest::addColumn<int>("minute");
    QTest::newRow("ordinary") << 10 << 10 << 5;
    QTest::newRow("second ticks between reads") << 10 << 11 << 5;
    QTest::newRow("largest seed, beyond 16 bits") << 59 << 59 << 59;
    QTest::newRow("seconds 0") << 0 << 0 << 30;
    QTest::newRow("minutes 0") << 30 << 30 << 0;
}

void EngineTest::seedComesFromSecondsTwiceAndMinutes()
{
    QFETCH(int, s1);
    QFETCH(int, s2);
    QFETCH(int, minute);
    Pages pages;
    // The unused field of each read is set to something else, so a read of the wrong field shows.
    ScriptedClock clock({{7, s1}, {8, s2}, {minute, 9}});
    DiceEngine engine(pages.set(0), pages.set(1), clock, 99);
    engine.ZufallSetzen();
    QCOMPARE(clock.reads, 3);

    RandomSource reference(99);
    reference.reseed(static_cast<std::uint64_t>(s1) * static_cast<std::uint64_t>(s2) *
                     static_cast<std::uint64_t>(minute));
    QVERIFY(draws(engine.random(), 8) == draws(reference, 8));
}

void EngineTest::diceAreFair_data()
{
    QTest::addColumn<int>("sides");
    // Chi-square critical values at p = 0.001 for M - 1 degrees of freedom.
    QTest::addColumn<double>("critical");
    const double critical[] = {10.83, 13.82, 16.27, 18.47, 20.52, 22.46, 24.32, 26.12, 27.88};
    for (int m = 2; m <= 10; ++m)
        QTest::addRow("M=%d", m) << m << critical[m - 2];
}

void EngineTest::diceAreFair()
{
    QFETCH(int, sides);
    QFETCH(double, critical);
    Pages pages;
    ScriptedClock clock({{17, 42}});
    DiceEngine engine(pages.set(0), pages.set(1), clock, 1000 + static_cast<std::uint64_t>(sides));
    constexpr int rolls = 600;
    for (int i = 0; i < rolls; ++i)
        engine.hitRoll(200, sides, false);

    const double total = rolls * 200.0;
    QCOMPARE(pages.face[0].sum(), total);
    const double expected = total / sides;
    double chi2 = 0;
    for (int f = 0; f < 10; ++f) {
        const double observed = std::stod(pages.face[0].captions[static_cast<std::size_t>(f)]);
        if (f >= sides) {
            QCOMPARE(observed, 0.0);
            continue;
        }
        chi2 += (observed - expected) * (observed - expected) / expected;
    }
    QVERIFY2(chi2 < critical, qPrintable(QStringLiteral("chi-square %1").arg(chi2)));
}

void EngineTest::firstHitRollWithDesignedSettings()
{
    Pages pages;
    ScriptedClock clock({{12, 34}});
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    engine.hitRoll(60, 6, true);

    const auto &face = pages.face[0].captions;
    QCOMPARE(pages.face[0].sum(), 60.0);
    for (int f = 6; f < 10; ++f)
        QCOMPARE(q(face[static_cast<std::size_t>(f)]), QStringLiteral("0"));
    QCOMPARE(std::stod(pages.atLeast[0].captions[0]), 60.0 - std::stod(face[0]));
    for (int k = 5; k < 9; ++k)
        QCOMPARE(q(pages.atLeast[0].captions[static_cast<std::size_t>(k)]), QStringLiteral("0"));
    verifyAtLeastRow(pages.face[0], pages.atLeast[0]);
    QCOMPARE(q(pages.counter[0].text), QStringLiteral("Wurf 1"));
    QCOMPARE(q(pages.frame[0].text), QStringLiteral("Wurfergebnis 60 Würfel mit je 6 Seiten"));
    // Nothing on the damage page moved.
    QCOMPARE(pages.face[1].writes + pages.atLeast[1].writes, 0);
    QCOMPARE(pages.frame[1].writes + pages.counter[1].writes, 0);
}

void EngineTest::countingModes_data()
{
    QTest::addColumn<bool>("newCount");
    QTest::addColumn<double>("sumAfterTwo");
    QTest::newRow("Addition") << false << 120.0;
    QTest::newRow("neue Zählung") << true << 60.0;
}

void EngineTest::countingModes()
{
    QFETCH(bool, newCount);
    QFETCH(double, sumAfterTwo);
    Pages pages;
    ScriptedClock clock({{1, 2}});
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    engine.hitRoll(60, 6, newCount);
    engine.hitRoll(60, 6, newCount);
    QCOMPARE(pages.face[0].sum(), sumAfterTwo);
    verifyAtLeastRow(pages.face[0], pages.atLeast[0]);
    QCOMPARE(q(pages.counter[0].text), QStringLiteral("Wurf 2"));
    QCOMPARE(q(pages.frame[0].text), QStringLiteral("Wurfergebnis 60 Würfel mit je 6 Seiten"));
}

void EngineTest::twoSidesTouchOnlyFirstTwoFaces()
{
    Pages pages;
    ScriptedClock clock({{3, 4}});
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    engine.hitRoll(200, 2, true);
    QCOMPARE(pages.face[0].sum(), 200.0);
    for (int f = 2; f < 10; ++f)
        QCOMPARE(q(pages.face[0].captions[static_cast<std::size_t>(f)]), QStringLiteral("0"));
    QCOMPARE(pages.atLeast[0].captions[0], pages.face[0].captions[1]);
    for (int k = 1; k < 9; ++k)
        QCOMPARE(q(pages.atLeast[0].captions[static_cast<std::size_t>(k)]), QStringLiteral("0"));

    // One die with two sides: exactly one of the first two faces shows it.
    engine.hitRoll(1, 2, true);
    QCOMPARE(pages.face[0].sum(), 1.0);
    QVERIFY(pages.face[0].captions[0] == "1" || pages.face[0].captions[1] == "1");
    QCOMPARE(q(pages.frame[0].text), QStringLiteral("Wurfergebnis 1 Würfel mit je 2 Seiten"));
}

void EngineTest::lowerSidesKeepsOldCountsInAddition()
{
    Pages pages;
    ScriptedClock clock({{5, 6}});
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    engine.hitRoll(200, 10, false);
    const auto high =
        std::vector<std::string>(pages.face[0].captions.begin() + 6, pages.face[0].captions.end());
    QVERIFY(pages.face[0].sum() == 200.0 && std::stod(pages.atLeast[0].captions[8]) > 0);

    engine.hitRoll(200, 6, false);
    QVERIFY(std::equal(high.begin(), high.end(), pages.face[0].captions.begin() + 6));
    QCOMPARE(pages.face[0].sum(), 400.0);
    QCOMPARE(pages.atLeast[0].captions[8], high[3]); // "10+" still counts the old tens
    verifyAtLeastRow(pages.face[0], pages.atLeast[0]);
}

void EngineTest::rollInSameSecondDoesNotRepeat()
{
    Pages pages;
    ScriptedClock clock({{20, 15}}); // every read gives the same second
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    engine.ZufallSetzen();
    const auto first = draws(engine.random(), 32);
    engine.ZufallSetzen();
    QVERIFY(draws(engine.random(), 32) != first);

    // Also through whole rolls: two rolls in one second do not show the same faces.
    engine.hitRoll(200, 10, true);
    const auto firstFaces = pages.face[0].captions;
    engine.hitRoll(200, 10, true);
    QVERIFY(pages.face[0].captions != firstFaces);
}

void EngineTest::atLeastRowFromFaceRow()
{
    Pages pages;
    ScriptedClock clock;
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    pages.face[1].captions = {"10", "9", "11", "8", "12", "10", "0", "0", "0", "0"};
    engine.SortierungSetzen(Tally::Damage);
    const std::vector<std::string> expected = {"50", "41", "30", "22", "10", "0", "0", "0", "0"};
    QVERIFY(pages.atLeast[1].captions == expected);
    QCOMPARE(pages.atLeast[0].writes, 0);
}

void EngineTest::addingDieReachesOneMillion()
{
    Pages pages;
    ScriptedClock clock;
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    pages.face[0].captions[3] = "999999";
    engine.addDie(Tally::Hit, 4);
    QCOMPARE(q(pages.face[0].captions[3]), QStringLiteral("1000000"));
    QCOMPARE(pages.face[0].writes, 1);
}

void EngineTest::hitRollStepOrder()
{
    Journal journal;
    Pages pages(&journal);
    ScriptedClock clock({{1, 1}}, &journal);
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    engine.hitRoll(200, 10, true);

    const auto &e = journal.entries;
    // Re-seed (three clock reads), count the roll, clear, throw, sort, summarise.
    QCOMPARE(q(e.at(0)), QStringLiteral("clock"));
    QCOMPARE(q(e.at(2)), QStringLiteral("clock"));
    QCOMPARE(q(e.at(3)), QStringLiteral("counter0=Wurf 1"));
    for (int i = 0; i < 10; ++i)
        QCOMPARE(q(e.at(4 + static_cast<std::size_t>(i))), QStringLiteral("face0(%1)=0").arg(i));
    for (int k = 0; k < 9; ++k)
        QCOMPARE(q(e.at(14 + static_cast<std::size_t>(k))),
                 QStringLiteral("atLeast0(%1)=0").arg(k));
    QCOMPARE(q(e.at(23)), QStringLiteral("frame0=Wurfergebnis"));
    // The at-least row is rewritten from "10+" down to "2+", after the last face was written.
    const std::size_t sortStart = e.size() - 10;
    QVERIFY(q(e.at(sortStart - 1)).startsWith(QStringLiteral("face0(")));
    for (int k = 8; k >= 0; --k)
        QVERIFY(q(e.at(sortStart + static_cast<std::size_t>(8 - k)))
                    .startsWith(QStringLiteral("atLeast0(%1)=").arg(k)));
    QCOMPARE(q(e.back()), QStringLiteral("frame0=Wurfergebnis 200 Würfel mit je 10 Seiten"));
}

void EngineTest::followUpRefusedWithoutHits_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("message");
    for (int i = 0; i < 9; ++i)
        QTest::addRow("%d+ before any roll", i + 2)
            << i << "0"
            << QStringLiteral("Dieser Wurf kann nicht ausgeführt werden, der Würfel %1+ hat keine "
                              "Treffer.")
                   .arg(i + 2);
    QTest::newRow("damaged caption") << 2 << "vier"
                                     << "Dieser Wurf kann nicht ausgeführt werden, der Würfel 4+ "
                                        "hat keine Treffer.";
}

void EngineTest::followUpRefusedWithoutHits()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QString, message);
    Journal journal;
    Pages pages(&journal);
    ScriptedClock clock({{1, 1}}, &journal);
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    pages.atLeast[0].captions[static_cast<std::size_t>(index)] = caption.toStdString();

    const auto refusal = engine.followUpRoll(index, 10, true);
    QVERIFY(refusal.has_value());
    QCOMPARE(q(*refusal), message);
    QVERIFY2(journal.entries.empty(), "a refused roll changed something or re-seeded");
    QCOMPARE(engine.Wurfzähler(Tally::Damage), 0.0);
}

void EngineTest::followUpRollsTheHits_data()
{
    QTest::addColumn<bool>("newCount");
    QTest::addColumn<int>("factor");
    QTest::newRow("neue Zählung") << true << 1;
    QTest::newRow("Addition") << false << 2;
}

void EngineTest::followUpRollsTheHits()
{
    QFETCH(bool, newCount);
    QFETCH(int, factor);
    Pages pages;
    ScriptedClock clock({{9, 9}});
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    engine.hitRoll(60, 6, true);
    const auto hitFaces = pages.face[0].captions;
    const auto hitAtLeast = pages.atLeast[0].captions;
    const std::string hitFrame = pages.frame[0].text;
    const double hits = std::stod(pages.atLeast[0].captions[2]); // "4+"
    QVERIFY(hits > 0);

    QVERIFY(!engine.followUpRoll(2, 6, newCount));
    QVERIFY(!engine.followUpRoll(2, 6, newCount));
    QCOMPARE(pages.face[1].sum(), hits * factor);
    verifyAtLeastRow(pages.face[1], pages.atLeast[1]);
    QCOMPARE(q(pages.counter[1].text), QStringLiteral("Wurf 2"));
    QCOMPARE(q(pages.frame[1].text),
             QStringLiteral("Wurfergebnis 4+ (%1 Würfe)").arg(static_cast<int>(hits)));
    // The hit page is untouched.
    QVERIFY(pages.face[0].captions == hitFaces);
    QVERIFY(pages.atLeast[0].captions == hitAtLeast);
    QCOMPARE(q(pages.frame[0].text), q(hitFrame));
    QCOMPARE(q(pages.counter[0].text), QStringLiteral("Wurf 1"));
}

void EngineTest::followUpTakesSidesAtItsOwnTime()
{
    Pages pages;
    ScriptedClock clock({{2, 3}});
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    engine.hitRoll(200, 6, true);
    QVERIFY(!engine.followUpRoll(0, 8, true)); // sides changed to 8 since the hit roll
    QCOMPARE(pages.face[1].sum(), std::stod(pages.atLeast[0].captions[0]));
    QVERIFY(std::stod(pages.face[1].captions[6]) + std::stod(pages.face[1].captions[7]) > 0);
    QCOMPARE(q(pages.face[1].captions[8]), QStringLiteral("0"));
    QCOMPARE(q(pages.face[1].captions[9]), QStringLiteral("0"));
}

void EngineTest::followUpBeyondSixteenBits()
{
    Pages pages;
    ScriptedClock clock({{2, 3}});
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    for (const std::string hits : {"32768", "40000", "1000001"}) {
        pages.atLeast[0].captions[8] = hits;
        QVERIFY(!engine.followUpRoll(8, 10, true));
        QCOMPARE(q(countText(pages.face[1].sum())), q(hits));
        QCOMPARE(q(pages.frame[1].text),
                 QStringLiteral("Wurfergebnis 10+ (%1 Würfe)").arg(q(hits)));
        QCOMPARE(q(engine.followUpToolTip(8)), q(hits + " Würfe"));
    }
}

void EngineTest::followUpStepOrder()
{
    Journal journal;
    Pages pages(&journal);
    ScriptedClock clock({{1, 1}}, &journal);
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    pages.atLeast[0].captions[8] = "3";
    journal.entries.clear();
    QVERIFY(!engine.followUpRoll(8, 10, true));

    const auto &e = journal.entries;
    // The counter is counted before the re-seeding, the clearing after it.
    QCOMPARE(q(e.at(0)), QStringLiteral("counter1=Wurf 1"));
    QCOMPARE(q(e.at(1)), QStringLiteral("clock"));
    QCOMPARE(q(e.at(3)), QStringLiteral("clock"));
    QCOMPARE(q(e.at(4)), QStringLiteral("face1(0)=0"));
    QCOMPARE(q(e.back()), QStringLiteral("frame1=Wurfergebnis 10+ (3 Würfe)"));
    for (const auto &entry : e)
        QVERIFY(q(entry).startsWith(QStringLiteral("clock")) ||
                q(entry).contains(QLatin1Char('1')));
}

void EngineTest::toolTipShowsCaptionAsIs()
{
    Pages pages;
    ScriptedClock clock;
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    for (int i = 0; i < 9; ++i)
        QCOMPARE(q(engine.followUpToolTip(i)), QStringLiteral("0 Würfe"));
    pages.atLeast[0].captions[2] = "12";
    QCOMPARE(q(engine.followUpToolTip(2)), QStringLiteral("12 Würfe"));
    pages.atLeast[0].captions[3] = "1";
    QCOMPARE(q(engine.followUpToolTip(3)), QStringLiteral("1 Würfe"));
}

void EngineTest::resetCountsKeepsCounter()
{
    Pages pages;
    ScriptedClock clock({{4, 4}});
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    for (int i = 0; i < 3; ++i)
        engine.hitRoll(60, 6, false);
    for (int twice = 0; twice < 2; ++twice) {
        engine.resetCounts(Tally::Hit);
        QCOMPARE(pages.face[0].sum() + pages.atLeast[0].sum(), 0.0);
        QCOMPARE(q(pages.frame[0].text), QStringLiteral("Wurfergebnis"));
        QCOMPARE(q(pages.counter[0].text), QStringLiteral("Wurf 3"));
    }
    QVERIFY(engine.followUpRoll(0, 6, true).has_value()); // no hits left to roll on
    engine.hitRoll(60, 6, false);
    QCOMPARE(q(pages.counter[0].text), QStringLiteral("Wurf 4"));
}

void EngineTest::resetCounterKeepsCounts()
{
    Pages pages;
    ScriptedClock clock({{4, 4}});
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    for (int i = 0; i < 3; ++i)
        engine.hitRoll(60, 6, false);
    const auto faces = pages.face[0].captions;
    const std::string frame = pages.frame[0].text;
    for (int twice = 0; twice < 2; ++twice) {
        engine.resetRollCounter(Tally::Hit);
        QCOMPARE(q(pages.counter[0].text), QStringLiteral("Wurf 0"));
        QVERIFY(pages.face[0].captions == faces);
        QCOMPARE(q(pages.frame[0].text), q(frame));
    }
    engine.hitRoll(60, 6, false);
    QCOMPARE(q(pages.counter[0].text), QStringLiteral("Wurf 1"));
}

void EngineTest::resetsStayOnTheirPage()
{
    Pages pages;
    ScriptedClock clock({{4, 4}});
    DiceEngine engine(pages.set(0), pages.set(1), clock);
    engine.hitRoll(60, 6, true);
    QVERIFY(!engine.followUpRoll(0, 6, true));
    const int hitWrites = pages.face[0].writes + pages.atLeast[0].writes + pages.frame[0].writes +
                          pages.counter[0].writes;
    engine.resetCounts(Tally::Damage);
    engine.resetRollCounter(Tally::Damage);
    QCOMPARE(pages.face[0].writes + pages.atLeast[0].writes + pages.frame[0].writes +
                 pages.counter[0].writes,
             hitWrites);
    QCOMPARE(pages.face[1].sum(), 0.0);
    QCOMPARE(q(pages.counter[1].text), QStringLiteral("Wurf 0"));
    QVERIFY(!engine.followUpRoll(0, 6, true)); // the hits are still there
}

void EngineTest::shortRowsAreRejected()
{
    StringRow face("f", 9), atLeast("a", 9);
    CaptionLog frame("fr", ""), counter("c", "");
    Pages pages;
    ScriptedClock clock;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             DiceEngine({face, atLeast, frame, counter}, pages.set(1), clock));
}

QTEST_APPLESS_MAIN(EngineTest)
#include "test_engine.moc"
