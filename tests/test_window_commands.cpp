// SPDX-License-Identifier: GPL-3.0-or-later
// The commands beside the window's design, from outside: the odds window against binomials worked
// out here, the odds read aloud, the roll log and its CSV, the page copied, the tables' models.

#include "engine/odds_text.h"
#include "support/retrace.h"
#include "support/settings_run.h"
#include "ui/odds_model.h"
#include "ui/roll_log_model.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <cmath>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace talvero;
using namespace talvero::testing;

namespace {

// How often at least (`many`) or at most `k` of 60 fair dice count, each with the chance 1/2 as
// six-sided dice at "4+" do: a sum of C(60, i) / 2^60.
double binomialTail(int k, bool many)
{
    long double ways = 1, sum = 0;
    for (int i = 0; i <= 60; ways = ways * (60 - i) / (i + 1), ++i)
        sum += (many ? i >= k : i <= k) ? std::ldexp(ways, -60) : 0;
    return static_cast<double>(sum);
}

// The odds window's sentence on `shown` of the 60 dice at "4+", 24 to 36 as binomial tables have
// it: the share of fair rolls as far out in the tail `shown` lies in; "%" never apart from its
// number, and "nur" only before a whole percent.
QString sentenceAt4(int shown)
{
    const bool many = 2 * shown >= 60;
    const double share = binomialTail(shown, many);
    return u"4+: %1 von 60 Würfeln. Erwartet 30,0, üblich 24 bis 36. "
           u"%2 bringen %3\u00A0% der Würfe."_s.arg(shown)
               .arg(many ? u"So viele oder mehr"_s : u"So wenige oder weniger"_s)
               .arg(share < 0.005 ? u"weniger als 1"_s
                    : share < 0.1 ? u"nur %1"_s.arg(std::lround(share * 100))
                                  : QString::number(std::lround(share * 100)));
}

QString percentInTable(double share)
{
    return QString::number(share * 100, 'f', 1).replace(u'.', u',') + u"\u00A0%"_s;
}

// The records after UTF-8's byte-order mark, each ended by CRLF; no field needs quotes.
QList<QStringList> parseCsv(const QByteArray &bytes, QChar separator = u',')
{
    QList<QStringList> records;
    if (bytes.startsWith("\xEF\xBB\xBF") && bytes.endsWith("\r\n"))
        for (const QString &line : QString::fromUtf8(bytes.mid(3).chopped(2)).split(u"\r\n"_s))
            records << line.split(separator);
    return records;
}

// A row's cells, or for row -1 the column titles.
QStringList rowOf(const QAbstractItemModel *model, int row)
{
    QStringList cells;
    for (int column = 0; column < model->columnCount(); ++column)
        cells << (row < 0 ? model->headerData(column, Qt::Horizontal)
                          : model->index(row, column).data())
                     .toString();
    return cells;
}

} // namespace

class WindowCommandsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        run = std::make_unique<Run>(folder->filePath(u"Talvero.conf"_s));
        d = &run->d;
        QVERIFY(d->show());
    }
    void cleanup() { run.reset(); } // before its folder, which the next init replaces

    // The odds window, what screen readers hear of the odds, and the page copied as text.
    void oddsAgainstABinomialTable()
    {
        auto described = [this](const char *name) {
            return QAccessible::queryAccessibleInterface(d->the(name))
                ->text(QAccessible::Description);
        };
        QCOMPARE(described("txt_Gewürfelt_2er(2)"), u"4+"_s);
        d->click("cmd_Würfel1"); // 60 dice with six sides: "4+" counts each die with chance 1/2
        QCOMPARE(described("txt_Gewürfelt_2er(2)"), u"4+, erwartet 30,0, üblich 24 bis 36"_s);
        QVERIFY(described("txt_Gewürfelt_2er(4)").startsWith(u"6+, erwartet 10,0, üblich "_s));
        const QStringList counts = d->captions("txt_Gewürfelt", 10);
        QTest::keyClick(&run->window, Qt::Key_C, Qt::ControlModifier);
        const QString rows = u"1er\t2er\t3er\t4er\t5er\t6er\t7er\t8er\t9er\t10er\n%1\n"
                             u"2+\t3+\t4+\t5+\t6+\t7+\t8+\t9+\t10+\n%2\nWurf %3\n"_s;
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 u"Wurfergebnis 60 Würfel mit je 6 Seiten\n"_s +
                     rows.arg(counts.join(u'\t'), atLeastOf(counts).join(u'\t'), u"1"_s));
        chooseFromMenu(u"Chancen…"_s);
        QTRY_VERIFY(window("Chancen") && window("Chancen")->isVisible());
        const int shown = d->caption("txt_Gewürfelt_2er(2)").toInt();
        QTRY_COMPARE(rowOf(table("Chancen", "Sortierung")->model(), 2),
                     (QStringList{QString::number(shown), u"60"_s, u"30,0"_s, u"24–36"_s,
                                  percentInTable(binomialTail(shown, true)),
                                  percentInTable(binomialTail(shown, false))}));
        // The sentence speaks of the middle threshold of six sides, in the tail the count lies in;
        // "nur" where fewer than one roll in ten goes as far: counts either way out and the middle.
        QCOMPARE(sentence(), sentenceAt4(shown));
        const RowDistribution at4(std::vector<DiceGroup>{{6, 0, 60}}, RowKind::AtLeast, 4);
        for (int count : {15, 22, 24, 30, 36, 45, 60})
            QCOMPARE(QString::fromStdString(oddsSentence(4, count, oddsOf(at4, count))),
                     sentenceAt4(count));
        // A face: 60 dice at 1/6, expected 10,0; faces and thresholds above the sides left out.
        const QAbstractItemModel *faces = table("Chancen", "Wurfergebnis")->model();
        QCOMPARE(rowOf(faces, -1) + rowOf(faces, 0).mid(1, 2),
                 (QStringList{u"Gezählt"_s, u"Würfel"_s, u"Erwartet"_s, u"Üblich"_s,
                              u"So viele oder mehr"_s, u"So wenige oder weniger"_s, u"60"_s,
                              u"10,0"_s}));
        QCOMPARE(faces->headerData(faces->rowCount() - 1, Qt::Vertical).toString(), u"6er"_s);
        QCOMPARE(table("Chancen", "Sortierung")->model()->rowCount(), 5); // every one in sight:
        for (const char *name : {"Sortierung", "Wurfergebnis"}) {
            QTableView *view = table("Chancen", name);
            const QModelIndex last = view->model()->index(view->model()->rowCount() - 1,
                                                          view->model()->columnCount() - 1);
            QTRY_VERIFY2(view->viewport()->rect().contains(view->visualRect(last)), name);
        }
        d->click("cmd_Reset(0)");
        QCOMPARE(described("txt_Gewürfelt_2er(2)"), u"4+"_s);
        // The page shown, through the menu too.
        d->showPage(1);
        chooseFromMenu(u"Seite kopieren"_s);
        const QString zeros = u"0\t0\t0\t0\t0\t0\t0\t0\t0"_s;
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 u"Wurfergebnis\n"_s + rows.arg(zeros + u"\t0"_s, zeros, u"0"_s));
    }

    void oddsFollowThePageAndEveryStep()
    {
        QTest::keyClick(&run->window, Qt::Key_I, Qt::ControlModifier);
        QTRY_VERIFY(window("Chancen") && window("Chancen")->isVisible());
        QTRY_COMPARE(sentence(), u"Auf dieser Seite liegen noch keine Würfel."_s);
        auto dice = [this] {
            return table("Chancen", "Sortierung")->model()->index(0, 1).data().toString();
        };
        d->click("cmd_Würfel1");
        d->click("cmd_Würfel1");
        QTRY_COMPARE(dice(), u"60"_s); // the second roll's, not both
        // A follow-up roll at 3+: both pages' sentences speak of 3+ from now on.
        const QString hits = d->caption("txt_Gewürfelt_2er(1)");
        d->showPage(1);
        d->click("cmd_Würfel2(1)");
        QTRY_COMPARE(dice(), hits);
        QTRY_VERIFY(sentence().startsWith(
            u"3+: %1 von %2 Würfeln."_s.arg(d->caption("txt_Gewürfelt_2er2(1)"), hits)));
        // A reroll keeps the dice behind the counts; the counts themselves change.
        chooseFromMenu(u"Fehlwürfe neu würfeln/%1 unter 5+ neu würfeln"_s.arg(
            d->caption("txt_Gewürfelt2(0)").toInt() + d->caption("txt_Gewürfelt2(1)").toInt() +
            d->caption("txt_Gewürfelt2(2)").toInt() + d->caption("txt_Gewürfelt2(3)").toInt()));
        QTRY_VERIFY(sentence().startsWith(
            u"5+: %1 von %2 Würfeln."_s.arg(d->caption("txt_Gewürfelt_2er2(3)"), hits)));
        QCOMPARE(table("Chancen", "Sortierung")->model()->index(3, 0).data().toString(),
                 d->caption("txt_Gewürfelt_2er2(3)"));
        // Back on the hit page, its own counts; after its reset, nothing, and 3+ forgotten.
        d->showPage(0);
        QTRY_VERIFY(
            sentence().startsWith(u"3+: %1 von "_s.arg(d->caption("txt_Gewürfelt_2er(1)"))));
        d->click("cmd_Reset(0)");
        QTRY_COMPARE(sentence(), u"Auf dieser Seite liegen noch keine Würfel."_s);
        d->click("cmd_Würfel1");
        QTRY_VERIFY(
            sentence().startsWith(u"4+: %1 von 60 "_s.arg(d->caption("txt_Gewürfelt_2er(2)"))));
    }

    void logSavedAsCsv_data()
    {
        QTest::addColumn<int>("fileType"); // its place in the save dialog's list
        QTest::addColumn<QChar>("separator");
        QTest::newRow("RFC 4180") << 0 << QChar(u',');
        QTest::newRow("Tabellen auf Deutsch") << 1 << QChar(u';');
    }

    // What each event threw, newest last, read back from both kinds of CSV.
    void logSavedAsCsv()
    {
        QFETCH(int, fileType);
        QFETCH(QChar, separator);
        d->click("OptionWurf(0)"); // in "Addition" what a roll threw differs from the page's totals
        d->click("cmd_Würfel1");
        d->click("cmd_Würfel1");
        QTest::keyClick(&run->window, Qt::Key_I, Qt::ControlModifier); // the odds on all 120
        QTRY_VERIFY(window("Chancen") && window("Chancen")->isVisible());
        QTRY_COMPARE(table("Chancen", "Sortierung")->model()->index(0, 1).data().toString(),
                     u"120"_s);
        Retrace retrace(kTestSeed);
        const QStringList first = retrace.roll(kClockSeed, 60, 6);
        const QStringList second = retrace.roll(kClockSeed, 60, 6);
        d->showPage(1); // in "neue Zählung", its own mode
        d->click("cmd_Würfel2(2)");
        const QString hits = atLeastOf(added(first, second))[2];
        const QStringList damage = retrace.roll(kClockSeed, hits.toULongLong(), 6);
        chooseFromMenu(u"Augenzahl neu würfeln/%1 × 1er neu würfeln"_s.arg(damage[0]));
        const QStringList ones = retrace.roll(kClockSeed, damage[0].toULongLong(), 6);
        chooseFromMenu(u"Fehlwürfe neu würfeln/%1 unter 3+ neu würfeln"_s.arg(damage[1]));
        const QStringList twos = retrace.roll(kClockSeed, damage[1].toULongLong(), 6);
        QTest::keyClick(&run->window, Qt::Key_H, Qt::ControlModifier);
        QTRY_VERIFY(window("Verlauf") && window("Verlauf")->isVisible());
        const QAbstractItemModel *log = table("Verlauf", "Würfe")->model();
        // Newest last, at the time of the clock the run was given (12:34 into hour 0); the faces
        // each event threw, not the page's totals.
        QList<QStringList> rows;
        for (int row = 0; row < log->rowCount(); ++row)
            rows << rowOf(log, row);
        const QStringList hitRoll{u"00:12:34"_s, u"TREFFERWÜRFE"_s, u"Wurf"_s, u"60"_s,
                                  u"6"_s,        u"Addition"_s};
        const auto damageRow = [](const QString &event, const QString &dice) {
            return QStringList{u"00:12:34"_s, u"SCHADENSWÜRFE"_s, event, dice,
                               u"6"_s,        u"neue Zählung"_s};
        };
        QCOMPARE(rows,
                 (QList<QStringList>{hitRoll + first, hitRoll + second,
                                     damageRow(u"Folgewurf 4+"_s, hits) + damage,
                                     damageRow(u"1er neu gewürfelt"_s, damage[0]) + ones,
                                     damageRow(u"unter 3+ neu gewürfelt"_s, damage[1]) + twos}));
        const QString path = folder->filePath(u"Würfe.csv"_s);
        QStringList fileTypes;
        d->watch.fileDialog = [&](QFileDialog &dialog) {
            fileTypes = dialog.nameFilters();
            dialog.selectNameFilter(fileTypes.value(fileType));
            dialog.selectFile(path);
            static_cast<QDialog &>(dialog).accept(); // as the user's "Speichern" does
        };
        auto *save = window("Verlauf")->findChild<QAbstractButton *>(u"AlsCsvSpeichern"_s);
        QCOMPARE(save->text(), u"Als CSV speichern…"_s);
        QTest::mouseClick(save, Qt::LeftButton);
        QTRY_VERIFY(QFile::exists(path));
        QCOMPARE(parseCsv(readFile(path), separator), QList<QStringList>{rowOf(log, -1)} + rows);

        // A place that cannot be written: a message, and the log stays as it was.
        d->watch.fileDialog = [&](QFileDialog &dialog) {
            dialog.selectFile(folder->filePath(u"fehlt/Würfe.csv"_s));
            static_cast<QDialog &>(dialog).accept();
        };
        d->watch.expectBoxes(1);
        QTest::mouseClick(save, Qt::LeftButton);
        QTRY_COMPARE(d->watch.boxes.size(), 1);
        const auto &box = d->watch.boxes[0];
        QVERIFY(box.text.startsWith(u"Der Verlauf konnte nicht gespeichert werden."_s) &&
                box.text.contains(u"fehlt"_s));
        QCOMPARE(box.icon, QMessageBox::Warning);
        // A refused roll threw nothing and is not in it.
        d->click("cmd_Reset(0)");
        d->watch.expectBoxes(1);
        d->click("cmd_Würfel2(0)");
        QTRY_COMPARE(d->watch.boxes.size(), 2);
        QCOMPARE(log->rowCount(), 5);
    }

    void csvSaveOnAFullDisk()
    {
        // An earlier log's file replaced by a longer one, on a disk with room for every number of
        // bytes from none to past the new file's size: it stays as it was or is whole.
        const QString path = folder->filePath(u"Würfe.csv"_s);
        d->watch.fileDialog = [&](QFileDialog &dialog) {
            dialog.setOption(QFileDialog::DontConfirmOverwrite); // as if the user said yes
            dialog.selectFile(path);
            static_cast<QDialog &>(dialog).accept();
        };
        d->click("cmd_Würfel1");
        QTest::keyClick(&run->window, Qt::Key_H, Qt::ControlModifier);
        QTRY_VERIFY(window("Verlauf") && window("Verlauf")->isVisible());
        auto *save = window("Verlauf")->findChild<QAbstractButton *>(u"AlsCsvSpeichern"_s);
        QTest::mouseClick(save, Qt::LeftButton);
        const QByteArray old = readFile(path);
        d->click("cmd_Würfel1");
        d->click("cmd_Würfel1");
        QTest::mouseClick(save, Qt::LeftButton);
        const QByteArray whole = readFile(path);
        QCOMPARE((QList{parseCsv(old).size(), parseCsv(whole).size()}), (QList<qsizetype>{2, 4}));
        const QString failed =
            u"Der Verlauf konnte nicht gespeichert werden.\n\nDatei: %1\nGrund: Die "
            u"Datei darf nicht größer werden."_s.arg(path);
        d->watch.expectBoxes(1); // in each child
        // Steps of 16 bytes, then one byte short, just enough and more.
        QList<qsizetype> rooms{whole.size() - 1, whole.size(), whole.size() + 16};
        for (qsizetype room = 0; room < whole.size() - 1; room += 16)
            rooms << room;
        for (const qsizetype room : rooms) {
            QVERIFY(writeFile(path, old));
            const pid_t child = ::fork();
            if (child == 0) {
                std::signal(SIGXFSZ, SIG_IGN); // a failed write, not the end of the process
                const rlimit size{static_cast<rlim_t>(room), static_cast<rlim_t>(room)};
                ::setrlimit(RLIMIT_FSIZE, &size);
                QTest::mouseClick(save, Qt::LeftButton);
                const auto &boxes = d->watch.boxes;
                ::_exit(boxes.isEmpty() ? 0 : boxes.size() == 1 && boxes[0].text == failed ? 1 : 2);
            }
            int status = -1;
            QCOMPARE(::waitpid(child, &status, 0), child);
            const bool fits = room >= whole.size();
            const QByteArray now = readFile(path);
            const int reported = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            QVERIFY2(now == (fits ? whole : old) && reported == (fits ? 0 : 1),
                     qPrintable(u"room for %1 bytes: %2 on disk, message %3"_s.arg(room)
                                    .arg(now.size())
                                    .arg(reported)));
            // Nothing left behind beside it.
            QCOMPARE(QDir(folder->path()).entryList({u"Würfe*"_s}, QDir::Files | QDir::Hidden),
                     QStringList{u"Würfe.csv"_s});
        }
    }

    void dialogsByKeyboardAndNamed()
    {
        // Tab reaches every control of both windows, each named for assistive technology; a table
        // hands Tab on instead of walking its cells.
        d->click("cmd_Würfel1");
        for (const auto &[key, name] : {std::pair{Qt::Key_I, "Chancen"}, {Qt::Key_H, "Verlauf"}}) {
            QTest::keyClick(&run->window, key, Qt::ControlModifier);
            QTRY_VERIFY(window(name) && window(name)->isVisible());
            QApplication::setActiveWindow(window(name));
            QTRY_VERIFY(window(name)->isAncestorOf(QApplication::focusWidget()));
            QList<QWidget *> reached;
            for (QWidget *w = QApplication::focusWidget();
                 w && !reached.contains(w) && reached.size() < 20;
                 w = QApplication::focusWidget()) {
                reached << w;
                QVERIFY2(
                    !QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty(),
                    w->metaObject()->className());
                QTest::keyClick(w, Qt::Key_Tab);
            }
            for (QWidget *control : window(name)->findChildren<QWidget *>())
                if (control->isVisible() && (control->focusPolicy() & Qt::TabFocus))
                    QVERIFY2(reached.contains(control), qPrintable(control->objectName()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(!window(name)->isVisible());
        }
    }

    // Both tables' models through Qt's own checks: odds rows that come and go with the sides, a log
    // past its cap, and what each change names.
    void modelsUnderQtChecks()
    {
        using Tester = QAbstractItemModelTester;
        OddsModel odds(RowKind::AtLeast);
        Tester oddsTester(&odds, Tester::FailureReportingMode::QtTest);
        QSignalSpy changed(&odds, &QAbstractItemModel::dataChanged);
        const std::vector<std::uint64_t> counts(9, 3);
        odds.update({{6, 0, 60}}, counts, 10);
        odds.update({{6, 0, 60}, {10, 0, 5}}, counts, 2);
        QCOMPARE(odds.rowCount(), 9);
        changed.clear();
        odds.update({{6, 0, 60}, {10, 0, 9}}, counts, 2);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][2].value<QList<int>>(),
                 (QList<int>{Qt::DisplayRole, Qt::AccessibleTextRole}));
        QVERIFY(odds.index(2, 3).data(Qt::AccessibleTextRole).toString().contains(u" bis "_s));
        QVERIFY(odds.index(2, 4).data(Qt::AccessibleTextRole).toString().endsWith(u" Prozent"_s));
        odds.update({}, counts, 3);
        QCOMPARE(odds.rowCount(), 2);
        QVERIFY(!odds.headerData(2, Qt::Vertical).isValid());
        QVERIFY(!odds.headerData(6, Qt::Horizontal).isValid());
        QVERIFY(!odds.headerData(-1, Qt::Horizontal).isValid());

        // Checked on the event past the cap only: the checks walk every row at each change.
        RollLogModel log;
        RollEvent event;
        for (std::size_t i = 0; i < RollLog::kMostEvents; ++i)
            log.add({{}, event, false});
        Tester logTester(&log, Tester::FailureReportingMode::QtTest);
        event.thrown.dice = 7;
        log.add({{}, event, true});
        QCOMPARE(log.rowCount(), static_cast<int>(RollLog::kMostEvents));
        QCOMPARE(rowOf(&log, log.rowCount() - 2)[3] + rowOf(&log, log.rowCount() - 1)[3], u"07"_s);
        QVERIFY(!log.headerData(16, Qt::Horizontal).isValid());
    }

private:
    QDialog *window(const char *name) const
    {
        return run->window.findChild<QDialog *>(QString::fromUtf8(name));
    }
    QTableView *table(const char *dialog, const char *name) const
    {
        return window(dialog)->findChild<QTableView *>(QString::fromUtf8(name));
    }
    QString sentence() const { return window("Chancen")->findChild<QLabel *>(u"Satz"_s)->text(); }
    void chooseFromMenu(const QString &entry)
    {
        d->rightClick("Label(25)");
        QTRY_VERIFY(d->openMenu());
        QVERIFY2(d->choose(entry), qPrintable(d->entries(d->openMenu()).join(u" | ")));
    }

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<Run> run;
    Driver *d = nullptr;
};

QTEST_MAIN(WindowCommandsTest)
#include "test_window_commands.moc"
