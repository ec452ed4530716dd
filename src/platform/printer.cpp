#include "platform/printer.h"

#include <QFile>

#include <cups/cups.h>

namespace zuvexal::platform {

std::optional<QString> printToFolder()
{
    const QString folder = qEnvironmentVariable("ZUVEXAL_PRINT_TO");
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

bool printPdfFile(const QString &pdfPath, const QString &title)
{
    cups_dest_t *dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    const cups_dest_t *dest = cupsGetDest(nullptr, nullptr, count, dests);
    int job = 0;
    if (dest) {
        job = cupsPrintFile2(CUPS_HTTP_DEFAULT, dest->name, QFile::encodeName(pdfPath).constData(),
                             title.toUtf8().constData(), dest->num_options, dest->options);
    }
    cupsFreeDests(count, dests);
    return job > 0;
}

} // namespace zuvexal::platform
