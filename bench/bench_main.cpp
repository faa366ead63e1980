// SPDX-License-Identifier: GPL-3.0-or-later
// Talvero's benchmarks. Prints one line per figure: "name: median unit". Absolute times swing
// from one machine and run to the next, so the figures that matter come with a ratio to a floor
// measured in the same run: the same work done by stock Qt widgets.
// Usage: talvero_bench [name prefix]   (for example "layout." runs the layout figures only)
// The start-up and memory figures start talvero_first_paint, talvero_bare_window and
// talvero_plain_window, found beside this program, on the X display in DISPLAY; the other
// figures run offscreen in-process.

#include "app/application.h"
#include "bench/widget_mirror.h"
#include "engine/count_text.h"
#include "engine/dice_engine.h"
#include "engine/roll_log.h"
#include "engine/start_seed.h"
#include "engine/text_pages.h"
#include "ui/controls/count_label.h"
#include "ui/main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QJsonDocument>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <malloc.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

// Only the figures whose names start with this run (all when empty).
std::string selected;

bool wanted(std::string_view name)
{
    return name.substr(0, selected.size()) == selected;
}

double median(std::vector<double> samples)
{
    const auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

// Runs `work` `repetitions` times after a warm-up, prints the median and returns it (0 when the
// figure is not wanted).
double report(const char *name, const char *unit, double unitsPerSecond, int repetitions,
              const std::function<void()> &work)
{
    if (!wanted(name))
        return 0;
    work();
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(repetitions));
    for (int i = 0; i < repetitions; ++i) {
        const auto start = Clock::now();
        work();
        samples.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    const double figure = median(std::move(samples)) * unitsPerSecond;
    std::printf("%s: %.3f %s\n", name, figure, unit);
    std::fflush(stdout);
    return figure;
}

void printFigure(const char *name, double value, const char *unit)
{
    if (!wanted(name))
        return;
    std::printf("%s: %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// A figure against its floor measured in the same run: what holds from one machine to the next.
void reportRatio(const char *name, double figure, double floor)
{
    if (!wanted(name) || !(figure > 0) || !(floor > 0))
        return;
    std::printf("%s: %.3f x\n", name, figure / floor);
    std::fflush(stdout);
}

void engineBenchmarks()
{
    talvero::SystemClock clock;
    talvero::TextPages pages(clock, talvero::startSeed());
    talvero::DiceEngine &engine = pages.engine();

    report("engine.hit_roll_200_us", "us", 1e6, 20001, [&] { engine.hitRoll(200, 10, true); });

    pages.atLeastRow(talvero::Page::Hit).setCaption(0, talvero::countText(1'000'000.0));
    report("engine.followup_1e6_dice_ms", "ms", 1e3, 41,
           [&] { (void)engine.followUpRoll(0, 10, true); });
}

// Paints what is pending in the window now, as the event loop would at its next frame.
void paintPending(QWidget &window)
{
    QEvent update(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window, &update);
}

// The names of the hit page's 19 count labels.
QStringList hitPageCountNames()
{
    QStringList names;
    for (const auto &[row, size] : {std::pair{"txt_Gewürfelt", 10}, {"txt_Gewürfelt_2er", 9}})
        for (int i = 0; i < size; ++i)
            names << QStringLiteral("%1(%2)").arg(QString::fromUtf8(row)).arg(i);
    return names;
}

// A run of Talvero on a settings file of its own, so that the user's are never touched.
struct BenchRun
{
    QTemporaryDir folder;
    talvero::Application run{{.settingsFile = folder.filePath(QStringLiteral("Talvero.conf"))}};

    talvero::MainWindow &window() { return run.window(); }
    // The window shown and set to the largest rolls, 200 ten-sided dice; its "Würfeln".
    QAbstractButton *readyToRoll()
    {
        window().show();
        QCoreApplication::processEvents();
        window().applyChoices({.dice = 200, .sides = 10});
        return window().findChild<QAbstractButton *>(QStringLiteral("cmd_Würfel1"));
    }
};

void windowBenchmarks()
{
    BenchRun bench;
    talvero::MainWindow &window = bench.window();
    QAbstractButton *roll = bench.readyToRoll();
    paintPending(window);

    const double click = report("window.hit_roll_click_us", "us", 1e6, 2001, [&] {
        roll->click();
        paintPending(window);
    });

    // The floor: the captions of real rolls written into the plain labels of a stock twin.
    talvero::bench::Mirror plain = talvero::bench::buildMirror(talvero::bench::describe(window));
    plain.window->show();
    QCoreApplication::processEvents();
    QList<QLabel *> labels;
    for (const QString &name : hitPageCountNames())
        labels << plain.window->findChild<QLabel *>(name);
    std::vector<QStringList> rolls;
    for (int i = 0; i < 64; ++i) {
        roll->click();
        QStringList counts;
        for (const QString &name : hitPageCountNames())
            counts << window.findChild<talvero::CountLabel *>(name)->caption();
        rolls.push_back(counts);
    }
    std::size_t next = 0;
    const double floor = report("window.plain_labels_us", "us", 1e6, 2001, [&] {
        const QStringList &counts = rolls[next++ % rolls.size()];
        for (qsizetype i = 0; i < labels.size(); ++i)
            labels[i]->setText(counts[i]);
        paintPending(*plain.window);
    });
    reportRatio("window.hit_roll_click_ratio", click, floor);

    // A reroll through the context menu's action, painted: the fails below 10+ of a roll of 200
    // ten-sided dice, some 180 dice. Each round opens and closes the menu once before a click on
    // "Würfeln" and once before the reroll, unmeasured (a click on an entry hides the menus, then
    // triggers it), so that both are measured after the same work; the reroll's floor is that
    // click. Every round rolls anew, for each die is rerolled at most once.
    if (wanted("window.reroll")) {
        auto menuEntry = [&window]() -> QAction * {
            QContextMenuEvent open(QContextMenuEvent::Keyboard, QPoint(1, 1),
                                   window.mapToGlobal(QPoint(1, 1)));
            QApplication::sendEvent(&window, &open);
            QAction *fails = nullptr;
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (QAction *group : menu->actions())
                    for (QAction *entry :
                         group->menu() ? group->menu()->actions() : QList<QAction *>())
                        if (entry->text().endsWith(QStringLiteral(" unter 10+ neu würfeln")))
                            fails = entry;
                menu->close();
            }
            paintPending(window);
            return fails;
        };
        // Whatever the last opening left for deletion goes, as the event loop lets it.
        auto deleteMenus = [] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        std::vector<double> clicks;
        std::vector<double> rerolls;
        for (int i = 0; i < 2001; ++i) {
            menuEntry();
            deleteMenus();
            auto start = Clock::now();
            roll->click();
            paintPending(window);
            clicks.push_back(std::chrono::duration<double>(Clock::now() - start).count());
            QAction *fails = menuEntry();
            if (!fails) {
                std::printf("window.reroll: skipped, no reroll in the menu\n");
                break;
            }
            start = Clock::now();
            fails->trigger();
            paintPending(window);
            rerolls.push_back(std::chrono::duration<double>(Clock::now() - start).count());
            deleteMenus();
        }
        if (!rerolls.empty()) {
            const double reroll = median(rerolls) * 1e6;
            printFigure("window.reroll_click_us", reroll, "us");
            printFigure("window.hit_roll_click_after_menu_us", median(clicks) * 1e6, "us");
            reportRatio("window.reroll_click_ratio", reroll, median(clicks) * 1e6);
        }
    }
}

// A click on "Würfeln" with the odds window open, as a ratio to the click without it. Both let
// the event loop run once after the click and paint what is pending in every window: the odds
// window refreshes from there, at most ten times a second however fast the clicks come. One
// refresh on its own, computed and painted, is the figure beside it.
void oddsBenchmarks()
{
    if (!wanted("window.odds"))
        return;
    BenchRun bench;
    talvero::MainWindow &window = bench.window();
    QAbstractButton *roll = bench.readyToRoll();
    QAction *odds = nullptr;
    for (QAction *action : window.actions())
        if (action->text() == QStringLiteral("Chancen…"))
            odds = action;
    if (!odds) {
        std::printf("window.odds: skipped, no odds command\n");
        return;
    }
    auto clickAndSettle = [&] {
        roll->click();
        QCoreApplication::processEvents();
        for (QWidget *shown : QApplication::topLevelWidgets())
            if (shown->isVisible())
                paintPending(*shown);
    };
    const double without = report("window.odds_closed_click_us", "us", 1e6, 2001, clickAndSettle);
    odds->trigger();
    QCoreApplication::processEvents();
    const double with = report("window.odds_open_click_us", "us", 1e6, 2001, clickAndSettle);
    reportRatio("window.odds_click_ratio", with, without);
    auto *oddsWindow = window.findChild<QWidget *>(QStringLiteral("Chancen"));
    report("window.odds_refresh_us", "us", 1e6, 201, [&] {
        roll->click();
        paintPending(window);
        odds->trigger(); // refreshes at once when the window is open
        paintPending(*oddsWindow);
    });
}

// The roll log's heap after 100,000 events, each a hit roll's record of 200 ten-sided dice.
void logMemoryBenchmark()
{
    if (!wanted("memory.log"))
        return;
    const std::size_t before = mallinfo2().uordblks;
    {
        talvero::RollLog log;
        talvero::RollEvent event;
        event.thrown = {200, 10, {20, 20, 20, 20, 20, 20, 20, 20, 20, 20}};
        for (std::size_t i = 0; i < talvero::RollLog::kMostEvents; ++i)
            log.add({{}, event, true});
        printFigure("memory.log_100k_mb",
                    static_cast<double>(mallinfo2().uordblks - before) / (1024.0 * 1024.0), "MiB");
    }
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
    BenchRun bench;
    talvero::MainWindow &window = bench.window();
    window.show();
    QCoreApplication::processEvents();

    // One pixel wider or narrower each time: every label moves, every font changes size.
    const QSize narrow(900, 500), wide(901, 500);
    bool wider = false;
    const double pass = report("layout.pass_us", "us", 1e6, 1001, [&] {
        wider = !wider;
        resizeAndPaint(window, wider ? wide : narrow);
    });

    // The floor: a stock twin given the very places and font sizes the pass gave Talvero's
    // controls at either size.
    resizeAndPaint(window, narrow);
    const talvero::bench::WindowDescription atNarrow = talvero::bench::describe(window);
    resizeAndPaint(window, wide);
    const talvero::bench::WindowDescription atWide = talvero::bench::describe(window);
    talvero::bench::Mirror plain = talvero::bench::buildMirror(atNarrow);
    plain.window->show();
    QCoreApplication::processEvents();
    const double floor = report("layout.plain_widgets_us", "us", 1e6, 1001, [&] {
        wider = !wider;
        const talvero::bench::WindowDescription &state = wider ? atWide : atNarrow;
        plain.window->resize(wider ? wide : narrow);
        for (qsizetype i = 1; i < state.size(); ++i) {
            plain.widgets[i]->setGeometry(state[i].rect);
            if (state[i].kind == QLatin1String("count"))
                plain.widgets[i]->setFont(state[i].font);
        }
        QCoreApplication::processEvents();
        paintPending(*plain.window);
    });
    reportRatio("layout.pass_ratio", pass, floor);

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

// The environment this program was started with, before it chose the offscreen platform for
// itself; the start-up programs get it, adjusted, to run on the X display.
std::vector<std::string> startEnvironment;

constexpr int kStartRuns = 21;
// A child that has not painted and quit by then has hung.
constexpr int kChildTimeoutSeconds = 20;

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// A fresh folder of its own (mode 0700) for the children's settings and runtime files, so that
// they never touch the user's; removed with everything in it.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        std::string path = (std::filesystem::temp_directory_path() / "talvero_bench.XXXXXX");
        if (mkdtemp(path.data()))
            path_ = path;
    }
    ~ScratchFolder()
    {
        if (path_.empty())
            return;
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    const std::string &path() const { return path_; }

private:
    std::string path_;
};

// The start environment on the X display, with its settings and runtime files in `scratch`.
std::vector<std::string> childEnvironment(const std::string &scratch)
{
    std::vector<std::string> environment;
    for (const std::string &entry : startEnvironment) {
        const std::string_view name = std::string_view(entry).substr(0, entry.find('='));
        if (name != "QT_QPA_PLATFORM" && name != "XDG_CONFIG_HOME" && name != "XDG_RUNTIME_DIR")
            environment.push_back(entry);
    }
    environment.push_back("QT_QPA_PLATFORM=xcb");
    environment.push_back("XDG_CONFIG_HOME=" + scratch + "/config");
    environment.push_back("XDG_RUNTIME_DIR=" + scratch + "/runtime");
    return environment;
}

struct ChildRun
{
    double firstPaintMs = 0;
    double peakRssMiB = 0;
    std::string failure; // empty when the run went well
};

std::string lastLineOf(const std::string &fileName)
{
    std::string last;
    if (FILE *file = std::fopen(fileName.c_str(), "r")) {
        char line[512];
        while (std::fgets(line, sizeof line, file))
            if (line[0] != '\n')
                last = line;
        std::fclose(file);
    }
    while (!last.empty() && last.back() == '\n')
        last.pop_back();
    return last;
}

// Starts `program`, takes the time from just before the spawn to the first painted frame it
// reports, and its peak resident memory once it has ended.
ChildRun runChild(std::string program, std::string argument, const std::vector<char *> &environment,
                  const std::string &errorLog)
{
    ChildRun run;
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        run.failure = "no pipe";
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorLog.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    char *arguments[] = {program.data(), argument.empty() ? nullptr : argument.data(), nullptr};

    const long long start = monotonicNs();
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, program.c_str(), &actions, nullptr, arguments, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        run.failure = "could not be started (" + std::string(std::strerror(spawned)) + ")";
        return run;
    }

    // The child writes its first-paint time, quits and so closes its end of the pipe.
    std::string output;
    bool ended = false;
    for (;;) {
        const long long left = start + kChildTimeoutSeconds * 1'000'000'000LL - monotonicNs();
        if (left <= 0)
            break;
        pollfd ready{out[0], POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(left / 1'000'000 + 1));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            break;
        char buffer[64];
        const ssize_t got = read(out[0], buffer, sizeof buffer);
        if (got > 0) {
            output.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0) {
            ended = true;
            break;
        } else if (errno != EINTR) {
            break;
        }
    }
    close(out[0]);
    if (!ended)
        kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }

    char *parsedTo = nullptr;
    const long long painted = std::strtoll(output.c_str(), &parsedTo, 10);
    const bool reported = parsedTo != output.c_str() && painted > start;
    if (!ended) {
        const std::string within = " within " + std::to_string(kChildTimeoutSeconds) + " s";
        run.failure =
            reported ? "did not quit" + within + " of starting" : "painted no frame" + within;
    } else if (WIFSIGNALED(status)) {
        run.failure = "was killed by signal " + std::to_string(WTERMSIG(status));
    } else if (WEXITSTATUS(status) != 0) {
        run.failure = "exited with status " + std::to_string(WEXITSTATUS(status));
    } else if (!reported) {
        run.failure = "ended without reporting a first paint";
    }
    if (!run.failure.empty()) {
        const std::string said = lastLineOf(errorLog);
        if (!said.empty())
            run.failure += "; it said: " + said;
        return run;
    }
    run.firstPaintMs = static_cast<double>(painted - start) / 1e6;
    // Linux gives ru_maxrss in KiB.
    run.peakRssMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return run;
}

// Runs `program` with `arguments` to its end; whether it ended well.
bool runToEnd(std::string program, std::vector<std::string> arguments,
              const std::vector<char *> &environment)
{
    std::vector<char *> argv = {program.data()};
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environment.data()) != 0)
        return false;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Writes a description of Talvero's window, as it is first shown, to `path`.
int describeWindow(int argc, char *argv[], const char *path)
{
    QApplication app(argc, argv);
    BenchRun bench;
    talvero::MainWindow &window = bench.window();
    window.show();
    QCoreApplication::processEvents();
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    file.write(QJsonDocument(talvero::bench::toJson(talvero::bench::describe(window))).toJson());
    return 0;
}

// This process's own peak resident memory in MiB, from /proc.
double ownPeakRssMiB()
{
    double peak = 0;
    if (FILE *status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        long kib = 0;
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmHWM: %ld kB", &kib) == 1)
                peak = static_cast<double>(kib) / 1024.0;
        std::fclose(status);
    }
    return peak;
}

// A connection to the X display held open while the children run. Xvfb resets itself whenever
// its last client leaves, reloading its fonts and compiling its keymap anew (some 150 ms here,
// and connections during the reset can fail); a desktop always has clients connected, so it
// never does that between two program starts. libxcb comes with Qt's X11 platform plugin and is
// loaded at run time, so the build needs no X11 development files.
class DisplayHold
{
public:
    DisplayHold()
    {
        library_ = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!library_)
            return;
        const auto connect =
            reinterpret_cast<void *(*)(const char *, int *)>(dlsym(library_, "xcb_connect"));
        const auto hasError =
            reinterpret_cast<int (*)(void *)>(dlsym(library_, "xcb_connection_has_error"));
        disconnect_ = reinterpret_cast<void (*)(void *)>(dlsym(library_, "xcb_disconnect"));
        if (!connect || !hasError || !disconnect_)
            return;
        connection_ = connect(nullptr, nullptr);
        if (connection_ && hasError(connection_) != 0) {
            disconnect_(connection_);
            connection_ = nullptr;
        }
    }
    ~DisplayHold()
    {
        if (connection_)
            disconnect_(connection_);
        if (library_)
            dlclose(library_);
    }
    DisplayHold(const DisplayHold &) = delete;
    DisplayHold &operator=(const DisplayHold &) = delete;

    bool held() const { return connection_ != nullptr; }

private:
    void *library_ = nullptr;
    void *connection_ = nullptr;
    void (*disconnect_)(void *) = nullptr;
};

// Talvero's start to its first painted frame and its peak memory, each beside the floor of a
// bare Qt program that shows one empty window of the same size, run as child processes on the
// X display.
//
// Runs first, while this process is still small: a spawned child's ru_maxrss starts from the
// peak of the address space it was spawned from (the kernel carries it over at exec), so the
// children's peaks only show once they rise above this program's own.
void startupBenchmarks()
{
    constexpr const char *kNames[] = {
        "startup.first_paint_ms",           "startup.bare_qt_first_paint_ms",
        "startup.ratio_to_bare_qt",         "startup.plain_widgets_first_paint_ms",
        "startup.ratio_to_plain_widgets",   "memory.peak_rss_mb",
        "memory.bare_qt_peak_rss_mb",       "memory.ratio_to_bare_qt",
        "memory.plain_widgets_peak_rss_mb", "memory.ratio_to_plain_widgets"};
    if (std::none_of(std::begin(kNames), std::end(kNames), wanted))
        return;
    const char *display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::printf("startup: skipped, the start-up and memory figures need an X display "
                    "(run under xvfb-run)\n");
        std::fflush(stdout);
        return;
    }
    const DisplayHold hold;
    if (!hold.held()) {
        std::printf("startup: skipped, cannot connect to the X display %s\n", display);
        std::fflush(stdout);
        return;
    }
    std::error_code noPath;
    const std::string folder =
        std::filesystem::read_symlink("/proc/self/exe", noPath).parent_path().string();
    struct Program
    {
        const char *name;
        std::string path;
        std::string argument;
        std::vector<double> firstPaintMs;
        std::vector<double> peakRssMiB;
    };

    const ScratchFolder scratch;
    if (scratch.path().empty() || mkdir((scratch.path() + "/config").c_str(), 0700) != 0 ||
        mkdir((scratch.path() + "/runtime").c_str(), 0700) != 0) {
        std::printf("startup: skipped, no temporary folder for the programs' settings\n");
        std::fflush(stdout);
        return;
    }
    std::vector<std::string> environment = childEnvironment(scratch.path());
    std::vector<char *> environmentPointers;
    for (std::string &entry : environment)
        environmentPointers.push_back(entry.data());
    environmentPointers.push_back(nullptr);
    const std::string errorLog = scratch.path() + "/stderr.log";
    const double ownPeak = ownPeakRssMiB();

    // Talvero's window as it starts, described by this program in a child of its own (so that
    // this one stays small), for the floor that rebuilds it in stock widgets.
    const std::string description = scratch.path() + "/window.json";
    if (!runToEnd(folder + "/talvero_bench", {"--describe", description}, environmentPointers)) {
        std::printf("startup: skipped, the window could not be described\n");
        std::fflush(stdout);
        return;
    }
    Program bare{"talvero_bare_window", folder + "/talvero_bare_window", {}, {}, {}};
    Program plain{"talvero_plain_window", folder + "/talvero_plain_window", description, {}, {}};
    Program talvero{"talvero_first_paint", folder + "/talvero_first_paint", {}, {}, {}};

    // One warm-up run of each (it also leaves Talvero's settings file, so every measured run
    // starts as a returning user's does), then rounds whose order turns each time so that
    // drifts and the after-effects of the previous run fall on all alike.
    for (int i = -1; i < kStartRuns; ++i) {
        std::array<Program *, 3> round = {&bare, &plain, &talvero};
        std::rotate(round.begin(), round.begin() + (i + 3) % 3, round.end());
        for (Program *program : round) {
            const ChildRun run =
                runChild(program->path, program->argument, environmentPointers, errorLog);
            if (!run.failure.empty()) {
                std::printf("startup: failed, %s %s; start-up and memory figures skipped\n",
                            program->name, run.failure.c_str());
                std::fflush(stdout);
                return;
            }
            if (i >= 0) {
                program->firstPaintMs.push_back(run.firstPaintMs);
                program->peakRssMiB.push_back(run.peakRssMiB);
            }
        }
    }

    const double paint = median(talvero.firstPaintMs);
    const double barePaint = median(bare.firstPaintMs);
    printFigure("startup.first_paint_ms", paint, "ms");
    printFigure("startup.bare_qt_first_paint_ms", barePaint, "ms");
    printFigure("startup.ratio_to_bare_qt", paint / barePaint, "x");
    const double plainPaint = median(plain.firstPaintMs);
    printFigure("startup.plain_widgets_first_paint_ms", plainPaint, "ms");
    printFigure("startup.ratio_to_plain_widgets", paint / plainPaint, "x");
    const double memory = median(talvero.peakRssMiB);
    const double bareMemory = median(bare.peakRssMiB);
    const double lowest =
        std::min({*std::min_element(talvero.peakRssMiB.begin(), talvero.peakRssMiB.end()),
                  *std::min_element(bare.peakRssMiB.begin(), bare.peakRssMiB.end()),
                  *std::min_element(plain.peakRssMiB.begin(), plain.peakRssMiB.end())});
    if (lowest <= ownPeak) {
        if (wanted("memory."))
            std::printf("memory: not measurable, a child's peak of %.3f MiB is no more than "
                        "this program's own %.3f MiB\n",
                        lowest, ownPeak);
        std::fflush(stdout);
        return;
    }
    printFigure("memory.peak_rss_mb", memory, "MiB");
    printFigure("memory.bare_qt_peak_rss_mb", bareMemory, "MiB");
    printFigure("memory.ratio_to_bare_qt", memory / bareMemory, "x");
    const double plainMemory = median(plain.peakRssMiB);
    printFigure("memory.plain_widgets_peak_rss_mb", plainMemory, "MiB");
    printFigure("memory.ratio_to_plain_widgets", memory / plainMemory, "x");
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 2 && std::string_view(argv[1]) == "--describe")
        return describeWindow(argc, argv, argv[2]);
    if (argc > 1)
        selected = argv[1];
    for (char **entry = environ; *entry; ++entry)
        startEnvironment.emplace_back(*entry);
    startupBenchmarks();

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    engineBenchmarks();
    windowBenchmarks();
    oddsBenchmarks();
    layoutBenchmarks();
    logMemoryBenchmark();
    return 0;
}
