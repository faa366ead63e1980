// Talvero's benchmarks. Prints one line per figure: "name: median unit".
// Usage: talvero_bench [name prefix]   (for example "layout." runs the layout figures only)

#include "engine/count_text.h"
#include "engine/dice_engine.h"
#include "ui/main_window.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Only the figures whose names start with this run (all when empty).
std::string selected;

// Runs `work` `repetitions` times after a warm-up and prints the median.
void report(const char *name, const char *unit, double unitsPerSecond, int repetitions,
            const std::function<void()> &work)
{
    if (std::string_view(name).substr(0, selected.size()) != selected)
        return;
    work();
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(repetitions));
    for (int i = 0; i < repetitions; ++i) {
        const auto start = Clock::now();
        work();
        samples.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::nth_element(samples.begin(), samples.begin() + repetitions / 2, samples.end());
    std::printf("%s: %.3f %s\n", name,
                samples[static_cast<std::size_t>(repetitions / 2)] * unitsPerSecond, unit);
    std::fflush(stdout);
}

class Row final : public talvero::CountRow
{
public:
    explicit Row(int size)
        : captions_(static_cast<std::size_t>(size), "0")
    {}
    int size() const override { return static_cast<int>(captions_.size()); }
    std::string caption(int index) const override
    {
        return captions_[static_cast<std::size_t>(index)];
    }
    void setCaption(int index, std::string_view text) override
    {
        captions_[static_cast<std::size_t>(index)].assign(text);
    }

private:
    std::vector<std::string> captions_;
};

class Caption final : public talvero::CaptionTarget
{
public:
    void setCaption(std::string_view text) override { text_.assign(text); }

private:
    std::string text_;
};

void engineBenchmarks()
{
    Row face0(10), face1(10), atLeast0(9), atLeast1(9);
    Caption frame0, frame1, counter0, counter1;
    talvero::SystemClock clock;
    talvero::DiceEngine engine({face0, atLeast0, frame0, counter0},
                               {face1, atLeast1, frame1, counter1}, clock);

    report("engine.hit_roll_200_us", "us", 1e6, 20001, [&] { engine.hitRoll(200, 10, true); });

    atLeast0.setCaption(0, talvero::countText(1'000'000.0));
    report("engine.followup_1e6_dice_ms", "ms", 1e3, 41,
           [&] { (void)engine.followUpRoll(0, 10, true); });
}

// Paints what is pending in the window now, as the event loop would at its next frame.
void paintPending(QWidget &window)
{
    QEvent update(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window, &update);
}

void windowBenchmarks()
{
    talvero::MainWindow window;
    window.show();
    QCoreApplication::processEvents();
    window.ui.HScroll->setValue(200);
    window.ui.HScroll_Augen->setValue(10);
    paintPending(window);

    report("window.hit_roll_click_us", "us", 1e6, 2001, [&] {
        window.ui.cmd_Würfel1->click();
        paintPending(window);
    });
}

// Resizes the window and paints the outcome, as a user's drag of the window border does.
void resizeAndPaint(talvero::MainWindow &window, QSize size)
{
    window.resize(size);
    QCoreApplication::processEvents();
    paintPending(window);
}

void layoutBenchmarks()
{
    talvero::MainWindow window;
    window.show();
    QCoreApplication::processEvents();

    // One pixel wider or narrower each time: every label moves, every font changes size.
    bool wider = false;
    report("layout.pass_us", "us", 1e6, 1001, [&] {
        wider = !wider;
        resizeAndPaint(window, QSize(wider ? 901 : 900, 500));
    });

    const QSize smallest = window.minimumSize();
    const QSize largest(1920, 1080);
    report("layout.resize_storm_ms", "ms", 1e3, 21, [&] {
        for (int i = 0; i < 100; ++i) {
            // Back and forth between the minimum and full HD.
            const double t = (i % 50) / 49.0;
            const double s = i < 50 ? t : 1.0 - t;
            resizeAndPaint(
                window,
                QSize(smallest.width() + static_cast<int>(s * (largest.width() - smallest.width())),
                      smallest.height() +
                          static_cast<int>(s * (largest.height() - smallest.height()))));
        }
    });
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1)
        selected = argv[1];
    engineBenchmarks();
    windowBenchmarks();
    layoutBenchmarks();
    return 0;
}
