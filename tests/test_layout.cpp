// Selectors, the layout pass and the 90° orientation of the real window, offscreen.

#include "engine/count_text.h"
#include "support/window_helpers.h"

#include <QAccessible>
#include <QSignalSpy>
#include <memory>

using namespace talvero;
using namespace talvero::testing;

namespace {

constexpr float kTolerance = 0.01f; // a hundredth of a twip

bool near(float actual, double expected)
{
    return std::abs(static_cast<double>(actual) - expected) <= kTolerance;
}

#define COMPARE_TWIPS(actual, expected)                                                            \
    QVERIFY2(near((actual), (expected)),                                                           \
             qPrintable(QStringLiteral("%1 is %2, expected %3")                                    \
                            .arg(QStringLiteral(#actual))                                          \
                            .arg(static_cast<double>(actual), 0, 'f', 4)                           \
                            .arg(static_cast<double>(expected), 0, 'f', 4)))

// Every twips value and font size the pass may touch, to tell whether anything moved.
QList<float> layoutState(MainWindow &window)
{
    QList<float> state;
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        if (TwipsGeometry *twips = twipsOf(widget))
            state << twips->Left() << twips->Top() << twips->Width() << twips->Height();
    }
    for (CountLabel *label : window.ui.countLabels())
        state << static_cast<float>(label->labelFont().pointSizeF());
    return state;
}

// The ink of a label's caption as rendered: the bounding box of its dark pixels.
QRect inkOf(CountLabel *label)
{
    const QImage image = label->grab().toImage();
    QRect ink;
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 2; x < image.width() - 2; ++x)
            if (image.pixelColor(x, y).value() < 128)
                ink = ink.united(QRect(x, y, 1, 1));
    return ink;
}

} // namespace

class LayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void sidesLooks_data();
    void sidesLooks();
    void sidesGoingUpReactivates();
    void labelAugenKeepsBlankUntilFirstUpdate();
    void diceCountFollowsScrollBar();
    void dragUpdatesWhileDragging();
    void selectorsNeverChangeCounts();

    void workedExample_data();
    void workedExample();
    void columnsAtDesignedSize();
    void smallerThanMinimumIsEnlarged_data();
    void smallerThanMinimumIsEnlarged();
    void minimisedWindowIsLeftAlone();
    void maximisedIsLaidOutLikeAnySize();
    void windowDeclaresItsMinimum();

    void toggleTurnsAndDisablesFont();
    void toggleByAnyPath();
    void resizeKeepsTurnedLabels();
    void turnedDigitsAreTurnedWhenRendered();

private:
    void showWindow()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void setOuterSize(float width, float height)
    {
        window->setOuterWidth(width);
        window->setOuterHeight(height);
        QTRY_VERIFY(std::abs(window->outerWidth() - width) < 15 &&
                    std::abs(window->outerHeight() - height) < 15);
    }
    WindowControls &ui() { return window->ui; }

    std::unique_ptr<MainWindow> window;
};

void LayoutTest::init()
{
    window = std::make_unique<MainWindow>();
    showWindow();
}

void LayoutTest::cleanup()
{
    window.reset();
}

void LayoutTest::sidesLooks_data()
{
    QTest::addColumn<int>("sides");
    for (int m : {2, 3, 6, 9, 10})
        QTest::addRow("M=%d", m) << m;
}

void LayoutTest::sidesLooks()
{
    QFETCH(int, sides);
    // Start from the other end, so that every label has to change.
    ui().HScroll_Augen->setValue(sides > 6 ? 2 : 10);
    ui().HScroll_Augen->setValue(sides);

    const QColor active = window->palette().color(QPalette::Base);
    const QColor inactive(0xE0, 0xE0, 0xE0);
    for (int k = 0; k < 10; ++k) {
        const bool on = k + 1 <= sides; // face value k + 1
        for (CountLabel *label : {ui().txt_Gewürfelt[static_cast<std::size_t>(k)],
                                  ui().txt_Gewürfelt2[static_cast<std::size_t>(k)]}) {
            QCOMPARE(label->isEnabled(), on);
            QCOMPARE(label->backColor(), on ? active : inactive);
        }
    }
    for (int k = 0; k < 9; ++k) {
        const bool on = k + 2 <= sides; // threshold k + 2
        for (CountLabel *label : {ui().txt_Gewürfelt_2er[static_cast<std::size_t>(k)],
                                  ui().txt_Gewürfelt_2er2[static_cast<std::size_t>(k)]}) {
            QCOMPARE(label->isEnabled(), on);
            QCOMPARE(label->backColor(), on ? active : inactive);
        }
        CommandButton *button = ui().cmd_Würfel2[static_cast<std::size_t>(k)];
        QCOMPARE(button->isEnabled(), on);
        QCOMPARE(button->currentBackColor(), on ? QColor(0, 0, 0xFF) : inactive);
    }
    QCOMPARE(ui().Würfelaugen->caption(), QString::number(sides));
    QCOMPARE(ui().Label_Augen->caption(), QStringLiteral("Würfelanzahl mit %1 Seiten").arg(sides));
}

void LayoutTest::sidesGoingUpReactivates()
{
    ui().HScroll_Augen->setValue(4);
    QVERIFY(!ui().txt_Gewürfelt[4]->isEnabled());
    QVERIFY(!ui().cmd_Würfel2[3]->isEnabled());
    ui().HScroll_Augen->setValue(8);
    for (int k = 4; k < 8; ++k)
        QVERIFY(ui().txt_Gewürfelt2[static_cast<std::size_t>(k)]->isEnabled());
    for (int k = 3; k < 7; ++k) {
        QVERIFY(ui().txt_Gewürfelt_2er[static_cast<std::size_t>(k)]->isEnabled());
        QVERIFY(ui().cmd_Würfel2[static_cast<std::size_t>(k)]->isEnabled());
    }
    QVERIFY(!ui().txt_Gewürfelt[8]->isEnabled());
    QVERIFY(!ui().cmd_Würfel2[7]->isEnabled());
}

void LayoutTest::labelAugenKeepsBlankUntilFirstUpdate()
{
    QCOMPARE(ui().Label_Augen->caption(), QStringLiteral("Würfelanzahl mit 6 Seiten "));
    ui().HScroll_Augen->setValue(9);
    const float oneDigit = ui().Label_Augen->Width();
    ui().HScroll_Augen->setValue(10);
    QCOMPARE(ui().Label_Augen->caption(), QStringLiteral("Würfelanzahl mit 10 Seiten"));
    QVERIFY(ui().Label_Augen->Width() > oneDigit);
    ui().HScroll_Augen->setValue(6);
    QCOMPARE(ui().Label_Augen->caption(), QStringLiteral("Würfelanzahl mit 6 Seiten"));
}

void LayoutTest::diceCountFollowsScrollBar()
{
    const auto labelsBefore = layoutState(*window);
    const QColor back = ui().txt_Gewürfelt[9]->backColor();
    for (int value : {1, 2, 200, 137}) {
        ui().HScroll->setValue(value);
        QCOMPARE(ui().txt_AnzahlWürfel->caption(), QString::number(value));
    }
    // An arrow click moves by one.
    ui().HScroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(ui().txt_AnzahlWürfel->caption(), QStringLiteral("138"));
    ui().HScroll->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(ui().txt_AnzahlWürfel->caption(), QStringLiteral("137"));
    QCOMPARE(ui().txt_Gewürfelt[9]->backColor(), back);
    QCOMPARE(layoutState(*window), labelsBefore);
}

void LayoutTest::dragUpdatesWhileDragging()
{
    // While the thumb is held, the scroll bars report its position before they change value.
    ui().HScroll->setSliderDown(true);
    ui().HScroll->setSliderPosition(150);
    QCOMPARE(ui().txt_AnzahlWürfel->caption(), QStringLiteral("150"));
    ui().HScroll->setSliderPosition(151);
    QCOMPARE(ui().txt_AnzahlWürfel->caption(), QStringLiteral("151"));
    ui().HScroll->setSliderDown(false);
    QCOMPARE(ui().HScroll->value(), 151);

    ui().HScroll_Augen->setSliderDown(true);
    ui().HScroll_Augen->setSliderPosition(3);
    QCOMPARE(ui().Würfelaugen->caption(), QStringLiteral("3"));
    QVERIFY(!ui().txt_Gewürfelt[3]->isEnabled());
    QVERIFY(!ui().cmd_Würfel2[2]->isEnabled());
    ui().HScroll_Augen->setSliderPosition(9);
    QCOMPARE(ui().Label_Augen->caption(), QStringLiteral("Würfelanzahl mit 9 Seiten"));
    QVERIFY(ui().txt_Gewürfelt[8]->isEnabled());
    ui().HScroll_Augen->setSliderDown(false);
    QCOMPARE(ui().HScroll_Augen->value(), 9);
}

void LayoutTest::selectorsNeverChangeCounts()
{
    ui().HScroll->setValue(200);
    ui().HScroll_Augen->setValue(10);
    QTest::mouseClick(ui().cmd_Würfel1, Qt::LeftButton);
    QStringList counts;
    for (CountLabel *label : ui().countLabels())
        counts << label->caption();
    ui().HScroll_Augen->setValue(2);
    ui().HScroll->setValue(5);
    QStringList after;
    for (CountLabel *label : ui().countLabels())
        after << label->caption();
    QCOMPARE(after, counts);
    QVERIFY(!ui().txt_Gewürfelt[9]->isEnabled());
    QCOMPARE(ui().txt_Gewürfelt[9]->caption(), counts[9]);
}

void LayoutTest::workedExample_data()
{
    QTest::addColumn<float>("w");
    QTest::addColumn<float>("h");
    QTest::addColumn<double>("frameWidth");
    QTest::addColumn<double>("frameHeight");
    QTest::addColumn<double>("lowerTop");
    QTest::addColumn<double>("upperLabelWidth");
    QTest::addColumn<double>("fontSize");
    QTest::newRow("designed size")
        << 10050.0f << 4515.0f << 7065.0 << 1082.5 << 2212.5 << 675.4302 << 16.8858;
    QTest::newRow("15000 x 9000") << 15000.0f << 9000.0f << 12015.0 << 3325.0 << 4455.0 << 1148.6615
                                  << 28.7165;
}

void LayoutTest::workedExample()
{
    QFETCH(float, w);
    QFETCH(float, h);
    QFETCH(double, frameWidth);
    QFETCH(double, frameHeight);
    QFETCH(double, lowerTop);
    QFETCH(double, upperLabelWidth);
    QFETCH(double, fontSize);
    setOuterSize(w, h);
    QCOMPARE(window->outerWidth(), w);
    QCOMPARE(window->outerHeight(), h);

    COMPARE_TWIPS(ui().SSTab->Width(), w - 165);
    COMPARE_TWIPS(ui().SSTab->Height(), h - 1050);
    for (int f : {0, 1}) {
        COMPARE_TWIPS(ui().Frame[static_cast<std::size_t>(f)]->Width(), frameWidth);
        COMPARE_TWIPS(ui().Frame[static_cast<std::size_t>(f)]->Height(), frameHeight);
        COMPARE_TWIPS(ui().Frame[static_cast<std::size_t>(f)]->Top(), 1050);
    }
    for (int f : {2, 3}) {
        COMPARE_TWIPS(ui().Frame[static_cast<std::size_t>(f)]->Top(), lowerTop);
        COMPARE_TWIPS(ui().Frame[static_cast<std::size_t>(f)]->Width(), w - 3705);
        COMPARE_TWIPS(ui().Frame[static_cast<std::size_t>(f)]->Height(), frameHeight);
        // 80 twips below the upper frames' bottom edge, at every height.
        COMPARE_TWIPS(ui().Frame[static_cast<std::size_t>(f)]->Top(),
                      ui().Frame[0]->Top() + ui().Frame[0]->Height() + 80);
    }
    COMPARE_TWIPS(ui().Logo->Top(), h - 915);
    COMPARE_TWIPS(ui().cmd_Schrift->Top(), h - 915);
    COMPARE_TWIPS(ui().cmd_Ende->Top(), h - 915);
    COMPARE_TWIPS(ui().Check_90Grad->Top(), h - 875);
    COMPARE_TWIPS(ui().cmd_Schrift->Left(), w - 3000);
    COMPARE_TWIPS(ui().cmd_Ende->Left(), w - 1560);
    COMPARE_TWIPS(ui().cmd_Reset[0]->Left(), w - 750);
    COMPARE_TWIPS(ui().cmd_Reset[1]->Left(), w - 750);
    // Left alone by the pass.
    COMPARE_TWIPS(ui().Logo->Left(), 60);
    COMPARE_TWIPS(ui().cmd_Reset[0]->Top(), 1140);
    COMPARE_TWIPS(ui().cmd_Würfel1->Top(), 450);

    for (CountLabel *label : ui().countLabels()) {
        COMPARE_TWIPS(label->Height(), frameHeight - 630);
        QVERIFY(std::abs(label->labelFont().pointSizeF() - fontSize) < 1e-3);
    }
    for (int i = 0; i < 10; ++i) {
        const auto u = static_cast<std::size_t>(i);
        COMPARE_TWIPS(ui().txt_Gewürfelt[u]->Width(), upperLabelWidth);
        COMPARE_TWIPS(ui().txt_Gewürfelt2[u]->Width(), upperLabelWidth);
        const double left = 90 + i * (upperLabelWidth + frameWidth / 360);
        COMPARE_TWIPS(ui().txt_Gewürfelt[u]->Left(), left);
        COMPARE_TWIPS(ui().txt_Gewürfelt2[u]->Left(), left);
        for (PlainLabel *heading : {ui().LabelWurf[u], ui().LabelWurf[u + 10]}) {
            COMPARE_TWIPS(heading->Left(), left);
            COMPARE_TWIPS(heading->Width(), upperLabelWidth);
            COMPARE_TWIPS(heading->Top(), 300);
        }
    }
    const double lowerWidth = (w - 3705) / 9.4;
    for (int i = 0; i < 9; ++i) {
        const auto u = static_cast<std::size_t>(i);
        const double left = 90 + i * (lowerWidth + (w - 3705) / 360);
        for (CountLabel *label : {ui().txt_Gewürfelt_2er[u], ui().txt_Gewürfelt_2er2[u]}) {
            COMPARE_TWIPS(label->Width(), lowerWidth);
            COMPARE_TWIPS(label->Left(), left);
            COMPARE_TWIPS(label->Top(), 510);
        }
        for (PlainLabel *heading : {ui().LabelWurfUnten[u], ui().LabelWurfUnten[u + 9]})
            COMPARE_TWIPS(heading->Left(), left);
    }
}

void LayoutTest::columnsAtDesignedSize()
{
    // The figures quoted for the designed window, to the hundredth of a twip.
    COMPARE_TWIPS(ui().txt_Gewürfelt[9]->Left(), 6345.497);
    COMPARE_TWIPS(ui().txt_Gewürfelt[9]->Left() + ui().txt_Gewürfelt[9]->Width(), 7020.927);
    COMPARE_TWIPS(ui().txt_Gewürfelt_2er[8]->Left(), 5631);
    COMPARE_TWIPS(ui().txt_Gewürfelt_2er[8]->Width(), 675);
    COMPARE_TWIPS(ui().txt_Gewürfelt_2er2[8]->Left() + ui().txt_Gewürfelt_2er2[8]->Width(), 6306);
    for (CountLabel *first : {ui().txt_Gewürfelt[0], ui().txt_Gewürfelt2[0],
                              ui().txt_Gewürfelt_2er[0], ui().txt_Gewürfelt_2er2[0]})
        COMPARE_TWIPS(first->Left(), 90);
    // The widgets sit at the rounded pixel rectangles.
    QCOMPARE(ui().txt_Gewürfelt[9]->geometry(), QRect(423, 36, 45, 30));
    QCOMPARE(ui().Frame[2]->geometry(), pixelRect(ui().Frame[2]->twipsRect()));
}

void LayoutTest::smallerThanMinimumIsEnlarged_data()
{
    QTest::addColumn<int>("clientWidth");
    QTest::addColumn<int>("clientHeight");
    QTest::addColumn<float>("expectedWidth");
    QTest::addColumn<float>("expectedHeight");
    // Heights below the minimum are set one twip short of it: 4514, read back as 4515.
    QTest::newRow("narrow") << 400 << 400 << 10050.0f << 6405.0f;
    QTest::newRow("low") << 900 << 100 << 13620.0f << 4515.0f;
    QTest::newRow("both") << 100 << 50 << 10050.0f << 4515.0f;
    QTest::newRow("exactly the minimum") << 662 << 274 << 10050.0f << 4515.0f;
}

void LayoutTest::smallerThanMinimumIsEnlarged()
{
    QFETCH(int, clientWidth);
    QFETCH(int, clientHeight);
    QFETCH(float, expectedWidth);
    QFETCH(float, expectedHeight);
    // Lift the declared minimum so that the window can be made too small at all.
    window->setMinimumSize(0, 0);
    window->resize(clientWidth, clientHeight);
    QTRY_COMPARE(window->outerWidth(), expectedWidth);
    QTRY_COMPARE(window->outerHeight(), expectedHeight);
    COMPARE_TWIPS(ui().Frame[0]->Width(), expectedWidth - 2985);
    COMPARE_TWIPS(ui().Frame[0]->Height(), expectedHeight / 2 - 1175);
    QVERIFY(ui().txt_Gewürfelt[0]->Height() >= 452);
}

void LayoutTest::minimisedWindowIsLeftAlone()
{
    const auto before = layoutState(*window);
    const QSize size = window->size();
    window->showMinimized();
    QTRY_VERIFY(window->isMinimized());
    window->setMinimumSize(0, 0);
    window->layoutPass();
    window->resize(300, 100);
    window->layoutPass();
    QCOMPARE(layoutState(*window), before);
    QCOMPARE(window->size(), QSize(300, 100)); // the pass did not force the minimum either
    window->resize(size);
}

void LayoutTest::maximisedIsLaidOutLikeAnySize()
{
    window->showMaximized();
    QTRY_VERIFY(window->isMaximized());
    QTRY_VERIFY(window->width() > 662);
    const float w = window->outerWidth();
    const float h = window->outerHeight();
    COMPARE_TWIPS(ui().Frame[0]->Width(), w - 2985);
    COMPARE_TWIPS(ui().Frame[0]->Height(), h / 2 - 1175);
    COMPARE_TWIPS(ui().cmd_Ende->Left(), w - 1560);
    COMPARE_TWIPS(ui().txt_Gewürfelt[0]->Width(), (w - 2985) / 10.46);
}

void LayoutTest::windowDeclaresItsMinimum()
{
    QCOMPARE(window->minimumSize(), QSize(662, 274));
    window->resize(200, 100);
    QCOMPARE(window->size(), QSize(662, 274));
}

void LayoutTest::toggleTurnsAndDisablesFont()
{
    const auto before = layoutState(*window);
    ui().Check_90Grad->setChecked(true);
    for (CountLabel *label : ui().countLabels())
        QCOMPARE(label->Vertical(), 1);
    QVERIFY(!ui().cmd_Schrift->isEnabled());
    QCOMPARE(layoutState(*window), before);

    ui().Check_90Grad->setChecked(false);
    for (CountLabel *label : ui().countLabels())
        QCOMPARE(label->Vertical(), 0);
    QVERIFY(ui().cmd_Schrift->isEnabled());
    QCOMPARE(layoutState(*window), before);
    // The caption labels are never turned.
    QVERIFY(ui().LabelWurf[0]->text() == QStringLiteral("1er"));
}

void LayoutTest::toggleByAnyPath()
{
    // Mouse.
    QTest::mouseClick(ui().Check_90Grad, Qt::LeftButton);
    QCOMPARE(ui().txt_Gewürfelt_2er2[8]->Vertical(), 1);
    // Keyboard.
    ui().Check_90Grad->setFocus();
    QTest::keyClick(ui().Check_90Grad, Qt::Key_Space);
    QCOMPARE(ui().txt_Gewürfelt_2er2[8]->Vertical(), 0);
    // Assistive technology: the check box's toggle action.
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(ui().Check_90Grad);
    QVERIFY(box && box->actionInterface());
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(ui().txt_Gewürfelt[0]->Vertical(), 1);
    QVERIFY(!ui().cmd_Schrift->isEnabled());
}

void LayoutTest::resizeKeepsTurnedLabels()
{
    ui().Check_90Grad->setChecked(true);
    setOuterSize(14000, 7000);
    for (CountLabel *label : ui().countLabels())
        QCOMPARE(label->Vertical(), 1);
    QVERIFY(!ui().cmd_Schrift->isEnabled());
    COMPARE_TWIPS(ui().Frame[0]->Width(), window->outerWidth() - 2985);
    QVERIFY(window->outerWidth() > 13900);
}

void LayoutTest::turnedDigitsAreTurnedWhenRendered()
{
    setOuterSize(15000, 9000);
    CountLabel *label = ui().txt_Gewürfelt[0];
    label->setCaption(QStringLiteral("8888"));
    const QRect upright = inkOf(label);
    QVERIFY2(upright.width() > upright.height(), "upright digits should be wider than tall");

    ui().Check_90Grad->setChecked(true);
    const QRect turned = inkOf(label);
    QVERIFY2(turned.height() > turned.width(), "turned digits should be taller than wide");
    // Still centred in the label.
    QVERIFY(std::abs(turned.center().x() - label->width() / 2) <= 2);
    QVERIFY(std::abs(turned.center().y() - label->height() / 2) <= 2);
}

QTEST_MAIN(LayoutTest)
#include "test_layout.moc"
