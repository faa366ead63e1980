// SPDX-License-Identifier: GPL-3.0-or-later
// The commands beside the window's design, from outside: the odds window against a binomial
// table worked out here, what screen readers hear of the odds, the roll log and its CSV read back,
// the page copied as text, and the tables' models under Qt's model checks.

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
#include <numeric>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace talvero;
using namespace talvero::testing;

namespace {

// n fair dice that each count with the chance 1/2, as six-sided dice at "4+" do: C(n, k) / 2^n.
struct HalfBinomial
{
    explicit HalfBinomial(int n)
    {
        long double ways = 1;
        for (int k = 0; k <= n; ways = ways * (n - k) / (k + 1), ++k)
            pmf.push_back(std::ldexp(ways, -n));
    }
    double atMost(int k) const { return std::accumulate(pmf.begin(), pmf.begin() + k + 1, 0.0L); }
    double atLeast(int k) const { return std::accumulate(pmf.begin() + k, pmf.end(), 0.0L); }
    int quantile(double share) const
    {
        int k = 0;
        while (atMost(k) < share)
            ++k;
        return k;
    }
    // The share of fair rolls in the tail `shown` lies in, as far out as it or farther.
    double tail(int shown) const
    {
        return 2 * shown + 1 >= static_cast<int>(pmf.size()) ? atLeast(shown) : atMost(shown);
    }
    std::vector<long double> pmf;
};

// The odds window's sentence on `shown` of `n` six-sided dice at "4+"; "%" never apart from its
// number, and "nur" only before a whole percent.
QString sentenceAt4(int n, int shown)
{
    const HalfBinomial fair(n);
    const double share = fair.tail(shown);
    return u"4+: %1 von %2 Würfeln. Erwartet %3, üblich %4 bis %5. %6 bringen %7\u00A0% der Würfe."_s
        .arg(shown)
        .arg(n)
        .arg(QString::number(n / 2.0, 'f', 1).replace(u'.', u','))
        .arg(fair.quantile(0.05))
        .arg(fair.quantile(0.95))
        .arg(2 * shown >= n ? u"So viele oder mehr"_s : u"So wenige oder weniger"_s)
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
    if (bytes.startsWith("\xEF\xBB\xBF") && bytes.endsWith("\r\n")) {
        for (const QString &line : QString::fromUtf8(bytes.mid(3).chopped(2)).split(u"\r\n"_s))
            records << line.split(separator);
    }
    return records;
}

QStringList rowOf(const QAbstractItemModel *model, int row)
{
    QStringList cells;
    for (int column = 0; column < model->columnCount(); ++column)
        cells << model->index(row, column).data().toString();
    return cells;
}

QStringList headersOf(const QAbstractItemModel *model)
{
    QStringList titles;
    for (int column = 0; column < model->columnCount(); ++column)
        titles << model->headerData(column, Qt::Horizontal).toString();
    return titles;
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
    void cleanup()
    {
        run.reset();
        folder.reset();
    }

    void oddsAgainstABinomialTable();
    void oddsFollowThePageAndEveryStep_data();
    void oddsFollowThePageAndEveryStep();
    void screenReadersHearTheOdds();
    void logRecordsWhatEachEventThrew();
    void logSavedAsCsv_data();
    void logSavedAsCsv();
    void csvSaveOnAFullDisk();
    void pageCopiedAsText();
    void dialogsByKeyboardAndNamed();
    void modelsUnderQtChecks();

private:
    QDialog *window(const char *name) const
    {
        return run->window.findChild<QDialog *>(QString::fromUtf8(name));
    }
    QTableView *table(const char *dialog, const char *name) const
    {
        QDialog *shown = window(dialog);
        return shown ? shown->findChild<QTableView *>(QString::fromUtf8(name)) : nullptr;
    }
    QString sentence() const
    {
        auto *label = window("Chancen")->findChild<QLabel *>(u"Satz"_s);
        return label ? label->text() : QString();
    }
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

void WindowCommandsTest::oddsAgainstABinomialTable()
{
    d->click("cmd_Würfel1"); // 60 dice with six sides: "4+" counts each die with chance 1/2
    chooseFromMenu(u"Chancen…"_s);
    QTRY_VERIFY(window("Chancen") && window("Chancen")->isVisible());
    const HalfBinomial fair(60);
    const int shown = d->caption("txt_Gewürfelt_2er(2)").toInt();
    QCOMPARE(fair.quantile(0.05), 24); // the design of the sentence's example
    QCOMPARE(fair.quantile(0.95), 36);
    QTRY_COMPARE(
        rowOf(table("Chancen", "Sortierung")->model(), 2),
        (QStringList{QString::number(shown), u"60"_s, u"30,0"_s, u"24–36"_s,
                     percentInTable(fair.atLeast(shown)), percentInTable(fair.atMost(shown))}));
    // The sentence speaks of the middle threshold of six sides, in the tail the count lies in;
    // "nur" where fewer than one roll in ten goes as far: rolls until one lands 5 to 10 % out.
    QCOMPARE(sentence(), sentenceAt4(60, shown));
    // Counts either way out, 5 to 10 % out ("nur") and the middle.
    const std::vector<DiceGroup> sixty{{6, 0, 60}};
    const RowDistribution at4(sixty, RowKind::AtLeast, 4);
    for (int count : {15, 22, 24, 30, 36, 45, 60})
        QCOMPARE(QString::fromStdString(oddsSentence(4, count, oddsOf(at4, count))),
                 sentenceAt4(60, count));
    QCOMPARE(headersOf(table("Chancen", "Wurfergebnis")->model()),
             (QStringList{u"Gezählt"_s, u"Würfel"_s, u"Erwartet"_s, u"Üblich"_s,
                          u"So viele oder mehr"_s, u"So wenige oder weniger"_s}));
    // A face: 60 dice at 1/6, expected 10,0; faces and thresholds above the sides left out.
    const QAbstractItemModel *faces = table("Chancen", "Wurfergebnis")->model();
    QCOMPARE(rowOf(faces, 0).mid(1, 2), (QStringList{u"60"_s, u"10,0"_s}));
    QCOMPARE(faces->headerData(faces->rowCount() - 1, Qt::Vertical).toString(), u"6er"_s);
    QCOMPARE(table("Chancen", "Sortierung")->model()->rowCount(), 5);
    // Every row and column in sight.
    for (const char *name : {"Sortierung", "Wurfergebnis"}) {
        QTableView *view = table("Chancen", name);
        const QModelIndex last =
            view->model()->index(view->model()->rowCount() - 1, view->model()->columnCount() - 1);
        QTRY_VERIFY2(view->viewport()->rect().contains(view->visualRect(last)), name);
        QCOMPARE(view->verticalHeader()->count(), view->model()->rowCount());
    }
    // Esc closes it.
    QTest::keyClick(window("Chancen"), Qt::Key_Escape);
    QVERIFY(!window("Chancen")->isVisible());
}

void WindowCommandsTest::oddsFollowThePageAndEveryStep_data()
{
    QTest::addColumn<bool>("addition");
    QTest::newRow("neue Zählung") << false;
    QTest::newRow("Addition") << true;
}

void WindowCommandsTest::oddsFollowThePageAndEveryStep()
{
    QFETCH(bool, addition);
    if (addition) {
        d->click("OptionWurf(0)");
        d->showPage(1);
        d->click("OptionWurf2(0)");
        d->showPage(0);
    }
    QTest::keyClick(&run->window, Qt::Key_I, Qt::ControlModifier);
    QTRY_VERIFY(window("Chancen") && window("Chancen")->isVisible());
    QTRY_COMPARE(sentence(), u"Auf dieser Seite liegen noch keine Würfel."_s);
    auto dice = [this] {
        return table("Chancen", "Sortierung")->model()->index(0, 1).data().toString();
    };
    d->click("cmd_Würfel1");
    QTRY_COMPARE(dice(), u"60"_s);
    d->click("cmd_Würfel1");
    QTRY_COMPARE(dice(), addition ? u"120"_s : u"60"_s);
    // A follow-up roll at 3+: both pages' sentences speak of 3+ from now on.
    const QString hits = d->caption("txt_Gewürfelt_2er(1)");
    QTRY_VERIFY(sentence().startsWith(u"4+: "_s));
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
    QTRY_VERIFY(sentence().startsWith(u"3+: %1 von "_s.arg(d->caption("txt_Gewürfelt_2er(1)"))));
    d->click("cmd_Reset(0)");
    QTRY_COMPARE(sentence(), u"Auf dieser Seite liegen noch keine Würfel."_s);
    d->click("cmd_Würfel1");
    QTRY_VERIFY(sentence().startsWith(u"4+: %1 von 60 "_s.arg(d->caption("txt_Gewürfelt_2er(2)"))));
}

void WindowCommandsTest::screenReadersHearTheOdds()
{
    auto described = [this](const char *name) {
        return QAccessible::queryAccessibleInterface(d->the(name))->text(QAccessible::Description);
    };
    QCOMPARE(described("txt_Gewürfelt_2er(2)"), u"4+"_s);
    d->click("cmd_Würfel1");
    QCOMPARE(described("txt_Gewürfelt_2er(2)"), u"4+, erwartet 30,0, üblich 24 bis 36"_s);
    // 60 dice at 1/6 for "6+": 10,0 expected.
    QVERIFY(described("txt_Gewürfelt_2er(4)").startsWith(u"6+, erwartet 10,0, üblich "_s));
    QCOMPARE(described("txt_Gewürfelt_2er2(2)"), u"4+"_s);
    d->click("cmd_Reset(0)");
    QCOMPARE(described("txt_Gewürfelt_2er(2)"), u"4+"_s);
}

void WindowCommandsTest::logRecordsWhatEachEventThrew()
{
    d->click("OptionWurf(0)"); // in "Addition" what a roll threw differs from the page's totals
    d->click("cmd_Würfel1");
    d->click("cmd_Würfel1");
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
    QCOMPARE(log->rowCount(), 5);
    // The time of the clock the run was given, 12 minutes 34 seconds into hour 0.
    for (int row = 0; row < 5; ++row)
        QCOMPARE(rowOf(log, row)[0], u"00:12:34"_s);
    // Newest last; the faces each event threw, not the page's totals.
    const QStringList hitRoll = {u"TREFFERWÜRFE"_s, u"Wurf"_s, u"60"_s, u"6"_s, u"Addition"_s};
    QCOMPARE(rowOf(log, 0).mid(1), hitRoll + first);
    QCOMPARE(rowOf(log, 1).mid(1), hitRoll + second);
    QCOMPARE(rowOf(log, 2).mid(1),
             QStringList({u"SCHADENSWÜRFE"_s, u"Folgewurf 4+"_s, hits, u"6"_s, u"neue Zählung"_s}) +
                 damage);
    QCOMPARE(rowOf(log, 3).mid(1), QStringList({u"SCHADENSWÜRFE"_s, u"1er neu gewürfelt"_s,
                                                damage[0], u"6"_s, u"neue Zählung"_s}) +
                                       ones);
    QCOMPARE(rowOf(log, 4).mid(1), QStringList({u"SCHADENSWÜRFE"_s, u"unter 3+ neu gewürfelt"_s,
                                                damage[1], u"6"_s, u"neue Zählung"_s}) +
                                       twos);
    // A refused roll threw nothing and is not in it.
    d->click("cmd_Reset(0)");
    d->watch.expectBoxes(1);
    d->click("cmd_Würfel2(0)");
    QTRY_COMPARE(d->watch.boxes.size(), 1);
    QCOMPARE(log->rowCount(), 5);
}

void WindowCommandsTest::logSavedAsCsv_data()
{
    QTest::addColumn<int>("fileType"); // its place in the save dialog's list
    QTest::addColumn<QChar>("separator");
    QTest::newRow("RFC 4180") << 0 << QChar(u',');
    QTest::newRow("Tabellen auf Deutsch") << 1 << QChar(u';');
}

void WindowCommandsTest::logSavedAsCsv()
{
    QFETCH(int, fileType);
    QFETCH(QChar, separator);
    d->click("cmd_Würfel1");
    d->click("cmd_Würfel1");
    QTest::keyClick(&run->window, Qt::Key_H, Qt::ControlModifier);
    QTRY_VERIFY(window("Verlauf") && window("Verlauf")->isVisible());
    const QAbstractItemModel *log = table("Verlauf", "Würfe")->model();
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
    QCOMPARE(fileTypes.size(), 2);
    const QList<QStringList> records = parseCsv(readFile(path), separator);
    QCOMPARE(records.size(), 3);
    QCOMPARE(records[0], headersOf(log));
    QCOMPARE(records[1], rowOf(log, 0));
    QCOMPARE(records[2], rowOf(log, 1));

    // A place that cannot be written: a message, and the log stays as it was.
    d->watch.fileDialog = [&](QFileDialog &dialog) {
        dialog.selectFile(folder->filePath(u"fehlt/Würfe.csv"_s));
        static_cast<QDialog &>(dialog).accept();
    };
    d->watch.expectBoxes(1);
    QTest::mouseClick(save, Qt::LeftButton);
    QTRY_COMPARE(d->watch.boxes.size(), 1);
    QVERIFY(d->watch.boxes[0].text.startsWith(u"Der Verlauf konnte nicht gespeichert werden."_s));
    QVERIFY(d->watch.boxes[0].text.contains(u"fehlt"_s));
    QCOMPARE(d->watch.boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(log->rowCount(), 2);
}

void WindowCommandsTest::csvSaveOnAFullDisk()
{
    // An earlier log's file replaced by the log of two more rolls, on a disk with room for every
    // number of bytes from none to past the new file's size: it stays as it was or is whole.
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
    QCOMPARE(parseCsv(old).size(), 2);
    QCOMPARE(parseCsv(whole).size(), 4);
    const QString failed = u"Der Verlauf konnte nicht gespeichert werden.\n\nDatei: %1\nGrund: Die "
                           u"Datei darf nicht größer werden."_s.arg(path);
    d->watch.expectBoxes(1); // in each child
    // Steps of 16 bytes, then one byte short, just enough and more.
    QList<qsizetype> rooms;
    for (qsizetype room = 0; room < whole.size() - 1; room += 16)
        rooms << room;
    rooms << whole.size() - 1 << whole.size() << whole.size() + 16;
    for (const qsizetype room : rooms) {
        QVERIFY(writeFile(path, old));
        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN); // a failed write, not the end of the process
            rlimit size{};
            ::getrlimit(RLIMIT_FSIZE, &size);
            size.rlim_cur = static_cast<rlim_t>(room);
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

void WindowCommandsTest::pageCopiedAsText()
{
    d->click("cmd_Würfel1");
    const QStringList faces = d->captions("txt_Gewürfelt", 10);
    QTest::keyClick(&run->window, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             u"Wurfergebnis 60 Würfel mit je 6 Seiten\n"
             "1er\t2er\t3er\t4er\t5er\t6er\t7er\t8er\t9er\t10er\n%1\n"
             "2+\t3+\t4+\t5+\t6+\t7+\t8+\t9+\t10+\n%2\nWurf 1\n"_s.arg(
                 faces.join(u'\t'), atLeastOf(faces).join(u'\t')));
    // The page shown, through the menu too.
    d->showPage(1);
    chooseFromMenu(u"Seite kopieren"_s);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             u"Wurfergebnis\n1er\t2er\t3er\t4er\t5er\t6er\t7er\t8er\t9er\t10er\n"
             "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\n2+\t3+\t4+\t5+\t6+\t7+\t8+\t9+\t10+\n"
             "0\t0\t0\t0\t0\t0\t0\t0\t0\nWurf 0\n"_s);
}

void WindowCommandsTest::dialogsByKeyboardAndNamed()
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
             w && !reached.contains(w) && reached.size() < 20; w = QApplication::focusWidget()) {
            reached << w;
            QVERIFY2(!QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty(),
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
void WindowCommandsTest::modelsUnderQtChecks()
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
    QCOMPARE(log.index(log.rowCount() - 1, 3).data().toString(), u"7"_s);
    QCOMPARE(log.index(log.rowCount() - 2, 3).data().toString(), u"0"_s);
    QVERIFY(!log.headerData(16, Qt::Horizontal).isValid());
}

QTEST_MAIN(WindowCommandsTest)
#include "test_window_commands.moc"
