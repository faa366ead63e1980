// SPDX-License-Identifier: GPL-3.0-or-later
// Long and rough use of the real window: a soak of rolls with the log open, then random clicks.

#include "support/settings_run.h"

#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <unistd.h>

using namespace talvero;
using namespace talvero::testing;

namespace {

// Clicks the window's buttons and keeps beside it what its counts and roll counters must read.
struct Clicker
{
    QAbstractButton *button(const QString &name) { return d.the<QAbstractButton>(name); }
    void click(const QString &name)
    {
        const int threshold = name.startsWith(u"cmd_Würfel2("_s) ? name.mid(12, 1).toInt() : -1;
        const int page = threshold >= 0 || name.endsWith(u"(1)"_s);
        const double thrown = d.caption(threshold < 0 ? u"txt_AnzahlWürfel"_s
                                                      : element("txt_Gewürfelt_2er", threshold))
                                  .toDouble();
        const bool enabled = button(name)->isEnabled();
        d.watch.expectBoxes(enabled && threshold >= 0 && thrown == 0); // the refusal, if any
        button(name)->click();
        if (enabled && (name == u"cmd_Würfel1"_s || (threshold >= 0 && thrown > 0))) {
            const bool newCount =
                button(element(page ? "OptionWurf2" : "OptionWurf", 1))->isChecked();
            dice[page] = newCount ? thrown : dice[page] + thrown;
            ++rolls[page];
        } else if (name.startsWith(u"cmd_Reset"_s)) { // the counts, or with "Wurf" the counter
            (name.startsWith(u"cmd_Reset("_s) ? dice : rolls)[page] = 0;
        }
        verify();
    }

    // Face rows sum to the dice rolled, "2+" leaves out the ones, "10+" holds the tens alone.
    void verify()
    {
        for (int p : {0, 1}) {
            const QStringList faces = d.captions(p ? "txt_Gewürfelt2" : "txt_Gewürfelt", 10);
            const QStringList atLeast =
                d.captions(p ? "txt_Gewürfelt_2er2" : "txt_Gewürfelt_2er", 9);
            QCOMPARE(total(faces), dice[p]);
            QCOMPARE(atLeast[0].toDouble(), dice[p] - faces[0].toDouble());
            QCOMPARE(atLeast[8], faces[9]);
            QCOMPARE(d.caption(element("txt_Wurfinfo", p)), u"Wurf %1"_s.arg(rolls[p]));
        }
    }

    // Now and then the user resizes, turns, moves the selectors, picks another counting or page.
    void somethingElse(QWidget &window, QRandomGenerator &random, qsizetype n)
    {
        if (n % 97 == 0) {
            window.resize(662 + random.bounded(1920 - 662), 274 + random.bounded(1080 - 274));
            QCoreApplication::processEvents();
            const TwipsRect upper = d.twips("Frame(0)");
            QCOMPARE(d.twips("Frame(2)").top, upper.top + upper.height + 80);
        }
        if (n % 89 == 0) {
            d.click("Check_90Grad");
            QCOMPARE(d.the<CountLabel>("txt_Gewürfelt_2er2(8)")->isVertical(),
                     button(u"Check_90Grad"_s)->isChecked());
        }
        if (n % 53 == 0) {
            d.setValue("HScroll", 1 + random.bounded(200));
            d.setValue("HScroll_Augen", 2 + random.bounded(9));
        }
        if (n % 37 == 0)
            button(element(n % 2 ? "OptionWurf" : "OptionWurf2", random.bounded(2)))->click();
        if (n % 31 == 0)
            d.showPage(random.bounded(2));
    }

    Driver &d;
    double dice[2] = {0, 0};
    double rolls[2] = {0, 0};
};

} // namespace

class RobustnessTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void soakThenRapidInput();
};

void RobustnessTest::soakThenRapidInput()
{
    QTemporaryDir dir;
    Run run(dir.filePath(u"Talvero.conf"_s));
    Driver &d = run.d;
    QVERIFY(d.show());
    d.click("OptionWurf(0)"); // "Addition"
    d.setValue("HScroll", 200);
    d.setValue("HScroll_Augen", 10);
    auto *roll = d.the<QAbstractButton>("cmd_Würfel1");
    QTest::keyClick(&run.window, Qt::Key_H, Qt::ControlModifier); // the roll log, kept open
    auto *logWindow = run.window.findChild<QWidget *>(u"Verlauf"_s);
    QVERIFY(logWindow && logWindow->isVisible());
    const QAbstractItemModel *log = logWindow->findChild<QTableView *>()->model();
    // The log is full after 100,000 rolls; from then on memory stays flat.
    const auto residentBytes = [] {
        return readFile(u"/proc/self/statm"_s).split(' ').value(1).toLongLong() *
               ::sysconf(_SC_PAGESIZE);
    };
    [[maybe_unused]] qint64 memoryWithAFullLog = 0;
    for (int n = 1; n <= 120'000; ++n) {
        roll->click();
        if (n % 5'000 == 0)
            QCoreApplication::processEvents(); // paint now and then, as the screen would
        if (n == 100'000)
            memoryWithAFullLog = residentBytes();
    }
    Clicker clicker{d, {200.0 * 120'000, 0}, {120'000, 0}};
    clicker.verify();
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer's quarantine holds freed memory back
    const qint64 growth = residentBytes() - memoryWithAFullLog;
    QVERIFY2(growth < 1024 * 1024, qPrintable(u"grew by %1 bytes"_s.arg(growth)));
#endif
    // Every hit from 2 up: some eighteen million dice, far beyond 16 bits.
    const QString hits = d.caption("txt_Gewürfelt_2er(0)");
    clicker.click(u"cmd_Würfel2(0)"_s);
    QCOMPARE(d.caption("Frame(1)"), u"Wurfergebnis 2+ (%1 Würfe)"_s.arg(hits));
    QVERIFY(hits.toDouble() > 1e6);
    // The log keeps the last 100,000 events: the first roll went, the follow-up roll came.
    QCOMPARE(log->rowCount(), 100'000);
    QCOMPARE(log->index(99'999, 2).data().toString() + u' ' +
                 log->index(99'999, 3).data().toString(),
             u"Folgewurf 2+ "_s + hits);
    QCOMPARE(log->index(0, 2).data().toString(), u"Wurf"_s);

    // Then thousands of clicks in random order, with other input between.
    QRandomGenerator random(20261206);
    d.watch.fontDialog = [&](QFontDialog &dialog) {
        random.bounded(2) ? dialog.reject() : dialog.accept();
    };
    constexpr int kClicksEach = 200;
    QStringList clicks;
    for (const char *name : {"cmd_Würfel1", "cmd_Reset(0)", "cmd_Reset(1)", "cmd_ResetWurf(0)",
                             "cmd_ResetWurf(1)", "cmd_Schrift"})
        clicks += QStringList(kClicksEach, QString::fromUtf8(name));
    for (int i = 0; i < 9; ++i)
        clicks += QStringList(kClicksEach, element("cmd_Würfel2", i));
    std::shuffle(clicks.begin(), clicks.end(), random);
    for (qsizetype n = 0; n < clicks.size() && !QTest::currentTestFailed(); ++n) {
        clicker.click(clicks[n]);
        clicker.somethingElse(run.window, random, n);
    }
}

QTEST_MAIN(RobustnessTest)
#include "test_robustness.moc"
