#include "app/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace talvero {

bool installGermanTranslation(QTranslator &translator)
{
    if (!translator.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

Application::Application(QApplication &app)
    : session_(window_, store_)
    , closeOnSignals_(window_)
{
    app.setApplicationName(QStringLiteral("Talvero"));
    app.setOrganizationName(QStringLiteral("Talvero"));
    // Lets the desktop match the window to its launcher and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Talvero"));
    installGermanTranslation(translator_);
}

} // namespace talvero
