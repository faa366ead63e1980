// The window in a real X window under Xvfb, at the scale factor QT_SCALE_FACTOR gives: the
// screenshot is that many times larger, with every control in the same relative place and the
// text drawn at the screen's resolution rather than blown up.

#include "support/window_helpers.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

using namespace talvero;
using namespace talvero::testing;

class HighDpiTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void screenshotAtScale();
};

void HighDpiTest::screenshotAtScale()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs a real X display (run under xvfb-run)");
    const qreal scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                            ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                            : 1.0;

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    WindowControls &ui = window.ui;
    ui.HScroll->setValue(200);
    QTest::mouseClick(ui.cmd_Würfel1, Qt::LeftButton);
    QCOMPARE(window.devicePixelRatio(), scale);

    // The layout is the same in logical pixels at every scale.
    QCOMPARE(window.size(), QSize(662, 274));
    QCOMPARE(ui.txt_Gewürfelt[9]->geometry(), QRect(423, 36, 45, 30));

    // What the X server shows: the window's pixels as they are on the screen.
    QImage shot;
    QTRY_VERIFY_WITH_TIMEOUT(
        (shot = window.screen()->grabWindow(window.winId()).toImage(),
         !shot.isNull() && shot.pixelColor(ui.cmd_Würfel1->mapTo(&window, QPoint(8, 8)) * scale) ==
                               QColor(0, 0, 0xFF)),
        5000);
    QCOMPARE(shot.size(), window.size() * scale);

    // Every count label stands at its scaled place: its black border at the corner, its white
    // inside just within.
    for (CountLabel *label : ui.countLabels()) {
        if (!label->isVisible())
            continue;
        const QRect area(label->mapTo(&window, QPoint(0, 0)) * scale, label->size() * scale);
        QCOMPARE(shot.pixelColor(area.topLeft()), QColor(0, 0, 0));
        QCOMPARE(shot.pixelColor(area.bottomRight()), QColor(0, 0, 0));
        QCOMPARE(shot.pixelColor(area.topLeft() + QPoint(2, 2) * scale), QColor(0xFF, 0xFF, 0xFF));
    }

    // The digits are drawn at the screen's resolution: at scale 2 their edges are not 2 x 2
    // blocks of one colour, as a blown-up picture's would be.
    const QRect label(ui.txt_Gewürfelt[0]->mapTo(&window, QPoint(0, 0)) * scale,
                      ui.txt_Gewürfelt[0]->size() * scale);
    int ink = 0, finerThanBlocks = 0;
    for (int y = label.top() + 2; y + 1 < label.bottom() - 1; y += 2) {
        for (int x = label.left() + 2; x + 1 < label.right() - 1; x += 2) {
            const QRgb a = shot.pixel(x, y);
            if (qGray(a) > 200)
                continue;
            ++ink;
            if (a != shot.pixel(x + 1, y) || a != shot.pixel(x, y + 1) ||
                a != shot.pixel(x + 1, y + 1))
                ++finerThanBlocks;
        }
    }
    QVERIFY(ink > 0);
    if (scale > 1)
        QVERIFY2(
            finerThanBlocks * 4 > ink,
            qPrintable(
                QStringLiteral("%1 of %2 inked blocks are finer").arg(finerThanBlocks).arg(ink)));

    // Text grows with the scale: the ink of the frame's caption is as many times taller.
    const QFontMetrics metrics = ui.Frame[0]->fontMetrics();
    const QPoint frame = ui.Frame[0]->mapTo(&window, QPoint(0, 0));
    const QRect caption(
        frame * scale,
        QSize(metrics.horizontalAdvance(ui.Frame[0]->caption()) + 12, metrics.height()) * scale);
    int top = caption.bottom(), bottom = caption.top();
    for (int y = caption.top(); y <= caption.bottom(); ++y)
        for (int x = caption.left(); x <= caption.right(); ++x)
            if (qGray(shot.pixel(x, y)) < 100) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    const int inkHeight = bottom - top + 1;
    QVERIFY2(inkHeight >= 0.5 * scale * metrics.height() && inkHeight <= scale * metrics.height(),
             qPrintable(QStringLiteral("caption ink %1 px high").arg(inkHeight)));
}

QTEST_MAIN(HighDpiTest)
#include "test_high_dpi.moc"
