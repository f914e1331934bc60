#include "app/Fonts.h"

#include <QStringList>

void InstallFontSubstitutions()
{
    static const bool installed = [] {
        const QStringList faces{QStringLiteral("Noto Serif CJK SC"),
                                QStringLiteral("Noto Sans CJK SC")};
        QFont::insertSubstitutions(QStringLiteral("宋体"), faces);
        QFont::insertSubstitutions(QStringLiteral("SimSun"), faces);
        return true;
    }();
    (void)installed;
}

QFont SongFontPx(int pixelSize)
{
    InstallFontSubstitutions();
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixelSize);
    return font;
}

QFont SongFontPt(int pointSize)
{
    InstallFontSubstitutions();
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(pointSize);
    return font;
}
