#pragma once

#include <QString>

#include <optional>

namespace zuvexal::platform {

// The folder named by ZUVEXAL_PRINT_TO: printed pages become PDF files
// there instead of going to a printer (tests, machines without one).
std::optional<QString> printToFolder();

// Sends a PDF file to the default CUPS destination as one job. False when
// there is no default printer or CUPS refuses the job.
bool printPdfFile(const QString &pdfPath, const QString &title);

} // namespace zuvexal::platform
