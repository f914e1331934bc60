// The program's icon (packaging/icons, drawn for Ventacalc) at every size it
// is shipped in; the application object gives it to every window. Its
// pictures are decoded when first asked for.
#pragma once

#include <QIcon>
#include <QImage>

QIcon ApplicationIcon();

// A PNG picture built into the program (a ":/" resource) read as PNG without
// asking the image format plugins first: Qt would otherwise load every one
// of them to learn whether it reads PNG better, before the first paint.
// A null image if it cannot be read.
QImage BuiltInPng(const QString& resource);
