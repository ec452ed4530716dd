#include "core/reporter/printing.h"
#include "core/reporter/tablecolors.h"

#include "platform/printer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPalette>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <limits>

namespace zuvexal {

namespace {

// The page laid out for print as a browser reads it. The file itself stays
// as the writer made it; only this copy is repaired for Qt's HTML subset:
// the sections' documents become one, the table tag whose colour value runs
// into its first row is split as a browser splits it, the cells' stray
// colour tags are dropped, the pictures' sources are made absolute, and
// the font tag without its '>' sets the face of everything after it.
struct PrintablePage
{
    QString html;
    QString fontFamily;
};

PrintablePage printablePage(QString text, const QDir &pageFolder)
{
    PrintablePage page;
    static const QRegularExpression documentTags(QStringLiteral(R"(</?(HTML|BODY)>|<HEAD>.*?</HEAD>)"),
                                                 QRegularExpression::CaseInsensitiveOption);
    text.remove(documentTags);
    static const QRegularExpression tableTag(QStringLiteral(R"(<TABLE([^<>]*?)\bBGCOLOR=([^\s>]*)>)"),
                                             QRegularExpression::CaseInsensitiveOption);
    QString repaired;
    qsizetype done = 0;
    for (auto it = tableTag.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QColor color = legacyColor(m.captured(2));
        repaired += text.mid(done, m.capturedStart() - done) + QStringLiteral("<TABLE") + m.captured(1);
        if (color.isValid())
            repaired += QStringLiteral("BGCOLOR=\"%1\"").arg(color.name());
        repaired += QLatin1Char('>');
        // What the colour value swallowed was the first row's tag.
        if (m.captured(2).contains(QLatin1Char('<')))
            repaired += QStringLiteral("<TR>");
        done = m.capturedEnd();
    }
    text = repaired + text.mid(done);
    static const QRegularExpression cellColor(QStringLiteral(R"(<BGCOLOR=[^>]*>)"),
                                              QRegularExpression::CaseInsensitiveOption);
    text.remove(cellColor);
    static const QRegularExpression fontTag(QStringLiteral(R"(<FONT FACE\s*=\s*([^\s,<>]*)[^<>]*</FONT>)"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = fontTag.match(text); m.hasMatch())
        page.fontFamily = m.captured(1);
    text.remove(fontTag);
    static const QRegularExpression source(
        QStringLiteral(R"re(<img\b[^>]*?\bsrc\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+)))re"),
        QRegularExpression::CaseInsensitiveOption);
    repaired.clear();
    done = 0;
    for (auto it = source.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(1) + m.captured(2) + m.captured(3);
        const QUrl url(name);
        const QString path = url.isLocalFile() ? url.toLocalFile() : QUrl::fromPercentEncoding(name.toUtf8());
        // Percent-encoded, so the source needs no HTML escaping.
        repaired += text.mid(done, m.capturedStart() - done) + QStringLiteral("<img src=\"file://")
            + QString::fromLatin1(QUrl::toPercentEncoding(pageFolder.absoluteFilePath(path), "/")) + QLatin1Char('"');
        done = m.capturedEnd();
    }
    page.html = QStringLiteral("<html><body>") + repaired + text.mid(done) + QStringLiteral("</body></html>");
    return page;
}

// Loads every picture the page names into the document, so the layout for
// print needs no file lookups of its own.
void addPictures(QTextDocument &document, const QString &html)
{
    static const QRegularExpression source(QStringLiteral(R"re(<img src="([^"]*)")re"));
    for (auto it = source.globalMatch(html); it.hasNext();) {
        const QUrl url(it.next().captured(1));
        const QImage picture(url.toLocalFile());
        if (!picture.isNull())
            document.addResource(QTextDocument::ImageResource, url, picture);
    }
}

// A stretch of the laid-out page, from top to bottom, that a sheet's end
// must not cut.
struct Span
{
    qreal top;
    qreal bottom;
};

// The span of a table row: from the top of its cells' first blocks to the
// bottom of their last ones.
Span rowSpan(const QAbstractTextDocumentLayout &layout, const QTextTable &table, int row)
{
    Span span{std::numeric_limits<qreal>::max(), 0};
    for (int column = 0; column < table.columns(); ++column) {
        const QTextTableCell cell = table.cellAt(row, column);
        if (!cell.isValid())
            continue;
        span.top = std::min(span.top, layout.blockBoundingRect(cell.firstCursorPosition().block()).top());
        span.bottom = std::max(span.bottom, layout.blockBoundingRect(cell.lastCursorPosition().block()).bottom());
    }
    return span;
}

void addTableRows(const QAbstractTextDocumentLayout &layout, QTextFrame *frame, qreal sheet, std::vector<Span> &spans)
{
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child)) {
            for (int row = 0; row < table->rows(); ++row) {
                const Span span = rowSpan(layout, *table, row);
                if (span.bottom - span.top <= sheet)
                    spans.push_back(span);
            }
        }
        addTableRows(layout, child, sheet, spans);
    }
}

// What a browser keeps whole on a sheet: every line of text (a picture
// stands in its line) and every table row that fits on a sheet.
std::vector<Span> unbreakableSpans(QTextDocument &document, qreal sheet)
{
    const QAbstractTextDocumentLayout &layout = *document.documentLayout();
    std::vector<Span> spans;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *lines = block.layout();
        if (!lines)
            continue;
        const qreal top = layout.blockBoundingRect(block).top() - lines->boundingRect().top();
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            if (line.height() <= sheet)
                spans.push_back({top + line.y(), top + line.y() + line.height()});
        }
    }
    addTableRows(layout, document.rootFrame(), sheet, spans);
    return spans;
}

// Where each sheet of the page starts, in layout units. A sheet ends before
// the first span that would reach over its end, in the gap above that span,
// so whatever fits on a sheet moves whole onto the next one as a browser
// moves it; a span that starts at the top of a sheet and still does not fit
// is cut at the sheet's end.
QList<qreal> sheetTops(std::vector<Span> spans, qreal sheet)
{
    QList<qreal> tops{0};
    qreal end = 0;
    for (const Span &span : spans)
        end = std::max(end, span.bottom);
    std::sort(spans.begin(), spans.end(), [](const Span &a, const Span &b) { return a.top < b.top; });
    while (end - tops.last() > sheet) {
        const qreal top = tops.last();
        qreal cut = top + sheet;
        for (bool moved = true; moved;) {
            moved = false;
            for (const Span &span : spans) {
                if (span.top > top && span.top < cut && span.bottom > cut) {
                    cut = span.top;
                    moved = true;
                }
            }
        }
        if (cut < top + sheet) {
            qreal above = top;
            for (const Span &span : spans) {
                if (span.bottom <= cut)
                    above = std::max(above, span.bottom);
            }
            cut = (above + cut) / 2;
        }
        tops << cut;
    }
    return tops;
}

// Paints the page sheet by sheet, each from its top to the next one's.
// Qt's own pagination cannot keep a row whole: it splits rows, and a page
// break asked for inside a row's cells stretches the row over an empty
// sheet and pushes the end of the page past the last one printed.
void printSheets(QTextDocument &document, qreal sheet, QPdfWriter &writer)
{
    const QList<qreal> tops = sheetTops(unbreakableSpans(document, sheet), sheet);
    const qreal width = document.textWidth();
    const qreal scale = writer.width() / width;
    QPainter painter(&writer);
    for (qsizetype i = 0; i < tops.size(); ++i) {
        if (i > 0)
            writer.newPage();
        const qreal top = tops[i];
        const qreal height = i + 1 < tops.size() ? tops[i + 1] - top : sheet;
        painter.save();
        painter.scale(scale, scale);
        painter.setClipRect(QRectF(0, 0, width, height));
        painter.translate(0, -top);
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, Qt::black);
        // Lines that only touch a cut belong to the sheet they are on.
        context.clip = QRectF(0, top + 0.5, width, height - 1);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
    }
}

bool renderPdf(const QString &pageFile, const QString &pdfPath)
{
    QFile file(pageFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const PrintablePage page = printablePage(QString::fromUtf8(file.readAll()), QFileInfo(pageFile).absoluteDir());
    QTextDocument document;
    if (!page.fontFamily.isEmpty())
        document.setDefaultFont(QFont(page.fontFamily));
    // Cells' contents sit in the middle, as in a browser.
    document.setDefaultStyleSheet(QStringLiteral("td, th { vertical-align: middle; }"));
    addPictures(document, page.html);
    document.setHtml(page.html);

    // Opened here, so a PDF that cannot be written fails quietly.
    QFile pdf(pdfPath);
    if (!pdf.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter writer(&pdf);
    writer.setTitle(QFileInfo(pageFile).fileName());
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    // The page is laid out as wide as its widest line needs, as a browser
    // window wide enough would show it, and scaled down onto the paper:
    // across a landscape page when that is wider than portrait, and no
    // smaller than half size (beyond that, cells wrap). The layout's units
    // are pixels at 96 dpi.
    document.setTextWidth(1e6);
    const qreal natural = document.idealWidth() + 2 * document.documentMargin();
    const qreal portrait = writer.pageLayout().paintRect(QPageLayout::Point).width() * 96.0 / 72.0;
    if (natural > portrait)
        writer.setPageOrientation(QPageLayout::Landscape);
    const QSizeF paper = writer.pageLayout().paintRect(QPageLayout::Point).size() * (96.0 / 72.0);
    const qreal width = std::clamp(natural, paper.width(), 2 * paper.width());
    document.setTextWidth(width);
    printSheets(document, width * paper.height() / paper.width(), writer);
    pdf.close();
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

std::optional<QString> printingUnavailable()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return std::nullopt;
    return QStringLiteral("printing needs a GUI application (QGuiApplication or QApplication); "
                          "a QCoreApplication host has no fonts to lay out pages");
}

bool printPageFile(const QString &pageFile)
{
    if (printingUnavailable() || !QFileInfo(pageFile).isFile())
        return false;
    if (const std::optional<QString> folder = platform::printToFolder()) {
        return QDir().mkpath(*folder) && renderPdf(pageFile, freePdfName(*folder, pageFile));
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
