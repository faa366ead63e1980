// SPDX-License-Identifier: GPL-3.0-or-later
// The main window offscreen, from outside: its controls as designed, clicks and keys through the
// real widgets, the selectors, the layout pass and the 90° turn, looks as rendered, and what
// assistive technology is told.

#include "support/retrace.h"
#include "support/settings_run.h"

#include <QAccessible>
#include <QFontInfo>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <memory>

using namespace talvero;
using namespace talvero::testing;

namespace {

const QString kPage0 = u"TREFFERWÜRFE "_s, kPage1 = u"SCHADENSWÜRFE "_s;
const QString kSummary = u"Wurfergebnis 60 Würfel mit je 6 Seiten"_s;
const QColor kBlue(0x00, 0x00, 0xFF), kLight(0xF7, 0xF7, 0xEF), kGrey(0xE0, 0xE0, 0xE0),
    kWhite(0xFF, 0xFF, 0xFF), kBlack(0, 0, 0);

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

int pixelsOf(QWidget *widget, QColor colour)
{
    const QRect inside = widget->rect().adjusted(2, 2, -2, -2);
    return inside.width() * inside.height() - inkIn(widget->grab().toImage(), inside, colour);
}

QRect inkBox(QWidget *widget, QColor background)
{
    QRect box;
    inkIn(widget->grab().toImage(), widget->rect().adjusted(2, 2, -2, -2), background, &box);
    return box;
}

QString spoken(QWidget *widget, QAccessible::Text text = QAccessible::Description)
{
    return QAccessible::queryAccessibleInterface(widget)->text(text);
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<Run> run;
    MainWindow *window = nullptr;
    Driver *d = nullptr;
    Retrace retrace{kTestSeed};

    void resizeOuter(float width, float height)
    {
        // The designed window has 120 x 405 twips of border and title bar around its client area.
        const QSize client(qRound((width - 120) / 15), qRound((height - 405) / 15));
        window->resize(client);
        QTRY_COMPARE(window->size(), client);
    }
    QStringList page(int i) const
    {
        return d->captions(i == 0 ? "txt_Gewürfelt" : "txt_Gewürfelt2", 10)
               << d->captions(i == 0 ? "txt_Gewürfelt_2er" : "txt_Gewürfelt_2er2", 9)
               << d->caption(element("Frame", i)) << d->caption(element("txt_Wurfinfo", i));
    }
    QStringList rollHits()
    {
        d->click("cmd_Würfel1");
        return retrace.roll(kClockSeed, 60, 6);
    }
    // The entries of the menu a right-click on `on` opens; it stays open until closeMenus().
    QStringList menuOn(const Name &on) const
    {
        d->rightClick(on);
        return QTest::qWaitFor([] { return Driver::openMenu() != nullptr; })
                   ? Driver::entries(Driver::openMenu())
                   : QStringList();
    }
    static void closeMenus()
    {
        while (QMenu *menu = Driver::openMenu())
            menu->close();
    }
    // At QT_SCALE_FACTOR the text is drawn finer, not blown up into 2 x 2 blocks (which halving
    // and doubling would give back); after each step the screen shows what a fresh rendering
    // shows, no stale pixels of a lazy repaint.
    void onScreenChecks()
    {
        if (QGuiApplication::platformName() != u"xcb")
            QSKIP("needs a real X display (run under xvfb-run)");
        auto onScreen = [this] {
            return window->screen()
                ->grabWindow(window->winId())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        };
        // Both taken anew at every try: a resize reaches the screen some time after the window.
        auto sameAsPainted = [&](const char *step) {
            QTRY_VERIFY2_WITH_TIMEOUT(
                window->grab().toImage().convertToFormat(QImage::Format_RGB32) == onScreen(), step,
                5000);
        };
        sameAsPainted("shown");
        d->setValue("HScroll", 200);
        d->setValue("HScroll_Augen", 10);
        d->click("cmd_Würfel1");
        sameAsPainted("a roll of 200 ten-sided dice");
        const int scale = qEnvironmentVariableIntValue("QT_SCALE_FACTOR") > 1 ? 2 : 1;
        const QImage shot = onScreen();
        QCOMPARE(window->devicePixelRatio(), scale);
        QCOMPARE(shot.size(), window->size() * scale);
        QCOMPARE(d->the("txt_Gewürfelt(9)")->geometry(), QRect(423, 36, 45, 30)); // logical pixels
        const QRect label(d->the("txt_Gewürfelt(0)")->mapTo(window, QPoint()) * scale,
                          d->the("txt_Gewürfelt(0)")->size() * scale);
        QVERIFY(shot.pixelColor(label.topLeft()) == kBlack &&
                shot.pixelColor(label.bottomRight()) == kBlack &&
                shot.pixelColor(label.topLeft() + QPoint(2, 2) * scale) == kWhite);
        const QImage text = shot.copy(label);
        QVERIFY(scale == 1 || text != text.scaled(text.size() / 2).scaled(text.size()));
        d->click("cmd_Reset(0)");
        sameAsPainted("the counts cleared: a shorter caption");
        d->click("cmd_Würfel1");
        window->setCountFont({u"DejaVu Serif"_s, true, true});
        sameAsPainted("another roll in another face, bold and italic");
        QTest::mouseMove(d->the("txt_Gewürfelt(4)"));
        sameAsPainted("the pointer over a count");
        d->click("Check_90Grad");
        sameAsPainted("turned");
        resizeOuter(14000, 7000);
        sameAsPainted("larger");
    }

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

    void controlTree_data()
    {
        // The design in twips; a text line's width negative: it takes its text's.
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRectF>("design");
        QTest::addColumn<bool>("enabled");
        auto row = [](const QString &name, const QString &container, const QString &caption,
                      QRectF design, bool enabled = true) {
            QTest::newRow(qPrintable(name)) << name << container << caption << design << enabled;
        };
        // name|container|caption|left top width height; w: the window, 0 and 1: the pages.
        const QString rows =
            u"SSTab|w||30 90 9885 3465;Logo|w||60 3600 1110 450;"
            "Check_90Grad|w|90°|1560 3720 615 285;cmd_Schrift|w|Schriftart|7110 3600 1365 420;"
            "cmd_Ende|w|&Schließen|8520 3600 1365 405;cmd_Würfel1|0|Würfeln|180 450 1905 945;"
            "OptionWurf(0)|0|Addition|2250 660 1095 225;"
            "OptionWurf(1)|0|neue Zählung|3390 660 1485 225;"
            "Frame(0)|0|Wurfergebnis|2220 1050 7065 915;cmd_Reset(0)|0||9300 1140 405 345;"
            "Label_Augen|0|Würfelanzahl mit 6 Seiten |210 1470 -1845 195;"
            "txt_AnzahlWürfel|0|60|300 1740 1125 285;HScroll|0||270 2070 1125 255;"
            "Frame(2)|0|Sortierung|2970 2130 6345 885;cmd_ResetWurf(0)|0||180 2430 345 345;"
            "txt_Wurfinfo(0)|0|Wurf 0|600 2520 -510 195;"
            "Label(25)|0|Anzahl der Seiten pro Würfel|120 2880 -2025 195;"
            "Würfelaugen|0|6|120 3090 615 285;HScroll_Augen|0||780 3120 1365 255;"
            "Frame1|1||2220 600 2955 375;OptionWurf2(0)|Frame1|Addition|30 60 945 225;"
            "OptionWurf2(1)|Frame1|neue Zählung|1170 60 1485 225;"
            "Label(12)|1|Weiterwürfel mit...|270 870 -1560 195;"
            "Frame(1)|1|Wurfergebnis|2220 1050 7065 915;"
            "Label(24)|1|(Schadenswurf)|240 1110 -1110 195;cmd_Reset(1)|1||9300 1140 405 345;"
            "Frame(3)|1|Sortierung|2970 2130 6345 885;cmd_ResetWurf(1)|1||180 2160 375 345;"
            "txt_Wurfinfo(1)|1|Wurf 0|600 2250 -510 195"_s;
        const QHash<QString, QString> containers{
            {u"w"_s, u"MainWindow"_s}, {u"0"_s, kPage0}, {u"1"_s, kPage1}};
        for (const QString &line : rows.split(u';')) {
            const QStringList field = line.split(u'|'), n = field[3].split(u' ');
            row(field[0], containers.value(field[1], field[1]), field[2],
                {n[0].toDouble(), n[1].toDouble(), n[2].toDouble(), n[3].toDouble()});
        }
        const float buttonLefts[9] = {180, 570, 960, 1350, 1740, 180, 570, 960, 1350};
        const float faceLefts[10] = {90, 780, 1470, 2160, 2850, 3540, 4230, 4920, 5610, 6300};
        const float atLeastLefts[9] = {60, 750, 1440, 2130, 2820, 3510, 4200, 4890, 5580};
        const float faceHeads[10] = {300, 1050, 1710, 2460, 3090, 3780, 4470, 5190, 5850, 6480};
        const float atLeastHeads[9] = {360, 1020, 1740, 2400, 3090, 3780, 4440, 5130, 5760};
        for (int i = 0; i < 9; ++i) {
            row(element("cmd_Würfel2", i), kPage1, u"%1+"_s.arg(i + 2),
                {buttonLefts[i], i < 5 ? 1320.0 : 1710.0, i == 8 ? 750.0 : 360.0, 360}, i < 5);
            for (int frame : {2, 3})
                row(element(frame == 2 ? "txt_Gewürfelt_2er" : "txt_Gewürfelt_2er2", i),
                    element("Frame", frame), u"0"_s, {atLeastLefts[i], 510, 675, 285});
            for (int k : {i, i + 9})
                row(element("LabelWurfUnten", k), element("Frame", k >= 9 ? 2 : 3),
                    u"%1+"_s.arg(i + 2), {atLeastHeads[i], 270, i == 8 ? 270.0 : 180.0, 195});
        }
        for (int j = 0; j < 10; ++j) {
            for (int frame : {0, 1})
                row(element(frame == 0 ? "txt_Gewürfelt" : "txt_Gewürfelt2", j),
                    element("Frame", frame), u"0"_s, {faceLefts[j], 540, 675, 285});
            for (int k : {j, j + 10})
                row(element("LabelWurf", k), element("Frame", k >= 10 ? 0 : 1),
                    u"%1er"_s.arg(j + 1), {faceHeads[j], 300, j == 9 ? 315.0 : 225.0, 195});
        }
    }
    void controlTree()
    {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRectF, design);
        QWidget *widget = d->the(name);
        // A page of the tab control is known by its caption, any other container by its name.
        const QWidget *parent = widget->parentWidget();
        QCOMPARE(parent->objectName().isEmpty() ? parent->accessibleName() : parent->objectName(),
                 container);
        QTEST(captionOf(widget), "caption");
        QTEST(widget->isEnabled(), "enabled");
        QVERIFY(widget->toolTip().isEmpty());
        const TwipsRect t = d->twips(name);
        QCOMPARE(QRectF(t.left, t.top, design.width() < 0 ? design.width() : t.width, t.height),
                 design);
        QCOMPARE(widget->pos(), QPoint(qRound(design.x() / 15), qRound(design.y() / 15)));
        if (design.width() < 0) { // a text line fits its text
            QVERIFY(d->show());
            d->showPage(container == kPage1 ? 1 : 0);
            auto *label = d->the<QLabel>(name);
            const int text = label->fontMetrics().horizontalAdvance(label->text());
            QVERIFY(text <= label->width() && label->width() <= text + 4);
        }
    }
    void windowPagesAndPictures()
    {
        QCOMPARE(window->windowTitle(), u"Talvero"_s);
        QCOMPARE(window->size(), QSize(662, 274)); // the designed client area, 9930 x 4110 twips
        // Every size drawn, and the drawing itself at twice 32 and 128 for scale 2.
        QCOMPARE(window->windowIcon().availableSizes(),
                 QList<QSize>({{32, 32}, {128, 128}, {64, 64}, {256, 256}}));
        const QPixmap logo = d->the<QLabel>("Logo")->pixmap();
        QVERIFY(logo.size() == QSize(74, 30) && logo.toImage().pixelColor(0, 0).alpha() == 0);
        for (const char *name : {"cmd_Würfel1", "cmd_Würfel2(8)", "cmd_Reset(1)", "cmd_Ende"})
            QCOMPARE(
                QRect(d->the(name)->cursor().hotSpot(), d->the(name)->cursor().pixmap().size()),
                QRect(7, 1, 32, 32));
        d->setValue("HScroll_Augen", 9); // two digits of sides need more room than one
        const int oneDigit = d->the("Label_Augen")->width();
        d->setValue("HScroll_Augen", 10);
        QVERIFY(d->the("Label_Augen")->width() > oneDigit);
        d->showPage(1);
        QVERIFY(!d->the("cmd_Würfel1")->isVisible() && d->the("cmd_Würfel2(0)")->isVisible());
        QCOMPARE(window->grab().toImage().pixelColor(2, 270),
                 window->palette().color(QPalette::Button));
    }
    void focusAndKeys()
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
        d->the("cmd_Würfel1")->setFocus();
        for (const auto &[key, counted] : {std::pair{Qt::Key_Space, u"Wurf 1"_s},
                                           {Qt::Key_Return, u"Wurf 2"_s},
                                           {Qt::Key_Enter, u"Wurf 3"_s}}) {
            QTest::keyClick(d->the("cmd_Würfel1"), key);
            QTRY_COMPARE(d->caption("txt_Wurfinfo(0)"), counted);
        }
        QSignalSpy closing(d->the<QAbstractButton>("cmd_Ende"), &QAbstractButton::clicked);
        QTest::keyClick(window, Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(closing.count(), 1);
    }
    void rollsAndResets()
    {
        // Before any hit roll an enabled follow-up button is refused; a disabled one is silent.
        d->showPage(1);
        d->watch.expectBoxes(3);
        for (int i : {0, 2, 4, 5, 8})
            d->click(element("cmd_Würfel2", i));
        QTRY_COMPARE(d->watch.boxes.size(), 3);
        const ModalWatch::Box &box = d->watch.boxes.last();
        QCOMPARE(box.title + u'|' + box.text, u"Talvero|Dieser Wurf kann nicht ausgeführt werden, "
                                              u"der Würfel 6+ hat keine Treffer."_s);
        QVERIFY(box.icon == QMessageBox::NoIcon && box.buttons == QMessageBox::Ok);
        d->showPage(0);
        const QStringList faces = rollHits(), hits = atLeastOf(faces);
        const QStringList hitPage = faces + hits << kSummary << u"Wurf 1"_s;
        QCOMPARE(page(0) + page(1), hitPage + clearedPage(0));
        const quint64 fours = hits[2].toULongLong();
        d->showPage(1);
        d->click("cmd_Würfel2(2)");
        d->click("cmd_Würfel2(2)");
        retrace.roll(kClockSeed, fours, 6);
        const QStringList second = retrace.roll(kClockSeed, fours, 6);
        QCOMPARE(page(1) + page(0), second + atLeastOf(second)
                                        << u"Wurfergebnis 4+ (%1 Würfe)"_s.arg(hits[2])
                                        << u"Wurf 2"_s << hitPage);
        d->click("OptionWurf2(0)");
        d->click("cmd_Würfel2(2)");
        QCOMPARE(d->captions("txt_Gewürfelt2", 10),
                 added(second, retrace.roll(kClockSeed, fours, 6)));
        // A follow-up roll throws as many sides as the sides selector shows at its own time.
        d->click("OptionWurf2(1)");
        d->setValue("HScroll_Augen", 3);
        d->click("cmd_Würfel2(0)");
        QCOMPARE(d->captions("txt_Gewürfelt2", 10),
                 retrace.roll(kClockSeed, hits[0].toULongLong(), 3));
        // Another window rolling in the same second still throws other dice.
        Run other(folder->filePath(u"other.conf"_s), kTestSeed + 1);
        other.d.the<QAbstractButton>("cmd_Würfel1")->click();
        QVERIFY(other.d.captions("txt_Gewürfelt", 6) != faces.mid(0, 6));
        // The clearing buttons keep to their page; nothing is left to reroll after clearing.
        QStringList damagePage = page(1);
        d->click("cmd_ResetWurf(1)");
        damagePage.last() = u"Wurf 0"_s;
        QCOMPARE(page(1) + page(0), damagePage + hitPage);
        d->showPage(0);
        d->click("cmd_Reset(0)");
        QCOMPARE(page(0) + page(1), clearedPage(1) + damagePage);
        QCOMPARE(menuOn("Label(25)").mid(0, 2),
                 (QStringList{u"[Augenzahl neu würfeln]"_s, u"[Fehlwürfe neu würfeln]"_s}));
        closeMenus();
        d->click("cmd_ResetWurf(0)");
        d->showPage(1);
        d->click("cmd_Reset(1)");
        QCOMPARE(page(0) + page(1), clearedPage(0) + clearedPage(0));
    }
    void looksWhenRendered()
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
        QTest::mouseMove(d->the("cmd_Ende"));
        QTRY_VERIFY(!roll->underMouse());
        QVERIFY(pixelsOf(roll, kWhite) > 0 && pixelsOf(roll, kGrey) == 0);
        QTest::mouseMove(roll);
        QTRY_VERIFY(roll->underMouse());
        QVERIFY(pixelsOf(roll, kWhite) == 0 && pixelsOf(roll, kGrey) > 0);
        // A count: black on white in a black border; under the pointer blue and bold.
        auto *label = d->the<CountLabel>("txt_Gewürfelt(9)");
        QVERIFY(d->pixel("txt_Gewürfelt(9)", {0, 0}) == kBlack &&
                d->pixel("txt_Gewürfelt(9)", {2, 2}) == kWhite);
        const QColor hoverBlue(0x00, 0x00, 0xC0);
        const int regularInk = pixelsOf(label, kBlack);
        QVERIFY(regularInk > 0 && pixelsOf(label, hoverBlue) == 0);
        QTest::mouseMove(label);
        QTRY_VERIFY(label->underMouse());
        QVERIFY(pixelsOf(label, kBlack) == 0 && pixelsOf(label, hoverBlue) > regularInk);
        for (const auto &[name, centred] :
             {std::pair{"LabelWurf(12)", true}, {"Label(25)", false}, {"txt_AnzahlWürfel", true}}) {
            QWidget *plain = d->the(name);
            const QRect ink = inkBox(plain, plain->palette().color(QPalette::Button));
            QVERIFY2(centred ? std::abs(ink.center().x() - plain->width() / 2) <= 1
                             : ink.left() <= 3,
                     name);
        }
        // While the count labels are turned, "Schriftart" wears the light set's disabled colour.
        d->click("Check_90Grad");
        QCOMPARE(face("cmd_Schrift"), QColor(0xF5, 0xF4, 0xEA));
        d->showPage(1);
        for (int i = 0; i < 9; ++i)
            QCOMPARE(face(element("cmd_Würfel2", i)), i < 5 ? kBlue : kGrey);
    }
    void spokenNamesAndCounts()
    {
        // Role, name and description, each reachable from the window's own interface.
        for (const auto &[name, role, said] :
             {std::tuple{"cmd_Ende", QAccessible::Button, "Schließen|"},
              {"cmd_Reset(1)", QAccessible::Button, "Zählung löschen|"},
              {"cmd_ResetWurf(0)", QAccessible::Button, "Wurfzähler zurücksetzen|"},
              {"Logo", QAccessible::Graphic, "Talvero|"},
              {"HScroll", QAccessible::ScrollBar, "Würfelanzahl|"},
              {"HScroll_Augen", QAccessible::ScrollBar, "Anzahl der Seiten|"},
              {"Frame(2)", QAccessible::Grouping, "Sortierung|"},
              {"txt_Gewürfelt(2)", QAccessible::StaticText, "0|3er"},
              {"txt_Gewürfelt_2er2(3)", QAccessible::StaticText, "0|5+"}}) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(d->the(name)),
                                 *up = iface;
            while (up && up->object() != window)
                up = up->parent();
            QVERIFY2(up && iface->role() == role &&
                         QString::fromUtf8(said) == iface->text(QAccessible::Name) + u'|' +
                                                        iface->text(QAccessible::Description),
                     name);
        }
        // A follow-up button tells how many dice it would roll; its tool tip waits for the pointer.
        auto followUps = [this] {
            QStringList texts;
            for (int i = 0; i < 9; ++i)
                texts << spoken(d->the(element("cmd_Würfel2", i)));
            return texts.join(u',');
        };
        const QString none = QStringList(9, u"0 Würfe"_s).join(u',');
        QCOMPARE(followUps(), none);
        d->click("cmd_Würfel1");
        for (const QString &name : countLabels())
            QCOMPARE(spoken(d->the(name), QAccessible::Name), d->caption(name));
        const QStringList hits = d->captions("txt_Gewürfelt_2er", 9);
        QCOMPARE(followUps(), hits.join(u" Würfe,"_s) + u" Würfe"_s);
        d->showPage(1);
        QWidget *four = d->the("cmd_Würfel2(2)");
        QVERIFY(four->toolTip().isEmpty());
        QTest::mouseMove(four);
        QTRY_COMPARE(four->toolTip(), hits[2] + u" Würfe"_s);
        d->showPage(0);
        d->click("cmd_Reset(0)");
        QCOMPARE(followUps(), none);
    }
    void sidesLooks()
    {
        // In a dark desktop theme, where the counts must stay black on white all the same; each
        // number of sides reached from the other end, so that every look changes.
        const QPalette light = QApplication::palette();
        QPalette dark = light;
        for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            dark.setColor(role, QColor(0x20, 0x20, 0x24));
        dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
        QApplication::setPalette(dark);
        const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
        init();
        for (const int sides : {2, 3, 6, 9, 10}) {
            d->setValue("HScroll_Augen", sides > 6 ? 2 : 10);
            d->setValue("HScroll_Augen", sides);
            for (const QString &name : countLabels()) {
                const int index = name.section(u'(', 1).chopped(1).toInt();
                const int value =
                    name.contains(u"_2er"_s) ? index + 2 : index + 1; // face, threshold
                QVERIFY2(d->the(name)->isEnabled() == (value <= sides) &&
                             d->pixel(name, {3, 3}) == (value <= sides ? kWhite : kGrey) &&
                             (value != 1 || pixelsOf(d->the(name), kBlack) > 0),
                         qPrintable(u"%1 at %2 sides"_s.arg(name).arg(sides)));
            }
            QCOMPARE(d->caption("Würfelaugen") + u'|' + d->caption("Label_Augen"),
                     u"%1|Würfelanzahl mit %1 Seiten"_s.arg(sides));
        }
    }
    void selectorsChangeNoCount()
    {
        d->setValue("HScroll", 200);
        d->setValue("HScroll_Augen", 10);
        d->click("cmd_Würfel1");
        QCOMPARE(d->caption("Frame(0)"), u"Wurfergebnis 200 Würfel mit je 10 Seiten"_s);
        const QStringList counts = page(0) + page(1);
        const QList<float> layout = layoutState(*window);
        // While a thumb is held the labels follow it; no count, look or place changes.
        auto *dice = d->the<QScrollBar>("HScroll");
        QVERIFY(dice->singleStep() == 1 && dice->pageStep() == 1);
        dice->setSliderDown(true);
        dice->setSliderPosition(1);
        QCOMPARE(d->caption("txt_AnzahlWürfel"), u"1"_s);
        dice->setSliderDown(false);
        QVERIFY(d->pixel("txt_Gewürfelt(9)", {3, 3}) == kWhite && layoutState(*window) == layout);
        auto *sides = d->the<QScrollBar>("HScroll_Augen");
        sides->setSliderDown(true);
        sides->setSliderPosition(3);
        QVERIFY(!d->the("txt_Gewürfelt(3)")->isEnabled() && !d->the("cmd_Würfel2(2)")->isEnabled());
        sides->setSliderPosition(9);
        QCOMPARE(d->caption("Würfelaugen") + u'|' + d->caption("Label_Augen"),
                 u"9|Würfelanzahl mit 9 Seiten"_s);
        QVERIFY(d->the("txt_Gewürfelt2(8)")->isEnabled());
        sides->setSliderDown(false);
        QCOMPARE(page(0) + page(1), counts);
    }
    void layoutFigures()
    {
        // Outer size; "Frame(1):T1050,H1082.5": Frame(1)'s Top and Height; the counts' point size.
        for (const auto &[width, height, figures, points] :
             {std::tuple{
                  10050.0f, 4515.0f,
                  u"SSTab:W9885,H3465 Frame(0):W7065 Frame(1):T1050,H1082.5 Frame(2):W6345 "
                  "Frame(3):T2212.5,H1082.5 Logo:T3600 Check_90Grad:T3640 cmd_Schrift:L7050,T3600 "
                  "cmd_Ende:L8490,T3600 cmd_Reset(0):L9300 cmd_Reset(1):L9300,T1140 "
                  "txt_Gewürfelt(0):L90 txt_Gewürfelt(9):W675.430 "
                  "txt_Gewürfelt2(9):L6345.497,H452.5 "
                  "txt_Gewürfelt_2er(0):L90 txt_Gewürfelt_2er(8):W675 "
                  "txt_Gewürfelt_2er2(8):L5631,H452.5 LabelWurf(19):T300"_s,
                  16.886},
              {15000.0f, 9000.0f,
               u"SSTab:W14835,H7950 Frame(0):W12015 Frame(1):T1050,H3325 Frame(2):W11295 "
               "Frame(3):T4455,H3325 Logo:T8085 Check_90Grad:T8125 cmd_Schrift:L12000,T8085 "
               "cmd_Ende:L13440,T8085 cmd_Reset(0):L14250 cmd_Reset(1):L14250,T1140 "
               "txt_Gewürfelt(0):L90 txt_Gewürfelt(9):W1148.662 txt_Gewürfelt2(9):L10728.329,H2695 "
               "txt_Gewürfelt_2er(0):L90 txt_Gewürfelt_2er(8):W1201.596 "
               "txt_Gewürfelt_2er2(8):L9953.766,H2695 LabelWurf(19):T300"_s,
               28.717}}) {
            resizeOuter(width, height);
            for (const QString &control : figures.split(u' ')) {
                const TwipsRect t = d->twips(control.section(u':', 0, 0));
                for (const QString &figure : control.section(u':', 1).split(u',')) {
                    const double actual = QList<double>{t.left, t.top, t.width,
                                                        t.height}[u"LTWH"_s.indexOf(figure[0])];
                    QVERIFY2(std::abs(actual - figure.mid(1).toDouble()) < 0.01,
                             qPrintable(u"%1 x %2: %3 %4 is %5"_s.arg(width)
                                            .arg(height)
                                            .arg(control, figure)
                                            .arg(actual, 0, 'f', 3)));
                }
            }
            // Columns equally wide and spaced, the headings above them alike.
            for (const auto &[array, headings, size] :
                 {std::tuple{"txt_Gewürfelt", "LabelWurf", 10},
                  {"txt_Gewürfelt_2er2", "LabelWurfUnten", 9}}) {
                const TwipsRect first = d->twips(element(array, 0)),
                                next = d->twips(element(array, 1));
                for (int i = 0; i < size; ++i) {
                    const TwipsRect label = d->twips(element(array, i)),
                                    upper = d->twips(element(headings, i)),
                                    lower = d->twips(element(headings, i + size));
                    QVERIFY(std::abs(label.left - first.left - i * (next.left - first.left)) <
                            0.01);
                    QCOMPARE(
                        QList({label.width, upper.left, upper.width, lower.left, lower.width}),
                        QList({first.width, label.left, label.width, label.left, label.width}));
                }
            }
            for (const QString &name : countLabels())
                QVERIFY(std::abs(d->the<CountLabel>(name)->labelFont().pointSizeF() - points) <
                            1e-3 &&
                        d->twips(name).height == d->twips("txt_Gewürfelt(0)").height);
            QCOMPARE(d->the("txt_Gewürfelt(9)")->geometry(),
                     pixelRect(d->twips("txt_Gewürfelt(9)")));
        }
    }
    void windowSizeLimits()
    {
        window->resize(200, 100); // the window declares its minimum too
        QCOMPARE(window->size(), QSize(662, 274));
        // Now only the layout pass keeps the window large enough: client size asked for, outer size
        // and Frame(0)'s after. A height below the minimum is set to 4514, which reads as 4515.
        window->setMinimumSize(0, 0);
        for (const auto &[client, outer, frame] :
             {std::tuple{QSize(400, 400), QSizeF(10050, 6405), QSizeF(7065, 2027.5)},
              {QSize(900, 100), QSizeF(13620, 4515), QSizeF(10635, 1082.5)},
              {QSize(100, 250), QSizeF(10050, 4515), QSizeF(7065, 1082.5)},
              {QSize(662, 274), QSizeF(10050, 4515), QSizeF(7065, 1082.5)}}) {
            window->resize(700, 300);
            window->resize(client);
            QTRY_COMPARE(window->size(), QSize(qRound((outer.width() - 120) / 15),
                                               qRound((outer.height() - 405) / 15)));
            QCOMPARE(QSizeF(d->twips("Frame(0)").width, d->twips("Frame(0)").height), frame);
        }
        // A minimised window is left alone, a maximised one laid out as a normal one that size.
        const QList<float> before = layoutState(*window);
        window->showMinimized();
        QTRY_VERIFY(window->isMinimized());
        window->resize(300, 100);
        QCOMPARE(window->size(), QSize(300, 100));
        QCOMPARE(layoutState(*window), before);
        window->showMaximized();
        QTRY_VERIFY(window->isMaximized() && window->width() > 662);
        Run normal(folder->filePath(u"normal.conf"_s));
        normal.window.resize(window->size());
        normal.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&normal.window));
        QCOMPARE(layoutState(*window), layoutState(normal.window));
    }
    void turnByAnyPath()
    {
        // After every change a count looks as a label made just now would: no stale text layout.
        d->setValue("HScroll", 200);
        d->click("cmd_Würfel1");
        auto *count = d->the<CountLabel>("txt_Gewürfelt(3)");
        auto asFresh = [count](const char *step) {
            CountLabel fresh;
            fresh.resize(count->size());
            fresh.setLabelFont(count->labelFont());
            fresh.setCaption(count->caption());
            fresh.setVertical(count->isVertical());
            QVERIFY2(count->grab().toImage() == fresh.grab().toImage(), step);
        };
        resizeOuter(15000, 9000);
        asFresh("resized");
        window->setCountFont({u"DejaVu Serif"_s, true, {}});
        asFresh("another face, bold");
        window->setCountFont({{}, false, {}});
        auto *label = d->the<CountLabel>("txt_Gewürfelt(0)");
        // All 38 turn, by mouse, keyboard and assistive technology alike, and nothing moves.
        auto turned = [this](bool vertical) {
            for (const QString &name : countLabels())
                if (d->the<CountLabel>(name)->isVertical() != vertical)
                    return false;
            return d->the("cmd_Schrift")->isEnabled() != vertical;
        };
        const QList<float> layout = layoutState(*window);
        auto *box = d->the<QAbstractButton>("Check_90Grad");
        d->click("Check_90Grad");
        QVERIFY(turned(true));
        asFresh("turned");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        QVERIFY(turned(false));
        QAccessible::queryAccessibleInterface(box)->actionInterface()->doAction(
            QAccessibleActionInterface::toggleAction());
        QVERIFY(turned(true) && layoutState(*window) == layout);
        label->setCaption(u"8888"_s);
        const QRect turned8888 = inkBox(label, kWhite); // taller than wide, centred
        QVERIFY(turned8888.height() > turned8888.width() &&
                (turned8888.center() - label->rect().center()).manhattanLength() <= 3);
        // Read from bottom to top, the "1" of "1888" stands lowest: less ink there than at the top.
        label->setCaption(u"1888"_s);
        const QImage turned1888 = label->grab().toImage();
        const QRect text = inkBox(label, kWhite);
        const QSize quarter(text.width(), text.height() / 4);
        QVERIFY(inkIn(turned1888, QRect(text.bottomLeft() - QPoint(0, quarter.height()), quarter),
                      kWhite) < inkIn(turned1888, QRect(text.topLeft(), quarter), kWhite));
        resizeOuter(11000, 5000); // a resize keeps them turned
        QVERIFY(turned(true));
        asFresh("turned and resized");
    }
    void menuOpensByEveryPath_data()
    {
        QTest::addColumn<QString>("how"); // a right-click, a key, or assistive technology's action
        QTest::addColumn<QString>("on");  // the control; none: the window
        QTest::addColumn<bool>("rolled"); // 60 dice with 6 sides, the sides then once at 10
        QTest::addColumn<QString>("first"); // the count's own entry on top, if any
        auto row = [](const QString &how, const QString &on, bool rolled,
                      const QString &first = {}) {
            QTest::addRow("%s on %s%s", qPrintable(how),
                          on.isEmpty() ? "the window" : qPrintable(on),
                          rolled ? " after a roll" : "")
                << how << on << rolled << first;
        };
        for (const char *on : {"Label(25)", "HScroll", "cmd_Würfel1", "txt_Gewürfelt(3)"})
            row(u"click"_s, QString::fromUtf8(on), false);
        // A count offers its own reroll only for the faces the last roll could show.
        const QStringList counts = Retrace(kTestSeed).roll(kClockSeed, 60, 6);
        const auto face = [&](int f) {
            return u"%1 × %2er neu würfeln"_s.arg(counts[f - 1]).arg(f);
        };
        const auto below = [&](int k) {
            return u"%1 unter %2+ neu würfeln"_s.arg(total(counts.mid(0, k - 1))).arg(k);
        };
        const QStringList firsts = {face(4), face(6), {}, below(5), below(6), {}, {}};
        for (const int i : {0, 1, 2, 3, 4, 5, 6})
            row(u"click"_s,
                element(i < 3 ? "txt_Gewürfelt" : "txt_Gewürfelt_2er",
                        QList{3, 5, 6, 3, 4, 5, 8}[i]),
                true, firsts[i]);
        for (const char *how : {"Menu", "Shift+F10", "action"})
            row(QString::fromUtf8(how), {}, false);
        row(u"action"_s, u"txt_Gewürfelt(3)"_s, true, face(4));
    }
    void menuOpensByEveryPath()
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
        const QString rerolls = rolled ? u"%1"_s : u"[%1]"_s;
        const QStringList entries = (first.isEmpty() ? QStringList() : QStringList{first})
                                    << rerolls.arg(u"Augenzahl neu würfeln"_s)
                                    << rerolls.arg(u"Fehlwürfe neu würfeln"_s)
                                    << u"Chancen…\tStrg+I"_s << u"Verlauf…\tStrg+H"_s
                                    << u"Seite kopieren\tStrg+C"_s << u"Über Talvero…\tF1"_s;
        for (int opening = 1; opening <= 2; ++opening) {
            if (how == u"click")
                d->rightClick(on);
            else if (how == u"action")
                QAccessible::queryAccessibleInterface(on.isEmpty() ? window : d->the(on))
                    ->actionInterface()
                    ->doAction(QAccessibleActionInterface::showMenuAction());
            else
                QTest::keyClick(QApplication::focusWidget(),
                                how == u"Menu" ? Qt::Key_Menu : Qt::Key_F10,
                                how == u"Menu" ? Qt::NoModifier : Qt::ShiftModifier);
            QTRY_VERIFY(d->openMenu());
            QCOMPARE(d->entries(d->openMenu()) + d->spokenEntries(d->openMenu()),
                     entries + entries);
            QCOMPARE(QAccessible::queryAccessibleInterface(d->openMenu())->role(),
                     QAccessible::PopupMenu);
            d->openMenu()->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    void rerollThroughTheSubmenus()
    {
        // Every face and threshold of the roll's six sides; the counter stays after a reroll.
        const QStringList first = rollHits();
        QStringList faces, fails;
        for (int face = 1, below = 0; face <= 6; below += first[face - 1].toInt(), ++face) {
            faces << u"%1 × %2er neu würfeln"_s.arg(first[face - 1]).arg(face);
            if (face > 1)
                fails << u"%1 unter %2+ neu würfeln"_s.arg(below).arg(face);
        }
        for (const auto &[submenu, entries] :
             {std::pair{u"Augenzahl neu würfeln"_s, faces}, {u"Fehlwürfe neu würfeln"_s, fails}}) {
            menuOn("Label(25)");
            QVERIFY(d->choose(submenu));
            QCOMPARE(d->entries(d->openMenu()), entries);
            closeMenus();
        }
        const quint64 below3 = first[0].toULongLong() + first[1].toULongLong();
        menuOn("Label(25)");
        QVERIFY(d->choose(u"Fehlwürfe neu würfeln/%1 unter 3+ neu würfeln"_s.arg(below3)));
        const QStringList counts =
            afterReroll(first, only(first, 1, 2), retrace.roll(kClockSeed, below3, 6));
        QCOMPARE(page(0), counts + atLeastOf(counts)
                              << kSummary + u", %1 neu gewürfelt"_s.arg(below3) << u"Wurf 1"_s);
        QCOMPARE(menuOn("txt_Gewürfelt_2er(1)").value(0), u"[0 unter 3+ neu würfeln]"_s);
        closeMenus();
    }
    // Both run under Xvfb, at scale 1 and 2.
    void highDpiScreenshot() { onScreenChecks(); }
    void screenShowsWhatIsPainted() { onScreenChecks(); }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
