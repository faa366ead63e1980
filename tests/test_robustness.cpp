// SPDX-License-Identifier: GPL-3.0-or-later
// Long and rough use of the real window, offscreen: a soak of 120,000 hit rolls with the roll log
// open, a follow-up roll of millions of dice, and thousands of clicks in random order with other
// input between.

#include "support/settings_run.h"

#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <unistd.h>

using namespace talvero;
using namespace talvero::testing;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true; // the sanitizer's quarantine holds freed memory back
#else
constexpr bool kSanitized = false;
#endif

qint64 residentBytes()
{
    return readFile(u"/proc/self/statm"_s).split(' ').value(1).toLongLong() *
           ::sysconf(_SC_PAGESIZE);
}

// A page's counts agree with the dice rolled there: the face row sums to them, "2+" leaves out
// the ones and "10+" holds the tens alone.
void verifyPage(const Driver &d, int page, double dice)
{
    const QStringList faces = d.captions(page == 0 ? "txt_Gewürfelt" : "txt_Gewürfelt2", 10);
    const char *atLeast = page == 0 ? "txt_Gewürfelt_2er" : "txt_Gewürfelt_2er2";
    QCOMPARE(total(faces), dice);
    QCOMPARE(d.caption(element(atLeast, 0)).toDouble(), dice - faces[0].toDouble());
    QCOMPARE(d.caption(element(atLeast, 8)), faces[9]);
}

// Clicks the window's buttons and keeps beside it what its counts and roll counters must read.
struct Clicker
{
    void click(const QString &name)
    {
        auto *button = d.the<QAbstractButton>(name);
        const int threshold = name.startsWith(u"cmd_Würfel2("_s) ? name.mid(12, 1).toInt() : -1;
        const int page = threshold >= 0 || name.endsWith(u"(1)"_s);
        const double thrown = d.caption(threshold < 0 ? u"txt_AnzahlWürfel"_s
                                                      : element("txt_Gewürfelt_2er", threshold))
                                  .toDouble();
        const bool enabled = button->isEnabled();
        if (enabled && threshold >= 0 && thrown == 0)
            d.watch.expectBoxes(1); // the refusal
        button->click();
        if (enabled && (name == u"cmd_Würfel1"_s || (threshold >= 0 && thrown > 0))) {
            const auto *newCount =
                d.the<QAbstractButton>(element(page ? "OptionWurf2" : "OptionWurf", 1));
            dice[page] = newCount->isChecked() ? thrown : dice[page] + thrown;
            ++rolls[page];
        } else if (name.startsWith(u"cmd_Reset("_s)) {
            dice[page] = 0;
        } else if (name.startsWith(u"cmd_ResetWurf("_s)) {
            rolls[page] = 0;
        }
        for (int p : {0, 1}) {
            verifyPage(d, p, dice[p]);
            QCOMPARE(d.caption(element("txt_Wurfinfo", p)), u"Wurf %1"_s.arg(rolls[p]));
        }
    }

    Driver &d;
    double dice[2] = {0, 0};
    int rolls[2] = {0, 0};
};

// Now and then, between two clicks, the user resizes, turns, moves the selectors, picks another
// counting or another page; the layout and the turn hold.
void somethingElse(Driver &d, QWidget &window, QRandomGenerator &random, qsizetype n)
{
    if (n % 97 == 0) {
        window.resize(662 + random.bounded(1920 - 662), 274 + random.bounded(1080 - 274));
        QCoreApplication::processEvents();
        const TwipsRect upper = d.twips("Frame(0)");
        QCOMPARE(d.twips("Frame(2)").top, upper.top + upper.height + 80);
    }
    if (n % 89 == 0) {
        d.click("Check_90Grad");
        const bool turned = d.the<QAbstractButton>("Check_90Grad")->isChecked();
        QCOMPARE(d.the<CountLabel>("txt_Gewürfelt_2er2(8)")->isVertical(), turned);
        QCOMPARE(d.the("cmd_Schrift")->isEnabled(), !turned);
    }
    if (n % 53 == 0) {
        d.setValue("HScroll", 1 + random.bounded(200));
        d.setValue("HScroll_Augen", 2 + random.bounded(9));
    }
    if (n % 71 == 0)
        d.the<QAbstractButton>(element("OptionWurf", random.bounded(2)))->click();
    if (n % 73 == 0)
        d.the<QAbstractButton>(element("OptionWurf2", random.bounded(2)))->click();
    if (n % 31 == 0)
        d.showPage(random.bounded(2));
}

} // namespace

class RobustnessTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void soakOfHitRollsAndAHugeFollowUp();
    void rapidInputKeepsEveryInvariant_data();
    void rapidInputKeepsEveryInvariant();
};

void RobustnessTest::soakOfHitRollsAndAHugeFollowUp()
{
    QTemporaryDir dir;
    Run run(dir.filePath(u"Talvero.conf"_s));
    Driver &d = run.d;
    QVERIFY(d.show());
    d.click("OptionWurf(0)"); // "Addition"
    d.setValue("HScroll", 200);
    d.setValue("HScroll_Augen", 10);
    auto *roll = d.the<QAbstractButton>("cmd_Würfel1");
    // The roll log open all the while, as a player may keep it.
    QTest::keyClick(&run.window, Qt::Key_H, Qt::ControlModifier);
    auto *logWindow = run.window.findChild<QWidget *>(u"Verlauf"_s);
    QVERIFY(logWindow && logWindow->isVisible());
    const QAbstractItemModel *log = logWindow->findChild<QTableView *>()->model();
    // The log is full after 100,000 rolls; from then on memory stays flat.
    constexpr int kRolls = 120'000;
    qint64 memoryWithAFullLog = 0;
    for (int n = 1; n <= kRolls; ++n) {
        roll->click();
        if (n % 5'000 == 0) {
            QCoreApplication::processEvents(); // paint now and then, as the screen would
            verifyPage(d, 0, 200.0 * n);
        }
        if (n == 100'000)
            memoryWithAFullLog = residentBytes();
    }
    QCOMPARE(d.caption("txt_Wurfinfo(0)"), u"Wurf 120000"_s);
    const qint64 growth = residentBytes() - memoryWithAFullLog;
    QVERIFY2(kSanitized || growth < 1024 * 1024, qPrintable(u"grew by %1 bytes"_s.arg(growth)));

    // Every hit from 2 up: some eighteen million dice, far beyond 16 bits.
    const QString hits = d.caption("txt_Gewürfelt_2er(0)");
    d.showPage(1);
    d.click("cmd_Würfel2(0)");
    QCOMPARE(d.caption("Frame(1)"), u"Wurfergebnis 2+ (%1 Würfe)"_s.arg(hits));
    verifyPage(d, 1, hits.toDouble());
    QVERIFY(hits.toDouble() > 1e6);
    // The log keeps the last 100,000 events: the first roll went, the follow-up roll came.
    QCOMPARE(log->rowCount(), 100'000);
    QCOMPARE(log->index(99'999, 2).data().toString(), u"Folgewurf 2+"_s);
    QCOMPARE(log->index(99'999, 3).data().toString(), hits);
    QCOMPARE(log->index(0, 2).data().toString(), u"Wurf"_s);
}

void RobustnessTest::rapidInputKeepsEveryInvariant_data()
{
    QTest::addColumn<bool>("between"); // other input now and then between the clicks
    QTest::newRow("clicks alone") << false;
    QTest::newRow("other input between") << true;
}

void RobustnessTest::rapidInputKeepsEveryInvariant()
{
    QFETCH(bool, between);
    QTemporaryDir dir;
    Run run(dir.filePath(u"Talvero.conf"_s));
    QVERIFY(run.d.show());
    int fontDialogs = 0;
    run.d.watch.fontDialog = [&](QFontDialog &dialog) {
        ++fontDialogs % 2 ? dialog.reject() : dialog.accept();
    };
    QStringList clicks;
    for (const char *name : {"cmd_Würfel1", "cmd_Reset(0)", "cmd_Reset(1)", "cmd_ResetWurf(0)",
                             "cmd_ResetWurf(1)", "cmd_Schrift"})
        clicks += QStringList(300, QString::fromUtf8(name));
    for (int i = 0; i < 9; ++i)
        clicks += QStringList(300, element("cmd_Würfel2", i));
    QRandomGenerator random(20261206);
    std::shuffle(clicks.begin(), clicks.end(), random);
    Clicker clicker{run.d};
    for (qsizetype n = 0; n < clicks.size() && !QTest::currentTestFailed(); ++n) {
        clicker.click(clicks[n]);
        if (between)
            somethingElse(run.d, run.window, random, n);
    }
    QVERIFY(fontDialogs > 0);
    run.d.click("cmd_Ende"); // the window still closes with its settings saved
    QCOMPARE(stored(dir.filePath(u"Talvero.conf"_s), u"Setup/Würfelanzahl"_s).toString(),
             run.d.caption("txt_AnzahlWürfel"));
}

QTEST_MAIN(RobustnessTest)
#include "test_robustness.moc"
