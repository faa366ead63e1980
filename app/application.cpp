// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include "talvero/product.h"
#include "ui/controls/accessibility.h"
#include "ui/controls/fonts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>

namespace talvero {

namespace {

Q_LOGGING_CATEGORY(lcApp, "talvero.app");

} // namespace

bool installGermanTranslation(QTranslator &translator)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                         QStringLiteral("_"), folder)) {
        qCWarning(lcApp).noquote()
            << QStringLiteral("Qt's German texts (qtbase_de) are not in %1; dialogs keep Qt's "
                              "English texts. Debian has them in qt6-translations-l10n.")
                   .arg(folder);
        return false;
    }
    return QCoreApplication::installTranslator(&translator);
}

Application::ProcessSetup::ProcessSetup(QTranslator &translator)
{
    const QString name = QString::fromUtf16(product::kName);
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setOrganizationName(name);
    QGuiApplication::setDesktopFileName(QString::fromUtf16(product::kAppId));
    installGermanTranslation(translator);
    installFontSubstitutes();
    installAccessibility();
    offerContextMenu(MainWindow::staticMetaObject.className());
}

Application::Application(const RunSetup &setup)
    : processSetup_(translator_)
    , clock_(setup.clock)
    , store_(setup.settingsFile)
    , window_(*clock_, setup.startSeed)
    , session_(window_, store_)
    , closeOnSignals_(window_)
{}

int Application::run()
{
    window_.show();
    return QApplication::exec();
}

} // namespace talvero
