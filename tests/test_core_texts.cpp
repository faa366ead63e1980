// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's German texts without a window: numbers against Qt's own German locale, the rows a
// page's dice can reach, the sentence's row, the roll log's rows and CSV bytes.

#include "engine/odds_text.h"
#include "engine/page_odds.h"
#include "engine/page_text.h"
#include "engine/roll_log.h"
#include "engine/window_words.h"

#include <QLocale>
#include <QTest>

using namespace talvero;
using namespace Qt::StringLiterals;
using Groups = std::vector<DiceGroup>;
Q_DECLARE_METATYPE(Groups)

namespace {

QString text(const std::string &bytes)
{
    return QString::fromStdString(bytes);
}

RollEvent thrown(Page page, RollKind kind, int value, std::uint64_t dice, int sides)
{
    RollEvent made{page, kind, value, {dice, sides, {}}};
    made.thrown.faces[0] = dice; // every die a 1
    return made;
}

} // namespace

class CoreTextsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One decimal as Qt's German locale writes it, halves and near-halves included.
    void oneDecimalAsQtWritesIt()
    {
        QLocale german(QLocale::German, QLocale::Germany);
        german.setNumberOptions(QLocale::OmitGroupSeparator);
        std::vector<double> values{0.05,  0.15,      0.25,     0.35,   2.45,
                                   99.95, 99.949999, 1e17 + 8, 0x1p60, 0x1p64};
        for (int k = 0; k <= 400; ++k) // sixteenths, and a hair either side
            values.push_back(k / 16.0 + (k % 3 - 1) * 1e-12);
        for (const double value : values)
            QCOMPARE(text(oneDecimalText(value)), german.toString(value, 'f', 1));
    }

    void shares_data()
    {
        QTest::addColumn<double>("share");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("2.6 %") << 0.026 << u"2,6\u00A0%"_s << u"2,6 Prozent"_s;
        QTest::newRow("none") << 0.0 << u"0,0\u00A0%"_s << u"0,0 Prozent"_s;
        QTest::newRow("all") << 1.0 << u"100,0\u00A0%"_s << u"100,0 Prozent"_s;
        QTest::newRow("rare") << 0.0004 << u"<\u00A00,1\u00A0%"_s << u"weniger als 0,1 Prozent"_s;
        QTest::newRow("nearly sure")
            << 0.9996 << u">\u00A099,9\u00A0%"_s << u"mehr als 99,9 Prozent"_s;
    }
    void shares()
    {
        QFETCH(double, share);
        QFETCH(QString, written);
        QFETCH(QString, spoken);
        QCOMPARE(text(shareText(share)), written);
        QCOMPARE(text(spokenShareText(share)), spoken);
    }

    // 60 six-sided dice at "4+" as published binomial tables have them: 30 expected, 24 to 36,
    // and 38 or more in 2.6 % of rolls.
    void ranges()
    {
        const RowOdds odds = oddsOf(RowDistribution(Groups{{6, 0, 60}}, RowKind::AtLeast, 4), 38);
        QCOMPARE(QStringList({text(expectedText(odds.expected)), text(usualRangeText(odds)),
                              text(spokenRangeText(odds)), text(shareText(odds.atLeastShare))}),
                 QStringList({u"30,0"_s, u"24–36"_s, u"24 bis 36"_s, u"2,6\u00A0%"_s}));
    }

    void reachableRows_data()
    {
        QTest::addColumn<Groups>("dice");
        QTest::addColumn<int>("chosenSides");
        QTest::addColumn<int>("last");
        QTest::newRow("six sides") << Groups{{6, 0, 60}} << 10 << 6;
        QTest::newRow("six and ten") << Groups{{6, 0, 3}, {10, 0b1, 2}} << 4 << 10;
        QTest::newRow("none yet, four chosen") << Groups{} << 4 << 4;
        QTest::newRow("no die thrown") << Groups{{8, 0, 0}} << 2 << 2;
    }
    void reachableRows()
    {
        QFETCH(Groups, dice);
        QFETCH(int, chosenSides);
        QFETCH(int, last);
        const std::vector<std::uint64_t> counts(kFaceCount, 1);
        RowOddsTable faces(RowKind::Face), atLeast(RowKind::AtLeast);
        faces.update(dice, counts, chosenSides);
        atLeast.update(dice, counts, chosenSides);
        QCOMPARE(QStringList({text(faces.heading(0)), text(faces.heading(faces.size() - 1)),
                              text(atLeast.heading(0)), text(atLeast.heading(atLeast.size() - 1))}),
                 QStringList({u"1er"_s, u"%1er"_s.arg(last), u"2+"_s, u"%1+"_s.arg(last)}));
    }

    void sentenceThreshold_data()
    {
        QTest::addColumn<QList<int>>("steps"); // page, kind (-1: cleared), value
        QTest::addColumn<int>("sides");
        QTest::addColumn<QList<int>>("thresholds"); // hit page, damage page
        QTest::newRow("middle of six") << QList<int>{} << 6 << QList<int>{4, 4};
        QTest::newRow("middle of five") << QList<int>{} << 5 << QList<int>{3, 3};
        QTest::newRow("follow-up sets both") << QList<int>{1, 1, 3} << 6 << QList<int>{3, 3};
        QTest::newRow("reroll below, its page") << QList<int>{1, 3, 5} << 6 << QList<int>{4, 5};
        QTest::newRow("beyond the sides") << QList<int>{1, 1, 8} << 6 << QList<int>{4, 4};
        QTest::newRow("cleared forgets") << QList<int>{1, 1, 3, 0, -1, 0} << 6 << QList<int>{4, 3};
        QTest::newRow("a face reroll keeps")
            << QList<int>{1, 1, 3, 0, 2, 1} << 6 << QList<int>{3, 3};
    }
    void sentenceThreshold()
    {
        QFETCH(QList<int>, steps);
        QFETCH(int, sides);
        QFETCH(QList<int>, thresholds);
        SentenceThreshold row;
        for (qsizetype i = 0; i + 3 <= steps.size(); i += 3) {
            const auto page = static_cast<Page>(steps[i]);
            if (steps[i + 1] < 0)
                row.cleared(page);
            else
                row.rolled(thrown(page, static_cast<RollKind>(steps[i + 1]), steps[i + 2], 1, 6));
        }
        QCOMPARE(row.threshold(Page::Hit, sides), thresholds[0]);
        QCOMPARE(row.threshold(Page::Damage, sides), thresholds[1]);
    }

    // Times past a minute and an hour; every kind of event; the oldest dropped past the
    // cap; both CSV variants to the byte.
    void rollLog()
    {
        RollLog log;
        log.add({{59, 59, 9}, thrown(Page::Hit, RollKind::Roll, 0, 3, 6), false});
        log.add({{0, 0, 10}, thrown(Page::Damage, RollKind::FollowUp, 4, 2, 6), true});
        log.add({{0, 7, 10}, thrown(Page::Damage, RollKind::RerollFace, 1, 1, 6), true});
        log.add({{5, 9, 23}, thrown(Page::Hit, RollKind::RerollBelow, 3, 1, 10), false});
        const QStringList rows[] = {
            {u"09:59:59"_s, u"TREFFERWÜRFE"_s, u"Wurf"_s, u"3"_s, u"6"_s, u"Addition"_s, u"3"_s},
            {u"10:00:00"_s, u"SCHADENSWÜRFE"_s, u"Folgewurf 4+"_s, u"2"_s, u"6"_s,
             u"neue Zählung"_s, u"2"_s},
            {u"10:00:07"_s, u"SCHADENSWÜRFE"_s, u"1er neu gewürfelt"_s, u"1"_s, u"6"_s,
             u"neue Zählung"_s, u"1"_s},
            {u"23:05:09"_s, u"TREFFERWÜRFE"_s, u"unter 3+ neu gewürfelt"_s, u"1"_s, u"10"_s,
             u"Addition"_s, u"1"_s}};
        QString csv = u"Zeit,Seite,Ereignis,Würfel,Seiten,Zählung,1er,2er,3er,4er,5er,6er,7er,8er,"
                      u"9er,10er\r\n"_s;
        for (const QStringList &row : rows)
            csv += row.join(u',') + u",0,0,0,0,0,0,0,0,0\r\n"_s;
        QCOMPARE(QByteArray::fromStdString(log.csv(CsvSeparator::Comma)),
                 "\xEF\xBB\xBF" + csv.toUtf8());
        QCOMPARE(QByteArray::fromStdString(log.csv(CsvSeparator::Semicolon)),
                 "\xEF\xBB\xBF" + csv.replace(u',', u';').toUtf8());

        for (std::size_t i = log.size(); i < RollLog::kMostEvents + 2; ++i)
            log.add({{}, thrown(Page::Hit, RollKind::Roll, 0, i, 6), false});
        QCOMPARE(log.size(), RollLog::kMostEvents);
        QCOMPARE(text(RollLog::cellText(log.entry(0), 2)), rows[2][2]);
        QCOMPARE(log.entry(log.size() - 1).event.thrown.dice, RollLog::kMostEvents + 1);
    }

    // The texts a front end without the window's design takes from the engine.
    void frontEndTexts_data()
    {
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("expected");
        const std::vector<std::string> atLeast{"50", "41", "27", "16", "4", "0", "0", "0", "0"};
        const auto announced = [&](int sides) {
            return text(pageAnnouncement("Wurfergebnis 60 Würfel mit je 6 Seiten", "Wurf 3",
                                         atLeast, sides));
        };
        const QString frame = u"Wurfergebnis 60 Würfel mit je 6 Seiten, Wurf 3."_s;
        QTest::newRow("face reroll") << text(rerollFaceText(14, 1)) << u"14 × 1er neu würfeln"_s;
        QTest::newRow("fails reroll")
            << text(rerollBelowText(1000000, 10)) << u"1000000 unter 10+ neu würfeln"_s;
        QTest::newRow("dice label") << text(diceLabel(6)) << u"Würfelanzahl mit 6 Seiten"_s;
        QTest::newRow("at-least caption") << text(oddsTableCaption(RowKind::AtLeast, Page::Damage))
                                          << u"Sortierung, SCHADENSWÜRFE"_s;
        QTest::newRow("face caption")
            << text(oddsTableCaption(RowKind::Face, Page::Hit)) << u"Wurfergebnis, TREFFERWÜRFE"_s;
        QTest::newRow("no roll") << announced(0) << frame;
        QTest::newRow("two sides") << announced(2) << frame + u" 2+: 50."_s;
        QTest::newRow("six sides")
            << announced(6) << frame + u" 2+: 50, 3+: 41, 4+: 27, 5+: 16, 6+: 4."_s;
        QTest::newRow("ten sides") << announced(10)
                                   << frame + u" 2+: 50, 3+: 41, 4+: 27, 5+: 16, 6+: 4, 7+: 0, "
                                              u"8+: 0, 9+: 0, 10+: 0."_s;
    }
    void frontEndTexts()
    {
        QFETCH(QString, made);
        QFETCH(QString, expected);
        QCOMPARE(made, expected);
    }
};

QTEST_APPLESS_MAIN(CoreTextsTest)
#include "test_core_texts.moc"
