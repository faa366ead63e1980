// SPDX-License-Identifier: GPL-3.0-or-later
// The window in a real X window under Xvfb, at the scale factor QT_SCALE_FACTOR gives: the
// screenshot is that many times larger, with every control in the same relative place and the
// text drawn at the screen's resolution rather than blown up.

#include "support/window_driver.h"

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
    Driver d(window);
    QVERIFY(d.show());
    d.setValue("HScroll", 200);
    d.click("cmd_Würfel1");
    QCOMPARE(window.devicePixelRatio(), scale);
    // The same layout in logical pixels at every scale.
    QCOMPARE(window.size(), QSize(662, 274));
    QCOMPARE(d.the("txt_Gewürfelt(9)")->geometry(), QRect(423, 36, 45, 30));

    // What the X server shows.
    auto at = [&](const char *name, QPoint offset = {}) {
        return d.the(name)->mapTo(&window, offset) * scale;
    };
    QImage shot;
    QTRY_VERIFY_WITH_TIMEOUT((shot = window.screen()->grabWindow(window.winId()).toImage(),
                              shot.pixelColor(at("cmd_Würfel1", {8, 8})) == QColor(0, 0, 0xFF)),
                             5000);
    QCOMPARE(shot.size(), window.size() * scale);

    // Every count label at its scaled place: its black border at the corners, white within.
    for (CountLabel *label : window.findChildren<CountLabel *>()) {
        if (!label->isVisible())
            continue;
        const QRect area(label->mapTo(&window, QPoint()) * scale, label->size() * scale);
        QCOMPARE(shot.pixelColor(area.topLeft()), QColor(0, 0, 0));
        QCOMPARE(shot.pixelColor(area.bottomRight()), QColor(0, 0, 0));
        QCOMPARE(shot.pixelColor(area.topLeft() + QPoint(2, 2) * scale), QColor(0xFF, 0xFF, 0xFF));
    }

    // The digits are drawn at the screen's resolution: at scale 2 their edges are not 2 x 2
    // blocks of one colour, as a blown-up picture's would be.
    const QRect label(at("txt_Gewürfelt(0)"), d.the("txt_Gewürfelt(0)")->size() * scale);
    int ink = 0, finer = 0;
    for (int y = label.top() + 2; y + 1 < label.bottom() - 1; y += 2)
        for (int x = label.left() + 2; x + 1 < label.right() - 1; x += 2) {
            const QRgb a = shot.pixel(x, y);
            if (qGray(a) > 200)
                continue;
            ++ink;
            finer += a != shot.pixel(x + 1, y) || a != shot.pixel(x, y + 1) ||
                     a != shot.pixel(x + 1, y + 1);
        }
    QVERIFY(ink > 0);
    QVERIFY2(scale == 1 || finer * 4 > ink,
             qPrintable(u"%1 of %2 blocks finer"_s.arg(finer).arg(ink)));

    // Text grows with the scale: the frame caption's ink is as many times taller.
    const QFontMetrics metrics = d.the("Frame(0)")->fontMetrics();
    const QRect caption(
        at("Frame(0)"),
        QSize(metrics.horizontalAdvance(d.caption("Frame(0)")) + 12, metrics.height()) * scale);
    int top = caption.bottom(), bottom = caption.top();
    for (int y = caption.top(); y <= caption.bottom(); ++y)
        for (int x = caption.left(); x <= caption.right(); ++x)
            if (qGray(shot.pixel(x, y)) < 100) { // the text, not the lighter border lines
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    const int height = bottom - top + 1;
    QVERIFY2(height >= 0.5 * scale * metrics.height() && height <= scale * metrics.height(),
             qPrintable(u"caption ink %1 px high"_s.arg(height)));
}

QTEST_MAIN(HighDpiTest)
#include "test_high_dpi.moc"
