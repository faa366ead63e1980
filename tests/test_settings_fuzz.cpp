// Thousands of random and damaged settings files: the window always starts, with every value
// in range, and saves a sound file again when it closes.

#include "settings/session.h"
#include "settings/settings_store.h"
#include "support/window_helpers.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace talvero;
using namespace talvero::testing;

namespace {

const QByteArray kSound = "[Setup]\n"
                          "W%FCrfelanzahl=120\n"
                          "Augen=8\n"
                          "OptionWurf=True\n"
                          "OptionWurf2=False\n"
                          "Check_90Grad=1\n"
                          "\n"
                          "[Font]\n"
                          "FontName=DejaVu Sans\n"
                          "FontBold=True\n"
                          "FontItalic=False\n"
                          "FontSize=12\n";

const char *const kKeys[] = {"W%FCrfelanzahl", "Würfelanzahl", "Augen",    "OptionWurf",
                             "OptionWurf2",    "Check_90Grad", "FontName", "FontBold",
                             "FontItalic",     "FontSize"};

QByteArray randomBytes(QRandomGenerator &random, int length)
{
    QByteArray bytes(length, '\0');
    for (char &byte : bytes)
        byte = static_cast<char>(random.bounded(256));
    return bytes;
}

QByteArray randomValue(QRandomGenerator &random)
{
    switch (random.bounded(8)) {
    case 0:
        return QByteArray::number(random.bounded(-1000, 1000));
    case 1:
        return QByteArray::number(static_cast<qint64>(random.generate64()));
    case 2:
        return QByteArray::number(random.generateDouble() * 400 - 200, 'f', 3);
    case 3:
        return "True";
    case 4:
        return "\xff\xfe\xc3\x28\xe2\x82"; // not UTF-8
    case 5:
        return randomBytes(random, random.bounded(40)).replace('\n', ' ');
    case 6:
        return QByteArray(random.bounded(1, 20), '9');
    default:
        return QByteArray();
    }
}

// One damaged settings file of the kind numbered `kind`.
QByteArray damagedFile(QRandomGenerator &random, int kind)
{
    switch (kind) {
    case 0: // noise
        return randomBytes(random, random.bounded(4096));
    case 1: // cut off anywhere
        return kSound.left(random.bounded(kSound.size() + 1));
    case 2: { // bytes replaced, inserted and removed
        QByteArray file = kSound;
        for (int i = random.bounded(1, 12); i > 0; --i) {
            const int at = random.bounded(file.size());
            switch (random.bounded(3)) {
            case 0:
                file[at] = static_cast<char>(random.bounded(256));
                break;
            case 1:
                file.insert(at, static_cast<char>(random.bounded(256)));
                break;
            default:
                file.remove(at, 1);
                break;
            }
        }
        return file;
    }
    case 3: { // every key several times, with any value
        QByteArray file = random.bounded(2) ? "[Setup]\n" : "[Font]\n";
        for (int i = random.bounded(1, 30); i > 0; --i) {
            if (random.bounded(6) == 0)
                file += random.bounded(2) ? "[Setup]\n" : "[Font]\n";
            file += kKeys[random.bounded(10)] + QByteArray("=") + randomValue(random) + '\n';
        }
        return file;
    }
    case 4: { // one enormous value
        QByteArray file = kSound;
        const QByteArray key = kKeys[random.bounded(10)];
        return file + "[Setup]\n" + key + '=' +
               QByteArray(random.bounded(100'000, 1'000'000), '7') + "\n[Font]\n" + key + '=' +
               QByteArray(200'000, 'A') + '\n';
    }
    default: { // broken text in sections, keys and values
        QByteArray file = kSound;
        file.replace("Setup", random.bounded(2) ? "Set\xffup" : "Setup");
        file.replace("Augen=8", "Augen=\xc3\x28");
        file.replace("FontName=DejaVu Sans", "FontName=\xed\xa0\x80\xf0\x28\x8c\xbc");
        file.insert(random.bounded(file.size()), "\n\x80\x81=\xfe\n");
        return file;
    }
    }
}

} // namespace

class SettingsFuzzTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyFileStartsTheWindowInRange();
};

void SettingsFuzzTest::everyFileStartsTheWindowInRange()
{
    // Every run writes its file with a flush to disk; memory-backed storage keeps that quick.
    const QString shm = QStringLiteral("/dev/shm");
    QTemporaryDir dir(QFileInfo(shm).isWritable() ? shm + QStringLiteral("/talvero-fuzz-XXXXXX")
                                                  : QString());
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Talvero.conf"));
    QRandomGenerator random(4711);
    constexpr int files = 3000;
    int started = 0;

    for (int i = 0; i < files; ++i) {
        const QByteArray content = damagedFile(random, i % 6);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(content);
        }
        const QString context =
            QStringLiteral("file %1: %2")
                .arg(i)
                .arg(QString::fromLatin1(content.left(120).toPercentEncoding()));
        {
            SettingsStore store(path);
            MainWindow window;
            Session session(window, store);
            const WindowControls &ui = window.ui;
            const int dice = ui.HScroll->value();
            const int sides = ui.HScroll_Augen->value();
            QVERIFY2(dice >= 1 && dice <= 200, qPrintable(context));
            QVERIFY2(sides >= 2 && sides <= 10, qPrintable(context));
            QCOMPARE(ui.txt_AnzahlWürfel->caption(), QString::number(dice));
            QVERIFY2(ui.OptionWurf[0]->isChecked() != ui.OptionWurf[1]->isChecked(),
                     qPrintable(context));
            QVERIFY2(ui.OptionWurf2[0]->isChecked() != ui.OptionWurf2[1]->isChecked(),
                     qPrintable(context));
            const int turned = ui.Check_90Grad->isChecked() ? 1 : 0;
            QCOMPARE(ui.txt_Gewürfelt_2er2[8]->Vertical(), turned);
            QCOMPARE(ui.cmd_Schrift->isEnabled(), turned == 0);
            QCOMPARE(ui.SSTab->currentPage(), 0);
            QVERIFY(!ui.txt_Gewürfelt[0]->labelFont().family().isEmpty());
            window.close();
        }
        // What the closing wrote reads back in range.
        const SettingsStore saved(path);
        const auto dice = saved.readWhole(keys::diceCount);
        const auto sides = saved.readWhole(keys::sides);
        QVERIFY2(dice && *dice >= 1 && *dice <= 200, qPrintable(context));
        QVERIFY2(sides && *sides >= 2 && *sides <= 10, qPrintable(context));
        QVERIFY2(saved.readTruth(keys::addHits).has_value(), qPrintable(context));
        ++started;
    }
    QCOMPARE(started, files);
}

QTEST_MAIN(SettingsFuzzTest)
#include "test_settings_fuzz.moc"
