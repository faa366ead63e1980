// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/fonts.h"

#include "choices/font_choice.h"

#include <QStringList>

namespace talvero {

namespace {

constexpr qreal kDesignPointSize = 8.25;

QFont font(const QString &family, qreal points)
{
    QFont f(family);
    f.setPointSizeF(points);
    return f;
}

} // namespace

void installFontSubstitutes()
{
    static const bool installed = [] {
        // Arial-like metrics first, then whatever sans face is there.
        QFont::insertSubstitutions(QString::fromUtf16(kDesignFace),
                                   {QStringLiteral("Liberation Sans"),
                                    QStringLiteral("Nimbus Sans"), QStringLiteral("Arimo"),
                                    QStringLiteral("Arial"), QStringLiteral("Helvetica"),
                                    QStringLiteral("DejaVu Sans")});
        // DejaVu Sans descends from Bitstream Vera, drawn to Verdana's wide metrics.
        QFont::insertSubstitutions(QStringLiteral("Verdana"),
                                   {QStringLiteral("DejaVu Sans"),
                                    QStringLiteral("Bitstream Vera Sans"),
                                    QStringLiteral("Liberation Sans")});
        return true;
    }();
    (void)installed;
}

QFont designFont()
{
    return font(QString::fromUtf16(kDesignFace), kDesignPointSize);
}

QFont buttonFont()
{
    return font(QStringLiteral("Verdana"), kDesignPointSize);
}

} // namespace talvero
