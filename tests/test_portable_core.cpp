// SPDX-License-Identifier: GPL-3.0-or-later
// The core's own count conversions, used where the standard library lacks floating-point
// from_chars/to_chars, against the library's; and rows shorter than the engine's counts.

#include "engine/count_text.h"
#include "engine/text_pages.h"

#include <QTest>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace talvero;
using Wholes = std::vector<double>;
using Texts = std::vector<std::string>;
Q_DECLARE_METATYPE(Wholes)
Q_DECLARE_METATYPE(Texts)

namespace {

std::string libraryText(double whole)
{
    std::string buffer(400, ' ');
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), whole,
                                   std::chars_format::fixed, 0)
                         .ptr;
    return buffer.substr(0, static_cast<std::size_t>(end - buffer.data()));
}

std::optional<double> libraryValue(const std::string &digits)
{
    double value = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

// Whole doubles spread over the whole range, as bit patterns.
std::vector<double> randomWholes(int exponentLow, int exponentHigh)
{
    std::mt19937_64 bits(20261207);
    std::vector<double> values;
    for (int i = 0; i < 4000; ++i) {
        const int exponent =
            exponentLow +
            static_cast<int>(bits() % static_cast<std::uint64_t>(exponentHigh - exponentLow + 1));
        const double mantissa = 1.0 + static_cast<double>(bits() >> 12) / 4503599627370496.0;
        values.push_back(std::floor(std::ldexp(mantissa, exponent)));
    }
    return values;
}

} // namespace

class PortableCoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameDigitsAsTheLibrary_data()
    {
        QTest::addColumn<std::vector<double>>("values");
        QTest::newRow("small") << std::vector<double>{0, 1, 9, 10, 999'999'999, 1e9, 1e9 + 1};
        QTest::newRow("around 2^53 and 2^64")
            << std::vector<double>{9007199254740991.0, 9007199254740992.0, 9007199254740994.0,
                                   18446744073709551616.0, 18446744073709555712.0};
        std::vector<double> powers;
        for (int e = 0; e <= 1023; ++e)
            powers.push_back(std::ldexp(1.0, e));
        for (int e = 0; e <= 308; ++e)
            powers.push_back(std::floor(std::pow(10.0, e)));
        powers.push_back(std::numeric_limits<double>::max());
        QTest::newRow("powers of two and ten, largest") << powers;
        QTest::newRow("random below 2^64") << randomWholes(0, 63);
        QTest::newRow("random huge") << randomWholes(64, 1023);
    }
    void sameDigitsAsTheLibrary()
    {
        QFETCH(std::vector<double>, values);
        for (const double value : values) {
            const std::string expected = libraryText(value);
            QCOMPARE(detail::wholeNumberText(value), expected);
            QCOMPARE(detail::digitsValue(expected).value_or(-1.0), value);
        }
    }

    // Texts between doubles round to the nearest, ties to even, as the library reads them.
    void sameValueAsTheLibrary_data()
    {
        QTest::addColumn<std::vector<std::string>>("texts");
        QTest::newRow("ties and neighbours of 2^53")
            << std::vector<std::string>{"9007199254740993",
                                        "9007199254740995",
                                        "9007199254740993000000000000000000001",
                                        "00009007199254740993",
                                        "0",
                                        "000"};
        const std::string largest = libraryText(std::numeric_limits<double>::max());
        QTest::newRow("past the largest")
            << std::vector<std::string>{largest, largest + "0", std::string(400, '9')};
        std::mt19937_64 digits(7);
        std::vector<std::string> random;
        for (int i = 0; i < 3000; ++i) {
            std::string text(1 + digits() % 330, '0');
            for (char &c : text)
                c = static_cast<char>('0' + digits() % 10);
            random.push_back(text);
        }
        QTest::newRow("random lengths") << random;
    }
    void sameValueAsTheLibrary()
    {
        QFETCH(std::vector<std::string>, texts);
        for (const std::string &text : texts)
            QVERIFY2(detail::digitsValue(text) == libraryValue(text), text.c_str());
    }

    // A short row reads as "0" past its end and is never written there.
    void shortRowsShowWhatFits()
    {
        FixedClock clock({7, 11});
        TextRow faces(3), atLeast(2), otherFaces(0), otherAtLeast(0);
        TextCaption frame("Wurfergebnis"), counter("Wurf 0"), otherFrame("-"), otherCounter("-");
        DiceEngine engine({faces, atLeast, frame, counter},
                          {otherFaces, otherAtLeast, otherFrame, otherCounter}, clock, 99);
        engine.hitRoll(60, 3, false);
        QCOMPARE(readCount(faces.caption(0)) + readCount(faces.caption(1)) +
                     readCount(faces.caption(2)),
                 60.0);
        QCOMPARE(readCount(atLeast.caption(0)),
                 readCount(faces.caption(1)) + readCount(faces.caption(2)));
        QCOMPARE(atLeast.caption(1), faces.caption(2));
        QCOMPARE(engine.followUpToolTip(5), std::string("0 Würfe"));
        QVERIFY(engine.followUpRoll(5, 6, true).has_value());
        QVERIFY(!engine.followUpRoll(0, 6, true).has_value());
        QCOMPARE(otherCounter.text(), std::string("Wurf 1"));
    }
};

QTEST_APPLESS_MAIN(PortableCoreTest)
#include "test_portable_core.moc"
