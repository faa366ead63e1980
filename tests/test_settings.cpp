// SPDX-License-Identifier: GPL-3.0-or-later
// Settings across restarts, damaged, sample and unwritable stores, saves that fail, the font
// choice, the about message and every way a run ends. Every store lives in a temporary folder.

#include "settings/commands/about_box.h"
#include "support/settings_run.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QFontInfo>
#include <QLoggingCategory>
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

// The five choices a run shows: dice, sides, "Addition" on either page, "90°".
QString choices(const Driver &d)
{
    auto on = [&](const char *name) {
        return d.the<QAbstractButton>(name)->isChecked() ? u"on"_s : u"off"_s;
    };
    return QStringList{d.caption("txt_AnzahlWürfel"), d.caption("Würfelaugen"), on("OptionWurf(0)"),
                       on("OptionWurf2(0)"), on("Check_90Grad")}
        .join(u' ');
}

// The five "Setup" keys, as `storedValues` takes them.
const QString kSetup = u"Setup/Würfelanzahl Setup/Augen Setup/OptionWurf Setup/OptionWurf2 "
                       u"Setup/Check_90Grad"_s;
const QString kFont = u"Font/FontName Font/FontBold Font/FontItalic Font/FontSize"_s;

// The file's values of `keys` ("Setup/Augen Font/FontSize"), joined by commas.
QString storedValues(const QString &path, const QString &keys)
{
    const QSettings settings(path, QSettings::IniFormat);
    QStringList values;
    for (const QString &key : keys.split(u' '))
        values << settings.value(key).toString();
    return values.join(u',');
}

// A font as face, bold, italic and size, to compare in one go.
QString described(const QFont &font)
{
    return u"%1,%2,%3,%4"_s.arg(font.family(), QString::number(font.bold()),
                                QString::number(font.italic()), QString::number(font.pointSizeF()));
}

// What a font dialog showed: the font it opened on, its title, and whether it offered effects.
struct Seen
{
    QFont font;
    QString title;
    bool effects = false;
};

// Sets what the next font dialogs do: pick a face, size and bold as a user's clicks do, or, no
// face given, pick one and cancel. The style is named as the face names it: with Qt's German
// texts installed the dialog would look up "Fett" and miss.
void onFontDialog(Driver &d, const QString &face, int size = 20, Seen *seen = nullptr)
{
    d.watch.fontDialog = [=](QFontDialog &dialog) {
        if (seen) {
            *seen = {dialog.currentFont(), dialog.windowTitle()};
            for (QCheckBox *box : dialog.findChildren<QCheckBox *>())
                seen->effects = seen->effects || box->isVisible();
        }
        QFont chosen(face.isEmpty() ? u"DejaVu Sans"_s : face, size);
        chosen.setBold(true);
        chosen.setStyleName(QFontInfo(chosen).styleName());
        dialog.setCurrentFont(chosen);
        face.isEmpty() ? dialog.reject() : dialog.accept();
    };
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
struct FullDisk
{
    explicit FullDisk(rlim_t bytes = 16)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, SIG_IGN); // a failed write, not the end of the process
        const rlimit tiny{bytes, saved.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FullDisk() { ::setrlimit(RLIMIT_FSIZE, &saved); }
    rlimit saved{};
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

// A file that a save of the default choices, as a closing window makes, must never cut short.
// Larger than the lock file, so that every stage of a save can fail.
const QByteArray kBefore =
    "[Font]\nFontName=DejaVu Sans\n[Other]\nNote=" + QByteArray(300, 'x') + '\n';

// Nothing when that save left the file whole, with the choices, or, failing with a reason that
// `cause` matches, as it was; otherwise what went wrong.
QByteArray unsound(const QString &file, const QString &reason, const QString &cause, bool &saved)
{
    const QByteArray after = readFile(file);
    const QStringList whole = (u"Font/FontName=DejaVu Sans|Other/Note="_s + QString(300, u'x') +
                               u"|Setup/Augen=6|Setup/Check_90Grad=0|Setup/OptionWurf2=False|"
                               u"Setup/OptionWurf=False|Setup/W%FCrfelanzahl=60"_s)
                                  .split(u'|');
    saved = saved || after != kBefore;
    if (after == kBefore ? reason.contains(QRegularExpression(cause))
                         : reason.isEmpty() && entries(after) == whole)
        return {};
    return reason.toUtf8() + '\n' + after;
}

QFont fontOf(const Driver &d, const char *label = "txt_Gewürfelt_2er2(8)")
{
    return d.the<CountLabel>(label)->labelFont();
}
} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString file;

private Q_SLOTS:
    void init() { file = (dir = std::make_unique<QTemporaryDir>())->filePath(u"Talvero.conf"_s); }
    void cleanup() { QLoggingCategory::setFilterRules({}); } // however a test ended

    void restartKeepsChoices()
    {
        // Font values that are no face or truth value leave the labels as they are.
        const QByteArray other = "[Setup]\nAugen=6\n[Font]\nFontName=\nFontBold=fett\nFontItalic="
                                 "\x01\xff\n[Other]\nKeep=me\n";
        QVERIFY(writeFile(file, other));
        const QString font = storedValues(file, kFont);
        {
            Run run(file);
            QCOMPARE(choices(run.d), u"60 6 off off off"_s);
            QCOMPARE(described(fontOf(run.d)).left(17), u"MS Sans Serif,0,0"_s);
            QCOMPARE(readFile(file), other); // starting writes nothing
            // Six sides, as designed: no sides update runs, so everything keeps its designed look
            // until the first move brings it in line.
            QVERIFY(run.d.the("txt_Gewürfelt(9)")->isEnabled());
            QCOMPARE(run.d.pixel("txt_Gewürfelt_2er(8)", {3, 3}), QColor(0xFF, 0xFF, 0xFF));
            QVERIFY(run.d.the("cmd_Würfel2(4)")->isEnabled() &&
                    !run.d.the("cmd_Würfel2(5)")->isEnabled());
            QCOMPARE(run.d.caption("Label_Augen"), u"Würfelanzahl mit 6 Seiten "_s);
            run.d.setValue("HScroll_Augen", 7);
            run.d.setValue("HScroll_Augen", 6);
            QVERIFY(!run.d.the("txt_Gewürfelt(9)")->isEnabled());
            run.window.close();
        }
        // Closing writes the choices, never the font, and keeps the rest.
        QCOMPARE(storedValues(file, kSetup + u" Other/Keep"_s), u"60,6,False,False,0,me"_s);
        QCOMPARE(storedValues(file, kFont), font);
        {
            Run run(file);
            QVERIFY(run.d.show());
            run.d.setValue("HScroll", 150);
            run.d.setValue("HScroll_Augen", 9);
            run.d.click("Check_90Grad");
            run.d.showPage(1);
            run.d.click("OptionWurf2(0)");
            run.window.close();
        }
        Run run(file);
        QCOMPARE(choices(run.d), u"150 9 off on on"_s);
        QVERIFY(!run.d.the("cmd_Schrift")->isEnabled());
        // Neither the page nor the counts are remembered.
        QCOMPARE(run.d.tabs()->currentIndex(), 0);
        QCOMPARE(run.d.caption("txt_Wurfinfo(1)"), u"Wurf 0"_s);
    }

    void damagedValuesFallBack_data()
    {
        QTest::addColumn<int>("key"); // Würfelanzahl, Augen, OptionWurf, OptionWurf2, Check_90Grad
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("shown"); // empty: the key's default
        for (int key = 0; key < 5; ++key)
            for (const char *junk : {"", "abc", "99999999999999999999", "12.5", "\x01\xff\xfe\x80"})
                QTest::addRow("%d=%s", key, QByteArray(junk).toHex().constData())
                    << key << QByteArray(junk) << QString();
        for (const char *row : {"0=-5", "0=0", "0=201", "1=1", "1=11", "4=-1", "4=2", "4=3"})
            QTest::newRow(row) << row[0] - '0' << QByteArray(row + 2) << QString();
        // Sound values: the ends of the ranges, "Addition" on the first page only.
        for (const char *row : {"0=1", "0= 200", "1=2", "1=10", "3=False"})
            QTest::newRow(row) << row[0] - '0' << QByteArray(row + 2)
                               << (row[0] == '3' ? u"off"_s : QString::fromUtf8(row + 2).trimmed());
    }

    void damagedValuesFallBack()
    {
        QFETCH(int, key);
        QFETCH(QByteArray, value);
        QFETCH(QString, shown);
        // Every key holds a sound value other than its default, but the one under test.
        QByteArrayList lines = {"W%FCrfelanzahl=123", "Augen=9", "OptionWurf=True",
                                "OptionWurf2=True", "Check_90Grad=1"};
        lines[key] = lines[key].left(lines[key].indexOf('=') + 1) + value;
        QVERIFY(writeFile(file, "[Setup]\n" + lines.join('\n') + '\n'));
        Run run(file);
        QStringList expected = {u"123"_s, u"9"_s, u"on"_s, u"on"_s, u"on"_s};
        expected[key] = shown.isEmpty() ? u"60 6 off off off"_s.split(u' ')[key] : shown;
        QCOMPARE(choices(run.d), expected.join(u' '));
        // Stored choices act as the user's own: "90°" turns the labels, the sides grey the rest.
        QCOMPARE(run.d.the<CountLabel>("txt_Gewürfelt2(0)")->isVertical(), expected[4] == u"on");
        QCOMPARE(run.d.the("cmd_Würfel2(7)")->isEnabled(), expected[1].toInt() >= 9);
        QCOMPARE(run.d.the<QAbstractButton>("OptionWurf2(1)")->isChecked(), expected[3] == u"off");
    }

    void sampleFilesStartInRange()
    {
        // The fuzzer's seed files, files damaged in every way we know of, and every file the
        // fuzzer has found a fault with: a run on each shows every choice in range and saves a
        // sound file that the next run shows alike.
        QFileInfoList samples;
        for (const char *folder : {TALVERO_FUZZ_CORPUS, TALVERO_TEST_DATA})
            samples += QDir(QString::fromUtf8(folder)).entryInfoList({u"*.conf"_s}, QDir::Files);
        QVERIFY(samples.size() >= 18);
        for (const QFileInfo &sample : std::as_const(samples)) {
            const QByteArray context = sample.filePath().toUtf8();
            file = dir->filePath(sample.fileName());
            QVERIFY(writeFile(file, readFile(sample.filePath())));
            QString shown;
            {
                Run run(file);
                shown = choices(run.d);
                const QStringList v = shown.split(u' ');
                QVERIFY2(v[0].toInt() >= 1 && v[0].toInt() <= 200 && v[1].toInt() >= 2 &&
                             v[1].toInt() <= 10,
                         context);
                run.window.close();
            }
            QVERIFY2(QSettings(file, QSettings::IniFormat).status() == QSettings::NoError, context);
            QCOMPARE(choices(Run(file).d), shown);
        }
    }

    // Also run alone as a user other than root, whom file permissions bind.
    void readOnlyFileKeepsItsContents_data()
    {
        QTest::addColumn<QString>("store");      // below the test's folder
        QTest::addColumn<QByteArray>("content"); // of its first part; none: a folder
        QTest::addColumn<int>("readOnly");       // 1: the file, 2: the folder, 3: both
        QTest::addColumn<QString>("reason");     // %1: the folder, %2: the system's "is a folder"
        const QByteArray dice = "[Setup]\nW%FCrfelanzahl=42\n";
        QTest::newRow("file") << u"Talvero.conf"_s << dice << 1
                              << u"Die Datei ist schreibgeschützt."_s;
        QTest::newRow("folder") << u"Talvero.conf"_s << dice << 2
                                << u"Sie dürfen in den Ordner %1 nicht schreiben."_s;
        QTest::newRow("both") << u"Talvero.conf"_s << dice << 3
                              << u"Die Datei ist schreibgeschützt."_s;
        // Nothing can be written below a file or to a folder, not even by root.
        QTest::newRow("its folder a file")
            << u"not-a-folder/Talvero.conf"_s << QByteArray("x") << 0
            << u"Der Ordner %1/not-a-folder fehlt und lässt sich nicht anlegen."_s;
        QTest::newRow("it is a folder") << u"Talvero.conf"_s << QByteArray() << 0
                                        << u"Die Datei lässt sich nicht lesen. Die Ursache ist "
                                           "nicht bekannt; das System meldet: %2."_s;
    }

    void readOnlyFileKeepsItsContents()
    {
        QFETCH(QString, store);
        QFETCH(QByteArray, content);
        QFETCH(int, readOnly);
        QFETCH(QString, reason);
        if (readOnly != 0 && ::geteuid() == 0)
            QSKIP("file permissions do not bind root");
        const QString blocker = dir->filePath(store.section(u'/', 0, 0));
        QVERIFY(content.isEmpty() ? QDir().mkdir(blocker) : writeFile(blocker, content));
        if (readOnly & 1)
            QFile::setPermissions(blocker, QFileDevice::ReadOwner);
        if (readOnly & 2)
            QFile::setPermissions(dir->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        expectOneWarning(reason.replace(u"%1"_s, dir->path())
                             .replace(u"%2"_s, QString::fromLocal8Bit(std::strerror(EISDIR))));
        {
            Run run(dir->filePath(store));
            QVERIFY(run.d.show());
            QCOMPARE(run.d.caption("txt_AnzahlWürfel"), readOnly ? u"42"_s : u"60"_s);
            run.d.setValue("HScroll", 7);
            QVERIFY(run.window.close() && !run.window.isVisible());
        }
        QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(content.isEmpty() ? QDir(blocker).isEmpty() : readFile(blocker) == content);
    }

    void everyWayOutSaves_data()
    {
        QTest::addColumn<int>("signal"); // 0: the way the row names
        for (const char *way : {"close box", "Schließen", "the application quits"})
            QTest::newRow(way) << 0;
        for (int signal : {SIGTERM, SIGHUP, SIGINT}) // logout, the terminal gone, Ctrl+C
            QTest::newRow(strsignal(signal)) << signal;
    }

    void everyWayOutSaves()
    {
        QFETCH(int, signal);
        const QString way = QString::fromUtf8(QTest::currentDataTag());
        {
            Run run(file);
            // Quitting closes the windows shown; one that is not must not keep choices unsaved.
            QVERIFY(way == u"the application quits" || run.d.show());
            run.d.setValue("HScroll", 77);
            if (signal != 0) {
                QVERIFY(::raise(signal) == 0); // handled: the process lives on
            } else if (way == u"Schließen") {
                run.d.click("cmd_Ende");
            } else if (way == u"the application quits") {
                QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
                QCoreApplication::exec();
                QCOMPARE(storedValues(file, u"Setup/Würfelanzahl"_s), u"77"_s);
                run.d.setValue("HScroll", 78); // saved once only
                run.window.close();
            } else {
                run.window.close();
            }
            QTRY_VERIFY(!run.window.isVisible());
        }
        QCOMPARE(storedValues(file, u"Setup/Würfelanzahl"_s), u"77"_s);
    }

    void signalsIgnoredAtStartStayIgnored()
    {
        // Started as `nohup talvero &`: the terminal going away must not end it. SIGTERM goes to
        // a handler of our own, whatever earlier runs left behind.
        std::signal(SIGHUP, SIG_IGN);
        const auto ownTerminate = +[](int) {
        };
        const auto testTerminate = std::signal(SIGTERM, ownTerminate);
        {
            Run run(file);
            QVERIFY(run.d.show());
            run.d.setValue("HScroll", 77);
            QVERIFY(::raise(SIGHUP) == 0);
            QTest::qWait(50);
            QVERIFY(run.window.isVisible() && !QFile::exists(file));
            QVERIFY(::raise(SIGTERM) == 0); // the others still close it, and it saves
            QTRY_VERIFY(!run.window.isVisible());
        }
        QCOMPARE(storedValues(file, u"Setup/Würfelanzahl"_s), u"77"_s);
        QVERIFY(std::signal(SIGHUP, SIG_DFL) == SIG_IGN);
        QVERIFY(std::signal(SIGTERM, testTerminate) == ownTerminate);
    }

    void savesNeverCutTheFile()
    {
        QLoggingCategory::setFilterRules(u"talvero.settings.warning=false"_s);
        bool saved = false;
        // Every stage: the lock file, the copy, the merge, and past the new file's size.
        for (rlim_t limit = 0; limit <= rlim_t(kBefore.size()) + 160; limit += 16) {
            QVERIFY(writeFile(file, kBefore));
            SettingsStore store(file);
            store.writeChoices({});
            QString reason;
            {
                const FullDisk full(limit);
                reason = store.save().reason;
            }
            // From the lock file's size on, it is the merge that fails.
            const QByteArray wrong =
                unsound(file, reason,
                        (limit < rlim_t(kBefore.size()) ? u""_s : u"neuen Werte.*"_s) +
                            u"Die Datei darf nicht größer werden\\.$"_s,
                        saved);
            QVERIFY2(wrong.isEmpty(), "limit " + QByteArray::number(quint64(limit)) + ": " + wrong);
        }
        QVERIFY(saved);
    }

    void savesOnAFullDiskNeverCutTheFile()
    {
        // A disk of 16 pages in a mount namespace of a child's own, gone when it ends. A save
        // needs a page for the lock file, the copy, QSettings's lock and the merged file.
        const pid_t child = ::fork();
        if (child == 0) {
            const QByteArray folder = QFile::encodeName(dir->path());
            if (::unshare(CLONE_NEWNS) != 0 ||
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("tmpfs", folder.constData(), "tmpfs", 0, "nr_blocks=16") != 0)
                ::_exit(2);
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
            bool saved = false;
            for (int freePages = 0; freePages <= 5; ++freePages) {
                QFile::remove(dir->filePath(u"filler"_s));
                writeFile(file, kBefore);
                struct statvfs disk = {};
                ::statvfs(folder.constData(), &disk);
                const auto filler = qsizetype((disk.f_bavail - freePages) * disk.f_bsize);
                writeFile(dir->filePath(u"filler"_s), QByteArray(filler, 'x'));
                SettingsStore store(file);
                store.writeChoices({});
                const QString reason = store.save().reason;
                const QByteArray wrong = unsound(
                    file, reason, u"Auf dem Datenträger ist kein Platz mehr frei\\.$"_s, saved);
                if (!wrong.isEmpty())
                    ::_exit(std::fprintf(stderr, "%d pages free: %s\n", freePages, wrong.data()));
            }
            ::_exit(saved ? 0 : 1);
        }
        int status = -1;
        QCOMPARE(::waitpid(child, &status, 0), child);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 2)
            QSKIP("making a disk of its own needs root in a mount namespace of its own");
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    void savesFindTheirFile()
    {
        // Talvero.conf -> a.conf -> real/b.conf, as relative links.
        const QString end = dir->filePath(u"real/b.conf"_s);
        QVERIFY(QDir(dir->path()).mkdir(u"real"_s) && writeFile(end, "[Setup]\nAugen=3\n"));
        QCOMPARE(::symlink("real/b.conf", qPrintable(dir->filePath(u"a.conf"_s))), 0);
        QCOMPARE(::symlink("a.conf", qPrintable(file)), 0);
        SettingsStore store(file);
        QCOMPARE(store.readInt(keys::sides), 3);
        // Another Talvero saves in between; this one then saves only what it has new, the size
        // with a point whatever the locale, so that the next run reads it back.
        SettingsStore other(file);
        other.write(keys::fontName, u"Liberation Serif"_s);
        QVERIFY(other.save().saved);
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        store.write(keys::fontSize, 10.5f);
        QVERIFY(store.save().saved);
        QLocale::setDefault(previous);
        QCOMPARE(store.readText(keys::fontName), u"Liberation Serif"_s);
        QCOMPARE(storedValues(end, kFont + u" Setup/Augen"_s), u"Liberation Serif,,,10.5,3"_s);
        QCOMPARE(SettingsStore(file).readSize(keys::fontSize), 10.5f);
        QVERIFY(QFileInfo(file).isSymLink() && QFileInfo(dir->filePath(u"a.conf"_s)).isSymLink());
        // Links in a circle lead to no file.
        QVERIFY(QFile::remove(end) && QFile::link(file, end));
        SettingsStore circle(file);
        circle.write(keys::diceCount, 44);
        expectOneWarning(u"Die Verknüpfungen zur Datei führen im Kreis zu sich selbst."_s);
        QVERIFY(!circle.save().saved);

        // Killed saves left a copy, and the lock and temporary file Qt makes beside it while
        // writing it; the next save removes them, but none of the files merely alike.
        const QStringList others = {
            u"Other.conf.0123456789abcdef"_s,       u"Talvero.conf"_s,
            u"Talvero.conf.0123456789ABCDEF"_s,     u"Talvero.conf.0123456789abcde"_s,
            u"Talvero.conf.0123456789abcdef.old"_s, u"Talvero.conf.backup"_s};
        QVERIFY(QDir(dir->path()).removeRecursively() && QDir().mkpath(dir->path()));
        for (const QString &name : others + QStringList{u"Talvero.conf.0123456789abcdef"_s,
                                                        u"Talvero.conf.0123456789abcdef.lock"_s,
                                                        u"Talvero.conf.0123456789abcdef.MVGIlw"_s})
            QVERIFY(writeFile(dir->filePath(name), "[Setup]\nAugen=3\n"));
        SettingsStore fresh(file);
        fresh.write(keys::sides, 9);
        QVERIFY(fresh.save().saved);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), others);
        QCOMPARE(storedValues(file, u"Setup/Augen"_s), u"9"_s);
    }

    void fontChoiceAppliesAndIsRemembered()
    {
        // A file that Qt reports as damaged for as long as the store lives.
        const QByteArray content =
            "[Setup\nAugen=3\n[Font]\nFontName=DejaVu Sans\nFontBold=fett\nFontSize=zwölf\n";
        QVERIFY(writeFile(file, content));
        {
            Run run(file);
            QVERIFY(run.d.show());
            const qreal layoutSize = fontOf(run.d).pointSizeF();
            {
                const FullDisk full;
                expectOneWarning();
                run.d.watch.expectBoxes(1);
                onFontDialog(run.d, u"DejaVu Serif"_s);
                run.d.click("cmd_Schrift");
            }
            // A choice that cannot be stored is said where the user looks, with the file and what
            // to mend; the labels keep their font.
            const ModalWatch::Box box = run.d.watch.boxes.value(0);
            QVERIFY(box.title == u"Talvero" && box.icon == QMessageBox::Warning &&
                    box.parent == &run.window);
            QCOMPARE(box.text,
                     u"Die Schriftart konnte nicht gespeichert werden und bleibt, wie sie war.\n\n"
                     "Datei: %1\nDie Sperrdatei %1.lock lässt sich nicht anlegen. Die Datei darf "
                     "nicht größer werden."_s.arg(file));
            QCOMPARE(described(fontOf(run.d)).left(13), u"DejaVu Sans,0"_s);
            QCOMPARE(readFile(file), content);
            // The disk has room again: the next dialog opens on what is shown, not on the choice
            // that could not be stored; the next choice is shown and stored at once.
            Seen seen;
            onFontDialog(run.d, {}, 20, &seen);
            run.d.click("cmd_Schrift");
            QCOMPARE(described(seen.font), u"DejaVu Sans,0,0,8"_s);
            onFontDialog(run.d, u"DejaVu Serif"_s, 14, &seen);
            run.d.click("cmd_Schrift");
            for (CountLabel *label : run.window.findChildren<CountLabel *>()) // size: the layout's
                QCOMPARE(described(label->labelFont()), u"DejaVu Serif,1,0,%1"_s.arg(layoutSize));
            QCOMPARE(storedValues(file, kFont + u" Setup/Augen"_s),
                     u"DejaVu Serif,True,False,14,3"_s);
            run.d.click("cmd_Schrift"); // opens on that choice
            QCOMPARE(described(seen.font), u"DejaVu Serif,1,0,14"_s);
            run.window.close();
        }
        Run run(file);
        QCOMPARE(fontOf(run.d, "txt_Gewürfelt(0)").family(), u"DejaVu Serif"_s);
        QVERIFY(fontOf(run.d, "txt_Gewürfelt2(9)").bold());
    }

    void fontDialogOpensOnTheStoredFont_data()
    {
        QTest::addColumn<QByteArray>("font"); // the file's [Font] section
        QTest::addColumn<QString>("preset");  // face, bold, italic, size; "*" the shown default
        QTest::newRow("nothing stored") << QByteArray() << u"*,0,0,8"_s;
        // A face with a bold italic style of its own: without one the dialog shows it upright.
        QTest::newRow("every value")
            << QByteArray("FontName=Liberation Serif\nFontBold=1\nFontItalic=TRUE\nFontSize=11")
            << u"Liberation Serif,1,1,11"_s;
        // What does not convert is skipped: the dialog keeps what it held.
        QTest::newRow("size no number") << QByteArray("FontName=Liberation Serif\nFontSize=zwölf")
                                        << u"Liberation Serif,0,0,8"_s;
        QTest::newRow("bold no truth value")
            << QByteArray("FontBold=fett\nFontSize=20") << u"*,0,0,20"_s;
        // A size the dialog cannot show reads as the default.
        for (const char *size : {"3e9", "1e30", "0.5", "513", "-12", "inf"})
            QTest::addRow("size %s", size) << QByteArray("FontSize=") + size << u"*,0,0,8"_s;
        QTest::newRow("largest size") << QByteArray("FontSize=512") << u"*,0,0,512"_s;
        QTest::newRow("size with a comma") << QByteArray("FontSize=12,0") << u"*,0,0,12"_s;
    }

    void fontDialogOpensOnTheStoredFont()
    {
        QFETCH(QByteArray, font);
        QFETCH(QString, preset);
        QVERIFY(writeFile(file, "[Font]\n" + font + '\n'));
        QTranslator translator; // as the program has it
        const bool german = installGermanTranslation(translator);
        Run run(file);
        Seen seen;
        onFontDialog(run.d, {}, 20, &seen);
        run.d.click("cmd_Schrift");
        QCoreApplication::removeTranslator(&translator);
        // In German, with no underline or strike-out on offer. Cancelled, it changes nothing: the
        // labels keep the stored face and style.
        QVERIFY2(!german || seen.title != u"Select Font"_s, qPrintable(seen.title));
        QVERIFY(!seen.effects);
        QCOMPARE(readFile(file), "[Font]\n" + font + '\n');
        QCOMPARE(described(fontOf(run.d)).section(u',', 0, 2),
                 QString(preset).replace(u"*"_s, u"MS Sans Serif"_s).section(u',', 0, 2));
        QCOMPARE(described(seen.font),
                 preset.replace(u"*"_s, QFontInfo(QFont(u"MS Sans Serif"_s)).family()));
    }

    void aboutMessage()
    {
        // The logo clicked, pressed by assistive technology, and F1.
        for (int way = 0; way < 3; ++way) {
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
            const ModalWatch::Box box = run.d.watch.boxes.value(0);
            QVERIFY(box.title == u"Über Talvero" && box.icon == QMessageBox::Information &&
                    box.buttons == QMessageBox::Ok);
            // The message itself breaks its lines with carriage returns alone.
            QCOMPARE(QString(box.text).replace(u'\n', u'\r'), aboutText());
        }
        const QStringList lines = aboutText().split(u'\r');
        QCOMPARE(lines.mid(0, 2), QStringList({u"Talvero Version 1.01.01"_s, QString()}));
        QVERIFY(lines.size() == 6 && !lines[2].isEmpty() && !lines[5].isEmpty());
    }
};

QTEST_MAIN(SettingsTest)
#include "test_settings.moc"
