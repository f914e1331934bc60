// The program's icon (packaging/icons, drawn for Ventacalc) at every size it
// is shipped in; the application object gives it to every window.
#pragma once

#include <QIcon>

QIcon ApplicationIcon();
