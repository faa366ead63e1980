// SPDX-License-Identifier: GPL-3.0-or-later
// The core's own count conversions, used where the standard library lacks floating-point
// from_chars/to_chars, against the library's; and rows shorter than the engine's counts.

#include "engine/count_text.h"
#include "engine/text_pages.h"

#include <QTest>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace talvero;

namespace {

std::string libraryText(double whole)
{
    char buffer[400];
    return {buffer,
            std::to_chars(buffer, buffer + sizeof buffer, whole, std::chars_format::fixed, 0).ptr};
}

std::optional<double> libraryValue(const std::string &digits)
{
    double value = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

} // namespace

class PortableCoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Small wholes, neighbours of 2^53 and 2^64, powers of two and ten, the largest, and random
    // bit patterns half below 2^64 and half above.
    void sameDigitsAsTheLibrary()
    {
        std::vector<double> values{0,           1,          9,       10,
                                   999'999'999, 1e9,        1e9 + 1, 0x1p53 - 1,
                                   0x1p53,      0x1p53 + 2, 0x1p64,  0x1p64 + 4096};
        values.push_back(std::numeric_limits<double>::max());
        for (int e = 0; e <= 1023; ++e)
            values.push_back(std::ldexp(1.0, e));
        for (int e = 0; e <= 308; ++e)
            values.push_back(std::floor(std::pow(10.0, e)));
        std::mt19937_64 bits(20261207);
        for (int i = 0; i < 8000; ++i) {
            const auto exponent = static_cast<int>(i % 2 ? bits() % 64 : 64 + bits() % 960);
            const double mantissa = 1.0 + static_cast<double>(bits() >> 12) * 0x1p-52;
            values.push_back(std::floor(std::ldexp(mantissa, exponent)));
        }
        for (const double value : values) {
            const std::string expected = libraryText(value);
            QCOMPARE(detail::wholeNumberText(value), expected);
            QCOMPARE(detail::digitsValue(expected).value_or(-1.0), value);
        }
    }

    // Texts between doubles round to the nearest, ties to even, as the library reads them; past
    // the largest, none; and random lengths.
    void sameValueAsTheLibrary()
    {
        const std::string largest = libraryText(std::numeric_limits<double>::max());
        std::vector<std::string> texts{
            "9007199254740993", "9007199254740995", "00009007199254740993", "0", "000", largest,
            largest + "0"};
        texts.insert(texts.end(),
                     {"9007199254740993" + std::string(20, '0') + "1", std::string(400, '9')});
        std::mt19937_64 digits(7);
        for (int i = 0; i < 3000; ++i) {
            std::string text(1 + digits() % 330, '0');
            std::generate(text.begin(), text.end(), [&] { return '0' + digits() % 10; });
            texts.push_back(text);
        }
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
        const double second = readCount(faces.caption(1)), third = readCount(faces.caption(2));
        QCOMPARE(readCount(faces.caption(0)) + second + third, 60.0);
        QCOMPARE(readCount(atLeast.caption(0)), second + third);
        QCOMPARE(atLeast.caption(1), faces.caption(2));
        QCOMPARE(engine.followUpToolTip(5), std::string("0 Würfe"));
        QVERIFY(engine.followUpRoll(5, 6, true).has_value());
        QVERIFY(!engine.followUpRoll(0, 6, true).has_value());
        QCOMPARE(otherCounter.text(), std::string("Wurf 1"));
    }
};

QTEST_APPLESS_MAIN(PortableCoreTest)
#include "test_portable_core.moc"
