// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/commands/about_box.h"

#include "talvero/product.h"

#include <QMessageBox>

namespace talvero {

namespace {

// Placeholders until the project has real contact details.
const char16_t *const kContactLines[] = {
    u"Programmiert vom Talvero-Team (Beispiel)",
    u"E-Mail: kontakt@example.com",
    u"Web: https://www.example.org/talvero",
    u"Telefon: +00 0000 000000 (Beispiel)",
};

} // namespace

QString aboutText()
{
    const QChar cr(u'\r');
    // ".0" goes before minor and revision whatever their number of digits: 1.1.1 shows as 1.01.01.
    QString text = QString::fromUtf16(product::kName) + QStringLiteral(" Version ") +
                   QString::number(product::kVersionMajor) + QStringLiteral(".0") +
                   QString::number(product::kVersionMinor) + QStringLiteral(".0") +
                   QString::number(product::kVersionRevision) + cr + cr +
                   QString::fromUtf16(kContactLines[0]);
    for (int i = 1; i < 4; ++i)
        text += cr + QString::fromUtf16(kContactLines[i]);
    return text;
}

QString aboutTitle()
{
    return QStringLiteral("Über ") + QString::fromUtf16(product::kName);
}

void showAbout(QWidget *parent)
{
    // Qt's labels do not break lines at a lone carriage return.
    QString shown = aboutText();
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(QMessageBox::Information, aboutTitle(), shown, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.setObjectName(QStringLiteral("About"));
    box.exec();
}

} // namespace talvero
