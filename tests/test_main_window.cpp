// SPDX-License-Identifier: GPL-3.0-or-later
// The main window offscreen, from outside: its controls as designed, clicks and keys through the
// real widgets, the selectors, the layout pass and the 90° turn, looks as rendered, and what
// assistive technology is told.

#include "support/retrace.h"
#include "support/settings_run.h"

#include <QAccessible>
#include <QFontInfo>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <memory>

using namespace talvero;
using namespace talvero::testing;

namespace {

const QString kPage0 = u"TREFFERWÜRFE "_s;
const QString kPage1 = u"SCHADENSWÜRFE "_s;
const QString kSummary = u"Wurfergebnis 60 Würfel mit je 6 Seiten"_s;
const QColor kBlue(0x00, 0x00, 0xFF), kLight(0xF7, 0xF7, 0xEF), kGrey(0xE0, 0xE0, 0xE0),
    kWhite(0xFF, 0xFF, 0xFF), kBlack(0, 0, 0);

// A page's captions after its counts were cleared.
QStringList clearedPage(int rolls)
{
    return QStringList(19, u"0"_s) << u"Wurfergebnis"_s << u"Wurf %1"_s.arg(rolls);
}

// The 38 count labels: the face rows first.
QStringList countLabels()
{
    QStringList names;
    for (const auto &[array, size] : {std::pair{"txt_Gewürfelt", 10},
                                      {"txt_Gewürfelt2", 10},
                                      {"txt_Gewürfelt_2er", 9},
                                      {"txt_Gewürfelt_2er2", 9}})
        for (int i = 0; i < size; ++i)
            names << element(array, i);
    return names;
}

// Every twips value and font size the layout may touch.
QList<float> layoutState(const QWidget &window)
{
    QList<float> state;
    for (QWidget *widget : window.findChildren<QWidget *>())
        if (TwipsGeometry *t = twipsOf(widget))
            state << t->twipsLeft() << t->twipsTop() << t->twipsWidth() << t->twipsHeight();
    for (CountLabel *label : window.findChildren<CountLabel *>())
        state << static_cast<float>(label->labelFont().pointSizeF());
    return state;
}

// The pixels of `colour` inside a widget's border.
int pixelsOf(QWidget *widget, QColor colour)
{
    const QRect inside = widget->rect().adjusted(2, 2, -2, -2);
    return inside.width() * inside.height() - inkIn(widget->grab().toImage(), inside, colour);
}

// The box around what is drawn inside a widget's border on `background`.
QRect inkBox(QWidget *widget, QColor background)
{
    QRect box;
    inkIn(widget->grab().toImage(), widget->rect().adjusted(2, 2, -2, -2), background, &box);
    return box;
}

QString spokenDescription(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description);
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        run = std::make_unique<Run>(folder->filePath(u"Talvero.conf"_s));
        window = &run->window;
        d = &run->d;
        retrace = Retrace(kTestSeed);
        // The designed figures hold until the window is first shown and laid out.
        if (qstrcmp(QTest::currentTestFunction(), "controlTree") != 0)
            QVERIFY(d->show());
    }
    void cleanup()
    {
        run.reset();
        folder.reset();
    }

    void controlTree_data();
    void controlTree();
    void windowPagesAndPictures();
    void focusAndKeys();
    void followUpsRefusedBeforeAnyHitRoll();
    void hitRollThrowsTheDiceOfSeedAndClock();
    void followUpRollsTheHitsAtItsThreshold();
    void windowsStartedTogetherRollApart();
    void resetButtonsKeepToTheirPage();
    void looksWhenRendered();
    void accessibleNames_data();
    void accessibleNames();
    void countsAndFollowUpsSpoken();

    void sidesLooks_data();
    void sidesLooks();
    void selectorsChangeNoCount();
    void layoutFigures_data();
    void layoutFigures();
    void smallerThanMinimumIsEnlarged_data();
    void smallerThanMinimumIsEnlarged();
    void minimisedIsLeftAloneMaximisedLaidOut();
    void turnByAnyPath();
    void countsDrawnAsIfLaidOutAfresh();
    void menuOpensByEveryPath_data();
    void menuOpensByEveryPath();
    void menuOffersTheLastRollsFacesAndFails();
    void rerollOfACountThrowsItsDiceAgain();
    void rerollOfFailsThroughItsSubmenu();
    void nothingToRerollAfterClearing();
    void highDpiScreenshot();
    void screenShowsWhatIsPainted();

private:
    QList<bool> turned() const
    {
        QList<bool> vertical;
        for (const QString &name : countLabels())
            vertical << d->the<CountLabel>(name)->isVertical();
        return vertical;
    }
    void resizeOuter(float width, float height)
    {
        // The designed window has 120 x 405 twips of border and title bar around its client area.
        const QSize client(qRound((width - 120) / 15), qRound((height - 405) / 15));
        window->resize(client);
        QTRY_COMPARE(window->size(), client);
    }
    // A page as it reads: face row, at-least row, result frame and roll counter.
    QStringList page(int i) const
    {
        return d->captions(i == 0 ? "txt_Gewürfelt" : "txt_Gewürfelt2", 10)
               << d->captions(i == 0 ? "txt_Gewürfelt_2er" : "txt_Gewürfelt_2er2", 9)
               << d->caption(element("Frame", i)) << d->caption(element("txt_Wurfinfo", i));
    }
    // The first hit roll with the designed choices: 60 dice with 6 sides, as retraced.
    QStringList rollHits()
    {
        d->click("cmd_Würfel1");
        return retrace.roll(kClockSeed, 60, 6);
    }
    // The entries of the menu a right-click on `on` opens; it stays open.
    QStringList menuOn(const Name &on) const
    {
        d->rightClick(on);
        if (!QTest::qWaitFor([] { return Driver::openMenu() != nullptr; }))
            return {};
        return Driver::entries(Driver::openMenu());
    }
    static void closeMenus()
    {
        while (QMenu *menu = Driver::openMenu())
            menu->close();
    }

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<Run> run;
    MainWindow *window = nullptr;
    Driver *d = nullptr;
    Retrace retrace{kTestSeed};
};

void MainWindowTest::controlTree_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRectF>("design"); // twips; a text line's width negative: it takes its text's
    QTest::addColumn<bool>("enabled");
    auto row = [](const Name &name, const QString &container, const QString &caption, QRectF design,
                  bool enabled = true) {
        QTest::newRow(qPrintable(name.text))
            << name.text << container << caption << design << enabled;
    };
    const QString w = u"MainWindow"_s, f1 = u"Frame1"_s;
    row("SSTab", w, {}, {30, 90, 9885, 3465});
    row("Logo", w, {}, {60, 3600, 1110, 450});
    row("Check_90Grad", w, u"90°"_s, {1560, 3720, 615, 285});
    row("cmd_Schrift", w, u"Schriftart"_s, {7110, 3600, 1365, 420});
    row("cmd_Ende", w, u"&Schließen"_s, {8520, 3600, 1365, 405});
    row("cmd_Würfel1", kPage0, u"Würfeln"_s, {180, 450, 1905, 945});
    row("OptionWurf(0)", kPage0, u"Addition"_s, {2250, 660, 1095, 225});
    row("OptionWurf(1)", kPage0, u"neue Zählung"_s, {3390, 660, 1485, 225});
    row("Frame(0)", kPage0, u"Wurfergebnis"_s, {2220, 1050, 7065, 915});
    row("cmd_Reset(0)", kPage0, {}, {9300, 1140, 405, 345});
    row("Label_Augen", kPage0, u"Würfelanzahl mit 6 Seiten "_s, {210, 1470, -1845, 195});
    row("txt_AnzahlWürfel", kPage0, u"60"_s, {300, 1740, 1125, 285});
    row("HScroll", kPage0, {}, {270, 2070, 1125, 255});
    row("Frame(2)", kPage0, u"Sortierung"_s, {2970, 2130, 6345, 885});
    row("cmd_ResetWurf(0)", kPage0, {}, {180, 2430, 345, 345});
    row("txt_Wurfinfo(0)", kPage0, u"Wurf 0"_s, {600, 2520, -510, 195});
    row("Label(25)", kPage0, u"Anzahl der Seiten pro Würfel"_s, {120, 2880, -2025, 195});
    row("Würfelaugen", kPage0, u"6"_s, {120, 3090, 615, 285});
    row("HScroll_Augen", kPage0, {}, {780, 3120, 1365, 255});
    row("Frame1", kPage1, {}, {2220, 600, 2955, 375});
    row("OptionWurf2(0)", f1, u"Addition"_s, {30, 60, 945, 225});
    row("OptionWurf2(1)", f1, u"neue Zählung"_s, {1170, 60, 1485, 225});
    row("Label(12)", kPage1, u"Weiterwürfel mit..."_s, {270, 870, -1560, 195});
    row("Frame(1)", kPage1, u"Wurfergebnis"_s, {2220, 1050, 7065, 915});
    row("Label(24)", kPage1, u"(Schadenswurf)"_s, {240, 1110, -1110, 195});
    row("cmd_Reset(1)", kPage1, {}, {9300, 1140, 405, 345});
    row("Frame(3)", kPage1, u"Sortierung"_s, {2970, 2130, 6345, 885});
    row("cmd_ResetWurf(1)", kPage1, {}, {180, 2160, 375, 345});
    row("txt_Wurfinfo(1)", kPage1, u"Wurf 0"_s, {600, 2250, -510, 195});
    // The rows' and headings' places as the design lists them, column by column.
    const float buttonLefts[9] = {180, 570, 960, 1350, 1740, 180, 570, 960, 1350};
    const float faceLefts[10] = {90, 780, 1470, 2160, 2850, 3540, 4230, 4920, 5610, 6300};
    const float atLeastLefts[9] = {60, 750, 1440, 2130, 2820, 3510, 4200, 4890, 5580};
    const float faceHeadingLefts[10] = {300, 1050, 1710, 2460, 3090, 3780, 4470, 5190, 5850, 6480};
    const float atLeastHeadingLefts[9] = {360, 1020, 1740, 2400, 3090, 3780, 4440, 5130, 5760};
    for (int i = 0; i < 9; ++i) {
        row(element("cmd_Würfel2", i), kPage1, u"%1+"_s.arg(i + 2),
            {buttonLefts[i], i < 5 ? 1320.0 : 1710.0, i == 8 ? 750.0 : 360.0, 360}, i < 5);
        for (int frame : {2, 3})
            row(element(frame == 2 ? "txt_Gewürfelt_2er" : "txt_Gewürfelt_2er2", i),
                element("Frame", frame), u"0"_s, {atLeastLefts[i], 510, 675, 285});
        for (int k : {i, i + 9})
            row(element("LabelWurfUnten", k), element("Frame", k >= 9 ? 2 : 3), u"%1+"_s.arg(i + 2),
                {atLeastHeadingLefts[i], 270, i == 8 ? 270.0 : 180.0, 195});
    }
    for (int j = 0; j < 10; ++j) {
        row(element("txt_Gewürfelt", j), u"Frame(0)"_s, u"0"_s, {faceLefts[j], 540, 675, 285});
        row(element("txt_Gewürfelt2", j), u"Frame(1)"_s, u"0"_s, {faceLefts[j], 540, 675, 285});
        for (int k : {j, j + 10})
            row(element("LabelWurf", k), element("Frame", k >= 10 ? 0 : 1), u"%1er"_s.arg(j + 1),
                {faceHeadingLefts[j], 300, j == 9 ? 315.0 : 225.0, 195});
    }
}

void MainWindowTest::controlTree()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QString, caption);
    QFETCH(QRectF, design);
    QFETCH(bool, enabled);
    QWidget *widget = d->the(name);
    // A page of the tab control is known by its caption, any other container by its name.
    const QWidget *parent = widget->parentWidget();
    QCOMPARE(parent->objectName().isEmpty() ? parent->accessibleName() : parent->objectName(),
             container);
    QCOMPARE(captionOf(widget), caption);
    QCOMPARE(widget->isEnabled(), enabled);
    QVERIFY(widget->toolTip().isEmpty());
    const TwipsRect t = d->twips(name);
    QCOMPARE(QRectF(t.left, t.top, design.width() < 0 ? design.width() : t.width, t.height),
             design);
    QCOMPARE(widget->pos(), QPoint(qRound(design.x() / 15), qRound(design.y() / 15)));
    if (design.width() >= 0)
        return;
    // A text line sizes itself to its text; its design width is the design face's width of it,
    // and a face much wider or narrower than that would crowd or strand its neighbours.
    QVERIFY(d->show());
    d->showPage(container == kPage1 ? 1 : 0);
    auto *label = d->the<QLabel>(name);
    const int text = label->fontMetrics().horizontalAdvance(label->text());
    QVERIFY(text <= label->width() && label->width() <= text + 4);
    QVERIFY2(std::abs(text * 15 + design.width()) <= -0.1 * design.width(),
             qPrintable(u"%1 twips in %2"_s.arg(text * 15).arg(QFontInfo(label->font()).family())));
}

void MainWindowTest::windowPagesAndPictures()
{
    QCOMPARE(window->windowTitle(), u"Talvero"_s);
    QCOMPARE(window->size(), QSize(662, 274)); // the designed client area, 9930 x 4110 twips
    QVERIFY(window->windowIcon().availableSizes().contains(QSize(32, 32)));
    const QPixmap logo = d->the<QLabel>("Logo")->pixmap();
    QCOMPARE(logo.size(), QSize(74, 30));
    QCOMPARE(logo.toImage().pixelColor(0, 0).alpha(), 0);
    for (const char *name : {"cmd_Würfel1", "cmd_Würfel2(8)", "cmd_Reset(1)", "cmd_Ende"}) {
        QCOMPARE(d->the(name)->cursor().pixmap().size(), QSize(32, 32));
        QCOMPARE(d->the(name)->cursor().hotSpot(), QPoint(7, 1));
    }
    d->setValue("HScroll_Augen", 9); // two digits of sides need more room than one
    const int oneDigit = d->the("Label_Augen")->width();
    d->setValue("HScroll_Augen", 10);
    QVERIFY(d->the("Label_Augen")->width() > oneDigit);
    QVERIFY(d->the("cmd_Würfel1")->isVisible() && !d->the("cmd_Würfel2(0)")->isVisible());
    d->showPage(1);
    QVERIFY(!d->the("cmd_Würfel1")->isVisible() && d->the("cmd_Würfel2(0)")->isVisible());
    QCOMPARE(window->grab().toImage().pixelColor(2, 270),
             window->palette().color(QPalette::Button));
}

void MainWindowTest::focusAndKeys()
{
    auto nameOf = [this](QWidget *w) {
        return w == d->tabs() ? u"SSTab"_s : w->objectName();
    };
    // The chain itself, whatever is shown; the tab strip's scroll buttons never show.
    QStringList chain;
    QWidget *first = d->the("cmd_Ende");
    for (QWidget *w = first; chain.isEmpty() || w != first; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->parentWidget() != d->tabs())
            chain << nameOf(w);
    QCOMPARE(chain.join(u' '),
             u"cmd_Ende SSTab OptionWurf(1) OptionWurf(0) HScroll cmd_Würfel1 cmd_Reset(0) "
             "cmd_ResetWurf(0) OptionWurf2(0) OptionWurf2(1) cmd_Würfel2(0) cmd_Würfel2(1) "
             "cmd_Würfel2(2) cmd_Würfel2(3) cmd_Würfel2(4) cmd_Reset(1) cmd_ResetWurf(1) "
             "cmd_Würfel2(5) cmd_Würfel2(6) cmd_Würfel2(7) cmd_Würfel2(8) HScroll_Augen "
             "Check_90Grad cmd_Schrift"_s);
    // Tabbing skips the hidden page and disabled buttons, and enters an option pair at its
    // selected button (the arrow keys move within the pair).
    first->setFocus();
    QStringList visited;
    for (int i = 0; i < 11; ++i) {
        visited << nameOf(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited.join(u' '),
             u"cmd_Ende SSTab OptionWurf(1) HScroll cmd_Würfel1 cmd_Reset(0) "
             "cmd_ResetWurf(0) HScroll_Augen Check_90Grad cmd_Schrift cmd_Ende"_s);
    // Space, Return and Enter press the focused button; Alt+S is the access key of "Schließen".
    QWidget *roll = d->the("cmd_Würfel1");
    roll->setFocus();
    int rolls = 0;
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(roll, key);
        const QString counted = u"Wurf %1"_s.arg(++rolls);
        QTRY_COMPARE(d->caption("txt_Wurfinfo(0)"), counted);
    }
    QSignalSpy closing(d->the<QAbstractButton>("cmd_Ende"), &QAbstractButton::clicked);
    QTest::keyClick(window, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(closing.count(), 1);
}

void MainWindowTest::followUpsRefusedBeforeAnyHitRoll()
{
    // Every enabled follow-up button is refused; disabled ones raise nothing.
    d->showPage(1);
    d->watch.expectBoxes(3);
    for (int i : {0, 2, 4, 5, 8})
        d->click(element("cmd_Würfel2", i));
    QTRY_COMPARE(d->watch.boxes.size(), 3);
    const ModalWatch::Box &box = d->watch.boxes.last();
    QCOMPARE(box.title + u'|' + box.text,
             u"Talvero|Dieser Wurf kann nicht ausgeführt werden, der Würfel 6+ hat keine "
             u"Treffer."_s);
    QVERIFY(box.icon == QMessageBox::NoIcon && box.buttons == QMessageBox::Ok);
    QCOMPARE(page(1), clearedPage(0));
}

void MainWindowTest::hitRollThrowsTheDiceOfSeedAndClock()
{
    const QStringList faces = rollHits();
    QCOMPARE(page(0), faces + atLeastOf(faces) << kSummary << u"Wurf 1"_s);
    QCOMPARE(page(1), clearedPage(0));
}

void MainWindowTest::followUpRollsTheHitsAtItsThreshold()
{
    const QStringList hits = atLeastOf(rollHits());
    const QStringList hitPage = page(0);
    // "4+" rolls the hits at 4 or more, twice; in "Addition" once more on top.
    const quint64 fours = hits[2].toULongLong();
    d->showPage(1);
    d->click("cmd_Würfel2(2)");
    d->click("cmd_Würfel2(2)");
    retrace.roll(kClockSeed, fours, 6);
    const QStringList second = retrace.roll(kClockSeed, fours, 6);
    QCOMPARE(page(1), second + atLeastOf(second)
                          << u"Wurfergebnis 4+ (%1 Würfe)"_s.arg(hits[2]) << u"Wurf 2"_s);
    QCOMPARE(page(0), hitPage);
    d->click("OptionWurf2(0)");
    d->click("cmd_Würfel2(2)");
    QCOMPARE(d->captions("txt_Gewürfelt2", 10), added(second, retrace.roll(kClockSeed, fours, 6)));
    // A follow-up roll throws as many sides as the sides selector shows at its own time.
    d->click("OptionWurf2(1)");
    d->setValue("HScroll_Augen", 3);
    d->click("cmd_Würfel2(0)");
    QCOMPARE(d->captions("txt_Gewürfelt2", 10), retrace.roll(kClockSeed, hits[0].toULongLong(), 3));
}

void MainWindowTest::windowsStartedTogetherRollApart()
{
    // Two windows rolling in the same second re-seed alike; each starts from a state of its own,
    // so the dice still differ, as two runs of the program started together must.
    Run other(folder->filePath(u"other.conf"_s), kTestSeed + 1);
    QStringList runs;
    for (Driver *w : {d, &other.d}) {
        w->setValue("HScroll", 200);
        w->setValue("HScroll_Augen", 10);
        w->the<QAbstractButton>("cmd_Würfel1")->click();
        runs << w->captions("txt_Gewürfelt", 10).join(u' ');
    }
    QVERIFY(runs[0] != runs[1]);
}

void MainWindowTest::resetButtonsKeepToTheirPage()
{
    for (int i = 0; i < 3; ++i)
        d->click("cmd_Würfel1");
    d->showPage(1);
    d->click("cmd_Würfel2(0)");
    const QStringList damagePage = page(1);
    d->showPage(0);
    QStringList hitPage = page(0);
    d->click("cmd_ResetWurf(0)");
    hitPage.last() = u"Wurf 0"_s;
    QCOMPARE(page(0), hitPage);
    d->click("cmd_Reset(0)");
    QCOMPARE(page(0), clearedPage(0));
    QCOMPARE(page(1), damagePage);
    d->click("cmd_Würfel1");
    hitPage = page(0);
    QCOMPARE(hitPage.last(), u"Wurf 1"_s);
    d->showPage(1);
    d->click("cmd_Reset(1)");
    QCOMPARE(page(1), clearedPage(1));
    d->click("cmd_ResetWurf(1)");
    QCOMPARE(page(1), clearedPage(0));
    QCOMPARE(page(0), hitPage);
}

void MainWindowTest::looksWhenRendered()
{
    // A button's face halfway down, inside its border; "Schriftart" is shaded top to bottom.
    auto face = [this](const Name &name) {
        return d->pixel(name, {2, (d->the(name)->height() - 1) / 2});
    };
    QCOMPARE(face("cmd_Würfel1"), kBlue);
    for (const char *name : {"cmd_Reset(0)", "cmd_ResetWurf(0)", "cmd_Ende", "cmd_Schrift"})
        QCOMPARE(face(name), kLight);
    QWidget *roll = d->the("cmd_Würfel1");
    QTest::mousePress(roll, Qt::LeftButton);
    QCOMPARE(face("cmd_Würfel1"), QColor(0x00, 0x00, 0x80));
    QTest::mouseRelease(roll, Qt::LeftButton);
    // "Würfeln" is written in white, in light grey under the pointer.
    QTest::mouseMove(d->the("cmd_Ende"));
    QTRY_VERIFY(!roll->underMouse());
    QVERIFY(pixelsOf(roll, kWhite) > 0 && pixelsOf(roll, kGrey) == 0);
    QTest::mouseMove(roll);
    QTRY_VERIFY(roll->underMouse());
    QVERIFY(pixelsOf(roll, kWhite) == 0 && pixelsOf(roll, kGrey) > 0);

    // A count label: a single black border, white inside, the count in black; under the pointer
    // in blue and bold, with more ink.
    auto *label = d->the<CountLabel>("txt_Gewürfelt(9)");
    QCOMPARE(d->pixel("txt_Gewürfelt(9)", {0, 0}), kBlack);
    QCOMPARE(d->pixel("txt_Gewürfelt(9)", {2, 2}), kWhite);
    const QColor hoverBlue(0x00, 0x00, 0xC0);
    const int regularInk = pixelsOf(label, kBlack);
    QVERIFY(regularInk > 0 && pixelsOf(label, hoverBlue) == 0);
    QTest::mouseMove(label);
    QTRY_VERIFY(label->underMouse());
    QVERIFY(pixelsOf(label, kBlack) == 0 && pixelsOf(label, hoverBlue) > regularInk);
    CountLabel ampersand; // "&" is an ordinary character, not an access key
    ampersand.resize(60, 30);
    ampersand.setCaption(u"&"_s);
    QVERIFY(inkIn(ampersand.grab().toImage(), QRect(2, 2, 56, 26), kWhite) > 10);

    // A heading and a boxed number are centred, a text line starts at its left edge; the boxed
    // number's border is sunken, dark along the top and light along the bottom.
    for (const auto &[name, centred] :
         {std::pair{"LabelWurf(12)", true}, {"Label(25)", false}, {"txt_AnzahlWürfel", true}}) {
        QWidget *plain = d->the(name);
        const QRect ink = inkBox(plain, plain->palette().color(QPalette::Button));
        QVERIFY2(centred ? std::abs(ink.center().x() - plain->width() / 2) <= 1 : ink.left() <= 3,
                 name);
        QCOMPARE(plain->focusPolicy(), Qt::NoFocus);
    }
    const int bottom = d->the("txt_AnzahlWürfel")->height() - 1;
    QVERIFY(d->pixel("txt_AnzahlWürfel", {5, 0}).lightness() <
            d->pixel("txt_AnzahlWürfel", {5, bottom}).lightness());

    // While the count labels are turned, "Schriftart" wears the light set's disabled colour.
    d->click("Check_90Grad");
    QCOMPARE(face("cmd_Schrift"), QColor(0xF5, 0xF4, 0xEA));
    d->showPage(1);
    for (int i = 0; i < 9; ++i)
        QCOMPARE(face(element("cmd_Würfel2", i)), i < 5 ? kBlue : kGrey);
}

void MainWindowTest::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("spokenAndDescribed"); // "name|description"
    for (const auto &[name, role, spoken] :
         {std::tuple{"cmd_Ende", QAccessible::Button, "Schließen|"},
          {"cmd_Reset(1)", QAccessible::Button, "Zählung löschen|"},
          {"cmd_ResetWurf(0)", QAccessible::Button, "Wurfzähler zurücksetzen|"},
          {"Logo", QAccessible::Graphic, "Talvero|"},
          {"HScroll", QAccessible::ScrollBar, "Würfelanzahl|"},
          {"HScroll_Augen", QAccessible::ScrollBar, "Anzahl der Seiten|"},
          {"Frame(2)", QAccessible::Grouping, "Sortierung|"},
          {"txt_Gewürfelt(2)", QAccessible::StaticText, "0|3er"},
          {"txt_Gewürfelt_2er2(3)", QAccessible::StaticText, "0|5+"}})
        QTest::newRow(name) << QString::fromUtf8(name) << static_cast<int>(role)
                            << QString::fromUtf8(spoken);
}

void MainWindowTest::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(QString, spokenAndDescribed);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(d->the(name));
    QCOMPARE(iface->role(), static_cast<QAccessible::Role>(role));
    QCOMPARE(iface->text(QAccessible::Name) + u'|' + iface->text(QAccessible::Description),
             spokenAndDescribed);
    QAccessibleInterface *up = iface; // reachable from the window's own interface
    while (up && up->object() != window)
        up = up->parent();
    QVERIFY(up);
}

void MainWindowTest::countsAndFollowUpsSpoken()
{
    // The follow-up buttons tell how many dice they would roll, whether or not a pointer has
    // rested on them; their tool tips wait for the pointer. A count speaks the count it shows.
    auto followUps = [this](const QStringList &counts) {
        for (int i = 0; i < 9; ++i)
            QCOMPARE(spokenDescription(d->the(element("cmd_Würfel2", i))), counts[i] + u" Würfe"_s);
    };
    followUps(QStringList(9, u"0"_s));
    d->click("cmd_Würfel1");
    for (const QString &name : countLabels())
        QCOMPARE(QAccessible::queryAccessibleInterface(d->the(name))->text(QAccessible::Name),
                 d->caption(name));
    const QStringList hits = d->captions("txt_Gewürfelt_2er", 9);
    followUps(hits);
    d->showPage(1);
    QVERIFY(d->the("cmd_Würfel2(2)")->toolTip().isEmpty());
    QTest::mouseMove(d->the("cmd_Würfel2(2)"));
    QTRY_COMPARE(d->the("cmd_Würfel2(2)")->toolTip(), hits[2] + u" Würfe"_s);
    // Cleared, and the pointer back: the tool tip tells what a click would roll now.
    d->showPage(0);
    d->click("cmd_Reset(0)");
    followUps(QStringList(9, u"0"_s));
    d->showPage(1);
    QTest::mouseMove(d->the("cmd_Reset(1)"));
    QTest::mouseMove(d->the("cmd_Würfel2(2)"));
    QTRY_COMPARE(d->the("cmd_Würfel2(2)")->toolTip(), u"0 Würfe"_s);
}

void MainWindowTest::sidesLooks_data()
{
    QTest::addColumn<int>("sides");
    QTest::addColumn<bool>("dark"); // the desktop's theme when the looks change
    for (const int sides : {2, 3, 6, 9, 10})
        QTest::addRow("%d sides", sides) << sides << false;
    // The count labels' black digits stay on white.
    QTest::newRow("9 sides, dark theme") << 9 << true;
}

void MainWindowTest::sidesLooks()
{
    QFETCH(int, sides);
    QFETCH(bool, dark);
    const QPalette light = QApplication::palette();
    if (dark) {
        QPalette darkened = light;
        for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            darkened.setColor(role, QColor(0x20, 0x20, 0x24));
        darkened.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
        QApplication::setPalette(darkened);
        init();
    }
    d->setValue("HScroll_Augen", sides > 6 ? 2 : 10); // from the other end: every look changes
    d->setValue("HScroll_Augen", sides);
    QApplication::setPalette(light);
    for (const QString &name : countLabels()) {
        const int index = name.section(u'(', 1).chopped(1).toInt();
        const int value = name.contains(u"_2er"_s) ? index + 2 : index + 1; // face, threshold
        QCOMPARE(d->the(name)->isEnabled(), value <= sides);
        QCOMPARE(d->pixel(name, {3, 3}), value <= sides ? kWhite : kGrey);
        if (value == 1)
            QVERIFY(pixelsOf(d->the(name), kBlack) > 0);
    }
    for (int k = 0; k < 9; ++k)
        QCOMPARE(d->the(element("cmd_Würfel2", k))->isEnabled(), k + 2 <= sides);
    QCOMPARE(d->caption("Würfelaugen"), QString::number(sides));
    QCOMPARE(d->caption("Label_Augen"), u"Würfelanzahl mit %1 Seiten"_s.arg(sides));
}

void MainWindowTest::selectorsChangeNoCount()
{
    d->setValue("HScroll", 200);
    d->setValue("HScroll_Augen", 10);
    d->click("cmd_Würfel1");
    QCOMPARE(d->caption("Frame(0)"), u"Wurfergebnis 200 Würfel mit je 10 Seiten"_s);
    const QStringList counts = page(0) + page(1);
    const QList<float> layout = layoutState(*window);
    auto *dice = d->the<QScrollBar>("HScroll");
    dice->triggerAction(QAbstractSlider::SliderSingleStepSub); // an arrow moves by one
    QCOMPARE(d->caption("txt_AnzahlWürfel"), u"199"_s);
    dice->triggerAction(QAbstractSlider::SliderPageStepSub); // so does a click in the track
    QCOMPARE(d->caption("txt_AnzahlWürfel"), u"198"_s);
    // While a thumb is held, the labels follow it before the scroll bar changes its value.
    dice->setSliderDown(true);
    dice->setSliderPosition(1);
    QCOMPARE(d->caption("txt_AnzahlWürfel"), u"1"_s);
    dice->setSliderDown(false);
    QCOMPARE(dice->value(), 1);
    QCOMPARE(d->pixel("txt_Gewürfelt(9)", {3, 3}), kWhite); // the dice change no look, no place
    QCOMPARE(layoutState(*window), layout);
    auto *sides = d->the<QScrollBar>("HScroll_Augen");
    sides->setSliderDown(true);
    sides->setSliderPosition(3);
    QCOMPARE(d->caption("Würfelaugen"), u"3"_s);
    QVERIFY(!d->the("txt_Gewürfelt(3)")->isEnabled() && !d->the("cmd_Würfel2(2)")->isEnabled());
    sides->setSliderPosition(9);
    QCOMPARE(d->caption("Label_Augen"), u"Würfelanzahl mit 9 Seiten"_s);
    QVERIFY(d->the("txt_Gewürfelt2(8)")->isEnabled());
    sides->setSliderDown(false);
    QCOMPARE(sides->value(), 9);
    QCOMPARE(page(0) + page(1), counts);
}

void MainWindowTest::layoutFigures_data()
{
    // "Frame(1):T1050,H1082.5" reads: Frame(1) has the Top 1050 and the Height 1082.5 twips.
    QTest::addColumn<float>("width"); // the window's outer size
    QTest::addColumn<float>("height");
    QTest::addColumn<QString>("figures");
    QTest::addColumn<double>("points"); // of every count label
    QTest::newRow("designed size")
        << 10050.0f << 4515.0f
        << u"SSTab:W9885,H3465 Frame(0):W7065 Frame(1):T1050,H1082.5 Frame(2):W6345 "
           "Frame(3):T2212.5,H1082.5 Logo:T3600 Check_90Grad:T3640 cmd_Schrift:L7050,T3600 "
           "cmd_Ende:L8490,T3600 cmd_Reset(0):L9300 cmd_Reset(1):L9300,T1140 "
           "txt_Gewürfelt(0):L90 txt_Gewürfelt(9):W675.430 txt_Gewürfelt2(9):L6345.497,H452.5 "
           "txt_Gewürfelt_2er(0):L90 txt_Gewürfelt_2er(8):W675 txt_Gewürfelt_2er2(8):L5631,H452.5 "
           "LabelWurf(19):T300"_s
        << 16.886;
    QTest::newRow("15000 x 9000")
        << 15000.0f << 9000.0f
        << u"SSTab:W14835,H7950 Frame(0):W12015 Frame(1):T1050,H3325 Frame(2):W11295 "
           "Frame(3):T4455,H3325 Logo:T8085 Check_90Grad:T8125 cmd_Schrift:L12000,T8085 "
           "cmd_Ende:L13440,T8085 cmd_Reset(0):L14250 cmd_Reset(1):L14250,T1140 "
           "txt_Gewürfelt(0):L90 txt_Gewürfelt(9):W1148.662 txt_Gewürfelt2(9):L10728.329,H2695 "
           "txt_Gewürfelt_2er(0):L90 txt_Gewürfelt_2er(8):W1201.596 "
           "txt_Gewürfelt_2er2(8):L9953.766,H2695 LabelWurf(19):T300"_s
        << 28.717;
}

void MainWindowTest::layoutFigures()
{
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(QString, figures);
    QFETCH(double, points);
    resizeOuter(width, height);
    for (const QString &control : figures.split(u' ')) {
        const TwipsRect t = d->twips(control.section(u':', 0, 0));
        for (const QString &figure : control.section(u':', 1).split(u',')) {
            const char side = figure[0].toLatin1();
            const double actual = side == 'L'   ? t.left
                                  : side == 'T' ? t.top
                                  : side == 'W' ? t.width
                                                : t.height;
            QVERIFY2(std::abs(actual - figure.mid(1).toDouble()) < 0.01,
                     qPrintable(u"%1 %2 is %3"_s.arg(control).arg(figure).arg(actual, 0, 'f', 3)));
        }
    }
    // The columns of a row are equally wide and spaced; the headings above them follow them; every
    // count label has one font size and the height of its row.
    for (const auto &[array, headings, size] : {std::tuple{"txt_Gewürfelt", "LabelWurf", 10},
                                                {"txt_Gewürfelt_2er2", "LabelWurfUnten", 9}}) {
        const TwipsRect first = d->twips(element(array, 0)), second = d->twips(element(array, 1));
        for (int i = 0; i < size; ++i) {
            const TwipsRect label = d->twips(element(array, i));
            QVERIFY(std::abs(label.left - first.left - i * (second.left - first.left)) < 0.01);
            QCOMPARE(label.width, first.width);
            for (int k : {i, i + size}) {
                QCOMPARE(d->twips(element(headings, k)).left, label.left);
                QCOMPARE(d->twips(element(headings, k)).width, label.width);
            }
        }
    }
    for (const QString &name : countLabels()) {
        QVERIFY(std::abs(d->the<CountLabel>(name)->labelFont().pointSizeF() - points) < 1e-3);
        QCOMPARE(d->twips(name).height, d->twips("txt_Gewürfelt(0)").height);
    }
    QCOMPARE(d->the("txt_Gewürfelt(9)")->geometry(), pixelRect(d->twips("txt_Gewürfelt(9)")));
}

void MainWindowTest::smallerThanMinimumIsEnlarged_data()
{
    // The client size asked for; the outer size afterwards, with Frame(0)'s width and height. A
    // height below the minimum is set one twip short of it, 4514, which reads back as 4515.
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QRectF>("outerAndFrame"); // outer width, outer height; frame width, height
    QTest::newRow("too narrow") << QSize(400, 400) << QRectF(10050, 6405, 7065, 2027.5);
    QTest::newRow("too low") << QSize(900, 100) << QRectF(13620, 4515, 10635, 1082.5);
    QTest::newRow("both") << QSize(100, 50) << QRectF(10050, 4515, 7065, 1082.5);
    QTest::newRow("as designed") << QSize(662, 274) << QRectF(10050, 4515, 7065, 1082.5);
}

void MainWindowTest::smallerThanMinimumIsEnlarged()
{
    QFETCH(QSize, client);
    QFETCH(QRectF, outerAndFrame);
    window->setMinimumSize(0, 0); // only the layout pass keeps the window large enough now
    window->resize(700, 300);
    window->resize(client);
    QTRY_COMPARE(window->size(), QSize(qRound((outerAndFrame.x() - 120) / 15),
                                       qRound((outerAndFrame.y() - 405) / 15)));
    QCOMPARE(d->twips("Frame(0)").width, outerAndFrame.width());
    QCOMPARE(d->twips("Frame(0)").height, outerAndFrame.height());
}

void MainWindowTest::minimisedIsLeftAloneMaximisedLaidOut()
{
    window->resize(200, 100); // the window declares its minimum too
    QCOMPARE(window->size(), QSize(662, 274));
    const QList<float> before = layoutState(*window);
    window->showMinimized();
    QTRY_VERIFY(window->isMinimized());
    window->setMinimumSize(0, 0);
    window->resize(300, 100);
    QCOMPARE(window->size(), QSize(300, 100)); // not forced to the minimum either
    QCOMPARE(layoutState(*window), before);

    window->showMaximized();
    QTRY_VERIFY(window->isMaximized() && window->width() > 662);
    Run normal(folder->filePath(u"normal.conf"_s));
    normal.window.resize(window->size());
    normal.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&normal.window));
    QCOMPARE(layoutState(*window), layoutState(normal.window));
}

void MainWindowTest::turnByAnyPath()
{
    auto *label = d->the<CountLabel>("txt_Gewürfelt(0)");
    const int designedDigit = inkBox(label, kWhite).height();
    resizeOuter(15000, 9000);
    QVERIFY(inkBox(label, kWhite).height() >
            designedDigit * 3 / 2); // the count grows with its label
    const QList<float> layout = layoutState(*window);
    const QList<bool> upright(38, false), turnedAll(38, true);
    auto *box = d->the<QAbstractButton>("Check_90Grad");
    d->click("Check_90Grad"); // mouse
    QCOMPARE(turned(), turnedAll);
    QVERIFY(!d->the("cmd_Schrift")->isEnabled());
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space); // keyboard
    QCOMPARE(turned(), upright);
    QVERIFY(d->the("cmd_Schrift")->isEnabled());
    label->setCaption(u"8888"_s);
    const QRect upright8888 = inkBox(label, kWhite);
    QVERIFY2(upright8888.width() > upright8888.height(), "upright digits are wider than tall");
    QAccessible::queryAccessibleInterface(box)->actionInterface()->doAction(
        QAccessibleActionInterface::toggleAction()); // assistive technology
    QCOMPARE(turned(), turnedAll);
    QCOMPARE(layoutState(*window), layout); // nothing moved
    const QRect turned8888 = inkBox(label, kWhite);
    QVERIFY2(turned8888.height() > turned8888.width(), "turned digits are taller than wide");
    QVERIFY(std::abs(turned8888.center().x() - label->width() / 2) <= 2);
    QVERIFY(std::abs(turned8888.center().y() - label->height() / 2) <= 2);
    // Read from bottom to top, the "1" of "1888" stands lowest: less ink there than at the top.
    label->setCaption(u"1888"_s);
    const QImage turned1888 = label->grab().toImage();
    const QRect text = inkBox(label, kWhite);
    const int quarter = text.height() / 4;
    QVERIFY(inkIn(turned1888, QRect(text.left(), text.bottom() - quarter, text.width(), quarter),
                  kWhite) <
            inkIn(turned1888, QRect(text.topLeft(), QSize(text.width(), quarter)), kWhite));
    const QRect heading =
        inkBox(d->the("LabelWurf(19)"), window->palette().color(QPalette::Button));
    QVERIFY(heading.width() > heading.height()); // the headings stay upright

    resizeOuter(14000, 7000); // a resize keeps them turned
    QCOMPARE(turned(), turnedAll);
    QVERIFY(!d->the("cmd_Schrift")->isEnabled());
}

void MainWindowTest::countsDrawnAsIfLaidOutAfresh()
{
    // After every change of font or state a count looks as it would in a label made just now
    // with that font, caption and state: nothing laid out for an earlier font shows.
    d->setValue("HScroll", 200);
    d->click("cmd_Würfel1");
    auto *label = d->the<CountLabel>("txt_Gewürfelt(3)");
    auto differsFromFresh = [label](bool hovered) {
        CountLabel fresh;
        fresh.resize(label->size());
        fresh.setLabelFont(label->labelFont());
        fresh.setCaption(label->caption());
        fresh.setVertical(label->isVertical());
        if (hovered) {
            QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
            QApplication::sendEvent(&fresh, &enter);
        }
        return label->grab().toImage() != fresh.grab().toImage();
    };
    QVERIFY2(!differsFromFresh(false), "as designed");
    resizeOuter(15000, 9000);
    QVERIFY2(!differsFromFresh(false), "resized");
    window->setCountFont({u"DejaVu Serif"_s, true, {}});
    QVERIFY2(!differsFromFresh(false), "another face, bold");
    QTest::mouseMove(label);
    QTRY_VERIFY(label->underMouse());
    QVERIFY2(!differsFromFresh(true), "under the pointer");
    QTest::mouseMove(d->the("cmd_Würfel1"));
    window->setCountFont({{}, false, {}});
    d->click("Check_90Grad");
    QVERIFY2(!differsFromFresh(false), "turned");
    resizeOuter(11000, 5000);
    QVERIFY2(!differsFromFresh(false), "turned and resized");
}

void MainWindowTest::menuOpensByEveryPath_data()
{
    QTest::addColumn<QString>("how");   // a right-click, a key, or assistive technology's action
    QTest::addColumn<QString>("on");    // the control; none: the window
    QTest::addColumn<bool>("rolled");   // 60 dice with 6 sides, the sides then once at 10
    QTest::addColumn<QString>("first"); // the count's own entry on top, if any
    const QStringList counts = Retrace(kTestSeed).roll(kClockSeed, 60, 6);
    const auto face = [&](int f) {
        return u"%1 × %2er neu würfeln"_s.arg(counts[f - 1]).arg(f);
    };
    const auto below = [&](int k) {
        return u"%1 unter %2+ neu würfeln"_s.arg(total(counts.mid(0, k - 1))).arg(k);
    };
    for (const char *on : {"Label(25)", "HScroll", "cmd_Würfel1", "txt_Gewürfelt(3)"})
        QTest::addRow("right-click on %s", on)
            << u"click"_s << QString::fromUtf8(on) << false << QString();
    // A count offers its own reroll only for the faces the last roll could show.
    for (const auto &[on, first] : {std::pair{"txt_Gewürfelt(3)", face(4)},
                                    {"txt_Gewürfelt(5)", face(6)},
                                    {"txt_Gewürfelt(6)", QString()},
                                    {"txt_Gewürfelt_2er(3)", below(5)},
                                    {"txt_Gewürfelt_2er(4)", below(6)},
                                    {"txt_Gewürfelt_2er(5)", QString()},
                                    {"txt_Gewürfelt_2er(8)", QString()}})
        QTest::addRow("right-click after a roll on %s", on)
            << u"click"_s << QString::fromUtf8(on) << true << first;
    QTest::newRow("Menu key") << u"Menu"_s << QString() << false << QString();
    QTest::newRow("Shift+F10") << u"Shift+F10"_s << QString() << false << QString();
    QTest::newRow("assistive technology, window") << u"action"_s << QString() << false << QString();
    QTest::newRow("assistive technology, count")
        << u"action"_s << u"txt_Gewürfelt(3)"_s << true << face(4);
}

void MainWindowTest::menuOpensByEveryPath()
{
    QFETCH(QString, how);
    QFETCH(QString, on);
    QFETCH(bool, rolled);
    QFETCH(QString, first);
    if (rolled) {
        d->click("cmd_Würfel1");
        d->setValue("HScroll_Augen", 10);
        d->setValue("HScroll_Augen", 6);
    }
    d->the("HScroll")->setFocus();
    QWidget *target = on.isEmpty() ? window : d->the(on);
    // Nothing to reroll before the first roll.
    const QString rerolls = rolled ? u"%1"_s : u"[%1]"_s;
    QStringList entries = {rerolls.arg(u"Augenzahl neu würfeln"_s),
                           rerolls.arg(u"Fehlwürfe neu würfeln"_s),
                           u"Chancen…\tStrg+I"_s,
                           u"Verlauf…\tStrg+H"_s,
                           u"Seite kopieren\tStrg+C"_s,
                           u"Über Talvero…\tF1"_s};
    if (!first.isEmpty())
        entries.prepend(first);
    // Read out to screen readers as a menu, whole every time it opens.
    for (int opening = 1; opening <= 2; ++opening) {
        if (how == u"click")
            d->rightClick(on);
        else if (how == u"action")
            QAccessible::queryAccessibleInterface(target)->actionInterface()->doAction(
                QAccessibleActionInterface::showMenuAction());
        else
            QTest::keyClick(QApplication::focusWidget(),
                            how == u"Menu" ? Qt::Key_Menu : Qt::Key_F10,
                            how == u"Menu" ? Qt::NoModifier : Qt::ShiftModifier);
        QTRY_VERIFY(d->openMenu());
        QCOMPARE(d->entries(d->openMenu()), entries);
        QCOMPARE(d->spokenEntries(d->openMenu()), entries);
        QCOMPARE(QAccessible::queryAccessibleInterface(d->openMenu())->role(),
                 QAccessible::PopupMenu);
        d->openMenu()->close();
        // A closed menu goes as soon as the event loop lets it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void MainWindowTest::menuOffersTheLastRollsFacesAndFails()
{
    const QStringList first = rollHits();
    QStringList faces, fails;
    for (int face = 1, below = 0; face <= 6; ++face) {
        faces << u"%1 × %2er neu würfeln"_s.arg(first[face - 1]).arg(face);
        if (face > 1)
            fails << u"%1 unter %2+ neu würfeln"_s.arg(below).arg(face);
        below += first[face - 1].toInt();
    }
    // Filled anew at every opening, each face and threshold of the roll's six sides with its dice.
    for (const auto &[submenu, entries] :
         {std::pair{u"Augenzahl neu würfeln"_s, faces}, {u"Fehlwürfe neu würfeln"_s, fails}}) {
        menuOn("Label(25)");
        QVERIFY(d->choose(submenu));
        QCOMPARE(d->entries(d->openMenu()), entries);
        closeMenus();
    }
}

void MainWindowTest::rerollOfACountThrowsItsDiceAgain()
{
    // A right-click on "1er" puts its dice first; they are thrown again, the counter stays.
    const QStringList first = rollHits();
    const QString ones = u"%1 × 1er neu würfeln"_s.arg(first[0]);
    QCOMPARE(menuOn("txt_Gewürfelt(0)").value(0), ones);
    QVERIFY(d->choose(ones));
    const QStringList counts =
        afterReroll(first, only(first, 1, 1), retrace.roll(kClockSeed, first[0].toULongLong(), 6));
    QCOMPARE(page(0), counts + atLeastOf(counts)
                          << kSummary + u", %1 neu gewürfelt"_s.arg(first[0]) << u"Wurf 1"_s);
    // The follow-up buttons roll the counts as they read now; the other page did not move.
    QCOMPARE(spokenDescription(d->the("cmd_Würfel2(1)")), atLeastOf(counts)[1] + u" Würfe"_s);
    QCOMPARE(page(1), clearedPage(0));
}

void MainWindowTest::rerollOfFailsThroughItsSubmenu()
{
    const QStringList first = rollHits();
    const quint64 fails = first[0].toULongLong() + first[1].toULongLong();
    menuOn("Label(25)");
    QVERIFY(d->choose(u"Fehlwürfe neu würfeln/%1 unter 3+ neu würfeln"_s.arg(fails)));
    const QStringList counts =
        afterReroll(first, only(first, 1, 2), retrace.roll(kClockSeed, fails, 6));
    QCOMPARE(page(0), counts + atLeastOf(counts)
                          << kSummary + u", %1 neu gewürfelt"_s.arg(fails) << u"Wurf 1"_s);
    // The dice now below 3+ were thrown again already.
    QCOMPARE(menuOn("txt_Gewürfelt_2er(1)").value(0), u"[0 unter 3+ neu würfeln]"_s);
    closeMenus();
}

void MainWindowTest::nothingToRerollAfterClearing()
{
    rollHits();
    d->click("cmd_Reset(0)");
    QCOMPARE(menuOn("Label(25)").mid(0, 2),
             (QStringList{u"[Augenzahl neu würfeln]"_s, u"[Fehlwürfe neu würfeln]"_s}));
    closeMenus();
}

// Run in a real X window under Xvfb, at the scale factor QT_SCALE_FACTOR gives: the screenshot is
// that many times larger, every control in the same relative place, and the text drawn at the
// screen's resolution rather than blown up.
void MainWindowTest::highDpiScreenshot()
{
    if (QGuiApplication::platformName() != u"xcb")
        QSKIP("needs a real X display (run under xvfb-run)");
    const qreal scale = qEnvironmentVariableIntValue("QT_SCALE_FACTOR") > 1 ? 2.0 : 1.0;
    d->setValue("HScroll", 200);
    d->click("cmd_Würfel1");
    QCOMPARE(window->devicePixelRatio(), scale);
    QCOMPARE(d->the("txt_Gewürfelt(9)")->geometry(), QRect(423, 36, 45, 30)); // logical pixels
    auto at = [&](const char *name) {
        return d->the(name)->mapTo(window, QPoint()) * scale;
    };
    QImage shot;
    QTRY_VERIFY_WITH_TIMEOUT((shot = window->screen()->grabWindow(window->winId()).toImage(),
                              shot.pixelColor(at("cmd_Würfel1") + QPoint(8, 8)) == kBlue),
                             5000);
    QCOMPARE(shot.size(), window->size() * scale);
    // Every count label at its scaled place: its black border at the corners, white within.
    for (const QString &name : countLabels().mid(0, 10) + countLabels().mid(20, 9)) {
        const QRect area(at(qPrintable(name)), d->the(name)->size() * scale);
        QCOMPARE(shot.pixelColor(area.topLeft()), kBlack);
        QCOMPARE(shot.pixelColor(area.bottomRight()), kBlack);
        QCOMPARE(shot.pixelColor(area.topLeft() + QPoint(2, 2) * scale), kWhite);
    }
    // At scale 2 the digits' edges are not 2 x 2 blocks of one colour, as a blown-up picture's
    // would be.
    const QRect label(at("txt_Gewürfelt(0)"), d->the("txt_Gewürfelt(0)")->size() * scale);
    int ink = 0, finer = 0;
    for (int y = label.top() + 2; y + 1 < label.bottom() - 1; y += 2)
        for (int x = label.left() + 2; x + 1 < label.right() - 1; x += 2) {
            const QRgb a = shot.pixel(x, y);
            ink += qGray(a) <= 200;
            finer += qGray(a) <= 200 && (a != shot.pixel(x + 1, y) || a != shot.pixel(x, y + 1) ||
                                         a != shot.pixel(x + 1, y + 1));
        }
    QVERIFY(ink > 0 && (scale == 1 || finer * 4 > ink));
}

// Run in a real X window under Xvfb: after each step the screen shows exactly what a fresh
// rendering of the window shows. A control that repaints less than it changed leaves stale
// pixels on the screen, which a fresh rendering never has.
void MainWindowTest::screenShowsWhatIsPainted()
{
    if (QGuiApplication::platformName() != u"xcb")
        QSKIP("needs a real X display (run under xvfb-run)");
    auto sameAsPainted = [this](const char *step) {
        auto image = [](const QPixmap &pixmap) {
            return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
        };
        QTRY_VERIFY2_WITH_TIMEOUT(image(window->grab()) ==
                                      image(window->screen()->grabWindow(window->winId())),
                                  step, 3000);
    };
    sameAsPainted("shown");
    d->setValue("HScroll", 200);
    d->setValue("HScroll_Augen", 10);
    d->click("cmd_Würfel1");
    sameAsPainted("a roll of 200 ten-sided dice");
    d->click("cmd_Reset(0)");
    sameAsPainted("the counts cleared: a shorter caption");
    d->click("cmd_Würfel1");
    sameAsPainted("another roll");
    window->setCountFont({u"DejaVu Serif"_s, {}, {}});
    sameAsPainted("another face");
    window->setCountFont({{}, true, {}});
    sameAsPainted("bold");
    window->setCountFont({{}, {}, true});
    sameAsPainted("italic");
    QTest::mouseMove(d->the("txt_Gewürfelt(4)"));
    sameAsPainted("the pointer over a count");
    QTest::mouseMove(d->the("cmd_Würfel1"));
    sameAsPainted("the pointer gone");
    d->click("Check_90Grad");
    sameAsPainted("turned");
    resizeOuter(14000, 7000);
    sameAsPainted("larger");
    d->setValue("HScroll", 1);
    d->click("OptionWurf(1)");
    d->click("cmd_Würfel1");
    sameAsPainted("a roll of one die");
}

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
