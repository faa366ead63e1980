// SPDX-License-Identifier: GPL-3.0-or-later
// The main window offscreen, from outside: its controls as designed, clicks and keys through the
// real widgets, looks as rendered, pictures and accessibility.

#include "support/window_driver.h"

#include <QAccessible>
#include <QFontInfo>
#include <QSignalSpy>
#include <memory>

using namespace talvero;
using namespace talvero::testing;

namespace {

const QString kPage0 = u"TREFFERWÜRFE "_s;
const QString kPage1 = u"SCHADENSWÜRFE "_s;
const QColor kBlue(0x00, 0x00, 0xFF), kLight(0xF7, 0xF7, 0xEF), kGrey(0xE0, 0xE0, 0xE0);

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        window = std::make_unique<MainWindow>();
        d = std::make_unique<Driver>(*window);
    }
    void cleanup()
    {
        d.reset();
        window.reset();
    }

    void controlTree_data();
    void controlTree();
    void textLinesFitTheirText_data();
    void textLinesFitTheirText();
    void windowAndPages();
    void focusChain();

    void hitRollThroughTheButton();
    void followUpRefusedWithMessage();
    void followUpRollsHitsOfItsThreshold();
    void toolTipRefreshedWhenPointerEnters();
    void resetButtonsKeepToTheirPage();
    void runsStartedTogetherRollDifferently();
    void keyboard();

    void buttonColours();
    void countLabelLooks();
    void plainLabelKinds();
    void pictures();
    void accessibility_data();
    void accessibility();

private:
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<Driver> d;
};

void MainWindowTest::controlTree_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRectF>("design"); // twips; a text line (width -1) takes its text's width
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
    row("Label_Augen", kPage0, u"Würfelanzahl mit 6 Seiten "_s, {210, 1470, -1, 195});
    row("txt_AnzahlWürfel", kPage0, u"60"_s, {300, 1740, 1125, 285});
    row("HScroll", kPage0, {}, {270, 2070, 1125, 255});
    row("Frame(2)", kPage0, u"Sortierung"_s, {2970, 2130, 6345, 885});
    row("cmd_ResetWurf(0)", kPage0, {}, {180, 2430, 345, 345});
    row("txt_Wurfinfo(0)", kPage0, u"Wurf 0"_s, {600, 2520, -1, 195});
    row("Label(25)", kPage0, u"Anzahl der Seiten pro Würfel"_s, {120, 2880, -1, 195});
    row("Würfelaugen", kPage0, u"6"_s, {120, 3090, 615, 285});
    row("HScroll_Augen", kPage0, {}, {780, 3120, 1365, 255});
    row("Frame1", kPage1, {}, {2220, 600, 2955, 375});
    row("OptionWurf2(0)", f1, u"Addition"_s, {30, 60, 945, 225});
    row("OptionWurf2(1)", f1, u"neue Zählung"_s, {1170, 60, 1485, 225});
    row("Label(12)", kPage1, u"Weiterwürfel mit..."_s, {270, 870, -1, 195});
    row("Frame(1)", kPage1, u"Wurfergebnis"_s, {2220, 1050, 7065, 915});
    row("Label(24)", kPage1, u"(Schadenswurf)"_s, {240, 1110, -1, 195});
    row("cmd_Reset(1)", kPage1, {}, {9300, 1140, 405, 345});
    row("Frame(3)", kPage1, u"Sortierung"_s, {2970, 2130, 6345, 885});
    row("cmd_ResetWurf(1)", kPage1, {}, {180, 2160, 375, 345});
    row("txt_Wurfinfo(1)", kPage1, u"Wurf 0"_s, {600, 2250, -1, 195});

    const int buttonLefts[9] = {180, 570, 960, 1350, 1740, 180, 570, 960, 1350};
    for (int i = 0; i < 9; ++i)
        row(element("cmd_Würfel2", i), kPage1, u"%1+"_s.arg(i + 2),
            QRectF(buttonLefts[i], i < 5 ? 1320 : 1710, i == 8 ? 750 : 360, 360), i < 5);
    for (int j = 0; j < 10; ++j) {
        row(element("txt_Gewürfelt", j), u"Frame(0)"_s, u"0"_s, {90.0 + 690 * j, 540, 675, 285});
        row(element("txt_Gewürfelt2", j), u"Frame(1)"_s, u"0"_s, {90.0 + 690 * j, 540, 675, 285});
    }
    for (int j = 0; j < 9; ++j) {
        row(element("txt_Gewürfelt_2er", j), u"Frame(2)"_s, u"0"_s,
            {60.0 + 690 * j, 510, 675, 285});
        row(element("txt_Gewürfelt_2er2", j), u"Frame(3)"_s, u"0"_s,
            {60.0 + 690 * j, 510, 675, 285});
    }
    const int faceLefts[10] = {300, 1050, 1710, 2460, 3090, 3780, 4470, 5190, 5850, 6480};
    for (int k = 0; k < 20; ++k)
        row(element("LabelWurf", k), u"Frame(%1)"_s.arg(k >= 10 ? 0 : 1), u"%1er"_s.arg(k % 10 + 1),
            QRectF(faceLefts[k % 10], 300, k % 10 == 9 ? 315 : 225, 195));
    const int thresholdLefts[9] = {360, 1020, 1740, 2400, 3090, 3780, 4440, 5130, 5760};
    for (int k = 0; k < 18; ++k)
        row(element("LabelWurfUnten", k), u"Frame(%1)"_s.arg(k >= 9 ? 2 : 3),
            u"%1+"_s.arg(k % 9 + 2),
            QRectF(thresholdLefts[k % 9], 270, k % 9 == 8 ? 270 : 180, 195));
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
    QCOMPARE(QRectF(t.left, t.top, design.width() < 0 ? -1 : t.width, t.height), design);
    QCOMPARE(widget->pos(), QPoint(qRound(design.x() / 15), qRound(design.y() / 15)));
}

void MainWindowTest::textLinesFitTheirText_data()
{
    // A text line sizes itself to its text; its design width is the design face's width of it.
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("designWidth");
    QTest::newRow("Label_Augen") << u"Label_Augen"_s << 1845.0;
    QTest::newRow("Label(25)") << u"Label(25)"_s << 2025.0;
    QTest::newRow("Label(12), bold") << u"Label(12)"_s << 1560.0;
    QTest::newRow("Label(24)") << u"Label(24)"_s << 1110.0;
    QTest::newRow("txt_Wurfinfo(1)") << u"txt_Wurfinfo(1)"_s << 510.0;
}

void MainWindowTest::textLinesFitTheirText()
{
    QFETCH(QString, name);
    QFETCH(double, designWidth);
    QVERIFY(d->show());
    d->showPage(1);
    auto *label = d->the<QLabel>(name);
    const int text = label->fontMetrics().horizontalAdvance(label->text());
    QVERIFY(text <= label->width() && label->width() <= text + 4);
    // A face much wider or narrower than the design's would crowd or strand its neighbours.
    QVERIFY2(std::abs(text * 15 - designWidth) <= 0.1 * designWidth,
             qPrintable(u"%1 twips in %2"_s.arg(text * 15).arg(QFontInfo(label->font()).family())));
}

void MainWindowTest::windowAndPages()
{
    QCOMPARE(window->windowTitle(), u"Talvero"_s);
    QCOMPARE(window->size(), QSize(662, 274)); // the designed client area, 9930 x 4110 twips
    QVERIFY(d->show());
    // Two digits of sides need more room than one.
    d->setValue("HScroll_Augen", 9);
    const int oneDigit = d->the("Label_Augen")->width();
    d->setValue("HScroll_Augen", 10);
    QVERIFY(d->the("Label_Augen")->width() > oneDigit);

    QVERIFY(d->the("cmd_Würfel1")->isVisible() && !d->the("cmd_Würfel2(0)")->isVisible());
    d->showPage(1);
    QVERIFY(!d->the("cmd_Würfel1")->isVisible() && d->the("cmd_Würfel2(0)")->isVisible());
    QCOMPARE(window->grab().toImage().pixelColor(2, 270),
             window->palette().color(QPalette::Button));
}

void MainWindowTest::focusChain()
{
    QVERIFY(d->show());
    auto nameOf = [this](QWidget *w) {
        return w == d->tabs() ? u"SSTab"_s : w->objectName();
    };
    QStringList expected = {
        u"cmd_Ende"_s,       u"SSTab"_s,         u"OptionWurf(1)"_s, u"OptionWurf(0)"_s,
        u"HScroll"_s,        u"cmd_Würfel1"_s,   u"cmd_Reset(0)"_s,  u"cmd_ResetWurf(0)"_s,
        u"OptionWurf2(0)"_s, u"OptionWurf2(1)"_s};
    for (int i = 0; i < 5; ++i)
        expected << element("cmd_Würfel2", i);
    expected << u"cmd_Reset(1)"_s << u"cmd_ResetWurf(1)"_s;
    for (int i = 5; i < 9; ++i)
        expected << element("cmd_Würfel2", i);
    expected << u"HScroll_Augen"_s << u"Check_90Grad"_s << u"cmd_Schrift"_s;

    // The chain itself, whatever is shown; the tab strip's scroll buttons never show.
    QStringList chain;
    QWidget *first = d->the("cmd_Ende");
    for (QWidget *w = first; chain.isEmpty() || w != first; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->parentWidget() != d->tabs())
            chain << nameOf(w);
    QCOMPARE(chain, expected);

    // Tabbing skips the hidden page and disabled buttons, and enters an option pair at its
    // selected button (the arrow keys move within the pair).
    first->setFocus();
    QStringList visited;
    for (int i = 0; i < 11; ++i) {
        visited << nameOf(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited,
             QStringList({u"cmd_Ende"_s, u"SSTab"_s, u"OptionWurf(1)"_s, u"HScroll"_s,
                          u"cmd_Würfel1"_s, u"cmd_Reset(0)"_s, u"cmd_ResetWurf(0)"_s,
                          u"HScroll_Augen"_s, u"Check_90Grad"_s, u"cmd_Schrift"_s, u"cmd_Ende"_s}));
}

void MainWindowTest::hitRollThroughTheButton()
{
    QVERIFY(d->show());
    d->click("cmd_Würfel1");
    const QStringList faces = d->captions("txt_Gewürfelt", 10);
    QCOMPARE(total(faces), 60.0);
    QCOMPARE(faces.mid(6), QStringList(4, u"0"_s));
    QCOMPARE(d->caption("txt_Gewürfelt_2er(0)").toDouble(), 60 - faces[0].toDouble());
    QCOMPARE(d->caption("txt_Wurfinfo(0)"), u"Wurf 1"_s);
    QCOMPARE(d->caption("Frame(0)"), u"Wurfergebnis 60 Würfel mit je 6 Seiten"_s);
    // Nothing on the damage page moved.
    QCOMPARE(d->captions("txt_Gewürfelt2", 10), QStringList(10, u"0"_s));
    QCOMPARE(d->caption("txt_Wurfinfo(1)") + d->caption("Frame(1)"), u"Wurf 0Wurfergebnis"_s);
}

void MainWindowTest::followUpRefusedWithMessage()
{
    QVERIFY(d->show());
    d->showPage(1);
    d->watch.expectBoxes(3);
    for (int i : {0, 2, 4}) {
        d->click(element("cmd_Würfel2", i));
        const ModalWatch::Box &box = d->watch.boxes.last();
        QCOMPARE(box.text, u"Dieser Wurf kann nicht ausgeführt werden, der Würfel %1+ hat keine "
                           u"Treffer."_s.arg(i + 2));
        QCOMPARE(box.title, u"Talvero"_s);
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    // Disabled buttons raise nothing at all.
    for (int i = 5; i < 9; ++i)
        d->click(element("cmd_Würfel2", i));
    QTest::qWait(20);
    QCOMPARE(d->watch.boxes.size(), 3);
    QCOMPARE(d->caption("txt_Wurfinfo(1)") + d->caption("Frame(1)"), u"Wurf 0Wurfergebnis"_s);
}

void MainWindowTest::followUpRollsHitsOfItsThreshold()
{
    QVERIFY(d->show());
    d->setValue("HScroll", 200);
    d->click("cmd_Würfel1");
    const QStringList hitPage = d->captions("txt_Gewürfelt_2er", 9) << d->caption("Frame(0)");
    const QString hits = hitPage[2]; // "4+"
    QVERIFY(hits.toDouble() > 0);

    d->showPage(1);
    d->click("cmd_Würfel2(2)");
    d->click("cmd_Würfel2(2)");
    QCOMPARE(total(d->captions("txt_Gewürfelt2", 10)), hits.toDouble());
    QCOMPARE(d->caption("txt_Wurfinfo(1)"), u"Wurf 2"_s);
    QCOMPARE(d->caption("Frame(1)"), u"Wurfergebnis 4+ (%1 Würfe)"_s.arg(hits));
    QCOMPARE(d->captions("txt_Gewürfelt_2er", 9) << d->caption("Frame(0)"), hitPage);

    d->click("OptionWurf2(0)"); // "Addition"
    d->click("cmd_Würfel2(2)");
    QCOMPARE(total(d->captions("txt_Gewürfelt2", 10)), 2 * hits.toDouble());
}

void MainWindowTest::toolTipRefreshedWhenPointerEnters()
{
    QVERIFY(d->show());
    d->setValue("HScroll", 200);
    d->click("cmd_Würfel1");
    d->showPage(1);
    for (int i : {3, 0}) {
        QWidget *button = d->the(element("cmd_Würfel2", i));
        QVERIFY(button->toolTip().isEmpty());
        QTest::mouseMove(button);
        QTRY_COMPARE(button->toolTip(), d->caption(element("txt_Gewürfelt_2er", i)) + u" Würfe"_s);
    }
    QVERIFY(d->the("cmd_Würfel2(2)")->toolTip().isEmpty());
    // The next visit after a reset shows what a click would roll now.
    d->showPage(0);
    d->click("cmd_Reset(0)");
    d->showPage(1);
    QTest::mouseMove(d->the("cmd_Würfel2(3)"));
    QTRY_COMPARE(d->the("cmd_Würfel2(3)")->toolTip(), u"0 Würfe"_s);
}

void MainWindowTest::resetButtonsKeepToTheirPage()
{
    QVERIFY(d->show());
    for (int i = 0; i < 3; ++i)
        d->click("cmd_Würfel1");
    d->showPage(1);
    d->click("cmd_Würfel2(0)");
    auto page = [this](int i) {
        const char *face = i == 0 ? "txt_Gewürfelt" : "txt_Gewürfelt2";
        const char *atLeast = i == 0 ? "txt_Gewürfelt_2er" : "txt_Gewürfelt_2er2";
        return d->captions(face, 10) << d->captions(atLeast, 9) << d->caption(element("Frame", i))
                                     << d->caption(element("txt_Wurfinfo", i));
    };
    const QStringList damagePage = page(1);
    d->showPage(0);
    QStringList hitPage = page(0);
    d->click("cmd_ResetWurf(0)");
    hitPage.last() = u"Wurf 0"_s;
    QCOMPARE(page(0), hitPage);

    d->click("cmd_Reset(0)");
    QCOMPARE(page(0), QStringList(19, u"0"_s) << u"Wurfergebnis"_s << u"Wurf 0"_s);
    QCOMPARE(page(1), damagePage);
    d->click("cmd_Würfel1");
    QCOMPARE(d->caption("txt_Wurfinfo(0)"), u"Wurf 1"_s);

    hitPage = page(0);
    d->showPage(1);
    d->click("cmd_Reset(1)");
    QCOMPARE(page(1), QStringList(19, u"0"_s) << u"Wurfergebnis"_s << u"Wurf 1"_s);
    d->click("cmd_ResetWurf(1)");
    QCOMPARE(d->caption("txt_Wurfinfo(1)"), u"Wurf 0"_s);
    QCOMPARE(page(0), hitPage);
}

void MainWindowTest::runsStartedTogetherRollDifferently()
{
    // Two windows rolling in the same second re-seed alike; each starts from a state of its own,
    // so the dice still differ, as two runs of the program started together must.
    MainWindow other;
    Driver second(other);
    QStringList faces[2];
    int i = 0;
    for (Driver *w : {d.get(), &second}) {
        w->setValue("HScroll", 200);
        w->setValue("HScroll_Augen", 10);
        w->the<QAbstractButton>("cmd_Würfel1")->click();
        faces[i++] = w->captions("txt_Gewürfelt", 10);
    }
    QVERIFY(faces[0] != faces[1]);
}

void MainWindowTest::keyboard()
{
    QVERIFY(d->show());
    QWidget *roll = d->the("cmd_Würfel1");
    roll->setFocus();
    int rolls = 0;
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(roll, key);
        const QString counted = u"Wurf %1"_s.arg(++rolls);
        QTRY_COMPARE(d->caption("txt_Wurfinfo(0)"), counted);
    }
    // Alt+S is the access key of "Schließen".
    QSignalSpy closing(d->the<QAbstractButton>("cmd_Ende"), &QAbstractButton::clicked);
    QTest::keyClick(window.get(), Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(closing.count(), 1);
}

void MainWindowTest::buttonColours()
{
    QVERIFY(d->show());
    // The face colour halfway down, inside the border; "Schriftart" shades it from top to bottom.
    auto face = [this](const Name &name) {
        return d->pixel(name, {2, (d->the(name)->height() - 1) / 2});
    };
    auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue()) <=
               2;
    };
    QCOMPARE(face("cmd_Würfel1"), kBlue);
    for (const char *name : {"cmd_Reset(0)", "cmd_ResetWurf(0)", "cmd_Ende"})
        QCOMPARE(face(name), kLight);
    QVERIFY(near(face("cmd_Schrift"), kLight));
    QTest::mousePress(d->the("cmd_Würfel1"), Qt::LeftButton);
    QCOMPARE(face("cmd_Würfel1"), QColor(0x00, 0x00, 0x80));
    QTest::mouseRelease(d->the("cmd_Würfel1"), Qt::LeftButton);

    // "Schriftart" while the count labels are turned: the light set's disabled colour.
    d->click("Check_90Grad");
    QVERIFY(near(face("cmd_Schrift"), QColor(0xF5, 0xF4, 0xEA)));
    d->showPage(1);
    for (int i = 0; i < 9; ++i)
        QCOMPARE(face(element("cmd_Würfel2", i)), i < 5 ? kBlue : kGrey);
}

void MainWindowTest::countLabelLooks()
{
    QVERIFY(d->show());
    auto *label = d->the<CountLabel>("txt_Gewürfelt(9)");
    const QColor white(0xFF, 0xFF, 0xFF), black(0, 0, 0), hoverBlue(0x00, 0x00, 0xC0);
    const QRect inside = label->rect().adjusted(2, 2, -2, -2);
    QCOMPARE(d->pixel("txt_Gewürfelt(9)", {0, 0}), black); // its single border
    QCOMPARE(d->pixel("txt_Gewürfelt(9)", {2, 2}), white);
    // The text: black at rest; blue and bold (more ink) under the pointer.
    auto pixels = [&](QColor colour) {
        return inside.width() * inside.height() - inkIn(label->grab().toImage(), inside, colour);
    };
    const int regularInk = inkIn(label->grab().toImage(), inside, white);
    QVERIFY(pixels(black) > 0 && pixels(hoverBlue) == 0);
    QTest::mouseMove(label);
    QTRY_VERIFY(label->underMouse());
    QVERIFY(pixels(black) == 0 && pixels(hoverBlue) > 0);
    QVERIFY(inkIn(label->grab().toImage(), inside, white) > regularInk);

    // "&" is an ordinary character, not an access key.
    CountLabel ampersand;
    ampersand.resize(60, 30);
    ampersand.setCaption(u"&"_s);
    QVERIFY(inkIn(ampersand.grab().toImage(), QRect(2, 2, 56, 26), white) > 10);
}

void MainWindowTest::plainLabelKinds()
{
    QVERIFY(d->show());
    // A heading and a boxed number are centred, a text line starts at its left edge.
    for (const auto &[name, centred] :
         {std::pair{"LabelWurf(12)", true}, {"Label(25)", false}, {"txt_AnzahlWürfel", true}}) {
        QWidget *label = d->the(name);
        QRect ink;
        inkIn(label->grab().toImage(), label->rect().adjusted(2, 2, -2, -2),
              label->palette().color(QPalette::Button), &ink);
        QVERIFY2(centred ? std::abs(ink.center().x() - label->width() / 2) <= 1 : ink.left() <= 3,
                 name);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    }
    // The boxed number's border is sunken: dark along the top, light along the bottom.
    const int bottom = d->the("txt_AnzahlWürfel")->height() - 1;
    QVERIFY(d->pixel("txt_AnzahlWürfel", {5, 0}).lightness() <
            d->pixel("txt_AnzahlWürfel", {5, bottom}).lightness());
}

void MainWindowTest::pictures()
{
    QVERIFY(window->windowIcon().availableSizes().contains(QSize(32, 32)));
    const QPixmap logo = d->the<QLabel>("Logo")->pixmap();
    QCOMPARE(logo.size(), QSize(74, 30));
    QCOMPARE(logo.toImage().pixelColor(0, 0).alpha(), 0);
    for (const char *name : {"cmd_Würfel1", "cmd_Würfel2(8)", "cmd_Reset(1)", "cmd_Ende"}) {
        const QCursor cursor = d->the(name)->cursor();
        QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
        QCOMPARE(cursor.hotSpot(), QPoint(7, 1));
    }
}

void MainWindowTest::accessibility_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("spoken");
    QTest::addColumn<QString>("description");
    auto row = [](const char *name, QAccessible::Role role, const char *spoken,
                  const char *description = "") {
        QTest::newRow(name) << QString::fromUtf8(name) << static_cast<int>(role)
                            << QString::fromUtf8(spoken) << QString::fromUtf8(description);
    };
    row("cmd_Ende", QAccessible::Button, "Schließen");
    row("cmd_Würfel2(8)", QAccessible::Button, "10+");
    row("cmd_Reset(1)", QAccessible::Button, "Zählung löschen");
    row("cmd_ResetWurf(0)", QAccessible::Button, "Wurfzähler zurücksetzen");
    row("Logo", QAccessible::Graphic, "Talvero");
    row("Check_90Grad", QAccessible::CheckBox, "90°");
    row("OptionWurf2(1)", QAccessible::RadioButton, "neue Zählung");
    row("HScroll", QAccessible::ScrollBar, "Würfelanzahl");
    row("HScroll_Augen", QAccessible::ScrollBar, "Anzahl der Seiten");
    row("Frame(2)", QAccessible::Grouping, "Sortierung");
    row("Label(25)", QAccessible::StaticText, "Anzahl der Seiten pro Würfel");
    row("txt_Gewürfelt(2)", QAccessible::StaticText, "0", "3er");
    row("txt_Gewürfelt_2er2(3)", QAccessible::StaticText, "0", "5+");
}

void MainWindowTest::accessibility()
{
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(QString, spoken);
    QFETCH(QString, description);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(d->the(name));
    QCOMPARE(static_cast<int>(iface->role()), role);
    QCOMPARE(iface->text(QAccessible::Name), spoken);
    QCOMPARE(iface->text(QAccessible::Description), description);
    QAccessibleInterface *up = iface; // reachable from the window's own interface
    while (up && up->object() != window.get())
        up = up->parent();
    QVERIFY(up);

    if (name == u"txt_Gewürfelt(2)"_s) { // a count label speaks the count it shows
        d->click("cmd_Würfel1");
        QCOMPARE(iface->text(QAccessible::Name), d->caption(name));
        QAccessibleInterface *tabs = QAccessible::queryAccessibleInterface(d->tabs());
        QStringList pages;
        for (int i = 0; i < tabs->childCount(); ++i)
            if (tabs->child(i)->role() == QAccessible::PageTab)
                pages << tabs->child(i)->text(QAccessible::Name);
        QCOMPARE(pages, QStringList({kPage0, kPage1}));
    }
}

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
