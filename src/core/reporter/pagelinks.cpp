#include "core/reporter/pagelinks.h"

#include "core/base/paths.h"
#include "core/reporter/htmltext.h"

namespace zuvexal {

namespace {

constexpr qint32 SectionLinksPerLine = 9;
constexpr qint32 VolLinksPerLine = 12;

// Everything but the span of the own link.
void appendAllBut(std::string &out, const std::string &links,
                  const std::vector<std::pair<qsizetype, qsizetype>> &spans, qint32 own)
{
    if (own < 1 || own > qint32(spans.size())) {
        out += links;
        return;
    }
    const auto [from, to] = spans[size_t(own - 1)];
    out.append(links, 0, size_t(from));
    out.append(links, size_t(to));
}

// The own file name cut where its page number stands before the extension.
QStringList piecesAround(const QString &own, const QString &ownNumbered)
{
    QStringList pieces;
    qsizetype from = 0;
    for (qsizetype at = own.indexOf(ownNumbered, 0, Qt::CaseInsensitive); at >= 0;
         at = own.indexOf(ownNumbered, from, Qt::CaseInsensitive)) {
        pieces << own.mid(from, at - from);
        from = at + ownNumbered.size();
    }
    pieces << own.mid(from);
    return pieces;
}

} // namespace

void SectionLinks::append(std::string &out, qint32 last, qint32 sectionNo)
{
    if (last < 1)
        return;
    if (last != m_last) {
        m_last = last;
        m_links.clear();
        m_spans.clear();
        for (qint32 k = 1; k <= last; ++k) {
            // The line breaks stand where they would with every link written.
            if (k % SectionLinksPerLine == 1 && k > 1)
                m_links += "<Br>";
            const qsizetype from = m_links.size();
            const std::string n = std::to_string(k);
            m_links += "<A HRef='#Section" + n + "'>Section" + n + "</A>...";
            m_spans.emplace_back(from, m_links.size());
        }
    }
    appendAllBut(out, m_links, m_spans, sectionNo);
}

void PageLinks::append(std::string &out, const QString &fileName, qint32 page, qint32 pages)
{
    out += "<HR>";
    const QString own = FileNamePart(fileName).toLower();
    QString extension;
    if (own.endsWith(QLatin1String(".htm")) || own.endsWith(QLatin1String(".html")))
        extension = QStringLiteral(".htm");
    else if (own.endsWith(QLatin1String(".asp")))
        extension = QStringLiteral(".asp");
    const QStringList pieces =
        extension.isEmpty() ? QStringList{own} : piecesAround(own, QString::number(page) + extension);
    if (m_links.empty() || pieces != m_pieces || extension != m_extension || pages != m_pages)
        make(pieces, extension, pages);
    appendAllBut(out, m_links, m_spans, page);
}

void PageLinks::make(const QStringList &pieces, const QString &extension, qint32 pages)
{
    m_pieces = pieces;
    m_extension = extension;
    m_pages = pages;
    QString links;
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    for (qint32 v = 1; v <= pages; ++v) {
        const qsizetype from = links.size();
        if (v % VolLinksPerLine == 1 && v > 1)
            links += QLatin1String("<Br>");
        const QString number = QString::number(v);
        links += QLatin1String("<A HRef='");
        links += pieces.front();
        for (qsizetype i = 1; i < pieces.size(); ++i)
            links += number + extension + pieces[i];
        links += QLatin1String("'>Vol ") + number + QLatin1String("</A>...");
        spans.emplace_back(from, links.size());
    }
    // Every span starts and ends at ASCII, so its UTF-8 bounds follow from
    // the lengths of the UTF-8 before them.
    m_links.clear();
    m_spans.clear();
    qsizetype converted = 0;
    for (const auto &[from, to] : spans) {
        html::append(m_links, QStringView(links).sliced(converted, from - converted).toUtf8());
        const auto start = qsizetype(m_links.size());
        html::append(m_links, QStringView(links).sliced(from, to - from).toUtf8());
        m_spans.emplace_back(start, qsizetype(m_links.size()));
        converted = to;
    }
}

} // namespace zuvexal
