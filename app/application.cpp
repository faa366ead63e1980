// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include <QGuiApplication>
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

Application::Identity::Identity(QTranslator &translator)
{
    QCoreApplication::setApplicationName(QStringLiteral("Talvero"));
    QCoreApplication::setOrganizationName(QStringLiteral("Talvero"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Talvero"));
    installGermanTranslation(translator);
}

Application::Application()
    : identity_(translator_)
    , session_(window_, store_)
    , closeOnSignals_(window_)
{}

} // namespace talvero
