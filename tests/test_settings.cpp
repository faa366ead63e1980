// Settings across restarts, damaged stores, the font choice, the about message and the close
// command. Every store lives in a temporary folder.

#include "settings/about_box.h"
#include "settings/application.h"
#include "settings/close_on_signals.h"
#include "settings/font_choice.h"
#include "settings/session.h"
#include "settings/settings_store.h"
#include "support/stderr_capture.h"
#include "support/window_helpers.h"
#include "ui/fonts.h"

#include <QFile>
#include <QFontDialog>
#include <QLabel>
#include <QTemporaryDir>
#include <csignal>
#include <memory>
#include <unistd.h>

using namespace talvero;
using namespace talvero::testing;

namespace {

// A font dialog stand-in: records the preset it was opened with and answers as told.
class ScriptedPicker final : public FontPicker
{
public:
    ScriptedPicker(std::optional<FontChoice> answer, std::vector<FontChoice> *presets)
        : answer_(std::move(answer))
        , presets_(presets)
    {}
    std::optional<FontChoice> pick(const FontChoice &preset, int flags, QWidget *) override
    {
        presets_->push_back(preset);
        lastFlags = flags;
        return answer_;
    }
    int lastFlags = 0;

private:
    std::optional<FontChoice> answer_;
    std::vector<FontChoice> *presets_;
};

// One run of the program on a given store file: load on creation, unload on close.
struct Run
{
    explicit Run(const QString &storeFile)
        : store(storeFile)
        , session(window, store)
    {}
    SettingsStore store;
    MainWindow window;
    Session session;
    WindowControls &ui() { return window.ui; }
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QString storedText(const QString &path, const SettingKey &key)
{
    SettingsStore store(path);
    return store.read(key);
}

bool storedHas(const QString &path, const SettingKey &key)
{
    QSettings settings(path, QSettings::IniFormat);
    return settings.contains(key.path());
}

} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void truthTexts_data();
    void truthTexts();
    void sizeTexts_data();
    void sizeTexts();

    void firstRunOnEmptyStore();
    void restartKeepsChoices();
    void unchangedRunRewritesSetupKeys();
    void additionOnFirstPageOnly();
    void storedTurnStartsTurned();
    void storedSixSidesLeavesDesignedLooks();
    void damagedValuesFallBack_data();
    void damagedValuesFallBack();
    void damagedFileStartsNormally();
    void unwritableStoreAtClose();
    void readOnlyFileKeepsItsContents();
    void closedByQuitStillSaves();
    void terminationSignalClosesAndSaves();

    void fontChoiceAppliesAndIsRemembered();
    void fontCancelChangesNothing();
    void fontPresetsFromStore();
    void fontSizeWrittenWithPoint();
    void damagedFontValuesKeepLabels();
    void qtFontDialogSpeaksGermanWithoutEffects();

    void aboutText();
    void aboutBoxFromLogo();
    void closeCommandSavesAndCloses();

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString storeFile;
};

void SettingsTest::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    storeFile = dir->filePath(QStringLiteral("Talvero.conf"));
}

void SettingsTest::truthTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("truth"); // -1: not a truth value
    QTest::newRow("True") << "True" << 1;
    QTest::newRow("False") << "False" << 0;
    QTest::newRow("upper") << "TRUE" << 1;
    QTest::newRow("lower") << "false" << 0;
    QTest::newRow("blanks") << " true " << 1;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("one") << "1" << 1;
    QTest::newRow("minus one") << "-1" << 1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("yes") << "yes" << -1;
    QTest::newRow("fraction") << "1.0" << -1;
    QTest::newRow("huge") << "99999999999999999999999" << -1;
}

void SettingsTest::truthTexts()
{
    QFETCH(QString, text);
    QFETCH(int, truth);
    const std::optional<bool> parsed = parseTruth(text);
    QCOMPARE(parsed.has_value(), truth >= 0);
    if (parsed)
        QCOMPARE(*parsed, truth == 1);
    // What is written reads back.
    QCOMPARE(parseTruth(truthText(true)), std::optional<bool>(true));
    QCOMPARE(parseTruth(truthText(false)), std::optional<bool>(false));
}

void SettingsTest::sizeTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("size"); // 0: does not convert
    QTest::newRow("whole") << "8" << 8.0;
    QTest::newRow("point") << "8.25" << 8.25;
    QTest::newRow("comma") << "8,25" << 8.25;
    QTest::newRow("letters") << "acht" << 0.0;
    QTest::newRow("negative") << "-3" << 0.0;
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("infinite") << "inf" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
}

void SettingsTest::sizeTexts()
{
    QFETCH(QString, text);
    QFETCH(double, size);
    const std::optional<float> parsed = parseSize(text);
    QCOMPARE(parsed.has_value(), size > 0);
    if (parsed) {
        QCOMPARE(static_cast<double>(*parsed), size);
        QCOMPARE(parseSize(sizeText(*parsed)), parsed);
    }
}

void SettingsTest::firstRunOnEmptyStore()
{
    {
        Run run(storeFile);
        QCOMPARE(run.ui().HScroll->value(), 60);
        QCOMPARE(run.ui().HScroll_Augen->value(), 6);
        QVERIFY(run.ui().OptionWurf[1]->isChecked() && run.ui().OptionWurf2[1]->isChecked());
        QVERIFY(!run.ui().Check_90Grad->isChecked());
        QCOMPARE(run.ui().SSTab->currentPage(), 0);
        for (CountLabel *label : run.ui().countLabels()) {
            QCOMPARE(label->labelFont().family(), QStringLiteral("MS Sans Serif"));
            QVERIFY(!label->labelFont().bold() && !label->labelFont().italic());
            QCOMPARE(label->Vertical(), 0);
        }
        QVERIFY(!QFile::exists(storeFile)); // loading writes nothing
        run.window.close();
    }
    QCOMPARE(storedText(storeFile, keys::diceCount), QStringLiteral("60"));
    QCOMPARE(storedText(storeFile, keys::sides), QStringLiteral("6"));
    QCOMPARE(storedText(storeFile, keys::addHits), QStringLiteral("False"));
    QCOMPARE(storedText(storeFile, keys::addDamage), QStringLiteral("False"));
    QCOMPARE(storedText(storeFile, keys::turned), QStringLiteral("0"));
    // Shutdown never writes the font.
    QVERIFY(!storedHas(storeFile, keys::fontName));
    QVERIFY(!storedHas(storeFile, keys::fontSize));
}

void SettingsTest::restartKeepsChoices()
{
    {
        Run run(storeFile);
        run.ui().HScroll->setValue(150);
        run.ui().HScroll_Augen->setValue(9);
        run.ui().OptionWurf[0]->setChecked(true);
        run.ui().OptionWurf2[0]->setChecked(true);
        run.ui().Check_90Grad->setChecked(true);
        run.ui().SSTab->setCurrentPage(1);
        run.window.close();
    }
    Run run(storeFile);
    QCOMPARE(run.ui().HScroll->value(), 150);
    QCOMPARE(run.ui().txt_AnzahlWürfel->caption(), QStringLiteral("150"));
    QCOMPARE(run.ui().HScroll_Augen->value(), 9);
    QCOMPARE(run.ui().Würfelaugen->caption(), QStringLiteral("9"));
    QVERIFY(!run.ui().txt_Gewürfelt[9]->isEnabled());
    QVERIFY(run.ui().cmd_Würfel2[7]->isEnabled());
    QVERIFY(run.ui().OptionWurf[0]->isChecked() && !run.ui().OptionWurf[1]->isChecked());
    QVERIFY(run.ui().OptionWurf2[0]->isChecked());
    QVERIFY(run.ui().Check_90Grad->isChecked());
    QCOMPARE(run.ui().txt_Gewürfelt_2er2[4]->Vertical(), 1);
    QVERIFY(!run.ui().cmd_Schrift->isEnabled());
    // The page and the counts are not remembered.
    QCOMPARE(run.ui().SSTab->currentPage(), 0);
    QCOMPARE(run.ui().txt_Wurfinfo[0]->caption(), QStringLiteral("Wurf 0"));
}

void SettingsTest::unchangedRunRewritesSetupKeys()
{
    writeFile(storeFile, "[Setup]\nOptionWurf=1\nCheck_90Grad=1\n\n[Other]\nKeep=me\n");
    {
        Run run(storeFile);
        run.window.close();
    }
    QCOMPARE(storedText(storeFile, keys::diceCount), QStringLiteral("60"));
    QCOMPARE(storedText(storeFile, keys::sides), QStringLiteral("6"));
    QCOMPARE(storedText(storeFile, keys::addHits), QStringLiteral("True"));
    QCOMPARE(storedText(storeFile, keys::addDamage), QStringLiteral("False"));
    QCOMPARE(storedText(storeFile, keys::turned), QStringLiteral("1"));
    QVERIFY(readFile(storeFile).contains("Keep=me"));
}

void SettingsTest::additionOnFirstPageOnly()
{
    writeFile(storeFile, "[Setup]\nOptionWurf=True\nOptionWurf2=False\n");
    Run run(storeFile);
    QVERIFY(run.ui().OptionWurf[0]->isChecked());
    QVERIFY(!run.ui().OptionWurf[1]->isChecked());
    QVERIFY(!run.ui().OptionWurf2[0]->isChecked());
    QVERIFY(run.ui().OptionWurf2[1]->isChecked());
}

void SettingsTest::storedTurnStartsTurned()
{
    writeFile(storeFile, "[Setup]\nCheck_90Grad=1\n");
    Run run(storeFile);
    QVERIFY(run.ui().Check_90Grad->isChecked());
    for (CountLabel *label : run.ui().countLabels())
        QCOMPARE(label->Vertical(), 1);
    QVERIFY(!run.ui().cmd_Schrift->isEnabled());
}

void SettingsTest::storedSixSidesLeavesDesignedLooks()
{
    writeFile(storeFile, "[Setup]\nAugen=6\n");
    Run run(storeFile);
    // No sides update ran: the labels keep their designed white, and the caption its blank.
    for (CountLabel *label : run.ui().countLabels()) {
        QVERIFY(label->isEnabled());
        QCOMPARE(label->backColor(), QColor(0xFF, 0xFF, 0xFF));
    }
    for (int i = 0; i < 9; ++i)
        QCOMPARE(run.ui().cmd_Würfel2[static_cast<std::size_t>(i)]->isEnabled(), i < 5);
    QCOMPARE(run.ui().Label_Augen->caption(), QStringLiteral("Würfelanzahl mit 6 Seiten "));
    // The first move brings everything in line.
    run.ui().HScroll_Augen->setValue(7);
    run.ui().HScroll_Augen->setValue(6);
    QVERIFY(!run.ui().txt_Gewürfelt[6]->isEnabled());
}

void SettingsTest::damagedValuesFallBack_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("value");
    const QList<QByteArray> junk = {"", "abc", "99999999999999999999", "12.5", "\x01\xff\xfe\x80"};
    for (const char *key : {"Würfelanzahl", "Augen", "OptionWurf", "OptionWurf2", "Check_90Grad"}) {
        for (const QByteArray &value : junk)
            QTest::addRow("%s=%s", key, value.toHex().constData())
                << QString::fromUtf8(key) << value;
    }
    for (const QByteArray &value : {QByteArray("-5"), QByteArray("0"), QByteArray("201")})
        QTest::addRow("Würfelanzahl=%s", value.constData())
            << QStringLiteral("Würfelanzahl") << value;
    for (const QByteArray &value : {QByteArray("-5"), QByteArray("1"), QByteArray("11")})
        QTest::addRow("Augen=%s", value.constData()) << QStringLiteral("Augen") << value;
    for (const QByteArray &value : {QByteArray("-1"), QByteArray("3"), QByteArray("2")})
        QTest::addRow("Check_90Grad=%s", value.constData())
            << QStringLiteral("Check_90Grad") << value;
}

void SettingsTest::damagedValuesFallBack()
{
    QFETCH(QString, key);
    QFETCH(QByteArray, value);
    // Every key holds a valid value other than its default, but one.
    QMap<QString, QByteArray> values = {{QStringLiteral("Würfelanzahl"), "123"},
                                        {QStringLiteral("Augen"), "9"},
                                        {QStringLiteral("OptionWurf"), "True"},
                                        {QStringLiteral("OptionWurf2"), "True"},
                                        {QStringLiteral("Check_90Grad"), "1"}};
    values[key] = value;
    QByteArray content = "[Setup]\n";
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        content += it.key().toUtf8() + '=' + it.value() + '\n';
    writeFile(storeFile, content);

    Run run(storeFile);
    auto expect = [&](const QString &name, auto damaged, auto intact) {
        return name == key ? damaged : intact;
    };
    QCOMPARE(run.ui().HScroll->value(), expect(QStringLiteral("Würfelanzahl"), 60, 123));
    QCOMPARE(run.ui().HScroll_Augen->value(), expect(QStringLiteral("Augen"), 6, 9));
    QCOMPARE(run.ui().OptionWurf[0]->isChecked(),
             expect(QStringLiteral("OptionWurf"), false, true));
    QCOMPARE(run.ui().OptionWurf2[0]->isChecked(),
             expect(QStringLiteral("OptionWurf2"), false, true));
    QCOMPARE(run.ui().Check_90Grad->isChecked(),
             expect(QStringLiteral("Check_90Grad"), false, true));
    QCOMPARE(run.ui().txt_AnzahlWürfel->caption(), QString::number(run.ui().HScroll->value()));
}

void SettingsTest::damagedFileStartsNormally()
{
    writeFile(storeFile, QByteArray("\x00\xff[Setup\nAugen\n==\n[Setup]\nAugen=8\n", 32) +
                             QByteArray(100000, 'x') + "\n[Font]\nFontBold=maybe\n");
    {
        Run run(storeFile);
        QVERIFY(run.ui().HScroll_Augen->value() >= 2 && run.ui().HScroll_Augen->value() <= 10);
        QCOMPARE(run.ui().HScroll->value(), 60);
        QVERIFY(!run.ui().txt_Gewürfelt[0]->labelFont().bold());
        run.window.close();
    }
    // The next run reads what the damaged one wrote.
    Run run(storeFile);
    QCOMPARE(storedText(storeFile, keys::diceCount), QStringLiteral("60"));
}

void SettingsTest::unwritableStoreAtClose()
{
    // A folder that is a file: nothing can be written below it, not even by root.
    const QString blocker = dir->filePath(QStringLiteral("not-a-folder"));
    writeFile(blocker, "x");
    const QString unwritable = blocker + QStringLiteral("/Talvero.conf");
    StderrCapture capture;
    {
        Run run(unwritable);
        run.window.show();
        run.ui().HScroll->setValue(99);
        QVERIFY(run.window.close());
        QVERIFY(!run.window.isVisible());
    }
    const QString warning = capture.text();
    QVERIFY2(warning.contains(QStringLiteral("nicht gespeichert")), qPrintable(warning));
    QCOMPARE(warning.count(QLatin1Char('\n')), 1);
    QCOMPARE(readFile(blocker), QByteArray("x"));
}

void SettingsTest::readOnlyFileKeepsItsContents()
{
    if (::geteuid() == 0)
        QSKIP("file permissions do not bind root");
    writeFile(storeFile, "[Setup]\nW%FCrfelanzahl=42\n");
    QFile::setPermissions(storeFile, QFileDevice::ReadOwner);
    QFile::setPermissions(dir->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    StderrCapture capture;
    {
        Run run(storeFile);
        QCOMPARE(run.ui().HScroll->value(), 42);
        run.ui().HScroll->setValue(7);
        run.window.close();
    }
    QFile::setPermissions(dir->path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(capture.text().contains(QStringLiteral("nicht gespeichert")));
    QCOMPARE(readFile(storeFile), QByteArray("[Setup]\nW%FCrfelanzahl=42\n"));
}

void SettingsTest::closedByQuitStillSaves()
{
    {
        Run run(storeFile);
        run.ui().HScroll->setValue(77);
        // The application quits without the window being closed first.
        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        QCoreApplication::exec();
        QCOMPARE(storedText(storeFile, keys::diceCount), QStringLiteral("77"));
        run.ui().HScroll->setValue(78);
        run.window.close(); // saved once only
    }
    QCOMPARE(storedText(storeFile, keys::diceCount), QStringLiteral("77"));
}

void SettingsTest::terminationSignalClosesAndSaves()
{
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        {
            Run run(storeFile);
            CloseOnSignals closer(run.window);
            run.window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&run.window));
            run.ui().HScroll->setValue(100 + signal);
            QVERIFY(::raise(signal) == 0); // handled: the process lives on
            QTRY_VERIFY(!run.window.isVisible());
        }
        QCOMPARE(storedText(storeFile, keys::diceCount), QString::number(100 + signal));
    }
}

void SettingsTest::fontChoiceAppliesAndIsRemembered()
{
    std::vector<FontChoice> presets;
    {
        Run run(storeFile);
        run.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&run.window));
        const qreal layoutSize = run.ui().txt_Gewürfelt[0]->labelFont().pointSizeF();
        run.ui().CommonDialog->setPicker(std::make_unique<ScriptedPicker>(
            FontChoice{QStringLiteral("DejaVu Serif"), true, false, 14.0f}, &presets));
        QTest::mouseClick(run.ui().cmd_Schrift, Qt::LeftButton);

        QCOMPARE(presets.size(), std::size_t(1));
        QCOMPARE(presets[0].name, QStringLiteral("MS Sans Serif"));
        QCOMPARE(presets[0].size, 8.0f);
        QVERIFY(!presets[0].bold && !presets[0].italic);
        for (CountLabel *label : run.ui().countLabels()) {
            QCOMPARE(label->labelFont().family(), QStringLiteral("DejaVu Serif"));
            QVERIFY(label->labelFont().bold());
            QVERIFY(!label->labelFont().italic());
            QCOMPARE(label->labelFont().pointSizeF(), layoutSize); // the layout's, not 14
        }
        // Stored at once, before any close.
        QCOMPARE(storedText(storeFile, keys::fontName), QStringLiteral("DejaVu Serif"));
        QCOMPARE(storedText(storeFile, keys::fontBold), QStringLiteral("True"));
        QCOMPARE(storedText(storeFile, keys::fontItalic), QStringLiteral("False"));
        QCOMPARE(storedText(storeFile, keys::fontSize), QStringLiteral("14"));

        // The next opening starts from that choice.
        QTest::mouseClick(run.ui().cmd_Schrift, Qt::LeftButton);
        QCOMPARE(presets.back().name, QStringLiteral("DejaVu Serif"));
        QVERIFY(presets.back().bold);
        QCOMPARE(presets.back().size, 14.0f);
        run.window.close();
    }
    QCOMPARE(storedText(storeFile, keys::fontName), QStringLiteral("DejaVu Serif"));
    // After a restart the labels show the choice.
    Run run(storeFile);
    for (CountLabel *label : run.ui().countLabels()) {
        QCOMPARE(label->labelFont().family(), QStringLiteral("DejaVu Serif"));
        QVERIFY(label->labelFont().bold());
    }
}

void SettingsTest::fontCancelChangesNothing()
{
    writeFile(storeFile, "[Font]\nFontName=DejaVu Sans\nFontItalic=True\n");
    const QByteArray before = readFile(storeFile);
    std::vector<FontChoice> presets;
    Run run(storeFile);
    run.ui().CommonDialog->setPicker(std::make_unique<ScriptedPicker>(std::nullopt, &presets));
    run.window.ui.cmd_Schrift->click();
    QCOMPARE(presets.size(), std::size_t(1));
    QCOMPARE(readFile(storeFile), before);
    for (CountLabel *label : run.ui().countLabels()) {
        QCOMPARE(label->labelFont().family(), QStringLiteral("DejaVu Sans"));
        QVERIFY(label->labelFont().italic());
    }
}

void SettingsTest::fontPresetsFromStore()
{
    writeFile(storeFile, "[Font]\nFontName=Liberation Serif\nFontBold=1\nFontItalic=TRUE\n"
                         "FontSize=zwölf\n");
    std::vector<FontChoice> presets;
    Run run(storeFile);
    auto picker = std::make_unique<ScriptedPicker>(std::nullopt, &presets);
    ScriptedPicker *seen = picker.get();
    run.ui().CommonDialog->setPicker(std::move(picker));
    run.ui().CommonDialog->setFontSize(11.5f); // what the dialog held before
    run.ui().cmd_Schrift->click();
    QCOMPARE(presets.at(0).name, QStringLiteral("Liberation Serif"));
    QVERIFY(presets.at(0).bold);
    QVERIFY(presets.at(0).italic);
    QCOMPARE(presets.at(0).size, 11.5f); // the damaged size was skipped
    QCOMPARE(seen->lastFlags, 3);
    QVERIFY(run.ui().CommonDialog->cancelError());
}

void SettingsTest::fontSizeWrittenWithPoint()
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::vector<FontChoice> presets;
    {
        Run run(storeFile);
        run.ui().CommonDialog->setPicker(std::make_unique<ScriptedPicker>(
            FontChoice{QStringLiteral("DejaVu Sans"), false, true, 10.5f}, &presets));
        run.ui().cmd_Schrift->click();
    }
    QLocale::setDefault(previous);
    QCOMPARE(storedText(storeFile, keys::fontSize), QStringLiteral("10.5"));
    QCOMPARE(storedText(storeFile, keys::fontItalic), QStringLiteral("True"));
}

void SettingsTest::damagedFontValuesKeepLabels()
{
    writeFile(storeFile, "[Font]\nFontName=\nFontBold=fett\nFontItalic=\x01\xff\n");
    Run run(storeFile);
    for (CountLabel *label : run.ui().countLabels()) {
        QCOMPARE(label->labelFont().family(), QStringLiteral("MS Sans Serif"));
        QVERIFY(!label->labelFont().bold() && !label->labelFont().italic());
    }
    // A face nobody has: the label takes it, and Qt draws the nearest available one.
    writeFile(storeFile, "[Font]\nFontName=No Such Face 4711\n");
    SettingsStore store(storeFile);
    SchriftSetzen(run.window, store);
    QCOMPARE(run.ui().txt_Gewürfelt[0]->labelFont().family(), QStringLiteral("No Such Face 4711"));
    QVERIFY(!QFontInfo(run.ui().txt_Gewürfelt[0]->labelFont()).family().isEmpty());
}

void SettingsTest::qtFontDialogSpeaksGermanWithoutEffects()
{
    QTranslator translator;
    const bool german = installGermanTranslation(translator);
    QString title;
    bool effectsShown = true;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        title = dialog->windowTitle();
        effectsShown = false;
        for (QCheckBox *box : dialog->findChildren<QCheckBox *>())
            effectsShown = effectsShown || box->isVisible();
        dialog->accept();
    });
    QtFontPicker picker;
    const auto choice =
        picker.pick(FontChoice{QStringLiteral("DejaVu Sans"), true, false, 12.0f}, 3, nullptr);
    // The design's default face opens as the face that stands in for it.
    QString openedOn;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        openedOn = dialog->currentFont().family();
        dialog->reject();
    });
    QVERIFY(
        !picker.pick(FontChoice{QStringLiteral("MS Sans Serif"), false, false, 8.0f}, 3, nullptr));
    QCOMPARE(openedOn, QFontInfo(designFont()).family());
    QCoreApplication::removeTranslator(&translator);
    QVERIFY(choice.has_value());
    QVERIFY(choice->bold);
    QCOMPARE(choice->size, 12.0f);
    QVERIFY(!effectsShown);
    if (!german)
        QSKIP("Qt's German translation is not installed");
    QVERIFY2(title != QStringLiteral("Select Font"), qPrintable(title));
}

void SettingsTest::aboutText()
{
    const QString text = talvero::aboutText();
    const QStringList lines = text.split(QLatin1Char('\r'));
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QStringLiteral("Talvero Version 1.01.01"));
    QVERIFY(lines[1].isEmpty());
    for (int i = 2; i < 6; ++i)
        QVERIFY(!lines[i].isEmpty());
    QVERIFY(!text.contains(QLatin1Char('\n')));
    QVERIFY(lines[3].contains(QStringLiteral("example.")));
    QVERIFY(lines[4].contains(QStringLiteral("example.")));
}

void SettingsTest::aboutBoxFromLogo()
{
    Run run(storeFile);
    run.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&run.window));
    QString shownText;
    int shownLines = 0;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        QCOMPARE(box->icon(), QMessageBox::Information);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box->windowTitle(), aboutTitle());
        shownText = box->text();
        // Rendered as six lines: the label is at least six lines high.
        auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        shownLines = label->sizeHint().height() / label->fontMetrics().lineSpacing();
        box->accept();
    });
    QTest::mouseClick(run.ui().Logo, Qt::LeftButton);
    QCOMPARE(shownText.split(QLatin1Char('\n')).size(), 6);
    QVERIFY(shownText.startsWith(QStringLiteral("Talvero Version 1.01.01\n\n")));
    QVERIFY2(shownLines >= 6, qPrintable(QString::number(shownLines)));
}

void SettingsTest::closeCommandSavesAndCloses()
{
    {
        Run run(storeFile);
        run.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&run.window));
        run.ui().HScroll->setValue(31);
        QTest::mouseClick(run.ui().cmd_Ende, Qt::LeftButton);
        QVERIFY(!run.window.isVisible());
    }
    QCOMPARE(storedText(storeFile, keys::diceCount), QStringLiteral("31"));
    {
        Run run(storeFile);
        run.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&run.window));
        run.ui().HScroll->setValue(32);
        QTest::keyClick(&run.window, Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(!run.window.isVisible());
    }
    QCOMPARE(storedText(storeFile, keys::diceCount), QStringLiteral("32"));
}

QTEST_MAIN(SettingsTest)
#include "test_settings.moc"
