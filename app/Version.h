// The program's version, set once in the top CMakeLists.txt (VENTACALC_VERSION,
// defined for the two programs' own sources and used for the package), for
// --version and the application object.
#pragma once

#include <QString>

inline QString VersionNumber()
{
    return QStringLiteral(VENTACALC_VERSION);
}

// "Ventacalc 3.00", as both programs' --version print it.
inline QString VersionText()
{
    return QStringLiteral("Ventacalc " VENTACALC_VERSION);
}
