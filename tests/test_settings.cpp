// SPDX-License-Identifier: GPL-3.0-or-later
// Settings across restarts, damaged, sample and unwritable stores, saves that fail, the font
// choice, the about message and every way a run ends. Every store lives in a temporary folder.

#include "settings/commands/about_box.h"
#include "support/settings_run.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QFontInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <memory>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace talvero;
using namespace talvero::testing;

namespace {

const QString kDiceKey = u"Setup/Würfelanzahl"_s;

// The five choices a run shows: dice, sides, "Addition" on either page, "90°".
QString choices(const Driver &d)
{
    auto on = [&](const char *name) {
        return d.the<QAbstractButton>(name)->isChecked();
    };
    return u"%1 %2 %3 %4 %5"_s.arg(d.caption("txt_AnzahlWürfel"), d.caption("Würfelaugen"))
        .arg(on("OptionWurf(0)") ? u"on"_s : u"off"_s, on("OptionWurf2(0)") ? u"on"_s : u"off"_s,
             on("Check_90Grad") ? u"on"_s : u"off"_s);
}

// The five "Setup" values as the file holds them, or the four "Font" values.
QString storedValues(const QString &path, const QString &keys)
{
    const QSettings settings(path, QSettings::IniFormat);
    QStringList values;
    for (const QString &key : keys.split(u' '))
        values << settings.value(key).toString();
    return values.join(u',');
}
QString storedSetup(const QString &path)
{
    return storedValues(
        path,
        u"Setup/Würfelanzahl Setup/Augen Setup/OptionWurf Setup/OptionWurf2 Setup/Check_90Grad"_s);
}
QString storedFont(const QString &path)
{
    return storedValues(path, u"Font/FontName Font/FontBold Font/FontItalic Font/FontSize"_s);
}

// A font as face, bold, italic and size, to compare in one go.
QString described(const QFont &font)
{
    return QStringList{font.family(), QString::number(font.bold()), QString::number(font.italic()),
                       QString::number(font.pointSizeF())}
        .join(u',');
}

// Picks a face, size and bold in the font dialog as a user's clicks do. The style is named as the
// face names it: with Qt's German texts installed the dialog would look up "Fett" and miss.
void chooseInDialog(QFontDialog &dialog, const QString &face, int size, bool bold)
{
    QFont chosen(face, size);
    chosen.setBold(bold);
    chosen.setStyleName(QFontInfo(chosen).styleName());
    dialog.setCurrentFont(chosen);
}

// A store that cannot be written says so once, and only once, and why when `reason` is given.
void expectOneWarning(const QString &reason = {})
{
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(u"^Die Einstellungen konnten nicht "
                                            u"gespeichert werden: .+Talvero.conf.*"_s +
                                            QRegularExpression::escape(reason) + u'$'));
    QTest::failOnWarning(QRegularExpression(u"Einstellung"_s));
}

// While it lives, no file of this process can grow beyond `bytes`, as on a full disk or a
// quota; root too is held to it.
class FullDisk
{
public:
    explicit FullDisk(rlim_t bytes = 16)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, SIG_IGN); // a failed write, not the end of the process
        rlimit tiny = saved_;
        tiny.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FullDisk() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

// The store's warnings while it lives, kept from the test log.
class StoreWarnings
{
public:
    StoreWarnings()
    {
        current_ = this;
        previous_ = qInstallMessageHandler(&keep);
    }
    ~StoreWarnings() { qInstallMessageHandler(previous_); }
    QStringList messages;

private:
    static void keep(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (qstrcmp(context.category, "talvero.settings") == 0)
            current_->messages << text;
        else
            previous_(type, context, text);
    }
    static inline StoreWarnings *current_ = nullptr;
    static inline QtMessageHandler previous_ = nullptr;
};

// A settings file's "Section/key=value" lines, sorted, read as plain text.
QStringList entries(const QByteArray &content)
{
    QStringList entries;
    QString section;
    for (const QByteArray &line : content.split('\n')) {
        if (line.startsWith('['))
            section = QString::fromUtf8(line.mid(1).chopped(1));
        else if (!line.isEmpty())
            entries << section + u'/' + QString::fromUtf8(line);
    }
    entries.sort();
    return entries;
}

QFont fontOf(const Driver &d, const char *label = "txt_Gewürfelt_2er2(8)")
{
    return d.the<CountLabel>(label)->labelFont();
}

// A run on whatever the file holds shows every choice in range and saves a sound file that holds
// what it showed.
void verifyStartsInRange(const QString &file, const QByteArray &context)
{
    QStringList v;
    {
        Run run(file);
        v = choices(run.d).split(u' ');
        QVERIFY2(v[0].toInt() >= 1 && v[0].toInt() <= 200 && v[1].toInt() >= 2 &&
                     v[1].toInt() <= 10,
                 context.constData());
        QVERIFY2(run.d.the<QAbstractButton>("OptionWurf(1)")->isChecked() != (v[2] == u"on"),
                 context.constData());
        QCOMPARE(run.d.the("cmd_Schrift")->isEnabled(), v[4] == u"off");
        run.window.close();
    }
    QVERIFY2(QSettings(file, QSettings::IniFormat).status() == QSettings::NoError,
             context.constData());
    auto truth = [](const QString &onOff) {
        return onOff == u"on" ? u"True"_s : u"False"_s;
    };
    QCOMPARE(storedSetup(file), u"%1,%2,%3,%4,%5"_s.arg(v[0], v[1], truth(v[2]), truth(v[3]),
                                                        v[4] == u"on" ? u"1"_s : u"0"_s));
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

    void restartKeepsChoices();
    void closingRewritesSetupAndKeepsTheRest();
    void storedSixSidesKeepTheDesignedLooks();
    void damagedValuesFallBack_data();
    void damagedValuesFallBack();
    void sampleFilesStartInRange();
    void unwritableStoreAtClose_data();
    void unwritableStoreAtClose();
    void readOnlyFileKeepsItsContents_data();
    void readOnlyFileKeepsItsContents();
    void everyWayOutSaves_data();
    void everyWayOutSaves();
    void signalsIgnoredAtStartStayIgnored();
    void failedSaveLeavesNothingPending();
    void savesNeverCutTheFile_data();
    void savesNeverCutTheFile();
    void savesOnAFullDiskNeverCutTheFile();
    void savesReachTheFileAtTheEndOfLinks();
    void savesRemoveWhatKilledSavesLeft();

    void fontChoiceAppliesAndIsRemembered();
    void fontDialogOpensOnTheStoredFont_data();
    void fontDialogOpensOnTheStoredFont();
    void fontCancelAndDamagedValuesChangeNothing();
    void savesThatFailAreReportedAndForgotten_data();
    void savesThatFailAreReportedAndForgotten();
    void fontSizeWrittenWithPoint();
    void aboutMessage_data();
    void aboutMessage();

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString file;
};

void SettingsTest::restartKeepsChoices()
{
    {
        Run run(file);
        QCOMPARE(choices(run.d), u"60 6 off off off"_s);
        QCOMPARE(fontOf(run.d).family(), u"MS Sans Serif"_s);
        QVERIFY(!QFile::exists(file)); // starting writes nothing
        run.window.close();
    }
    QCOMPARE(storedSetup(file), u"60,6,False,False,0"_s);
    QVERIFY(!readFile(file).contains("[Font]")); // closing never writes the font
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
    QCOMPARE(choices(run.d), u"150 9 on on on"_s);
    QVERIFY(!run.d.the("txt_Gewürfelt(9)")->isEnabled() &&
            run.d.the("cmd_Würfel2(7)")->isEnabled());
    QVERIFY(run.d.the<CountLabel>("txt_Gewürfelt_2er2(4)")->isVertical());
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
    QCOMPARE(storedSetup(file), u"60,6,True,False,1"_s);
    QCOMPARE(storedFont(file), u"DejaVu Serif,true,0,11.5"_s);
    QCOMPARE(stored(file, u"Other/Keep"_s).toString(), u"me"_s);
}

void SettingsTest::storedSixSidesKeepTheDesignedLooks()
{
    // Six sides, as designed: no sides update runs, so everything keeps its designed look
    // until the first move brings it in line.
    QVERIFY(writeFile(file, "[Setup]\nAugen=6\n"));
    Run run(file);
    QVERIFY(run.d.the("txt_Gewürfelt(9)")->isEnabled());
    QCOMPARE(run.d.pixel("txt_Gewürfelt_2er(8)", {3, 3}), QColor(0xFF, 0xFF, 0xFF));
    QVERIFY(run.d.the("cmd_Würfel2(4)")->isEnabled() && !run.d.the("cmd_Würfel2(5)")->isEnabled());
    QCOMPARE(run.d.caption("Label_Augen"), u"Würfelanzahl mit 6 Seiten "_s);
    run.d.setValue("HScroll_Augen", 7);
    run.d.setValue("HScroll_Augen", 6);
    QVERIFY(!run.d.the("txt_Gewürfelt(9)")->isEnabled());
}

void SettingsTest::damagedValuesFallBack_data()
{
    QTest::addColumn<int>("key"); // Würfelanzahl, Augen, OptionWurf, OptionWurf2, Check_90Grad
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("shown"); // empty: the key's default
    for (int key = 0; key < 5; ++key)
        for (const char *junk : {"", "abc", "99999999999999999999", "12.5", "\x01\xff\xfe\x80"})
            QTest::addRow("%d=%s", key, QByteArray(junk).toHex().constData())
                << key << QByteArray(junk) << QString();
    for (const auto &[key, value] : {std::pair{0, "-5"},
                                     {0, "0"},
                                     {0, "201"},
                                     {1, "1"},
                                     {1, "11"},
                                     {4, "-1"},
                                     {4, "2"},
                                     {4, "3"}})
        QTest::addRow("%d=%s, out of range", key, value) << key << QByteArray(value) << QString();
    // Sound values: the ends of the ranges, "Addition" on the first page only.
    for (const auto &[key, value] : {std::pair{0, "1"}, {0, " 200"}, {1, "2"}, {1, "10"}})
        QTest::addRow("%d=%s", key, value)
            << key << QByteArray(value) << QString::fromUtf8(value).trimmed();
    QTest::newRow("3=False") << 3 << QByteArray("False") << u"off"_s;
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
    expected[key] = shown.isEmpty() ? u"60 6 off off off"_s.split(u' ')[key] : shown;
    QCOMPARE(choices(run.d), expected.join(u' '));
    // Stored choices act as the user's own: "90°" turns the labels, the sides grey the surplus.
    QCOMPARE(run.d.the<CountLabel>("txt_Gewürfelt2(0)")->isVertical(), expected[4] == u"on");
    QCOMPARE(run.d.the("cmd_Würfel2(7)")->isEnabled(), expected[1].toInt() >= 9);
    QCOMPARE(run.d.the<QAbstractButton>("OptionWurf2(1)")->isChecked(), expected[3] == u"off");
}

void SettingsTest::sampleFilesStartInRange()
{
    // The fuzzer's seed files, files damaged in every way we know of (noise, cut, bytes replaced,
    // inserted and removed, keys over and over with any value, enormous values, broken UTF-8),
    // and every file the fuzzer has found a fault with.
    QFileInfoList samples;
    for (const char *folder : {TALVERO_FUZZ_CORPUS, TALVERO_TEST_DATA})
        samples += QDir(QString::fromUtf8(folder)).entryInfoList({u"*.conf"_s}, QDir::Files);
    QVERIFY(samples.size() >= 18);
    for (const QFileInfo &sample : std::as_const(samples)) {
        file = dir->filePath(sample.fileName());
        QVERIFY(writeFile(file, readFile(sample.filePath())));
        verifyStartsInRange(file, sample.filePath().toUtf8());
        if (QTest::currentTestFailed())
            return;
    }
}

void SettingsTest::unwritableStoreAtClose_data()
{
    QTest::addColumn<QString>("store");  // below the test's folder, %1
    QTest::addColumn<QString>("reason"); // %2: the system's words for "is a folder"
    // Nothing can be written below a file, not even by root.
    QTest::newRow("its folder a file")
        << u"not-a-folder/Talvero.conf"_s
        << u"Der Ordner %1/not-a-folder fehlt und lässt sich nicht anlegen."_s;
    QTest::newRow("it is a folder") << u"Talvero.conf"_s
                                    << u"Die Datei lässt sich nicht lesen. Die Ursache ist nicht "
                                       "bekannt; das System meldet: %2."_s;
}

void SettingsTest::unwritableStoreAtClose()
{
    QFETCH(QString, store);
    QFETCH(QString, reason);
    const QString blocker = dir->filePath(store.section(u'/', 0, 0));
    QVERIFY(store.contains(u'/') ? writeFile(blocker, "x") : QDir().mkdir(blocker));
    expectOneWarning(reason.replace(u"%1"_s, dir->path())
                         .replace(u"%2"_s, QString::fromLocal8Bit(std::strerror(EISDIR))));
    {
        Run run(dir->filePath(store));
        QVERIFY(run.d.show());
        run.d.setValue("HScroll", 99);
        QVERIFY(run.window.close());
        QVERIFY(!run.window.isVisible());
    }
    QVERIFY(store.contains(u'/') ? readFile(blocker) == "x" : QDir(blocker).isEmpty());
}

void SettingsTest::readOnlyFileKeepsItsContents_data()
{
    QTest::addColumn<bool>("fileReadOnly");
    QTest::addColumn<bool>("folderReadOnly");
    QTest::addColumn<QString>("reason"); // %1: the folder
    QTest::newRow("file") << true << false << u"Die Datei ist schreibgeschützt."_s;
    QTest::newRow("folder") << false << true << u"Sie dürfen in den Ordner %1 nicht schreiben."_s;
    QTest::newRow("both") << true << true << u"Die Datei ist schreibgeschützt."_s;
}

void SettingsTest::readOnlyFileKeepsItsContents()
{
    QFETCH(bool, fileReadOnly);
    QFETCH(bool, folderReadOnly);
    QFETCH(QString, reason);
    if (::geteuid() == 0)
        QSKIP("file permissions do not bind root");
    const QByteArray content = "[Setup]\nW%FCrfelanzahl=42\n";
    QVERIFY(writeFile(file, content));
    if (fileReadOnly)
        QFile::setPermissions(file, QFileDevice::ReadOwner);
    if (folderReadOnly)
        QFile::setPermissions(dir->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    expectOneWarning(reason.replace(u"%1"_s, dir->path()));
    {
        Run run(file);
        QCOMPARE(run.d.caption("txt_AnzahlWürfel"), u"42"_s);
        run.d.setValue("HScroll", 7);
        run.window.close();
    }
    QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(readFile(file), content);
}

void SettingsTest::everyWayOutSaves_data()
{
    QTest::addColumn<int>("signal"); // 0: the way the row names
    QTest::newRow("close box") << 0;
    QTest::newRow("Schließen") << 0;
    QTest::newRow("Alt+S") << 0;
    QTest::newRow("the application quits") << 0;
    QTest::newRow("SIGTERM, logout or shutdown") << SIGTERM;
    QTest::newRow("SIGHUP, the terminal went away") << SIGHUP;
    QTest::newRow("SIGINT, Ctrl+C") << SIGINT;
}

void SettingsTest::everyWayOutSaves()
{
    QFETCH(int, signal);
    const QString way = QString::fromUtf8(QTest::currentDataTag());
    {
        Run run(file);
        // Quitting closes the windows shown; one that is not must not keep the choices unsaved.
        QVERIFY(way == u"the application quits" || run.d.show());
        run.d.setValue("HScroll", 77);
        if (signal != 0) {
            QVERIFY(::raise(signal) == 0); // handled: the process lives on
        } else if (way == u"Schließen") {
            run.d.click("cmd_Ende");
        } else if (way == u"Alt+S") {
            QTest::keyClick(&run.window, Qt::Key_S, Qt::AltModifier);
        } else if (way == u"the application quits") {
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
            QCoreApplication::exec();
            QCOMPARE(stored(file, kDiceKey).toString(), u"77"_s);
            run.d.setValue("HScroll", 78); // saved once only
            run.window.close();
        } else {
            run.window.close();
        }
        QTRY_VERIFY(!run.window.isVisible());
    }
    QCOMPARE(stored(file, kDiceKey).toString(), u"77"_s);
}

void SettingsTest::signalsIgnoredAtStartStayIgnored()
{
    // Started as `nohup talvero &`: the terminal going away must not end it.
    std::signal(SIGHUP, SIG_IGN);
    // A handler of our own for SIGTERM, whatever earlier runs left behind.
    const auto ownTerminate = +[](int) {
    };
    const auto testTerminate = std::signal(SIGTERM, ownTerminate);
    {
        Run run(file);
        QVERIFY(run.d.show());
        run.d.setValue("HScroll", 77);
        QVERIFY(::raise(SIGHUP) == 0);
        QTest::qWait(50);
        QVERIFY(run.window.isVisible());
        QVERIFY(!QFile::exists(file));
        QVERIFY(::raise(SIGTERM) == 0); // the others still close it, and it saves
        QTRY_VERIFY(!run.window.isVisible());
    }
    QCOMPARE(stored(file, kDiceKey).toString(), u"77"_s);
    // Put back as they were: SIGHUP ignored, SIGTERM to the handler it had.
    const auto hangUp = std::signal(SIGHUP, SIG_DFL);
    const auto terminate = std::signal(SIGTERM, testTerminate);
    QVERIFY(hangUp == SIG_IGN);
    QVERIFY(terminate == ownTerminate);
}

void SettingsTest::failedSaveLeavesNothingPending()
{
    QVERIFY(writeFile(file, "[Font]\nFontName=DejaVu Sans\nFontBold=false\n"));
    SettingsStore a(file);
    {
        const FullDisk full;
        expectOneWarning();
        a.write(keys::fontName, u"DejaVu Serif"_s);
        a.write(keys::fontBold, true);
        QVERIFY(!a.save().saved);
    }
    QCOMPARE(a.readText(keys::fontName), u"DejaVu Sans"_s);
    // Another Talvero, a process of its own, stores a font in between.
    const pid_t other = ::fork();
    if (other == 0) {
        SettingsStore b(file);
        b.write(keys::fontName, u"Liberation Serif"_s);
        ::_exit(b.save().saved ? 0 : 1);
    }
    int status = -1;
    QCOMPARE(::waitpid(other, &status, 0), other);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // This one then saves what its window closes with: only that.
    a.write(keys::sides, 9);
    QVERIFY(a.save().saved);
    QCOMPARE(a.readText(keys::fontName), u"Liberation Serif"_s);
    QCOMPARE(storedFont(file), u"Liberation Serif,false,,"_s);
    QCOMPARE(stored(file, u"Setup/Augen"_s).toString(), u"9"_s);
}

void SettingsTest::savesNeverCutTheFile_data()
{
    QTest::addColumn<QStringList>("whole"); // what the file holds after the save, sorted
    const QString note = u"Other/Note="_s + QString(300, u'x');
    QTest::newRow("font dialog") << QStringList{u"Font/FontBold=True"_s, u"Font/FontItalic=False"_s,
                                                u"Font/FontName=DejaVu Serif"_s,
                                                u"Font/FontSize=20"_s, note};
    QTest::newRow("closing") << QStringList{u"Font/FontName=DejaVu Sans"_s,
                                            note,
                                            u"Setup/Augen=6"_s,
                                            u"Setup/Check_90Grad=0"_s,
                                            u"Setup/OptionWurf2=False"_s,
                                            u"Setup/OptionWurf=False"_s,
                                            u"Setup/W%FCrfelanzahl=60"_s};
}

void SettingsTest::savesNeverCutTheFile()
{
    QFETCH(QStringList, whole);
    const bool atClose = QByteArray(QTest::currentDataTag()) == "closing";
    // Larger than the lock file: from its size on, only merging the new values can fail.
    const QByteArray before =
        "[Font]\nFontName=DejaVu Sans\n[Other]\nNote=" + QByteArray(300, 'x') + '\n';
    bool savedOnce = false;
    // One run chooses a font again and again; a run closes once.
    auto run = std::make_unique<Run>(file);
    run->d.watch.fontDialog = [](QFontDialog &dialog) {
        chooseInDialog(dialog, u"DejaVu Serif"_s, 20, true);
        dialog.accept();
    };
    // Every stage: the lock file, the copy, the merge, and past the new file's size.
    for (rlim_t limit = 0; limit <= rlim_t(before.size()) + 160; limit += 16) {
        const QByteArray context = "limit " + QByteArray::number(quint64(limit));
        QVERIFY(writeFile(file, before));
        if (atClose)
            run = std::make_unique<Run>(file);
        run->d.watch.boxes.clear();
        StoreWarnings warnings;
        {
            const FullDisk full(limit);
            if (atClose) {
                run->window.close();
            } else {
                run->d.watch.expectBoxes(1);
                run->d.click("cmd_Schrift");
            }
        }
        const QByteArray after = readFile(file);
        QVERIFY2(warnings.messages.size() == (after == before ? 1 : 0), context);
        QCOMPARE(run->d.watch.boxes.size(), atClose ? 0 : warnings.messages.size());
        if (after != before) {
            QVERIFY2(entries(after) == whole, context + '\n' + after);
            savedOnce = true;
            continue;
        }
        // Reported where the user looks, with what failed and the true cause.
        const QString reason = atClose ? warnings.messages[0] : run->d.watch.boxes[0].text;
        QVERIFY2(reason.endsWith(u"Die Datei darf nicht größer werden."_s), qPrintable(reason));
        if (limit >= rlim_t(before.size()))
            QVERIFY2(reason.contains(u"neuen Werte"_s), qPrintable(reason));
    }
    QVERIFY(savedOnce);
}

void SettingsTest::savesOnAFullDiskNeverCutTheFile()
{
    const QByteArray before = "[Setup]\nAugen=3\n";
    bool savedOnce = false;
    // A save needs a page for the lock file, the copy, QSettings's lock and the merged file.
    for (int freePages = 0; freePages <= 5; ++freePages) {
        int pipe[2];
        QCOMPARE(::pipe(pipe), 0);
        // A disk of 16 pages in a mount namespace of the child's own, gone when it ends.
        const pid_t child = ::fork();
        if (child == 0) {
            const QByteArray folder = QFile::encodeName(dir->path());
            if (::unshare(CLONE_NEWNS) != 0 ||
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("tmpfs", folder.constData(), "tmpfs", 0, "nr_blocks=16") != 0)
                ::_exit(2);
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
            struct statvfs disk = {};
            writeFile(file, before);
            ::statvfs(folder.constData(), &disk);
            const auto filler = qsizetype((disk.f_bavail - freePages) * disk.f_bsize);
            writeFile(dir->filePath(u"filler"_s), QByteArray(filler, 'x'));
            SettingsStore store(file);
            store.write(keys::fontName, u"DejaVu Serif"_s);
            const QByteArray reason = store.save().reason.toUtf8();
            const QByteArray answer = reason + '\0' + readFile(file);
            ::_exit(::write(pipe[1], answer.constData(), answer.size()) == answer.size() ? 0 : 1);
        }
        ::close(pipe[1]);
        QFile report;
        QVERIFY(report.open(pipe[0], QIODevice::ReadOnly, QFile::AutoCloseHandle));
        const QList<QByteArray> answer = report.readAll().split('\0');
        int status = -1;
        QCOMPARE(::waitpid(child, &status, 0), child);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 2)
            QSKIP("making a disk of its own needs root in a mount namespace of its own");
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0 && answer.size() == 2);
        const QByteArray context = QByteArray::number(freePages) + " pages free: " + answer[0];
        if (answer[0].isEmpty()) {
            QVERIFY2(entries(answer[1]) ==
                         QStringList({u"Font/FontName=DejaVu Serif"_s, u"Setup/Augen=3"_s}),
                     context + answer[1]);
            savedOnce = true;
        } else {
            QVERIFY2(answer[1] == before, context + answer[1]);
            QVERIFY2(answer[0].endsWith("Auf dem Datenträger ist kein Platz mehr frei."), context);
        }
    }
    QVERIFY(savedOnce);
}

void SettingsTest::savesReachTheFileAtTheEndOfLinks()
{
    // Talvero.conf -> a.conf -> real/b.conf, as relative links.
    const QString end = dir->filePath(u"real/b.conf"_s);
    QVERIFY(QDir(dir->path()).mkdir(u"real"_s) && writeFile(end, "[Setup]\nAugen=3\n"));
    QCOMPARE(::symlink("real/b.conf", qPrintable(dir->filePath(u"a.conf"_s))), 0);
    QCOMPARE(::symlink("a.conf", qPrintable(file)), 0);
    for (const int dice : {42, 43}) { // the second save too
        SettingsStore store(file);
        QCOMPARE(store.readInt(keys::sides), 3);
        store.write(keys::diceCount, dice);
        QVERIFY(store.save().saved);
    }
    QCOMPARE(stored(end, kDiceKey).toString(), u"43"_s);
    QVERIFY(QFileInfo(file).isSymLink() && QFileInfo(dir->filePath(u"a.conf"_s)).isSymLink());

    // Links in a circle lead to no file.
    QVERIFY(QFile::remove(end) && QFile::link(file, end));
    SettingsStore circle(file);
    circle.write(keys::diceCount, 44);
    expectOneWarning(u"Die Verknüpfungen zur Datei führen im Kreis zu sich selbst."_s);
    QVERIFY(!circle.save().saved);
}

void SettingsTest::savesRemoveWhatKilledSavesLeft()
{
    // A copy, and the lock and temporary file Qt makes beside it while writing it.
    const QStringList leftovers = {u"Talvero.conf.0123456789abcdef"_s,
                                   u"Talvero.conf.0123456789abcdef.lock"_s,
                                   u"Talvero.conf.0123456789abcdef.MVGIlw"_s};
    // Alike, but none of those.
    const QStringList others = {
        u"Other.conf.0123456789abcdef"_s,       u"Talvero.conf"_s,
        u"Talvero.conf.0123456789ABCDEF"_s,     u"Talvero.conf.0123456789abcde"_s,
        u"Talvero.conf.0123456789abcdef.old"_s, u"Talvero.conf.backup"_s};
    for (const QString &name : leftovers + others)
        QVERIFY(writeFile(dir->filePath(name), "[Setup]\nAugen=3\n"));
    SettingsStore store(file);
    store.write(keys::sides, 9);
    QVERIFY(store.save().saved);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), others);
    QCOMPARE(stored(file, u"Setup/Augen"_s).toString(), u"9"_s);
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
            chooseInDialog(dialog, u"DejaVu Serif"_s, 14, true);
            dialog.accept();
        };
        run.d.click("cmd_Schrift");
        QCOMPARE(presets.size(), 1);
        QCOMPARE(described(presets[0]),
                 QFontInfo(QFont(u"MS Sans Serif"_s)).family() + u",0,0,8"_s);
        for (CountLabel *label : run.window.findChildren<CountLabel *>()) // size: the layout's
            QCOMPARE(described(label->labelFont()), u"DejaVu Serif,1,0,%1"_s.arg(layoutSize));
        QCOMPARE(storedFont(file), u"DejaVu Serif,True,False,14"_s); // at once
        run.d.click("cmd_Schrift");                                  // opens on that choice
        QCOMPARE(described(presets[1]), u"DejaVu Serif,1,0,14"_s);
        run.window.close();
    }
    Run run(file);
    QCOMPARE(fontOf(run.d, "txt_Gewürfelt(0)").family(), u"DejaVu Serif"_s);
    QVERIFY(fontOf(run.d, "txt_Gewürfelt2(9)").bold());
}

void SettingsTest::fontDialogOpensOnTheStoredFont_data()
{
    QTest::addColumn<QByteArray>("font"); // the file's [Font] section
    QTest::addColumn<QString>("preset");  // face, bold, italic, size; "*" the shown default face
    QTest::newRow("nothing stored") << QByteArray() << u"*,0,0,8"_s;
    // A face whose package brings a bold italic style: without one the dialog shows it upright.
    QTest::newRow("every value") << QByteArray(
                                        "FontName=Liberation Serif\nFontBold=1\nFontItalic=TRUE\n"
                                        "FontSize=11")
                                 << u"Liberation Serif,1,1,11"_s;
    // What does not convert is skipped: the dialog keeps what it held.
    QTest::newRow("size no number")
        << QByteArray("FontName=Liberation Serif\nFontSize=zwölf") << u"Liberation Serif,0,0,8"_s;
    QTest::newRow("bold no truth value")
        << QByteArray("FontBold=fett\nFontSize=20") << u"*,0,0,20"_s;
    // A size the dialog cannot show reads as the default.
    for (const char *size : {"3e9", "1e30", "0.5", "513", "-12", "inf"})
        QTest::addRow("size %s", size) << QByteArray("FontSize=") + size << u"*,0,0,8"_s;
    QTest::newRow("largest size") << QByteArray("FontSize=512") << u"*,0,0,512"_s;
}

void SettingsTest::fontDialogOpensOnTheStoredFont()
{
    QFETCH(QByteArray, font);
    QFETCH(QString, preset);
    QVERIFY(writeFile(file, "[Font]\n" + font + '\n'));
    Run run(file);
    QFont opened;
    run.d.watch.fontDialog = [&](QFontDialog &dialog) {
        opened = dialog.currentFont();
        dialog.reject();
    };
    run.d.click("cmd_Schrift");
    QCOMPARE(described(opened),
             QString(preset).replace(u"*"_s, QFontInfo(QFont(u"MS Sans Serif"_s)).family()));
}

void SettingsTest::fontCancelAndDamagedValuesChangeNothing()
{
    const QByteArray content =
        "[Font]\nFontName=Liberation Serif\nFontItalic=TRUE\nFontSize=zwölf\n";
    QVERIFY(writeFile(file, content));
    QTranslator translator; // as the program has it
    const bool german = installGermanTranslation(translator);
    Run run(file);
    QString title;
    bool effects = false;
    run.d.watch.fontDialog = [&](QFontDialog &dialog) {
        title = dialog.windowTitle();
        for (QCheckBox *box : dialog.findChildren<QCheckBox *>())
            effects = effects || box->isVisible();
        dialog.setCurrentFont(QFont(u"DejaVu Sans"_s, 20));
        dialog.reject();
    };
    run.d.click("cmd_Schrift");
    QCoreApplication::removeTranslator(&translator);
    QVERIFY2(!german || title != u"Select Font"_s, qPrintable(title)); // in German
    QVERIFY(!effects); // no underline or strike-out on offer
    QCOMPARE(readFile(file), content);
    QCOMPARE(fontOf(run.d).family(), u"Liberation Serif"_s);
    QVERIFY(fontOf(run.d).italic());

    // Values that are no face or truth value leave the labels as they are.
    QVERIFY(writeFile(file, "[Font]\nFontName=\nFontBold=fett\nFontItalic=\x01\xff\n"));
    Run damaged(file);
    QCOMPARE(fontOf(damaged.d).family(), u"MS Sans Serif"_s);
    QVERIFY(!fontOf(damaged.d).bold() && !fontOf(damaged.d).italic());
}

void SettingsTest::savesThatFailAreReportedAndForgotten_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("sound file") << QByteArray("[Setup]\nAugen=3\n[Font]\nFontName=DejaVu Sans\n"
                                              "FontBold=fett\nFontSize=zwölf\n");
    // One that Qt reports as damaged for as long as the store lives.
    QTest::newRow("damaged file") << QByteArray("[Setup\nAugen=3\n[Font]\nFontName=DejaVu Sans\n"
                                                "FontBold=fett\nFontSize=zwölf\n");
}

void SettingsTest::savesThatFailAreReportedAndForgotten()
{
    QFETCH(QByteArray, content);
    QVERIFY(writeFile(file, content));
    auto run = std::make_unique<Run>(file);
    auto choose = [&](const char *face) {
        run->d.watch.fontDialog = [face](QFontDialog &dialog) {
            chooseInDialog(dialog, QString::fromUtf8(face), 20, true);
            dialog.accept();
        };
        run->d.click("cmd_Schrift");
    };
    {
        const FullDisk full;
        expectOneWarning();
        run->d.watch.expectBoxes(1);
        choose("DejaVu Serif");
    }
    // Said where the user looks, with the file and what to mend; the labels keep their font.
    QCOMPARE(run->d.watch.boxes.size(), 1);
    const ModalWatch::Box box = run->d.watch.boxes[0];
    QVERIFY(box.title == u"Talvero" && box.icon == QMessageBox::Warning &&
            box.parent == &run->window);
    QCOMPARE(box.text,
             u"Die Schriftart konnte nicht gespeichert werden und bleibt, wie sie war.\n\nDatei: "
             "%1\nDie Sperrdatei %1.lock lässt sich nicht anlegen. Die Datei darf nicht größer "
             "werden."_s.arg(file));
    QCOMPARE(fontOf(run->d).family(), u"DejaVu Sans"_s);
    QVERIFY(!fontOf(run->d).bold());
    QCOMPARE(readFile(file), content);

    // The disk has room again: the next dialog opens on what is shown, not on the choice that
    // could not be stored; the next choice is stored and shown.
    QFont opened;
    run->d.watch.fontDialog = [&](QFontDialog &dialog) {
        opened = dialog.currentFont();
        dialog.reject();
    };
    run->d.click("cmd_Schrift");
    QCOMPARE(described(opened), u"DejaVu Sans,0,0,8"_s);
    QTest::failOnWarning(QRegularExpression(u"Einstellung"_s));
    choose("Liberation Serif");
    QCOMPARE(fontOf(run->d).family(), u"Liberation Serif"_s);
    QCOMPARE(storedFont(file), u"Liberation Serif,True,False,20"_s);
    QCOMPARE(stored(file, u"Setup/Augen"_s).toString(), u"3"_s);
}

void SettingsTest::fontSizeWrittenWithPoint()
{
    // Whatever the locale, so that the next run reads it back.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    {
        SettingsStore store(file);
        store.write(keys::fontSize, 10.5f);
        QVERIFY(store.save().saved);
    }
    QLocale::setDefault(previous);
    QCOMPARE(stored(file, u"Font/FontSize"_s).toString(), u"10.5"_s);
    QCOMPARE(SettingsStore(file).readSize(keys::fontSize), 10.5f);
    QVERIFY(writeFile(file, "[Font]\nFontSize=10,5\n")); // edited by hand
    QCOMPARE(SettingsStore(file).readSize(keys::fontSize), 10.5f);
}

void SettingsTest::aboutMessage_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("logo clicked") << 0;
    QTest::newRow("logo pressed by assistive technology") << 1;
    QTest::newRow("F1") << 2;
}

void SettingsTest::aboutMessage()
{
    QFETCH(int, way);
    Run run(file);
    QVERIFY(run.d.show());
    run.d.watch.expectBoxes(1);
    if (way == 0)
        run.d.click("Logo");
    else if (way == 1)
        QAccessible::queryAccessibleInterface(run.d.the("Logo"))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
    else
        QTest::keyClick(&run.window, Qt::Key_F1);
    QCOMPARE(run.d.watch.boxes.size(), 1);
    const ModalWatch::Box box = run.d.watch.boxes[0];
    QCOMPARE(box.title, u"Über Talvero"_s);
    QVERIFY(box.icon == QMessageBox::Information && box.buttons == QMessageBox::Ok);
    const QStringList lines = box.text.split(u'\n');
    QCOMPARE(lines.mid(0, 2), QStringList({u"Talvero Version 1.01.01"_s, QString()}));
    QVERIFY(lines.size() == 6 && !lines[2].isEmpty() && !lines[5].isEmpty());
    // The message itself breaks its lines with carriage returns alone.
    QCOMPARE(aboutText(), QString(box.text).replace(u'\n', u'\r'));
}

QTEST_MAIN(SettingsTest)
#include "test_settings.moc"
