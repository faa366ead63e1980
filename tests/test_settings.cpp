// Settings across restarts, damaged and unwritable stores, the font choice, the about message,
// the close command and the ends of a run. Every store lives in a temporary folder.

#include "app/application.h"
#include "app/close_on_signals.h"
#include "settings/about_box.h"
#include "support/settings_run.h"

#include <QCheckBox>
#include <QDir>
#include <QFontInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

using namespace talvero;
using namespace talvero::testing;

namespace {

const QStringList kSetupKeys = {u"Setup/Würfelanzahl"_s, u"Setup/Augen"_s, u"Setup/OptionWurf"_s,
                                u"Setup/OptionWurf2"_s, u"Setup/Check_90Grad"_s};

// The five choices a run shows: dice, sides, "Addition" on either page, "90°".
QStringList choices(const Driver &d)
{
    auto checked = [&](const char *name) {
        return d.the<QAbstractButton>(name)->isChecked() ? u"on"_s : u"off"_s;
    };
    return {d.caption("txt_AnzahlWürfel"), d.caption("Würfelaugen"), checked("OptionWurf(0)"),
            checked("OptionWurf2(0)"), checked("Check_90Grad")};
}

QStringList storedSetup(const QString &path)
{
    const QSettings settings(path, QSettings::IniFormat);
    QStringList values;
    for (const QString &key : kSetupKeys)
        values << settings.value(key).toString();
    return values;
}

// One run on the file: every choice shown lies in range, and closing stores a sound file that
// holds what was shown. The context names the file when a check fails.
void startsAndSavesInRange(const QString &path, const QString &context)
{
    QStringList shown;
    {
        Run run(path);
        shown = choices(run.d);
        const int dice = shown[0].toInt();
        const int sides = shown[1].toInt();
        QVERIFY2(dice >= 1 && dice <= 200 && sides >= 2 && sides <= 10, qPrintable(context));
        QVERIFY2(run.d.the<QAbstractButton>("OptionWurf(1)")->isChecked() != (shown[2] == u"on"_s),
                 qPrintable(context));
        QVERIFY2(run.d.the("cmd_Schrift")->isEnabled() == (shown[4] == u"off"_s),
                 qPrintable(context));
        run.window.close();
    }
    QVERIFY2(QSettings(path, QSettings::IniFormat).status() == QSettings::NoError,
             qPrintable(context));
    auto truth = [](const QString &onOff) {
        return onOff == u"on"_s ? u"True"_s : u"False"_s;
    };
    const QStringList expected = {shown[0], shown[1], truth(shown[2]), truth(shown[3]),
                                  shown[4] == u"on"_s ? u"1"_s : u"0"_s};
    QVERIFY2(storedSetup(path) == expected, qPrintable(context));
}

// A store that cannot be written says so once, and only once.
void expectOneWarning()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Die Einstellungen konnten nicht "
                                                          u"gespeichert werden: .+Talvero.conf"_s));
    QTest::failOnWarning(QRegularExpression(u"Einstellung"_s));
}

// While it lives, no file of this process can grow beyond a few bytes, as on a full disk; root
// too is held to it.
class FullDisk
{
public:
    FullDisk()
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, SIG_IGN); // a failed write, not the end of the process
        rlimit tiny = saved_;
        tiny.rlim_cur = 16;
        ::setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FullDisk() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

QFont fontOf(const Driver &d, const char *label = "txt_Gewürfelt_2er2(8)")
{
    return d.the<CountLabel>(label)->labelFont();
}

} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        file = dir->filePath(u"Talvero.conf"_s);
    }

    void firstRunOnAnEmptyStore();
    void restartKeepsChoices();
    void closingRewritesSetupAndKeepsTheRest();
    void storedValuesActAsTheUsersOwn();
    void damagedValuesFallBack_data();
    void damagedValuesFallBack();
    void randomFilesStartInRange();
    void sampleFilesStartInRange();
    void unwritableStoreAtClose();
    void readOnlyFileKeepsItsContents();
    void quitAndSignalsSave();

    void fontChoiceAppliesAndIsRemembered();
    void fontCancelAndDamagedValuesChangeNothing();
    void fontThatCannotBeStoredIsNotApplied();
    void savesThatFailAreReportedAndForgotten_data();
    void savesThatFailAreReportedAndForgotten();
    void fontSizeWrittenWithPoint();
    void qtFontDialogSpeaksGermanWithoutEffects();

    void aboutMessage();
    void closeCommand();

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString file;
};

void SettingsTest::firstRunOnAnEmptyStore()
{
    {
        Run run(file);
        QCOMPARE(choices(run.d), QStringList({u"60"_s, u"6"_s, u"off"_s, u"off"_s, u"off"_s}));
        QVERIFY(run.d.the<QAbstractButton>("OptionWurf(1)")->isChecked());
        QCOMPARE(run.d.tabs()->currentIndex(), 0);
        QCOMPARE(fontOf(run.d).family(), u"MS Sans Serif"_s);
        QVERIFY(!fontOf(run.d).bold() && !fontOf(run.d).italic());
        QVERIFY(!QFile::exists(file)); // starting writes nothing
        run.window.close();
    }
    QCOMPARE(storedSetup(file), QStringList({u"60"_s, u"6"_s, u"False"_s, u"False"_s, u"0"_s}));
    QVERIFY(!readFile(file).contains("[Font]")); // closing never writes the font
}

void SettingsTest::restartKeepsChoices()
{
    {
        Run run(file);
        QVERIFY(run.d.show());
        run.d.setValue("HScroll", 150);
        run.d.setValue("HScroll_Augen", 9);
        run.d.click("OptionWurf(0)");
        run.d.click("Check_90Grad");
        run.d.showPage(1);
        run.d.click("OptionWurf2(0)");
        run.window.close();
    }
    Run run(file);
    QCOMPARE(choices(run.d), QStringList({u"150"_s, u"9"_s, u"on"_s, u"on"_s, u"on"_s}));
    QVERIFY(!run.d.the("txt_Gewürfelt(9)")->isEnabled() &&
            run.d.the("cmd_Würfel2(7)")->isEnabled());
    QCOMPARE(run.d.the<CountLabel>("txt_Gewürfelt_2er2(4)")->isVertical(), true);
    QVERIFY(!run.d.the("cmd_Schrift")->isEnabled());
    // Neither the page nor the counts are remembered.
    QCOMPARE(run.d.tabs()->currentIndex(), 0);
    QCOMPARE(run.d.caption("txt_Wurfinfo(1)"), u"Wurf 0"_s);
}

void SettingsTest::closingRewritesSetupAndKeepsTheRest()
{
    const QByteArray font = "[Font]\nFontName=DejaVu Serif\nFontBold=true\nFontItalic=0\n"
                            "FontSize=11.5\n";
    QVERIFY(
        writeFile(file, "[Setup]\nOptionWurf=1\nCheck_90Grad=1\n" + font + "[Other]\nKeep=me\n"));
    {
        Run run(file);
        QCOMPARE(fontOf(run.d).family(), u"DejaVu Serif"_s);
        QVERIFY(fontOf(run.d).bold() && !fontOf(run.d).italic());
        run.window.close();
    }
    QCOMPARE(storedSetup(file), QStringList({u"60"_s, u"6"_s, u"True"_s, u"False"_s, u"1"_s}));
    for (const auto &[key, value] : {std::pair{"FontName", "DejaVu Serif"},
                                     {"FontBold", "true"},
                                     {"FontItalic", "0"},
                                     {"FontSize", "11.5"}})
        QCOMPARE(stored(file, u"Font/"_s + QString::fromUtf8(key)).toString(),
                 QString::fromUtf8(value));
    QCOMPARE(stored(file, u"Other/Keep"_s).toString(), u"me"_s);
}

void SettingsTest::storedValuesActAsTheUsersOwn()
{
    // "Addition" on the first page only.
    QVERIFY(writeFile(file, "[Setup]\nOptionWurf=True\nOptionWurf2=False\n"));
    {
        Run run(file);
        QVERIFY(!run.d.the<QAbstractButton>("OptionWurf(1)")->isChecked());
        QVERIFY(run.d.the<QAbstractButton>("OptionWurf2(1)")->isChecked());
    }
    // A stored 1 turns the labels as a click on "90°" does.
    QVERIFY(writeFile(file, "[Setup]\nCheck_90Grad=1\n"));
    {
        Run run(file);
        for (CountLabel *label : run.window.findChildren<CountLabel *>())
            QCOMPARE(label->isVertical(), true);
        QVERIFY(!run.d.the("cmd_Schrift")->isEnabled());
    }
    // Six sides, as designed: no sides update runs, so everything keeps its designed look.
    QVERIFY(writeFile(file, "[Setup]\nAugen=6\n"));
    Run run(file);
    QVERIFY(run.d.the("txt_Gewürfelt(9)")->isEnabled());
    QCOMPARE(run.d.pixel("txt_Gewürfelt_2er(8)", {3, 3}), QColor(0xFF, 0xFF, 0xFF));
    QVERIFY(run.d.the("cmd_Würfel2(4)")->isEnabled() && !run.d.the("cmd_Würfel2(5)")->isEnabled());
    QCOMPARE(run.d.caption("Label_Augen"), u"Würfelanzahl mit 6 Seiten "_s);
    run.d.setValue("HScroll_Augen", 7); // the first move brings everything in line
    run.d.setValue("HScroll_Augen", 6);
    QVERIFY(!run.d.the("txt_Gewürfelt(9)")->isEnabled());
}

void SettingsTest::damagedValuesFallBack_data()
{
    QTest::addColumn<int>("key"); // of kSetupKeys
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("shown"); // empty: the key's default
    for (int key = 0; key < 5; ++key)
        for (const char *junk : {"", "abc", "99999999999999999999", "12.5", "\x01\xff\xfe\x80"})
            QTest::addRow("%d=%s", key, QByteArray(junk).toHex().constData())
                << key << QByteArray(junk) << QString();
    for (const char *outside : {"-5", "0", "201"})
        QTest::addRow("dice %s", outside) << 0 << QByteArray(outside) << QString();
    for (const char *outside : {"1", "11"})
        QTest::addRow("sides %s", outside) << 1 << QByteArray(outside) << QString();
    for (const char *outside : {"-1", "2", "3"})
        QTest::addRow("90° %s", outside) << 4 << QByteArray(outside) << QString();
    // The ends of the ranges are sound values.
    QTest::newRow("dice 1") << 0 << QByteArray("1") << u"1"_s;
    QTest::newRow("dice 200") << 0 << QByteArray(" 200") << u"200"_s;
    QTest::newRow("sides 2") << 1 << QByteArray("2") << u"2"_s;
    QTest::newRow("sides 10") << 1 << QByteArray("10") << u"10"_s;
}

void SettingsTest::damagedValuesFallBack()
{
    QFETCH(int, key);
    QFETCH(QByteArray, value);
    QFETCH(QString, shown);
    // Every key holds a sound value other than its default, but the one under test.
    QByteArrayList lines = {"W%FCrfelanzahl=123", "Augen=9", "OptionWurf=True", "OptionWurf2=True",
                            "Check_90Grad=1"};
    lines[key] = lines[key].left(lines[key].indexOf('=') + 1) + value;
    QVERIFY(writeFile(file, "[Setup]\n" + lines.join('\n') + '\n'));
    Run run(file);
    QStringList expected = {u"123"_s, u"9"_s, u"on"_s, u"on"_s, u"on"_s};
    expected[key] =
        shown.isEmpty() ? QStringList({u"60"_s, u"6"_s, u"off"_s, u"off"_s, u"off"_s})[key] : shown;
    QCOMPARE(choices(run.d), expected);
}

void SettingsTest::randomFilesStartInRange()
{
    // Noise, cut, mutated, keys over and over with any value, enormous values, broken UTF-8.
    const QByteArray sound = "[Setup]\nW%FCrfelanzahl=120\nAugen=8\nOptionWurf=True\n"
                             "OptionWurf2=False\nCheck_90Grad=1\n[Font]\nFontName=DejaVu Sans\n"
                             "FontBold=True\nFontItalic=False\nFontSize=12\n";
    const char *keys[] = {"W%FCrfelanzahl", "Würfelanzahl", "Augen",    "OptionWurf", "OptionWurf2",
                          "Check_90Grad",   "FontName",     "FontBold", "FontItalic", "FontSize"};
    QRandomGenerator random(4711);
    auto bytes = [&](int length) {
        QByteArray b(length, '\0');
        for (char &c : b)
            c = static_cast<char>(random.bounded(256));
        return b;
    };
    auto value = [&]() -> QByteArray {
        switch (random.bounded(6)) {
        case 0:
            return QByteArray::number(random.bounded(-1000, 1000));
        case 1:
            return QByteArray::number(static_cast<qint64>(random.generate64()));
        case 2:
            return QByteArray::number(random.generateDouble() * 400 - 200, 'f', 3);
        case 3:
            return "True";
        case 4:
            return bytes(random.bounded(40)).replace('\n', ' ');
        default:
            return QByteArray(random.bounded(1, 20), '9');
        }
    };
    // Every run writes its file with a flush to disk; memory-backed storage keeps that quick.
    const QTemporaryDir shm(u"/dev/shm/talvero-XXXXXX"_s);
    for (int i = 0; i < 600; ++i) {
        QByteArray content = sound;
        switch (i % 6) {
        case 0:
            content = bytes(random.bounded(4096));
            break;
        case 1:
            content.truncate(random.bounded(sound.size() + 1));
            break;
        case 2:
            for (int n = random.bounded(1, 12); n > 0; --n)
                content[random.bounded(content.size())] = static_cast<char>(random.bounded(256));
            break;
        case 3:
            for (int n = random.bounded(1, 30); n > 0; --n)
                content += (random.bounded(4) ? "" : "[Setup]\n") +
                           QByteArray(keys[random.bounded(10)]) + '=' + value() + '\n';
            break;
        case 4:
            content += "[Setup]\n" + QByteArray(keys[random.bounded(10)]) + '=' +
                       QByteArray(random.bounded(100'000, 1'000'000), '7') + '\n';
            break;
        default:
            content.replace("Setup", "Set\xffup").replace("Augen=8", "Augen=\xc3\x28");
            content.insert(random.bounded(content.size()), "\n\x80\x81=\xfe\n");
        }
        // A name of its own: Qt takes a file of the same name, size and modification time (to
        // the millisecond) for the one it read before.
        const QString name = u"%1.conf"_s.arg(i);
        file = shm.isValid() ? shm.filePath(name) : dir->filePath(name);
        QVERIFY(writeFile(file, content));
        startsAndSavesInRange(file, u"file %1: %2"_s.arg(i).arg(
                                        QString::fromLatin1(content.left(80).toPercentEncoding())));
        if (QTest::currentTestFailed())
            return;
    }
}

void SettingsTest::sampleFilesStartInRange()
{
    // The fuzzer's seed files, and every file it has found a fault with.
    QFileInfoList samples;
    for (const char *folder : {TALVERO_FUZZ_CORPUS, TALVERO_TEST_DATA})
        samples += QDir(QString::fromUtf8(folder)).entryInfoList({u"*.conf"_s}, QDir::Files);
    QVERIFY(samples.size() >= 8);
    for (const QFileInfo &sample : std::as_const(samples)) {
        file = dir->filePath(sample.fileName());
        QVERIFY(writeFile(file, readFile(sample.filePath())));
        startsAndSavesInRange(file, sample.filePath());
        if (QTest::currentTestFailed())
            return;
    }
}

void SettingsTest::unwritableStoreAtClose()
{
    // A folder that is a file: nothing can be written below it, not even by root.
    const QString blocker = dir->filePath(u"not-a-folder"_s);
    QVERIFY(writeFile(blocker, "x"));
    expectOneWarning();
    {
        Run run(blocker + u"/Talvero.conf"_s);
        QVERIFY(run.d.show());
        run.d.setValue("HScroll", 99);
        QVERIFY(run.window.close());
        QVERIFY(!run.window.isVisible());
    }
    QCOMPARE(readFile(blocker), QByteArray("x"));
}

void SettingsTest::readOnlyFileKeepsItsContents()
{
    if (::geteuid() == 0)
        QSKIP("file permissions do not bind root");
    const QByteArray content = "[Setup]\nW%FCrfelanzahl=42\n";
    QVERIFY(writeFile(file, content));
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    QFile::setPermissions(dir->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    expectOneWarning();
    {
        Run run(file);
        QCOMPARE(run.d.caption("txt_AnzahlWürfel"), u"42"_s);
        run.d.setValue("HScroll", 7);
        run.window.close();
    }
    QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(readFile(file), content);
}

void SettingsTest::quitAndSignalsSave()
{
    {
        Run run(file);
        run.d.setValue("HScroll", 77);
        // The application quits without the window being closed first.
        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        QCoreApplication::exec();
        QCOMPARE(stored(file, kSetupKeys[0]).toString(), u"77"_s);
        run.d.setValue("HScroll", 78);
        run.window.close(); // saved once only
    }
    QCOMPARE(stored(file, kSetupKeys[0]).toString(), u"77"_s);
    // Logout or shutdown (SIGTERM), a vanished terminal (SIGHUP), Ctrl+C (SIGINT).
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        {
            Run run(file);
            CloseOnSignals closer(run.window);
            QVERIFY(run.d.show());
            run.d.setValue("HScroll", 100 + signal);
            QVERIFY(::raise(signal) == 0); // handled: the process lives on
            QTRY_VERIFY(!run.window.isVisible());
        }
        QCOMPARE(stored(file, kSetupKeys[0]).toString(), QString::number(100 + signal));
    }
}

void SettingsTest::fontChoiceAppliesAndIsRemembered()
{
    QList<QFont> presets;
    {
        Run run(file);
        QVERIFY(run.d.show());
        const qreal layoutSize = fontOf(run.d).pointSizeF();
        run.d.watch.fontDialog = [&](QFontDialog &dialog) {
            presets << dialog.currentFont();
            QFont chosen(u"DejaVu Serif"_s, 14);
            chosen.setBold(true);
            dialog.setCurrentFont(chosen);
            dialog.accept();
        };
        run.d.click("cmd_Schrift");
        QCOMPARE(presets.size(), 1);
        QCOMPARE(presets[0].family(), QFontInfo(QFont(u"MS Sans Serif"_s)).family());
        QCOMPARE(presets[0].pointSizeF(), 8.0);
        QVERIFY(!presets[0].bold() && !presets[0].italic());
        for (CountLabel *label : run.window.findChildren<CountLabel *>()) {
            QCOMPARE(label->labelFont().family(), u"DejaVu Serif"_s);
            QVERIFY(label->labelFont().bold() && !label->labelFont().italic());
            QCOMPARE(label->labelFont().pointSizeF(), layoutSize); // the layout's, not 14
        }
        QCOMPARE(stored(file, u"Font/FontName"_s).toString(), u"DejaVu Serif"_s); // at once
        QCOMPARE(stored(file, u"Font/FontBold"_s).toString(), u"True"_s);
        QCOMPARE(stored(file, u"Font/FontItalic"_s).toString(), u"False"_s);
        QCOMPARE(stored(file, u"Font/FontSize"_s).toString(), u"14"_s);
        run.d.click("cmd_Schrift"); // opens on that choice
        QCOMPARE(presets[1].family(), u"DejaVu Serif"_s);
        QVERIFY(presets[1].bold());
        QCOMPARE(presets[1].pointSizeF(), 14.0);
        run.window.close();
    }
    Run run(file);
    QCOMPARE(fontOf(run.d, "txt_Gewürfelt(0)").family(), u"DejaVu Serif"_s);
    QVERIFY(fontOf(run.d, "txt_Gewürfelt2(9)").bold());
}

void SettingsTest::fontCancelAndDamagedValuesChangeNothing()
{
    const QByteArray content =
        "[Font]\nFontName=Liberation Serif\nFontItalic=TRUE\nFontSize=zwölf\n";
    QVERIFY(writeFile(file, content));
    Run run(file);
    QFont preset;
    run.d.watch.fontDialog = [&](QFontDialog &dialog) {
        preset = dialog.currentFont();
        dialog.setCurrentFont(QFont(u"DejaVu Sans"_s, 20));
        dialog.reject();
    };
    run.d.click("cmd_Schrift");
    QCOMPARE(preset.family(), u"Liberation Serif"_s);
    QVERIFY(preset.italic() && !preset.bold());
    QCOMPARE(preset.pointSizeF(), 8.0); // the damaged size is skipped: the dialog's own stays
    QCOMPARE(readFile(file), content);
    QCOMPARE(fontOf(run.d).family(), u"Liberation Serif"_s);
    QVERIFY(fontOf(run.d).italic());

    // Values that are no face or truth value leave the labels as they are.
    QVERIFY(writeFile(file, "[Font]\nFontName=\nFontBold=fett\nFontItalic=\x01\xff\n"));
    Run damaged(file);
    QCOMPARE(fontOf(damaged.d).family(), u"MS Sans Serif"_s);
    QVERIFY(!fontOf(damaged.d).bold() && !fontOf(damaged.d).italic());
}

void SettingsTest::fontThatCannotBeStoredIsNotApplied()
{
    const QString blocker = dir->filePath(u"not-a-folder"_s);
    QVERIFY(writeFile(blocker, "x"));
    expectOneWarning();
    Run run(blocker + u"/Talvero.conf"_s);
    run.d.watch.fontDialog = [](QFontDialog &dialog) {
        dialog.setCurrentFont(QFont(u"DejaVu Serif"_s, 14));
        dialog.accept();
    };
    run.d.click("cmd_Schrift");
    QCOMPARE(fontOf(run.d).family(), u"MS Sans Serif"_s);
}

void SettingsTest::savesThatFailAreReportedAndForgotten_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("sound file") << QByteArray("[Setup]\nAugen=3\n[Font]\nFontName=DejaVu Sans\n");
    // Qt reports such a file as damaged for as long as the store lives.
    QTest::newRow("damaged file") << QByteArray("[Setup\nAugen=3\n[Font]\nFontName=DejaVu Sans\n");
}

void SettingsTest::savesThatFailAreReportedAndForgotten()
{
    QFETCH(QByteArray, content);
    QVERIFY(writeFile(file, content));
    auto run = std::make_unique<Run>(file);
    auto choose = [&](const char *face) {
        run->d.watch.fontDialog = [face](QFontDialog &dialog) {
            dialog.setCurrentFont(QFont(QString::fromUtf8(face), 12));
            dialog.accept();
        };
        run->d.click("cmd_Schrift");
    };
    {
        const FullDisk full;
        expectOneWarning();
        choose("DejaVu Serif");
    }
    QCOMPARE(fontOf(run->d).family(), u"DejaVu Sans"_s);
    QCOMPARE(readFile(file), content);

    // The disk has room again: the next choice is stored and shown, and the one that could
    // not be stored never reaches the file, nor the next dialog.
    QFont opened;
    run->d.watch.fontDialog = [&](QFontDialog &dialog) {
        opened = dialog.currentFont();
        dialog.reject();
    };
    run->d.click("cmd_Schrift");
    QCOMPARE(opened.family(), u"DejaVu Sans"_s);
    QTest::failOnWarning(QRegularExpression(u"Einstellung"_s));
    choose("Liberation Serif");
    QCOMPARE(fontOf(run->d).family(), u"Liberation Serif"_s);
    QCOMPARE(stored(file, u"Font/FontName"_s).toString(), u"Liberation Serif"_s);
    {
        const FullDisk full;
        expectOneWarning();
        choose("DejaVu Serif");
    }
    run->window.close();
    run.reset();
    QCOMPARE(stored(file, u"Font/FontName"_s).toString(), u"Liberation Serif"_s);
    QCOMPARE(stored(file, u"Setup/Augen"_s).toString(), u"3"_s);
}

void SettingsTest::fontSizeWrittenWithPoint()
{
    // Whatever the locale, so that the next run reads it back.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString written = sizeText(10.5f);
    QLocale::setDefault(previous);
    QCOMPARE(written, u"10.5"_s);
    QCOMPARE(parseSize(written), 10.5f);
    QCOMPARE(parseSize(u"10,5"_s), 10.5f); // edited by hand
}

void SettingsTest::qtFontDialogSpeaksGermanWithoutEffects()
{
    QTranslator translator;
    const bool german = installGermanTranslation(translator);
    Run run(file);
    QString title;
    bool effects = true;
    run.d.watch.fontDialog = [&](QFontDialog &dialog) {
        title = dialog.windowTitle();
        effects = false;
        for (QCheckBox *box : dialog.findChildren<QCheckBox *>())
            effects = effects || box->isVisible();
        dialog.reject();
    };
    run.d.click("cmd_Schrift");
    QCoreApplication::removeTranslator(&translator);
    QVERIFY(!effects);
    if (!german)
        QSKIP("Qt's German translation is not installed");
    QVERIFY2(title != u"Select Font"_s, qPrintable(title));
}

void SettingsTest::aboutMessage()
{
    Run run(file);
    QVERIFY(run.d.show());
    run.d.watch.expectBoxes(1);
    run.d.click("Logo");
    QCOMPARE(run.d.watch.boxes.size(), 1);
    const ModalWatch::Box box = run.d.watch.boxes[0];
    QCOMPARE(box.icon, QMessageBox::Information);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    const QStringList lines = box.text.split(u'\n');
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], u"Talvero Version 1.01.01"_s);
    QVERIFY(lines[1].isEmpty() && !lines[2].isEmpty() && !lines[5].isEmpty());
    // The message itself breaks its lines with carriage returns alone.
    QCOMPARE(aboutText(), QString(box.text).replace(u'\n', u'\r'));
}

void SettingsTest::closeCommand()
{
    for (const bool byKey : {false, true}) {
        {
            Run run(file);
            QVERIFY(run.d.show());
            run.d.setValue("HScroll", byKey ? 32 : 31);
            if (byKey)
                QTest::keyClick(&run.window, Qt::Key_S, Qt::AltModifier);
            else
                run.d.click("cmd_Ende");
            QTRY_VERIFY(!run.window.isVisible());
        }
        QCOMPARE(stored(file, kSetupKeys[0]).toString(), byKey ? u"32"_s : u"31"_s);
    }
}

QTEST_MAIN(SettingsTest)
#include "test_settings.moc"
