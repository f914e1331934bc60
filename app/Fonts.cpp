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

QFont ReportPrintFont(const QFont& font)
{
    const QString family = font.family();
    if (family != QStringLiteral("宋体") &&
        family.compare(QStringLiteral("SimSun"), Qt::CaseInsensitive) != 0)
        return font;
    InstallFontSubstitutions();
    QFont printed = font;
    // "宋体" stays behind the print face for any character it lacks.
    printed.setFamilies({QString::fromLatin1(ReportPrintFace), QStringLiteral("宋体")});
    return printed;
}
