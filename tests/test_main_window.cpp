// The main window offscreen: its controls as designed, clicks through the real widgets,
// looks, keyboard and accessibility.

#include "engine/count_text.h"
#include "support/window_helpers.h"
#include "ui/fonts.h"

#include <QAccessible>
#include <QFontInfo>
#include <QSignalSpy>
#include <QTabBar>
#include <QToolTip>
#include <memory>

using namespace talvero;
using namespace talvero::testing;

namespace {

// Where a control stands: a page of the tab control or its parent's name.
QString containerOf(const MainWindow &window, const QWidget *widget)
{
    const QWidget *parent = widget->parentWidget();
    for (int i = 0; i < window.ui.SSTab->pageCount(); ++i) {
        if (parent == window.ui.SSTab->page(i))
            return QStringLiteral("page %1").arg(i);
    }
    return parent->objectName();
}

QString captionOf(const QWidget *widget)
{
    if (auto *label = qobject_cast<const CountLabel *>(widget))
        return label->caption();
    if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    if (auto *frame = qobject_cast<const FrameBox *>(widget))
        return frame->caption();
    if (auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    return QString();
}

double sumOf(const auto &labels)
{
    double sum = 0;
    for (const CountLabel *label : labels)
        sum += readCount(label->caption().toStdString());
    return sum;
}

double countOf(const CountLabel *label)
{
    return readCount(label->caption().toStdString());
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void controlTree_data();
    void controlTree();
    void arraysHaveTheirElements();
    void textLinesFitTheirText();
    void pageControlsLandBelowTheStripFreeOfIt();
    void windowAndPages();
    void fontsFollowTheDesign();
    void colours();
    void scrollBarRanges();
    void optionPairsAreIndependent();
    void focusChain();

    void hitRollThroughTheButton();
    void additionThroughTheWindow();
    void followUpRefusedWithMessage();
    void followUpRollsHitsOfItsThreshold();
    void disabledFollowUpRaisesNoClick();
    void toolTipRefreshedWhenPointerEnters();
    void resetButtons();
    void runsStartedTogetherRollDifferently();
    void keyboardClicks();

    void looksWhenRendered();
    void pictures();
    void accessibility_data();
    void accessibility();
    void countLabelsSpeakTheirCount();

private:
    // The window as created holds the design values; showing it lays it out to its size.
    void showWindow()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    std::unique_ptr<MainWindow> window;
    WindowControls &ui() { return window->ui; }
};

void MainWindowTest::init()
{
    window = std::make_unique<MainWindow>();
}

void MainWindowTest::cleanup()
{
    window.reset();
}

void MainWindowTest::controlTree_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRectF>("design"); // left, top, width, height in twips
    QTest::addColumn<bool>("enabled");

    auto row = [](const QString &name, const QString &container, const QString &caption,
                  QRectF design, bool enabled = true) {
        QTest::newRow(name.toUtf8().constData())
            << name << container << caption << design << enabled;
    };
    const QString windowName = QStringLiteral("MainWindow");
    const QString page0 = QStringLiteral("page 0");
    const QString page1 = QStringLiteral("page 1");

    row(QStringLiteral("SSTab"), windowName, QString(), {30, 90, 9885, 3465});
    row(QStringLiteral("Logo"), windowName, QString(), {60, 3600, 1110, 450});
    row(QStringLiteral("Check_90Grad"), windowName, QStringLiteral("90°"), {1560, 3720, 615, 285});
    row(QStringLiteral("cmd_Schrift"), windowName, QStringLiteral("Schriftart"),
        {7110, 3600, 1365, 420});
    row(QStringLiteral("cmd_Ende"), windowName, QStringLiteral("&Schließen"),
        {8520, 3600, 1365, 405});

    row(QStringLiteral("cmd_Würfel1"), page0, QStringLiteral("Würfeln"), {180, 450, 1905, 945});
    row(QStringLiteral("OptionWurf(0)"), page0, QStringLiteral("Addition"), {2250, 660, 1095, 225});
    row(QStringLiteral("OptionWurf(1)"), page0, QStringLiteral("neue Zählung"),
        {3390, 660, 1485, 225});
    row(QStringLiteral("Frame(0)"), page0, QStringLiteral("Wurfergebnis"), {2220, 1050, 7065, 915});
    row(QStringLiteral("cmd_Reset(0)"), page0, QString(), {9300, 1140, 405, 345});
    row(QStringLiteral("Label_Augen"), page0, QStringLiteral("Würfelanzahl mit 6 Seiten "),
        {210, 1470, -1, 195});
    row(QStringLiteral("txt_AnzahlWürfel"), page0, QStringLiteral("60"), {300, 1740, 1125, 285});
    row(QStringLiteral("HScroll"), page0, QString(), {270, 2070, 1125, 255});
    row(QStringLiteral("Frame(2)"), page0, QStringLiteral("Sortierung"), {2970, 2130, 6345, 885});
    row(QStringLiteral("cmd_ResetWurf(0)"), page0, QString(), {180, 2430, 345, 345});
    row(QStringLiteral("txt_Wurfinfo(0)"), page0, QStringLiteral("Wurf 0"), {600, 2520, -1, 195});
    row(QStringLiteral("Label(25)"), page0, QStringLiteral("Anzahl der Seiten pro Würfel"),
        {120, 2880, -1, 195});
    row(QStringLiteral("Würfelaugen"), page0, QStringLiteral("6"), {120, 3090, 615, 285});
    row(QStringLiteral("HScroll_Augen"), page0, QString(), {780, 3120, 1365, 255});

    row(QStringLiteral("Frame1"), page1, QString(), {2220, 600, 2955, 375});
    row(QStringLiteral("OptionWurf2(0)"), QStringLiteral("Frame1"), QStringLiteral("Addition"),
        {30, 60, 945, 225});
    row(QStringLiteral("OptionWurf2(1)"), QStringLiteral("Frame1"), QStringLiteral("neue Zählung"),
        {1170, 60, 1485, 225});
    row(QStringLiteral("Label(12)"), page1, QStringLiteral("Weiterwürfel mit..."),
        {270, 870, -1, 195});
    row(QStringLiteral("Frame(1)"), page1, QStringLiteral("Wurfergebnis"), {2220, 1050, 7065, 915});
    row(QStringLiteral("Label(24)"), page1, QStringLiteral("(Schadenswurf)"), {240, 1110, -1, 195});
    row(QStringLiteral("cmd_Reset(1)"), page1, QString(), {9300, 1140, 405, 345});
    row(QStringLiteral("Frame(3)"), page1, QStringLiteral("Sortierung"), {2970, 2130, 6345, 885});
    row(QStringLiteral("cmd_ResetWurf(1)"), page1, QString(), {180, 2160, 375, 345});
    row(QStringLiteral("txt_Wurfinfo(1)"), page1, QStringLiteral("Wurf 0"), {600, 2250, -1, 195});

    const int lefts[9] = {180, 570, 960, 1350, 1740, 180, 570, 960, 1350};
    for (int i = 0; i < 9; ++i)
        row(QStringLiteral("cmd_Würfel2(%1)").arg(i), page1, QStringLiteral("%1+").arg(i + 2),
            QRectF(lefts[i], i < 5 ? 1320 : 1710, i == 8 ? 750 : 360, 360), i < 5);

    for (int j = 0; j < 10; ++j) {
        const QRectF rect(90 + 690 * j, 540, 675, 285);
        row(QStringLiteral("txt_Gewürfelt(%1)").arg(j), QStringLiteral("Frame(0)"),
            QStringLiteral("0"), rect);
        row(QStringLiteral("txt_Gewürfelt2(%1)").arg(j), QStringLiteral("Frame(1)"),
            QStringLiteral("0"), rect);
    }
    for (int j = 0; j < 9; ++j) {
        const QRectF rect(60 + 690 * j, 510, 675, 285);
        row(QStringLiteral("txt_Gewürfelt_2er(%1)").arg(j), QStringLiteral("Frame(2)"),
            QStringLiteral("0"), rect);
        row(QStringLiteral("txt_Gewürfelt_2er2(%1)").arg(j), QStringLiteral("Frame(3)"),
            QStringLiteral("0"), rect);
    }
    const int faceLefts[10] = {300, 1050, 1710, 2460, 3090, 3780, 4470, 5190, 5850, 6480};
    for (int k = 0; k < 20; ++k)
        row(QStringLiteral("LabelWurf(%1)").arg(k),
            k >= 10 ? QStringLiteral("Frame(0)") : QStringLiteral("Frame(1)"),
            QStringLiteral("%1er").arg(k % 10 + 1),
            QRectF(faceLefts[k % 10], 300, k % 10 == 9 ? 315 : 225, 195));
    const int thresholdLefts[9] = {360, 1020, 1740, 2400, 3090, 3780, 4440, 5130, 5760};
    for (int k = 0; k < 18; ++k)
        row(QStringLiteral("LabelWurfUnten(%1)").arg(k),
            k >= 9 ? QStringLiteral("Frame(2)") : QStringLiteral("Frame(3)"),
            QStringLiteral("%1+").arg(k % 9 + 2),
            QRectF(thresholdLefts[k % 9], 270, k % 9 == 8 ? 270 : 180, 195));
}

void MainWindowTest::controlTree()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QString, caption);
    QFETCH(QRectF, design);
    QFETCH(bool, enabled);

    QWidget *widget = control(*window, name);
    QVERIFY(widget);
    QCOMPARE(containerOf(*window, widget), container);
    QCOMPARE(captionOf(widget), caption);
    QCOMPARE(widget->isEnabled(), enabled);
    QVERIFY(widget->toolTip().isEmpty());

    TwipsGeometry *twips = twipsOf(widget);
    QVERIFY(twips);
    QCOMPARE(twips->Left(), static_cast<float>(design.x()));
    QCOMPARE(twips->Top(), static_cast<float>(design.y()));
    QCOMPARE(twips->Height(), static_cast<float>(design.height()));
    if (design.width() >= 0) // text lines take the width of their text
        QCOMPARE(twips->Width(), static_cast<float>(design.width()));
    QCOMPARE(widget->geometry(), pixelRect(twips->twipsRect()));
    QCOMPARE(widget->pos(), QPoint(qRound(design.x() / 15), qRound(design.y() / 15)));
}

void MainWindowTest::arraysHaveTheirElements()
{
    auto names = [this](const QString &pattern) {
        QStringList found;
        for (QWidget *w : window->findChildren<QWidget *>(QRegularExpression(pattern)))
            found << w->objectName();
        found.sort();
        return found;
    };
    QCOMPARE(names(QStringLiteral("^Label\\(")),
             QStringList({QStringLiteral("Label(12)"), QStringLiteral("Label(24)"),
                          QStringLiteral("Label(25)")}));
    QCOMPARE(names(QStringLiteral("^LabelWurf\\(")).size(), 20);
    QCOMPARE(names(QStringLiteral("^LabelWurfUnten\\(")).size(), 18);
    QCOMPARE(names(QStringLiteral("^txt_Gewürfelt\\(")).size(), 10);
    QCOMPARE(names(QStringLiteral("^txt_Gewürfelt_2er2\\(")).size(), 9);
    QCOMPARE(names(QStringLiteral("^cmd_Würfel2\\(")).size(), 9);
    QCOMPARE(names(QStringLiteral("^Frame\\(")).size(), 4);
    QCOMPARE(window->findChildren<CountLabel *>().size(), 38);
    QCOMPARE(ui().countLabels().size(), std::size_t(38));
    QVERIFY(ui().CommonDialog);
    QCOMPARE(ui().CommonDialog->objectName(), QStringLiteral("CommonDialog"));
}

void MainWindowTest::textLinesFitTheirText()
{
    // A text line on a page not shown yet keeps its designed width until it is shown.
    QCOMPARE(ui().Label[12]->Width(), 1560.0f);
    showWindow();
    ui().SSTab->setCurrentPage(1);
    ui().SSTab->setCurrentPage(0);
    for (PlainLabel *label : {ui().Label_Augen, ui().txt_Wurfinfo[0], ui().txt_Wurfinfo[1],
                              ui().Label[12], ui().Label[24], ui().Label[25]}) {
        QCOMPARE(label->width(), label->sizeHint().width());
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    }
    // A longer text widens the label, a shorter one narrows it again.
    PlainLabel *counter = ui().txt_Wurfinfo[0];
    const float narrow = counter->Width();
    counter->setCaption(QStringLiteral("Wurf 123456"));
    QVERIFY(counter->Width() > narrow);
    counter->setCaption(QStringLiteral("Wurf 0"));
    QCOMPARE(counter->Width(), narrow);
}

void MainWindowTest::pageControlsLandBelowTheStripFreeOfIt()
{
    // Page controls are measured from the tab control's corner, strip included, and the strip
    // must not cover them.
    QTabBar *strip = ui().SSTab->tabBar();
    QVERIFY(strip->height() > 10);
    QCOMPARE(ui().cmd_Würfel1->mapTo(ui().SSTab, QPoint(0, 0)), QPoint(12, 30));
    QCOMPARE(ui().Frame1->mapTo(ui().SSTab, QPoint(0, 0)), QPoint(148, 40));
    QVERIFY(strip->geometry().bottom() < ui().cmd_Würfel1->mapTo(ui().SSTab, QPoint(0, 0)).y());
    QCOMPARE(ui().txt_Gewürfelt[3]->mapTo(window.get(), QPoint(0, 0)),
             QPoint(2 + 148 + 144, 6 + 70 + 36));
}

void MainWindowTest::windowAndPages()
{
    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Talvero"));
    QCOMPARE(MainWindow::shortTitle(), QStringLiteral("Talvero"));
    QCOMPARE(window->size(), QSize(662, 274));
    QCOMPARE(ui().SSTab->pageCount(), 2);
    QCOMPARE(ui().SSTab->pageCaption(0), QStringLiteral("TREFFERWÜRFE "));
    QCOMPARE(ui().SSTab->pageCaption(1), QStringLiteral("SCHADENSWÜRFE "));
    QCOMPARE(ui().SSTab->currentPage(), 0);
    showWindow();
    QVERIFY(ui().cmd_Würfel1->isVisible());
    QVERIFY(!ui().cmd_Würfel2[0]->isVisible());
    ui().SSTab->setCurrentPage(1);
    QVERIFY(!ui().cmd_Würfel1->isVisible());
    QVERIFY(ui().cmd_Würfel2[0]->isVisible());
    QCOMPARE(window->palette().color(window->backgroundRole()),
             window->palette().color(QPalette::Button));
}

void MainWindowTest::fontsFollowTheDesign()
{
    QCOMPARE(window->font().pointSizeF(), 8.25);
    QCOMPARE(window->font().family(), QStringLiteral("MS Sans Serif"));
    // The design's Windows faces resolve to installed faces of similar metrics.
    const QString sans = QFontInfo(designFont()).family();
    QVERIFY2(QStringList({QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                          QStringLiteral("Arimo"), QStringLiteral("Arial"),
                          QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")})
                 .contains(sans),
             qPrintable(sans));
    QVERIFY(QFontInfo(buttonFont()).family().contains(QStringLiteral("Sans")));

    for (CommandButton *button : window->findChildren<CommandButton *>()) {
        QCOMPARE(button->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(button->font().pointSizeF(), 8.25);
    }
    for (CountLabel *label : ui().countLabels()) {
        QCOMPARE(label->labelFont().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(label->labelFont().pointSizeF(), 8.25);
        QVERIFY(!label->labelFont().bold() && !label->labelFont().italic());
    }
    QVERIFY(ui().Label[12]->font().bold());
    QVERIFY(!ui().Label[24]->font().bold());
}

void MainWindowTest::colours()
{
    for (CountLabel *label : ui().countLabels()) {
        QCOMPARE(label->backColor(), QColor(0xFF, 0xFF, 0xFF));
        QCOMPARE(label->foreColor(), QColor(0, 0, 0));
        QVERIFY(label->isEnabled());
    }
    QCOMPARE(ui().cmd_Würfel1->currentBackColor(), QColor(0x00, 0x00, 0xFF));
    QCOMPARE(ui().cmd_Würfel1->colors().pressed, QColor(0x00, 0x00, 0x80));
    QCOMPARE(ui().cmd_Würfel1->colors().disabled, QColor(0xF5, 0xF4, 0xEA));
    QCOMPARE(ui().cmd_Würfel1->currentTextColor(), QColor(0xFF, 0xFF, 0xFF));
    for (int i = 0; i < 9; ++i) {
        CommandButton *button = ui().cmd_Würfel2[static_cast<std::size_t>(i)];
        QCOMPARE(button->currentBackColor(), i < 5 ? QColor(0, 0, 0xFF) : QColor(0xE0, 0xE0, 0xE0));
    }
    for (CommandButton *button : {ui().cmd_Reset[0], ui().cmd_Reset[1], ui().cmd_ResetWurf[0],
                                  ui().cmd_ResetWurf[1], ui().cmd_Schrift, ui().cmd_Ende}) {
        QCOMPARE(button->currentBackColor(), QColor(0xF7, 0xF7, 0xEF));
        QCOMPARE(button->colors().pressed, QColor(0xE0, 0xE0, 0xD7));
        QCOMPARE(button->currentTextColor(), QColor(0, 0, 0));
    }
    // Pressed and hovered states change what is painted.
    ui().cmd_Würfel1->setDown(true);
    QCOMPARE(ui().cmd_Würfel1->currentBackColor(), QColor(0x00, 0x00, 0x80));
    ui().cmd_Würfel1->setDown(false);
    showWindow();
    QTest::mouseMove(ui().cmd_Würfel1);
    QTRY_VERIFY(ui().cmd_Würfel1->isHovered());
    QCOMPARE(ui().cmd_Würfel1->currentTextColor(), QColor(0xE0, 0xE0, 0xE0));
}

void MainWindowTest::scrollBarRanges()
{
    struct Case
    {
        ScrollBar *bar;
        int minimum, maximum, value;
    };
    for (const Case &c : {Case{ui().HScroll, 1, 200, 60}, Case{ui().HScroll_Augen, 2, 10, 6}}) {
        QCOMPARE(c.bar->value(), c.value);
        QCOMPARE(c.bar->singleStep(), 1);
        QCOMPARE(c.bar->pageStep(), 1);
        c.bar->setValue(c.minimum - 5);
        QCOMPARE(c.bar->value(), c.minimum);
        c.bar->setValue(c.maximum + 5);
        QCOMPARE(c.bar->value(), c.maximum);
    }
}

void MainWindowTest::optionPairsAreIndependent()
{
    showWindow();
    QVERIFY(ui().OptionWurf[1]->isChecked() && ui().OptionWurf2[1]->isChecked());
    QTest::mouseClick(ui().OptionWurf[0], Qt::LeftButton);
    QVERIFY(ui().OptionWurf[0]->isChecked() && !ui().OptionWurf[1]->isChecked());
    QVERIFY(ui().OptionWurf2[1]->isChecked() && !ui().OptionWurf2[0]->isChecked());

    ui().SSTab->setCurrentPage(1);
    QTest::mouseClick(ui().OptionWurf2[0], Qt::LeftButton);
    QVERIFY(ui().OptionWurf2[0]->isChecked() && !ui().OptionWurf2[1]->isChecked());
    QVERIFY(ui().OptionWurf[0]->isChecked());
}

void MainWindowTest::focusChain()
{
    showWindow();
    const QStringList expected = {
        QStringLiteral("cmd_Ende"),         QStringLiteral("SSTab"),
        QStringLiteral("OptionWurf(1)"),    QStringLiteral("OptionWurf(0)"),
        QStringLiteral("HScroll"),          QStringLiteral("cmd_Würfel1"),
        QStringLiteral("cmd_Reset(0)"),     QStringLiteral("cmd_ResetWurf(0)"),
        QStringLiteral("OptionWurf2(0)"),   QStringLiteral("OptionWurf2(1)"),
        QStringLiteral("cmd_Würfel2(0)"),   QStringLiteral("cmd_Würfel2(1)"),
        QStringLiteral("cmd_Würfel2(2)"),   QStringLiteral("cmd_Würfel2(3)"),
        QStringLiteral("cmd_Würfel2(4)"),   QStringLiteral("cmd_Reset(1)"),
        QStringLiteral("cmd_ResetWurf(1)"), QStringLiteral("cmd_Würfel2(5)"),
        QStringLiteral("cmd_Würfel2(6)"),   QStringLiteral("cmd_Würfel2(7)"),
        QStringLiteral("cmd_Würfel2(8)"),   QStringLiteral("HScroll_Augen"),
        QStringLiteral("Check_90Grad"),     QStringLiteral("cmd_Schrift")};
    auto nameOf = [this](QWidget *w) {
        return w == ui().SSTab->tabBar() ? QStringLiteral("SSTab") : w->objectName();
    };

    // The chain itself, whatever is shown.
    QStringList chain;
    QWidget *w = ui().cmd_Ende;
    do {
        // The tab strip's own scroll buttons never show: the strip has room for both tabs.
        if ((w->focusPolicy() & Qt::TabFocus) && w->parentWidget() != ui().SSTab->tabBar())
            chain << nameOf(w);
        w = w->nextInFocusChain();
    } while (w != ui().cmd_Ende);
    QCOMPARE(chain, expected);

    // Tabbing skips the hidden page and disabled buttons, and enters an option pair at its
    // selected button (the arrow keys move within the pair).
    ui().cmd_Ende->setFocus();
    QStringList visited;
    for (int i = 0; i < 12; ++i) {
        visited << nameOf(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited,
             QStringList({QStringLiteral("cmd_Ende"), QStringLiteral("SSTab"),
                          QStringLiteral("OptionWurf(1)"), QStringLiteral("HScroll"),
                          QStringLiteral("cmd_Würfel1"), QStringLiteral("cmd_Reset(0)"),
                          QStringLiteral("cmd_ResetWurf(0)"), QStringLiteral("HScroll_Augen"),
                          QStringLiteral("Check_90Grad"), QStringLiteral("cmd_Schrift"),
                          QStringLiteral("cmd_Ende"), QStringLiteral("SSTab")}));
}

void MainWindowTest::hitRollThroughTheButton()
{
    showWindow();
    QTest::mouseClick(ui().cmd_Würfel1, Qt::LeftButton);
    QCOMPARE(sumOf(ui().txt_Gewürfelt), 60.0);
    for (int f = 6; f < 10; ++f)
        QCOMPARE(ui().txt_Gewürfelt[static_cast<std::size_t>(f)]->caption(), QStringLiteral("0"));
    QCOMPARE(countOf(ui().txt_Gewürfelt_2er[0]), 60.0 - countOf(ui().txt_Gewürfelt[0]));
    QCOMPARE(ui().txt_Wurfinfo[0]->caption(), QStringLiteral("Wurf 1"));
    QCOMPARE(ui().Frame[0]->caption(), QStringLiteral("Wurfergebnis 60 Würfel mit je 6 Seiten"));
    // The damage page is untouched.
    QCOMPARE(sumOf(ui().txt_Gewürfelt2), 0.0);
    QCOMPARE(ui().txt_Wurfinfo[1]->caption(), QStringLiteral("Wurf 0"));
    QCOMPARE(ui().Frame[1]->caption(), QStringLiteral("Wurfergebnis"));
}

void MainWindowTest::additionThroughTheWindow()
{
    showWindow();
    QTest::mouseClick(ui().OptionWurf[0], Qt::LeftButton);
    ui().HScroll->setValue(200);
    ui().HScroll_Augen->setValue(10);
    QTest::mouseClick(ui().cmd_Würfel1, Qt::LeftButton);
    QTest::mouseClick(ui().cmd_Würfel1, Qt::LeftButton);
    QCOMPARE(sumOf(ui().txt_Gewürfelt), 400.0);
    QCOMPARE(ui().txt_Gewürfelt_2er[8]->caption(), ui().txt_Gewürfelt[9]->caption());
    QCOMPARE(ui().txt_Wurfinfo[0]->caption(), QStringLiteral("Wurf 2"));
    QCOMPARE(ui().Frame[0]->caption(), QStringLiteral("Wurfergebnis 200 Würfel mit je 10 Seiten"));
}

void MainWindowTest::followUpRefusedWithMessage()
{
    showWindow();
    ui().SSTab->setCurrentPage(1);
    for (int i : {0, 2, 4}) {
        MessageBoxWatcher watcher;
        QTest::mouseClick(ui().cmd_Würfel2[static_cast<std::size_t>(i)], Qt::LeftButton);
        QVERIFY(watcher.seen.seen);
        QCOMPARE(watcher.seen.text,
                 QStringLiteral("Dieser Wurf kann nicht ausgeführt werden, der Würfel %1+ hat "
                                "keine Treffer.")
                     .arg(i + 2));
        QCOMPARE(watcher.seen.title, QStringLiteral("Talvero"));
        QCOMPARE(watcher.seen.icon, QMessageBox::NoIcon);
        QCOMPARE(watcher.seen.buttonCount, 1);
        QCOMPARE(watcher.seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    QCOMPARE(ui().txt_Wurfinfo[1]->caption(), QStringLiteral("Wurf 0"));
    QCOMPARE(ui().Frame[1]->caption(), QStringLiteral("Wurfergebnis"));
    QCOMPARE(sumOf(ui().txt_Gewürfelt2), 0.0);
}

void MainWindowTest::followUpRollsHitsOfItsThreshold()
{
    showWindow();
    ui().HScroll->setValue(200);
    QTest::mouseClick(ui().cmd_Würfel1, Qt::LeftButton);
    const QString hitCaptions = ui().Frame[0]->caption() + ui().txt_Gewürfelt_2er[2]->caption();
    const double hits = countOf(ui().txt_Gewürfelt_2er[2]);
    QVERIFY(hits > 0);

    ui().SSTab->setCurrentPage(1);
    QTest::mouseClick(ui().cmd_Würfel2[2], Qt::LeftButton);
    QTest::mouseClick(ui().cmd_Würfel2[2], Qt::LeftButton);
    QCOMPARE(sumOf(ui().txt_Gewürfelt2), hits); // "neue Zählung": the second roll only
    QCOMPARE(ui().txt_Wurfinfo[1]->caption(), QStringLiteral("Wurf 2"));
    QCOMPARE(ui().Frame[1]->caption(),
             QStringLiteral("Wurfergebnis 4+ (%1 Würfe)").arg(static_cast<int>(hits)));
    QCOMPARE(ui().Frame[0]->caption() + ui().txt_Gewürfelt_2er[2]->caption(), hitCaptions);

    QTest::mouseClick(ui().OptionWurf2[0], Qt::LeftButton);
    QTest::mouseClick(ui().cmd_Würfel2[2], Qt::LeftButton);
    QCOMPARE(sumOf(ui().txt_Gewürfelt2), 2 * hits);
}

void MainWindowTest::disabledFollowUpRaisesNoClick()
{
    showWindow();
    ui().SSTab->setCurrentPage(1);
    for (int i = 5; i < 9; ++i) {
        CommandButton *button = ui().cmd_Würfel2[static_cast<std::size_t>(i)];
        QSignalSpy clicks(button, &CommandButton::clicked);
        MessageBoxWatcher watcher;
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::qWait(20);
        QCOMPARE(clicks.count(), 0);
        QVERIFY(!watcher.seen.seen);
    }
}

void MainWindowTest::toolTipRefreshedWhenPointerEnters()
{
    showWindow();
    ui().SSTab->setCurrentPage(1);
    CommandButton *button = ui().cmd_Würfel2[3];
    QVERIFY(button->toolTip().isEmpty());
    QTest::mouseMove(button);
    QTRY_COMPARE(button->toolTip(), QStringLiteral("0 Würfe"));

    ui().txt_Gewürfelt_2er[3]->setCaption(QStringLiteral("12"));
    QTest::mouseMove(ui().cmd_Reset[1]); // leave, then come back
    QTest::mouseMove(button);
    QTRY_COMPARE(button->toolTip(), QStringLiteral("12 Würfe"));
    // Only the button under the pointer got a tool tip.
    QVERIFY(ui().cmd_Würfel2[2]->toolTip().isEmpty());
}

void MainWindowTest::resetButtons()
{
    showWindow();
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(ui().cmd_Würfel1, Qt::LeftButton);
    const QString frame = ui().Frame[0]->caption();
    QTest::mouseClick(ui().cmd_ResetWurf[0], Qt::LeftButton);
    QCOMPARE(ui().txt_Wurfinfo[0]->caption(), QStringLiteral("Wurf 0"));
    QCOMPARE(sumOf(ui().txt_Gewürfelt), 60.0);
    QCOMPARE(ui().Frame[0]->caption(), frame);

    QTest::mouseClick(ui().cmd_Reset[0], Qt::LeftButton);
    QCOMPARE(sumOf(ui().txt_Gewürfelt) + sumOf(ui().txt_Gewürfelt_2er), 0.0);
    QCOMPARE(ui().Frame[0]->caption(), QStringLiteral("Wurfergebnis"));
    QCOMPARE(ui().txt_Wurfinfo[0]->caption(), QStringLiteral("Wurf 0"));
    QTest::mouseClick(ui().cmd_Würfel1, Qt::LeftButton);
    QCOMPARE(ui().txt_Wurfinfo[0]->caption(), QStringLiteral("Wurf 1"));
}

void MainWindowTest::runsStartedTogetherRollDifferently()
{
    // Two windows rolling in the same second get the same clock seed; each engine starts from a
    // state of its own, so the dice still differ, as two runs of the program started at the same
    // minute and second must.
    MainWindow other;
    QStringList faces[2];
    for (int i = 0; i < 2; ++i) {
        WindowControls &controls = i == 0 ? ui() : other.ui;
        controls.HScroll->setValue(200);
        controls.HScroll_Augen->setValue(10);
        controls.cmd_Würfel1->click();
        for (CountLabel *label : controls.txt_Gewürfelt)
            faces[i] << label->caption();
    }
    QVERIFY(faces[0] != faces[1]);
}

void MainWindowTest::keyboardClicks()
{
    showWindow();
    ui().cmd_Würfel1->setFocus();
    QTest::keyClick(ui().cmd_Würfel1, Qt::Key_Space);
    QCOMPARE(ui().txt_Wurfinfo[0]->caption(), QStringLiteral("Wurf 1"));
    QTest::keyClick(ui().cmd_Würfel1, Qt::Key_Return);
    QTRY_COMPARE(ui().txt_Wurfinfo[0]->caption(), QStringLiteral("Wurf 2"));
    QTest::keyClick(ui().cmd_Würfel1, Qt::Key_Enter);
    QTRY_COMPARE(ui().txt_Wurfinfo[0]->caption(), QStringLiteral("Wurf 3"));

    // Alt+S is the access key of "Schließen".
    QSignalSpy closeClicks(ui().cmd_Ende, &CommandButton::clicked);
    QTest::keyClick(window.get(), Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(closeClicks.count(), 1);
}

void MainWindowTest::looksWhenRendered()
{
    showWindow();
    const QImage image = window->grab().toImage();
    auto at = [&](QWidget *widget, QPoint offset) {
        return image.pixelColor(widget->mapTo(window.get(), offset));
    };
    QCOMPARE(at(ui().cmd_Würfel1, {8, 8}), QColor(0x00, 0x00, 0xFF));
    QCOMPARE(at(ui().txt_Gewürfelt[9], {3, 3}), QColor(0xFF, 0xFF, 0xFF));
    QCOMPARE(at(ui().txt_Gewürfelt[9], {0, 0}), QColor(0, 0, 0)); // its single border
    // The caption "0" is drawn in black somewhere inside.
    bool ink = false;
    const QRect inside = ui().txt_Gewürfelt[9]->rect().adjusted(2, 2, -2, -2);
    for (int y = inside.top(); y <= inside.bottom() && !ink; ++y)
        for (int x = inside.left(); x <= inside.right() && !ink; ++x)
            ink = at(ui().txt_Gewürfelt[9], {x, y}).value() < 100;
    QVERIFY(ink);

    ui().SSTab->setCurrentPage(1);
    const QImage damage = window->grab().toImage();
    auto onDamage = [&](QWidget *widget, QPoint offset) {
        return damage.pixelColor(widget->mapTo(window.get(), offset));
    };
    QCOMPARE(onDamage(ui().cmd_Würfel2[6], {4, 4}), QColor(0xE0, 0xE0, 0xE0));
    QCOMPARE(onDamage(ui().cmd_Würfel2[0], {4, 4}), QColor(0x00, 0x00, 0xFF));
}

void MainWindowTest::pictures()
{
    QVERIFY(!window->windowIcon().isNull());
    QVERIFY(window->windowIcon().availableSizes().contains(QSize(32, 32)));
    const QPixmap logo = ui().Logo->pixmap();
    QCOMPARE(logo.size(), QSize(74, 30));
    QVERIFY(logo.hasAlphaChannel());
    QVERIFY(logo.toImage().pixelColor(0, 0).alpha() == 0);
    QCOMPARE(ui().Logo->Width(), 1110.0f);
    QCOMPARE(ui().Logo->Height(), 450.0f);

    for (CommandButton *button : window->findChildren<CommandButton *>()) {
        const QCursor cursor = button->cursor();
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
        QCOMPARE(cursor.hotSpot(), QPoint(7, 1));
    }
}

void MainWindowTest::accessibility_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("accessibleName");
    QTest::addColumn<QString>("description");
    auto row = [](const QString &name, QAccessible::Role role, const QString &accessibleName,
                  const QString &description = QString()) {
        QTest::newRow(name.toUtf8().constData())
            << name << static_cast<int>(role) << accessibleName << description;
    };
    row(QStringLiteral("cmd_Würfel1"), QAccessible::Button, QStringLiteral("Würfeln"));
    row(QStringLiteral("cmd_Ende"), QAccessible::Button, QStringLiteral("Schließen"));
    row(QStringLiteral("cmd_Schrift"), QAccessible::Button, QStringLiteral("Schriftart"));
    row(QStringLiteral("cmd_Würfel2(8)"), QAccessible::Button, QStringLiteral("10+"));
    row(QStringLiteral("cmd_Reset(0)"), QAccessible::Button, QStringLiteral("Zählung löschen"));
    row(QStringLiteral("cmd_Reset(1)"), QAccessible::Button, QStringLiteral("Zählung löschen"));
    row(QStringLiteral("cmd_ResetWurf(0)"), QAccessible::Button,
        QStringLiteral("Wurfzähler zurücksetzen"));
    row(QStringLiteral("cmd_ResetWurf(1)"), QAccessible::Button,
        QStringLiteral("Wurfzähler zurücksetzen"));
    row(QStringLiteral("Logo"), QAccessible::Graphic, QStringLiteral("Talvero"));
    row(QStringLiteral("Check_90Grad"), QAccessible::CheckBox, QStringLiteral("90°"));
    row(QStringLiteral("OptionWurf(0)"), QAccessible::RadioButton, QStringLiteral("Addition"));
    row(QStringLiteral("OptionWurf2(1)"), QAccessible::RadioButton, QStringLiteral("neue Zählung"));
    row(QStringLiteral("HScroll"), QAccessible::ScrollBar, QStringLiteral("Würfelanzahl"));
    row(QStringLiteral("HScroll_Augen"), QAccessible::ScrollBar,
        QStringLiteral("Anzahl der Seiten"));
    row(QStringLiteral("Frame(2)"), QAccessible::Grouping, QStringLiteral("Sortierung"));
    row(QStringLiteral("Label(25)"), QAccessible::StaticText,
        QStringLiteral("Anzahl der Seiten pro Würfel"));
    row(QStringLiteral("txt_Gewürfelt(2)"), QAccessible::StaticText, QStringLiteral("0"),
        QStringLiteral("3er"));
    row(QStringLiteral("txt_Gewürfelt_2er2(3)"), QAccessible::StaticText, QStringLiteral("0"),
        QStringLiteral("5+"));
}

void MainWindowTest::accessibility()
{
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(QString, accessibleName);
    QFETCH(QString, description);
    QWidget *widget = control(*window, name);
    QVERIFY(widget);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(iface);
    QCOMPARE(static_cast<int>(iface->role()), role);
    QCOMPARE(iface->text(QAccessible::Name), accessibleName);
    if (!description.isEmpty())
        QCOMPARE(iface->text(QAccessible::Description), description);
    // Reachable from the window: a chain of parents leads to the window's interface.
    QAccessibleInterface *up = iface;
    while (up && up->object() != window.get())
        up = up->parent();
    QVERIFY(up);
}

void MainWindowTest::countLabelsSpeakTheirCount()
{
    showWindow();
    QTest::mouseClick(ui().cmd_Würfel1, Qt::LeftButton);
    for (CountLabel *label : ui().countLabels()) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(label);
        QCOMPARE(iface->text(QAccessible::Name), label->caption());
        QVERIFY(label->toolTip().isEmpty());
    }
    QAccessibleInterface *tabs = QAccessible::queryAccessibleInterface(ui().SSTab->tabBar());
    QCOMPARE(tabs->role(), QAccessible::PageTabList);
    QStringList pageTabs;
    for (int i = 0; i < tabs->childCount(); ++i) {
        if (tabs->child(i)->role() == QAccessible::PageTab)
            pageTabs << tabs->child(i)->text(QAccessible::Name);
    }
    QCOMPARE(pageTabs,
             QStringList({QStringLiteral("TREFFERWÜRFE "), QStringLiteral("SCHADENSWÜRFE ")}));
}

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
