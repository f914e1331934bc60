#include "app/DocumentOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace
{

DocumentOpener& installed()
{
    static DocumentOpener opener;
    return opener;
}

} // namespace

bool OpenDocument(const QString& path)
{
    if (installed())
        return installed()(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void installDocumentOpener(DocumentOpener opener)
{
    installed() = std::move(opener);
}
