#pragma once

#include <QMetaType>

#include <vector>

namespace zuvexal {

class RecordSetBuilder;

// What a value of a text protocol (PostgreSQL's and MariaDB's text results)
// becomes in a record set: the value the QtSql driver makes of its text.
enum class TextCell { Boolean, Int32, Integer, Real, Text, Bytes, Date, Time, Timestamp, TimestampTz };

// The cell of a column the QtSql driver gives values of type; a time stamp
// with its zone (TimestampTz) is the reader's to tell.
TextCell textCellFor(QMetaType type);

// Each column's texts into the builder's typed columns: the common forms
// straight, without a QVariant and without a time zone lookup, the rest
// (infinity, zero dates, years past 9999, times with a zone) through Qt's
// parsing, as the QtSql drivers read them.
class TextCells
{
public:
    TextCells() = default;
    explicit TextCells(std::vector<TextCell> cells);

    int count() const { return int(m_cells.size()); }
    TextCell at(int column) const { return m_cells[size_t(column)]; }
    // size bytes of text, not NUL-terminated; Bytes as they are.
    void append(RecordSetBuilder &builder, int column, const char *text, qsizetype size) const;

private:
    std::vector<TextCell> m_cells;
};

} // namespace zuvexal
