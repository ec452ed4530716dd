#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <iterator>
#include <string>

// How values of a record set go into a report page's HTML: as text, never
// markup, and as addresses that end no attribute and start no script. The
// writers that run once per value are inline: the page writer appends every
// cell through them.
namespace zuvexal::html {

// The entity that writes a markup character as text, or nullptr.
inline const char *entityOf(char16_t c)
{
    switch (c) {
    case u'&': return "&amp;";
    case u'<': return "&lt;";
    case u'>': return "&gt;";
    case u'"': return "&quot;";
    case u'\'': return "&#39;";
    default: return nullptr;
    }
}

// Record set texts are data, never markup.
QString escaped(const QString &text);

// The fragment is built in a std::string: appending to it is cheap, and it
// keeps its memory from section to section.
inline void append(std::string &out, QByteArrayView bytes)
{
    out.append(bytes.data(), size_t(bytes.size()));
}

// escaped() for UTF-8: no byte of a longer character is ASCII, so the bytes
// are escaped one by one.
inline void appendEscaped(std::string &out, QByteArrayView text)
{
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (const char *entity = entityOf(uchar(text[i]))) {
            append(out, text.sliced(plainFrom, i - plainFrom));
            out += entity;
            plainFrom = i + 1;
        }
    }
    append(out, text.sliced(plainFrom));
}

// Appends a text in UTF-8, as QString::toUtf8 writes it.
inline void appendUtf8(std::string &out, QStringView text)
{
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x80; })) {
        append(out, text.toUtf8());
        return;
    }
    std::transform(text.begin(), text.end(), std::back_inserter(out), [](QChar c) { return char(c.unicode()); });
}

// An address from the record set inside src or href: white space would end
// an unquoted attribute, and browsers drop controls before reading a scheme.
QString addressValue(const QString &address);
// addressValue() for an ASCII address, appended.
void appendAsciiAddress(std::string &out, QByteArrayView address);
// A picture's file path inside src or href, where a browser reads it as a
// URL: '%' would start an escape, '#' a fragment and '?' a query.
QString picturePathValue(QString path);

inline bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Whether a link target may go into href: no scheme, or http, https, ftp,
// mailto or file, read the way a browser reads it (leading controls and
// blanks skipped, tabs and line breaks ignored), so no spelling slips a
// script past. The target is in UTF-8.
bool hasSafeScheme(QByteArrayView target);

// The table colour as it goes into the page: a colour name (one word of
// letters and digits) or a #-hex colour; anything else, which could end the
// tag or open another, is WHITE.
QString pageColor(const QString &color);

} // namespace zuvexal::html
