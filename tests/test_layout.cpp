// SPDX-License-Identifier: GPL-3.0-or-later
// The selectors, the layout pass and the 90° orientation of the real window, offscreen.

#include "support/window_driver.h"

#include <QAccessible>
#include <memory>

using namespace talvero;
using namespace talvero::testing;

namespace {

const QColor kWhite(0xFF, 0xFF, 0xFF), kGrey(0xE0, 0xE0, 0xE0);

// All 38 count labels: the face rows first.
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
            state << t->Left() << t->Top() << t->Width() << t->Height();
    for (CountLabel *label : window.findChildren<CountLabel *>())
        state << static_cast<float>(label->labelFont().pointSizeF());
    return state;
}

} // namespace

class LayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        window = std::make_unique<MainWindow>();
        d = std::make_unique<Driver>(*window);
        QVERIFY(d->show());
    }
    void cleanup()
    {
        d.reset();
        window.reset();
    }

    void sidesLooks_data();
    void sidesLooks();
    void countLabelsLookTheSameInADarkTheme();
    void diceCountFollowsItsScrollBar();
    void draggingUpdatesAtOnce();
    void selectorsNeverChangeCounts();

    void layoutFigures_data();
    void layoutFigures();
    void smallerThanMinimumIsEnlarged_data();
    void smallerThanMinimumIsEnlarged();
    void minimisedIsLeftAloneMaximisedLaidOut();

    void toggleByAnyPath();
    void turnedDigitsWhenRendered();

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
        window->resize(qRound((width - 120) / 15), qRound((height - 405) / 15));
        QTRY_COMPARE(window->size(),
                     QSize(qRound((width - 120) / 15), qRound((height - 405) / 15)));
    }

    std::unique_ptr<MainWindow> window;
    std::unique_ptr<Driver> d;
};

void LayoutTest::sidesLooks_data()
{
    QTest::addColumn<int>("sides");
    for (int m : {2, 3, 6, 9, 10})
        QTest::addRow("M=%d", m) << m;
}

void LayoutTest::sidesLooks()
{
    QFETCH(int, sides);
    // From the other end, so that every look has to change.
    d->setValue("HScroll_Augen", sides > 6 ? 2 : 10);
    d->setValue("HScroll_Augen", sides);
    for (const QString &name : countLabels()) {
        const int index = name.section(u'(', 1).chopped(1).toInt();
        const int value = name.contains(u"_2er"_s) ? index + 2 : index + 1; // face or threshold
        QCOMPARE(d->the(name)->isEnabled(), value <= sides);
        QCOMPARE(d->pixel(name, {3, 3}), value <= sides ? kWhite : kGrey);
    }
    for (int k = 0; k < 9; ++k)
        QCOMPARE(d->the(element("cmd_Würfel2", k))->isEnabled(), k + 2 <= sides);
    QCOMPARE(d->caption("Würfelaugen"), QString::number(sides));
    QCOMPARE(d->caption("Label_Augen"), u"Würfelanzahl mit %1 Seiten"_s.arg(sides));
}

void LayoutTest::countLabelsLookTheSameInADarkTheme()
{
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        dark.setColor(role, QColor(0x20, 0x20, 0x24));
    dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
    QApplication::setPalette(dark);
    MainWindow darkWindow;
    Driver dd(darkWindow);
    QVERIFY(dd.show());
    dd.setValue("HScroll_Augen", 9); // every label made active or inactive anew
    QApplication::setPalette(light);
    for (const char *name : {"txt_Gewürfelt(0)", "txt_Gewürfelt2(8)", "txt_Gewürfelt_2er2(7)"}) {
        QCOMPARE(dd.pixel(name, {3, 3}), kWhite);
        const QRect inside = dd.the(name)->rect().adjusted(2, 2, -2, -2);
        const int blackPixels = inside.width() * inside.height() -
                                inkIn(dd.the(name)->grab().toImage(), inside, QColor(0, 0, 0));
        QVERIFY(blackPixels > 0); // the count, in black
    }
    QCOMPARE(dd.pixel("txt_Gewürfelt(9)", {3, 3}), kGrey);
}

void LayoutTest::diceCountFollowsItsScrollBar()
{
    const QList<float> layout = layoutState(*window);
    const QColor look = d->pixel("txt_Gewürfelt(9)", {3, 3});
    for (int value : {1, 2, 200, 137}) {
        d->setValue("HScroll", value);
        QCOMPARE(d->caption("txt_AnzahlWürfel"), QString::number(value));
    }
    auto *bar = d->the<QScrollBar>("HScroll");
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); // an arrow moves by one
    QCOMPARE(d->caption("txt_AnzahlWürfel"), u"138"_s);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub); // so does a click in the track
    QCOMPARE(d->caption("txt_AnzahlWürfel"), u"137"_s);
    QCOMPARE(d->pixel("txt_Gewürfelt(9)", {3, 3}), look);
    QCOMPARE(layoutState(*window), layout);
}

void LayoutTest::draggingUpdatesAtOnce()
{
    // While the thumb is held, the labels follow it before the scroll bar changes its value.
    auto *dice = d->the<QScrollBar>("HScroll");
    dice->setSliderDown(true);
    dice->setSliderPosition(150);
    QCOMPARE(d->caption("txt_AnzahlWürfel"), u"150"_s);
    dice->setSliderDown(false);
    QCOMPARE(dice->value(), 150);

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
}

void LayoutTest::selectorsNeverChangeCounts()
{
    d->setValue("HScroll", 200);
    d->setValue("HScroll_Augen", 10);
    d->click("cmd_Würfel1");
    QStringList counts;
    for (const QString &name : countLabels())
        counts << d->caption(name);
    d->setValue("HScroll_Augen", 2);
    d->setValue("HScroll", 5);
    for (const QString &name : countLabels())
        QCOMPARE(d->caption(name), counts.takeFirst());
}

void LayoutTest::layoutFigures_data()
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

void LayoutTest::layoutFigures()
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
    for (const auto &[array, headings, size, offset] :
         {std::tuple{"txt_Gewürfelt", "LabelWurf", 10, 10},
          {"txt_Gewürfelt_2er2", "LabelWurfUnten", 9, 9}}) {
        const TwipsRect first = d->twips(element(array, 0)), second = d->twips(element(array, 1));
        for (int i = 0; i < size; ++i) {
            const TwipsRect label = d->twips(element(array, i));
            QVERIFY(std::abs(label.left - first.left - i * (second.left - first.left)) < 0.01);
            QCOMPARE(label.width, first.width);
            for (int k : {i, i + offset}) {
                QCOMPARE(d->twips(element(headings, k)).left, label.left);
                QCOMPARE(d->twips(element(headings, k)).width, label.width);
            }
        }
    }
    for (const QString &name : countLabels()) {
        QVERIFY(std::abs(d->the<CountLabel>(name)->labelFont().pointSizeF() - points) < 1e-3);
        QCOMPARE(d->twips(name).height, d->twips("txt_Gewürfelt(0)").height);
    }
    // The widgets stand at the rounded pixel rectangles.
    QCOMPARE(d->the("txt_Gewürfelt(9)")->geometry(), pixelRect(d->twips("txt_Gewürfelt(9)")));
}

void LayoutTest::smallerThanMinimumIsEnlarged_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<float>("width"); // outer, afterwards
    QTest::addColumn<float>("height");
    QTest::addColumn<double>("frameHeight");
    // A height below the minimum is set one twip short of it, 4514, which reads back as 4515.
    QTest::newRow("narrow") << QSize(400, 400) << 10050.0f << 6405.0f << 2027.5;
    QTest::newRow("low") << QSize(900, 100) << 13620.0f << 4515.0f << 1082.5;
    QTest::newRow("both") << QSize(100, 50) << 10050.0f << 4515.0f << 1082.5;
    QTest::newRow("exactly the minimum") << QSize(662, 274) << 10050.0f << 4515.0f << 1082.5;
}

void LayoutTest::smallerThanMinimumIsEnlarged()
{
    QFETCH(QSize, client);
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(double, frameHeight);
    window->setMinimumSize(0, 0); // only the layout pass keeps the window large enough now
    window->resize(client);
    QTRY_COMPARE(window->size(), QSize(qRound((width - 120) / 15), qRound((height - 405) / 15)));
    QCOMPARE(d->twips("Frame(0)").width, width - 2985);
    QCOMPARE(d->twips("Frame(0)").height, frameHeight);
}

void LayoutTest::minimisedIsLeftAloneMaximisedLaidOut()
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
    MainWindow normal;
    normal.resize(window->size());
    normal.show();
    QVERIFY(QTest::qWaitForWindowExposed(&normal));
    QCOMPARE(layoutState(*window), layoutState(normal));
}

void LayoutTest::toggleByAnyPath()
{
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
    QAccessible::queryAccessibleInterface(box)->actionInterface()->doAction(
        QAccessibleActionInterface::toggleAction()); // assistive technology
    QCOMPARE(turned(), turnedAll);
    QCOMPARE(layoutState(*window), layout); // nothing moved

    resizeOuter(14000, 7000); // a resize keeps them turned
    QCOMPARE(turned(), turnedAll);
    QVERIFY(!d->the("cmd_Schrift")->isEnabled());
}

void LayoutTest::turnedDigitsWhenRendered()
{
    resizeOuter(15000, 9000);
    auto *label = d->the<CountLabel>("txt_Gewürfelt(0)");
    label->setCaption(u"8888"_s);
    auto ink = [label] {
        QRect box;
        inkIn(label->grab().toImage(), label->rect().adjusted(2, 2, -2, -2), kWhite, &box);
        return box;
    };
    const QRect upright = ink();
    QVERIFY2(upright.width() > upright.height(), "upright digits should be wider than tall");
    d->click("Check_90Grad");
    const QRect turned = ink();
    QVERIFY2(turned.height() > turned.width(), "turned digits should be taller than wide");
    QVERIFY(std::abs(turned.center().x() - label->width() / 2) <= 2);
    QVERIFY(std::abs(turned.center().y() - label->height() / 2) <= 2);
    // The headings stay upright.
    QWidget *heading = d->the("LabelWurf(19)");
    QRect headingInk;
    inkIn(heading->grab().toImage(), heading->rect(), heading->palette().color(QPalette::Button),
          &headingInk);
    QVERIFY(headingInk.width() > headingInk.height());
}

QTEST_MAIN(LayoutTest)
#include "test_layout.moc"
