// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: every input is a settings file, read as the program reads one at start-up
// and when it presets the font dialog. A value out of its range aborts with a message, so
// libFuzzer keeps the input as a finding.

#include "settings/store/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

using namespace talvero;

// Every input is written to a file of its own, memory-backed where there is /dev/shm: Qt takes a
// file of the same name, size and modification time (to the millisecond) for the one it read
// before.
QString scratchPrefix;
quint64 inputCount = 0;
// libFuzzer sees the coverage of Talvero's code only, as Qt is not instrumented. These counters,
// which it reads after every input, tell it also what Qt made of the file: its status and the
// kind of value under every key, so inputs that reach a new kind of value are kept.
constexpr const SettingKey *kAllKeys[] = {
    &keys::diceCount.key, &keys::sides.key,      &keys::addHits.key,
    &keys::addDamage.key, &keys::turned.key,     &keys::fontName.key,
    &keys::fontBold.key,  &keys::fontItalic.key, &keys::fontSize.key};
constexpr int kKindsPerKey = 31;
constexpr int kStatusCounter = std::size(kAllKeys) * kKindsPerKey;
__attribute__((used, section("__libfuzzer_extra_counters")))
std::uint8_t parsedShape[kStatusCounter + 3];

void countParsedShape(const QString &path)
{
    // Shares what the store has read: Qt keeps one parsed copy of a file while it is open.
    const QSettings settings(path, QSettings::IniFormat);
    ++parsedShape[kStatusCounter + settings.status()];
    for (std::size_t key = 0; key < std::size(kAllKeys); ++key) {
        const int typeId = settings.value(kAllKeys[key]->path()).typeId();
        ++parsedShape[key * kKindsPerKey + static_cast<unsigned>(typeId) % kKindsPerKey];
    }
}

[[noreturn]] void outOfRange(const char *what, const QString &value)
{
    std::fprintf(stderr, "talvero_settings_fuzzer: %s out of range: \"%s\"\n", what,
                 value.toUtf8().constData());
    std::abort();
}

void checkChoices(const WindowChoices &choices)
{
    using C = WindowChoices;
    if (choices.dice < C::kFewestDice || choices.dice > C::kMostDice)
        outOfRange("number of dice", QString::number(choices.dice));
    if (choices.sides < C::kFewestSides || choices.sides > C::kMostSides)
        outOfRange("number of sides", QString::number(choices.sides));
}

void checkFont(const FontPreset &font)
{
    // The labels and the dialog take a name as it is; blanks around it or none at all mean the
    // store's text was not cleaned.
    if (font.name && (font.name->isEmpty() || *font.name != font.name->trimmed()))
        outOfRange("font name", *font.name);
    if (font.size &&
        !(*font.size >= FontChoice::kSmallestSize && *font.size <= FontChoice::kLargestSize))
        outOfRange("font size", QString::number(static_cast<double>(*font.size)));
}

} // namespace

// Qt's reader of typed values ("@Variant(...)") reserves as many elements as the file says. As on
// a machine with little memory, more than 2 GiB at once is refused and returns null to Qt, which
// copes; without the limit every such reservation would cost a gigabyte of ASan's shadow memory.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1:max_allocation_size_mb=2048";
}

extern "C" int LLVMFuzzerInitialize(int * /*argc*/, char *** /*argv*/)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's warnings about damaged typed values would bury libFuzzer's own output.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    });
    static int argc = 1;
    static char name[] = "talvero_settings_fuzzer";
    static char *argv[] = {name, nullptr};
    // The store needs QtCore alone; Qt's INI reader then knows the typed values ("@Variant(...)")
    // of QtCore's types. It is never destroyed: at exit that would come after Qt's own globals
    // are gone, and crash.
    new QCoreApplication(argc, argv);
    const QString folder =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    scratchPrefix =
        QStringLiteral("%1/talvero-fuzz-%2-").arg(folder).arg(QCoreApplication::applicationPid());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = scratchPrefix + QString::number(inputCount++) + QStringLiteral(".conf");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size)) {
        std::fprintf(stderr, "talvero_settings_fuzzer: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    file.close();
    const SettingsStore store(path);
    const WindowChoices choices = store.readChoices();
    const FontPreset font = store.readFont();
    countParsedShape(path);
    file.remove();
    checkChoices(choices);
    checkFont(font);
    return 0;
}
