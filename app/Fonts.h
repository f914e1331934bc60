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
