#pragma once

#include <QColor>
#include <QString>

#include <optional>

// The colours of a report table as a browser paints them, and the text
// colours that stay readable on them.

namespace zuvexal {

// The colour a browser makes of a legacy colour attribute's value (HTML's
// rules for parsing a legacy colour value): a named colour, else the hex
// digits read in three parts, every other character counting as 0. Invalid
// for an empty value and "transparent".
QColor legacyColor(QString value);

// A colour's relative luminance as WCAG defines it and browsers compute it.
double relativeLuminance(const QColor &color);

// WCAG's contrast ratio of two colours, from 1 to 21.
double contrastRatio(const QColor &a, const QColor &b);

// The contrast text needs on a table to be readable (WCAG's AA level).
constexpr double ReadableContrast = 4.5;

// The colour of a table's text on its background: none where the page's
// black reads (a page keeps the black it had), else white.
std::optional<QColor> tableTextColor(const QColor &background);

// The colour of a table's links: none where the browser's own link colours
// (#0000EE, visited #551A8B) read, else the table's text colour.
std::optional<QColor> tableLinkColor(const QColor &background);

} // namespace zuvexal
