// SPDX-License-Identifier: GPL-3.0-or-later
// Renders Talvero's window after a roll, and the odds of that roll, into PNG files, for the
// README.
// Usage: talvero_screenshot <output folder>

#include "app/application.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    // On a settings file of its own: the designed choices, whatever the user's are.
    const QTemporaryDir folder;
    talvero::Application talvero({.settingsFile = folder.filePath(QStringLiteral("Talvero.conf"))});
    talvero::MainWindow &window = talvero.window();
    window.show();
    // The window's controls, by their design names, as a user finds them.
    auto click = [&](const QString &name) {
        window.findChild<QAbstractButton *>(name)->click();
    };

    bool saved = false;
    QTimer::singleShot(0, &window, [&] {
        click(QStringLiteral("cmd_Würfel1"));
        saved = window.grab().save(out.filePath(QStringLiteral("hit-page.png")));
        // The odds of that roll, from the context menu's "Chancen…" (Ctrl+I).
        for (QAction *action : window.actions())
            if (action->text() == QStringLiteral("Chancen…"))
                action->trigger();
        auto *odds = window.findChild<QWidget *>(QStringLiteral("Chancen"));
        saved = saved && odds;
        if (odds) {
            odds->resize(odds->sizeHint().width(), odds->sizeHint().height() + 80);
            QCoreApplication::processEvents();
            saved = saved && odds->grab().save(out.filePath(QStringLiteral("odds-window.png")));
            odds->close();
        }
        click(QStringLiteral("cmd_Würfel2(2)"));
        window.findChild<QWidget *>(QStringLiteral("SSTab"))
            ->findChild<QTabBar *>()
            ->setCurrentIndex(1);
        saved = saved && window.grab().save(out.filePath(QStringLiteral("damage-page.png")));
        app.quit();
    });
    app.exec();
    return saved ? 0 : 1;
}
