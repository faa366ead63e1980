// Long and rough use of the real window, offscreen: a soak of 100,000 hit rolls, a follow-up
// roll of millions of dice, and thousands of clicks in random order with resizes between.

#include "settings/font_choice.h"
#include "settings/session.h"
#include "settings/settings_store.h"
#include "support/window_helpers.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

using namespace talvero;
using namespace talvero::testing;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true; // the sanitizer's quarantine holds freed memory back
#else
constexpr bool kSanitized = false;
#endif

// A font dialog that confirms and cancels in turn.
class AlternatingPicker final : public FontPicker
{
public:
    std::optional<FontChoice> pick(const FontChoice &, int, QWidget *) override
    {
        ++calls;
        if (calls % 2 == 0)
            return std::nullopt;
        return FontChoice{calls % 4 == 1 ? QStringLiteral("DejaVu Sans")
                                         : QStringLiteral("Liberation Serif"),
                          calls % 3 == 0, calls % 5 == 0, 9.0f + static_cast<float>(calls % 7)};
    }
    int calls = 0;
};

} // namespace

class RobustnessTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void soakOfHitRollsAndAHugeFollowUp();
    void rapidInputKeepsEveryInvariant();
};

void RobustnessTest::soakOfHitRollsAndAHugeFollowUp()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    WindowControls &ui = window.ui;
    QTest::mouseClick(ui.OptionWurf[0], Qt::LeftButton); // "Addition"
    ui.HScroll->setValue(200);
    ui.HScroll_Augen->setValue(10);

    constexpr int rolls = 100'000;
    constexpr int warmUp = 2'000;
    qint64 memoryAfterWarmUp = 0;
    for (int roll = 1; roll <= rolls; ++roll) {
        ui.cmd_Würfel1->click();
        if (roll % 5'000 == 0 || roll == warmUp) {
            QCoreApplication::processEvents(); // paint now and then, as the screen would
            bool ok = false;
            QCOMPARE(verifiedTally(ui.txt_Gewürfelt, ui.txt_Gewürfelt_2er, &ok), 200.0 * roll);
            QVERIFY2(ok, qPrintable(QStringLiteral("rows disagree after roll %1").arg(roll)));
        }
        if (roll == warmUp)
            memoryAfterWarmUp = residentBytes();
    }
    QCOMPARE(ui.txt_Wurfinfo[0]->caption(), QStringLiteral("Wurf 100000"));
    QCOMPARE(ui.Frame[0]->caption(), QStringLiteral("Wurfergebnis 200 Würfel mit je 10 Seiten"));
    const qint64 growth = residentBytes() - memoryAfterWarmUp;
    if (!kSanitized)
        QVERIFY2(growth < 4 * 1024 * 1024,
                 qPrintable(QStringLiteral("memory grew by %1 bytes").arg(growth)));

    // Every hit from 2 up: some eighteen million dice, far beyond 16 bits.
    const QString hits = ui.txt_Gewürfelt_2er[0]->caption();
    QVERIFY(countIn(hits) > 1'000'000);
    ui.SSTab->setCurrentPage(1);
    QTest::mouseClick(ui.cmd_Würfel2[0], Qt::LeftButton);
    QCOMPARE(ui.Frame[1]->caption(), QStringLiteral("Wurfergebnis 2+ (%1 Würfe)").arg(hits));
    bool ok = false;
    QCOMPARE(verifiedTally(ui.txt_Gewürfelt2, ui.txt_Gewürfelt_2er2, &ok), countIn(hits));
    QVERIFY(ok);
    QTest::mouseMove(ui.cmd_Würfel2[0]);
    QTRY_COMPARE(ui.cmd_Würfel2[0]->toolTip(), hits + QStringLiteral(" Würfe"));
}

void RobustnessTest::rapidInputKeepsEveryInvariant()
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("Talvero.conf")));
    MainWindow window;
    Session session(window, store);
    auto picker = std::make_unique<AlternatingPicker>();
    AlternatingPicker *fonts = picker.get();
    window.ui.CommonDialog->setPicker(std::move(picker));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    WindowControls &ui = window.ui;
    MessageBoxWatcher refusals(MessageBoxWatcher::KeepWatching);
    QuietSizeHintNotes quiet;

    // What the counts must add up to, kept alongside the window.
    double hitSum = 0, damageSum = 0;
    int hitRolls = 0, damageRolls = 0, refused = 0;

    std::vector<CommandButton *> buttons = {ui.cmd_Würfel1,      ui.cmd_Reset[0],
                                            ui.cmd_Reset[1],     ui.cmd_ResetWurf[0],
                                            ui.cmd_ResetWurf[1], ui.cmd_Schrift};
    buttons.insert(buttons.end(), ui.cmd_Würfel2.begin(), ui.cmd_Würfel2.end());
    std::vector<CommandButton *> clicks;
    for (CommandButton *button : buttons)
        clicks.insert(clicks.end(), 1000, button);
    QRandomGenerator random(20261206);
    std::shuffle(clicks.begin(), clicks.end(), random);

    for (std::size_t n = 0; n < clicks.size(); ++n) {
        CommandButton *button = clicks[n];
        const bool enabled = button->isEnabled();
        const int dice = ui.HScroll->value();
        const auto follow = std::find(ui.cmd_Würfel2.begin(), ui.cmd_Würfel2.end(), button);
        const double hits = follow == ui.cmd_Würfel2.end()
                                ? 0
                                : countIn(ui.txt_Gewürfelt_2er[static_cast<std::size_t>(
                                                                   follow - ui.cmd_Würfel2.begin())]
                                              ->caption());
        button->click();

        if (!enabled) {
            // A disabled button raises nothing.
        } else if (button == ui.cmd_Würfel1) {
            hitSum = ui.OptionWurf[1]->isChecked() ? dice : hitSum + dice;
            ++hitRolls;
        } else if (follow != ui.cmd_Würfel2.end()) {
            if (hits == 0) {
                ++refused;
            } else {
                damageSum = ui.OptionWurf2[1]->isChecked() ? hits : damageSum + hits;
                ++damageRolls;
            }
        } else if (button == ui.cmd_Reset[0]) {
            hitSum = 0;
        } else if (button == ui.cmd_Reset[1]) {
            damageSum = 0;
        } else if (button == ui.cmd_ResetWurf[0]) {
            hitRolls = 0;
        } else if (button == ui.cmd_ResetWurf[1]) {
            damageRolls = 0;
        }

        bool ok = false;
        QCOMPARE(verifiedTally(ui.txt_Gewürfelt, ui.txt_Gewürfelt_2er, &ok), hitSum);
        QVERIFY(ok);
        QCOMPARE(verifiedTally(ui.txt_Gewürfelt2, ui.txt_Gewürfelt_2er2, &ok), damageSum);
        QVERIFY(ok);
        QCOMPARE(ui.txt_Wurfinfo[0]->caption(), QStringLiteral("Wurf %1").arg(hitRolls));
        QCOMPARE(ui.txt_Wurfinfo[1]->caption(), QStringLiteral("Wurf %1").arg(damageRolls));

        // Now and then the user does something else in between.
        if (n % 97 == 0) {
            const QSize size(662 + random.bounded(1920 - 662), 274 + random.bounded(1080 - 274));
            window.resize(size);
            QCoreApplication::processEvents();
            QCOMPARE(ui.Frame[0]->Width(), window.outerWidth() - 2985);
            QCOMPARE(ui.Frame[2]->Top(), ui.Frame[0]->Height() + 1130);
            QCOMPARE(ui.cmd_Ende->Left(), window.outerWidth() - 1560);
        }
        if (n % 89 == 0) {
            ui.Check_90Grad->click();
            const int turned = ui.Check_90Grad->isChecked() ? 1 : 0;
            for (CountLabel *label : ui.countLabels())
                QCOMPARE(label->Vertical(), turned);
            QCOMPARE(ui.cmd_Schrift->isEnabled(), turned == 0);
        }
        if (n % 53 == 0) {
            ui.HScroll->setValue(1 + random.bounded(200));
            ui.HScroll_Augen->setValue(2 + random.bounded(9));
            const int sides = ui.HScroll_Augen->value();
            for (int k = 0; k < 9; ++k)
                QCOMPARE(ui.cmd_Würfel2[static_cast<std::size_t>(k)]->isEnabled(), k + 2 <= sides);
        }
        if (n % 71 == 0)
            ui.OptionWurf[random.bounded(2)]->click();
        if (n % 73 == 0)
            ui.OptionWurf2[random.bounded(2)]->click();
        if (n % 31 == 0)
            ui.SSTab->setCurrentPage(random.bounded(2));
    }
    QCOMPARE(refusals.answered, refused);
    QVERIFY(fonts->calls > 0);
    // The count labels all show one face.
    const QString face = ui.txt_Gewürfelt[0]->labelFont().family();
    for (CountLabel *label : ui.countLabels())
        QCOMPARE(label->labelFont().family(), face);

    // And the window still closes with its settings saved.
    QTest::mouseClick(ui.cmd_Ende, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(store.readWhole(keys::diceCount), std::optional<int>(ui.HScroll->value()));
}

QTEST_MAIN(RobustnessTest)
#include "test_robustness.moc"
