// SPDX-License-Identifier: GPL-3.0-or-later
// The dice engine on plain rows of captions: count texts, the random source and its seeds, the
// rolls and resets, and the order of their steps.

#include "engine/count_text.h"
#include "engine/dice_engine.h"
#include "engine/start_seed.h"
#include "support/string_rows.h"

#include <QRegularExpression>
#include <QTest>
#include <cmath>
#include <memory>
#include <stdexcept>

using namespace talvero;
using namespace talvero::testing;
using namespace Qt::StringLiterals;

namespace {

const QString kRefusal =
    u"Dieser Wurf kann nicht ausgeführt werden, der Würfel %1+ hat keine Treffer."_s;

QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '));
}

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
    void init() { start({{12, 34}}); }

    void captionsAndCounts_data();
    void captionsAndCounts();
    void faceValueBoundaries_data();
    void faceValueBoundaries();
    void seedFromTheClock_data();
    void seedFromTheClock();
    void sameSecondDoesNotReplay();
    void startWithoutAnEntropySource();
    void diceAreFair_data();
    void diceAreFair();

    void countingModes_data();
    void countingModes();
    void twoSides();
    void lowerSidesKeepOldCountsInAddition();
    void atLeastRowWorkedExample();
    void countPassesOneMillion();
    void hitRollStepOrder();

    void followUpRefusedWithoutHits_data();
    void followUpRefusedWithoutHits();
    void oneHitIsStillWuerfe();
    void followUpTakesSidesAtItsOwnTime();
    void followUpBeyondSixteenBits();
    void followUpStepOrder();

private:
    void start(std::deque<TimeOfDay> times, std::uint64_t initialSeed = 1)
    {
        journal.clear();
        engine.reset();
        pages = std::make_unique<Pages>(&journal);
        clock = std::make_unique<ScriptedClock>(std::move(times), &journal);
        engine = std::make_unique<DiceEngine>(pages->set(0), pages->set(1), *clock, initialSeed);
    }
    StringRow &face(int page) { return pages->face[page]; }
    StringRow &atLeast(int page) { return pages->atLeast[page]; }

    QStringList journal;
    std::unique_ptr<Pages> pages;
    std::unique_ptr<ScriptedClock> clock;
    std::unique_ptr<DiceEngine> engine;
};

void EngineTest::captionsAndCounts_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("count");
    QTest::addColumn<bool>("written"); // the count is written back as this very caption
    QTest::newRow("zero") << "0" << 0.0 << true;
    QTest::newRow("one million, no exponent") << "1000000" << 1e6 << true;
    QTest::newRow("no grouping") << "1234567" << 1234567.0 << true;
    QTest::newRow("beyond 2^53 still digits") << "100000000000000000000" << 1e20 << true;
    // A caption that is no count reads as 0, so that it can never stop a roll.
    for (const char *damaged : {"", "abc", "-5", "1e300", " 12", "12.5"})
        QTest::addRow("damaged '%s'", damaged) << damaged << 0.0 << false;
    QTest::newRow("overflowing digits") << QString(400, QLatin1Char('9')) << 0.0 << false;
}

void EngineTest::captionsAndCounts()
{
    QFETCH(QString, caption);
    QFETCH(double, count);
    QFETCH(bool, written);
    QCOMPARE(readCount(caption.toStdString()), count);
    if (written)
        QCOMPARE(QString::fromStdString(countText(count)), caption);
}

void EngineTest::faceValueBoundaries_data()
{
    QTest::addColumn<int>("sides");
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("face");
    // Formed in single precision, M times the largest draw plus one rounds up to M + 1.
    const float largest = std::nextafter(1.0f, 0.0f);
    for (int m = 2; m <= 10; ++m) {
        QTest::addRow("M=%d r=0", m) << m << 0.0f << 1;
        QTest::addRow("M=%d r=0.5", m) << m << 0.5f << m / 2 + 1;
        QTest::addRow("M=%d largest below 1", m) << m << largest << m;
    }
}

void EngineTest::faceValueBoundaries()
{
    QFETCH(int, sides);
    QFETCH(float, r);
    QFETCH(int, face);
    QCOMPARE(static_cast<int>(DiceEngine::faceValue(r, sides)), face);
}

void EngineTest::seedFromTheClock_data()
{
    // Three reads: seconds, seconds again, minutes. The field a read does not use holds
    // something else, so that a read of the wrong field shows.
    QTest::addColumn<int>("s1");
    QTest::addColumn<int>("s2");
    QTest::addColumn<int>("minute");
    QTest::addColumn<qulonglong>("seed");
    QTest::newRow("ordinary") << 10 << 10 << 5 << 500ull;
    QTest::newRow("the second ticks between the reads") << 10 << 11 << 5 << 550ull;
    QTest::newRow("largest, beyond 16 bits") << 59 << 59 << 59 << 205379ull;
    QTest::newRow("seconds 0") << 0 << 0 << 30 << 0ull;
    QTest::newRow("minutes 0") << 30 << 30 << 0 << 0ull;
}

void EngineTest::seedFromTheClock()
{
    QFETCH(int, s1);
    QFETCH(int, s2);
    QFETCH(int, minute);
    QFETCH(qulonglong, seed);
    start({{7, s1}, {8, s2}, {minute, 9}}, 99);
    engine->hitRoll(200, 10, true);
    QCOMPARE(journal.count(u"clock"_s), 3);
    QCOMPARE(face(0).captions, facesAfterSeed(99, seed, 200, 10));
}

void EngineTest::sameSecondDoesNotReplay()
{
    // Re-seeding mixes the number into the state: the same number twice goes on differently.
    for (const std::uint64_t seed : {0ull, 1ull, 205379ull}) {
        RandomSource random;
        float first[16], second[16];
        random.reseed(seed);
        for (float &r : first)
            r = random.next();
        random.reseed(seed);
        for (float &r : second)
            r = random.next();
        QVERIFY2(!std::equal(first, first + 16, second), "the same seed replayed the sequence");
    }
    // Two rolls in one second do not show the same faces.
    engine->hitRoll(200, 10, true);
    const QStringList firstRoll = face(0).captions;
    engine->hitRoll(200, 10, true);
    QVERIFY(face(0).captions != firstRoll);
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
    start({{17, 42}}, 1000 + static_cast<std::uint64_t>(sides));
    constexpr int rolls = 600;
    for (int i = 0; i < rolls; ++i)
        engine->hitRoll(200, sides, false);
    const double expected = rolls * 200.0 / sides;
    double chi2 = 0;
    for (int f = 0; f < 10; ++f) {
        const double observed = face(0).captions[f].toDouble();
        if (f >= sides)
            QCOMPARE(observed, 0.0);
        else
            chi2 += (observed - expected) * (observed - expected) / expected;
    }
    QCOMPARE(face(0).sum(), rolls * 200.0);
    QVERIFY2(chi2 < critical, qPrintable(u"chi-square %1"_s.arg(chi2)));
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
    engine->hitRoll(60, 6, newCount);
    engine->hitRoll(60, 6, newCount);
    QCOMPARE(face(0).sum(), sumAfterTwo);
    QCOMPARE(atLeast(0).captions[0].toDouble(), sumAfterTwo - face(0).captions[0].toDouble());
    QCOMPARE(pages->counter[0].text, u"Wurf 2"_s);
    QCOMPARE(pages->frame[0].text, u"Wurfergebnis 60 Würfel mit je 6 Seiten"_s);
}

void EngineTest::twoSides()
{
    engine->hitRoll(200, 2, true);
    QCOMPARE(face(0).sum(), 200.0);
    QCOMPARE(face(0).captions.mid(2), QStringList(8, u"0"_s));
    QCOMPARE(atLeast(0).captions[0], face(0).captions[1]);
    QCOMPARE(atLeast(0).captions.mid(1), QStringList(8, u"0"_s));

    engine->hitRoll(1, 2, true);
    QVERIFY(face(0).captions.mid(0, 2) == QStringList({u"1"_s, u"0"_s}) ||
            face(0).captions.mid(0, 2) == QStringList({u"0"_s, u"1"_s}));
    QCOMPARE(pages->frame[0].text, u"Wurfergebnis 1 Würfel mit je 2 Seiten"_s);
}

void EngineTest::lowerSidesKeepOldCountsInAddition()
{
    engine->hitRoll(200, 10, false);
    const QStringList high = face(0).captions.mid(6);
    QVERIFY(face(0).captions[9] != u"0"_s);
    engine->hitRoll(200, 6, false);
    QCOMPARE(face(0).captions.mid(6), high);
    QCOMPARE(face(0).sum(), 400.0);
    QCOMPARE(atLeast(0).captions[8], high[3]); // "10+" still counts the old tens
}

void EngineTest::atLeastRowWorkedExample()
{
    face(1).captions = words("10 9 11 8 12 10 0 0 0 0");
    engine->SortierungSetzen(Tally::Damage);
    QCOMPARE(atLeast(1).captions, words("50 41 30 22 10 0 0 0 0"));
    QCOMPARE(atLeast(0).captions, QStringList(9, u"0"_s));
}

void EngineTest::countPassesOneMillion()
{
    face(0).captions[0] = face(0).captions[1] = u"999999"_s;
    engine->hitRoll(1, 2, false);
    QVERIFY(face(0).captions.contains(u"1000000"_s));
    QVERIFY(face(0).captions.contains(u"999999"_s));
}

void EngineTest::hitRollStepOrder()
{
    engine->hitRoll(200, 10, true);
    // Re-seed (three clock reads), count the roll, clear, throw, sort, summarise.
    QCOMPARE(journal.mid(0, 4),
             QStringList({u"clock"_s, u"clock"_s, u"clock"_s, u"counter0=Wurf 1"_s}));
    for (int i = 0; i < 10; ++i)
        QCOMPARE(journal[4 + i], u"face0(%1)=0"_s.arg(i));
    for (int k = 0; k < 9; ++k)
        QCOMPARE(journal[14 + k], u"atLeast0(%1)=0"_s.arg(k));
    QCOMPARE(journal[23], u"frame0=Wurfergebnis"_s);
    // Then the faces, then the at-least row from "10+" down to "2+", then the summary.
    const qsizetype sortStart = journal.size() - 10;
    for (qsizetype i = 24; i < sortStart; ++i)
        QVERIFY(journal[i].startsWith(u"face0("_s));
    for (int k = 8; k >= 0; --k)
        QVERIFY(journal[sortStart + 8 - k].startsWith(u"atLeast0(%1)="_s.arg(k)));
    QCOMPARE(journal.last(), u"frame0=Wurfergebnis 200 Würfel mit je 10 Seiten"_s);
}

void EngineTest::followUpRefusedWithoutHits_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    for (int i = 0; i < 9; ++i)
        QTest::addRow("%d+ before any roll", i + 2) << i << "0";
    QTest::newRow("damaged caption") << 2 << "vier";
}

void EngineTest::followUpRefusedWithoutHits()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    atLeast(0).captions[index] = caption;
    journal.clear();
    const auto refusal = engine->followUpRoll(index, 10, true);
    QVERIFY(refusal.has_value());
    QCOMPARE(QString::fromStdString(*refusal), kRefusal.arg(index + 2));
    QVERIFY2(journal.isEmpty(), qPrintable(journal.join(QLatin1Char(' '))));
}

void EngineTest::oneHitIsStillWuerfe()
{
    atLeast(0).captions[2] = u"1"_s; // "4+"
    QVERIFY(!engine->followUpRoll(2, 6, true));
    QCOMPARE(face(1).sum(), 1.0);
    QCOMPARE(pages->counter[1].text, u"Wurf 1"_s);
    QCOMPARE(pages->frame[1].text, u"Wurfergebnis 4+ (1 Würfe)"_s);
    QCOMPARE(QString::fromStdString(engine->followUpToolTip(2)), u"1 Würfe"_s);
}

void EngineTest::followUpTakesSidesAtItsOwnTime()
{
    engine->hitRoll(200, 6, true);
    QVERIFY(!engine->followUpRoll(0, 8, true)); // the sides went up to 8 since the hit roll
    QCOMPARE(face(1).sum(), atLeast(0).captions[0].toDouble());
    QVERIFY(face(1).captions[6] != u"0"_s || face(1).captions[7] != u"0"_s);
    QCOMPARE(face(1).captions.mid(8), QStringList(2, u"0"_s));
}

void EngineTest::followUpBeyondSixteenBits()
{
    for (const QString &hits : words("32768 40000 1000001")) {
        atLeast(0).captions[8] = hits;
        QVERIFY(!engine->followUpRoll(8, 10, true));
        QCOMPARE(QString::fromStdString(countText(face(1).sum())), hits);
        QCOMPARE(pages->frame[1].text, u"Wurfergebnis 10+ (%1 Würfe)"_s.arg(hits));
        QCOMPARE(QString::fromStdString(engine->followUpToolTip(8)), hits + u" Würfe"_s);
    }
}

void EngineTest::followUpStepOrder()
{
    atLeast(0).captions[8] = u"3"_s;
    journal.clear();
    QVERIFY(!engine->followUpRoll(8, 10, true));
    // Count the roll, re-seed, clear, throw, sort from "10+" down, summarise.
    QStringList expected = {u"counter1=Wurf 1"_s, u"clock"_s, u"clock"_s, u"clock"_s};
    for (int i = 0; i < 10; ++i)
        expected << u"face1(%1)=0"_s.arg(i);
    for (int k = 0; k < 9; ++k)
        expected << u"atLeast1(%1)=0"_s.arg(k);
    expected << u"frame1=Wurfergebnis"_s;
    QCOMPARE(journal.mid(0, expected.size()), expected);
    const qsizetype sortStart = journal.size() - 10;
    for (qsizetype i = expected.size(); i < sortStart; ++i)
        QVERIFY(journal[i].startsWith(u"face1("_s));
    for (int k = 8; k >= 0; --k)
        QVERIFY(journal[sortStart + 8 - k].startsWith(u"atLeast1(%1)="_s.arg(k)));
    QCOMPARE(journal.last(), u"frame1=Wurfergebnis 10+ (3 Würfe)"_s);
}

QTEST_APPLESS_MAIN(EngineTest)
#include "test_engine.moc"
