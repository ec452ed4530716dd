#include "core/reporter/printing.h"

#include "platform/printer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QUrl>

namespace zuvexal {

namespace {

// Loads every picture a page names, resolved against the page's folder,
// into the document: laid out for print, relative sources would otherwise
// be looked up in the working folder.
void addPictures(QTextDocument &document, const QString &html, const QDir &pageFolder)
{
    static const QRegularExpression source(
        QString::fromLatin1(R"re(<img\b[^>]*?\bsrc\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+)))re"),
        QRegularExpression::CaseInsensitiveOption);
    for (auto it = source.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString name = match.captured(1) + match.captured(2) + match.captured(3);
        const QUrl url(name);
        const QString path = url.isLocalFile() ? url.toLocalFile() : QUrl::fromPercentEncoding(name.toUtf8());
        const QImage picture(pageFolder.absoluteFilePath(path));
        if (!picture.isNull())
            document.addResource(QTextDocument::ImageResource, url, picture);
    }
}

bool renderPdf(const QString &pageFile, const QString &pdfPath)
{
    QFile file(pageFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString html = QString::fromUtf8(file.readAll());
    QTextDocument document;
    addPictures(document, html, QFileInfo(pageFile).absoluteDir());
    document.setHtml(html);

    QPdfWriter writer(pdfPath);
    writer.setTitle(QFileInfo(pageFile).fileName());
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    document.print(&writer);
    return QFileInfo(pdfPath).size() > 0;
}

QString freePdfName(const QString &folder, const QString &pageFile)
{
    const QString base = QDir(folder).filePath(QFileInfo(pageFile).completeBaseName());
    QString name = base + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = base + QStringLiteral("-%1.pdf").arg(n);
    return name;
}

} // namespace

bool printPageFile(const QString &pageFile)
{
    if (!QFileInfo(pageFile).isFile())
        return false;
    if (const std::optional<QString> folder = platform::printToFolder()) {
        QDir().mkpath(*folder);
        return renderPdf(pageFile, freePdfName(*folder, pageFile));
    }
    QTemporaryDir spool;
    const QString pdf = spool.filePath(QStringLiteral("page.pdf"));
    return spool.isValid() && renderPdf(pageFile, pdf)
        && platform::printPdfFile(pdf, QFileInfo(pageFile).fileName());
}

bool PrintShownPage(const QString &PageFile, bool InBrowser)
{
    Q_UNUSED(InBrowser);
    return printPageFile(PageFile);
}

} // namespace zuvexal
