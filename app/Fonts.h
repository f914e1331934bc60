// The program's typeface "宋体". Debian has no face of that name and
// fontconfig would fall back to a Japanese CJK face, so the first use
// registers Simplified Chinese faces as its substitutes.
#pragma once

#include <QFont>

// "宋体" at a pixel size (the windows' design sizes are in pixels).
QFont SongFontPx(int pixelSize);
// "宋体" at a point size (printing).
QFont SongFontPt(int pointSize);
// Registers the substitutes (idempotent); called by the two above.
void InstallFontSubstitutions();

// Reports and point lists are laid out in columns with spaces for "宋体",
// whose Latin characters are exactly half as wide as its Chinese ones. The
// Serif substitute is proportional and breaks those columns on paper, so
// printed report text uses this face instead, which keeps the 1:2 widths.
inline constexpr char ReportPrintFace[] = "Noto Sans Mono CJK SC";

// The font report text is printed in: "宋体" (or SimSun) becomes
// ReportPrintFace at the same size, weight and style; a face the user chose
// in the font dialog is printed as chosen.
QFont ReportPrintFont(const QFont& font);
