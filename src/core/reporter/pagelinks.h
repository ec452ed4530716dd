#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <utility>
#include <vector>

namespace zuvexal {

// The links of a section to the other sections of its page, made once per
// page length: a section writes them all but its own.
class SectionLinks
{
public:
    // Links to sections 1..last, leaving out sectionNo's own.
    void append(std::string &out, qint32 last, qint32 sectionNo);

private:
    qint32 m_last = 0;
    std::string m_links;
    std::vector<std::pair<qsizetype, qsizetype>> m_spans;
};

// The links of a page's last section to the run's pages, made once per run:
// a page writes them all but its own. Page files differ only in the page
// number before the extension.
class PageLinks
{
public:
    // "<HR>" and links to pages 1..pages, named after fileName with its
    // number page replaced, leaving out page's own.
    void append(std::string &out, const QString &fileName, qint32 page, qint32 pages);

private:
    void make(const QStringList &pieces, const QString &extension, qint32 pages);

    // Another page's name is the pieces joined by its number and extension.
    QStringList m_pieces;
    QString m_extension;
    qint32 m_pages = 0;
    std::string m_links;
    std::vector<std::pair<qsizetype, qsizetype>> m_spans; // each with the line break before it
};

} // namespace zuvexal
