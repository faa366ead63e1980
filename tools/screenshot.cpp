// Renders Talvero's window after a roll into PNG files, for the README.
// Usage: talvero_screenshot <output folder>

#include "ui/main_window.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    talvero::MainWindow window;
    window.show();

    bool saved = false;
    QTimer::singleShot(0, &window, [&] {
        window.ui.cmd_Wuerfel1->click();
        saved = window.grab().save(out.filePath(QStringLiteral("hit-page.png")));
        window.ui.cmd_Wuerfel2[2]->click();
        window.ui.SSTab->setCurrentPage(1);
        saved = saved && window.grab().save(out.filePath(QStringLiteral("damage-page.png")));
        app.quit();
    });
    app.exec();
    return saved ? 0 : 1;
}
