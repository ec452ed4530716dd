#include "nativereader_p.h"

#include "recordsetbuilder.h"

namespace zuvexal {

NativeReader::NativeReader(const char *driver)
    : m_driver(driver)
{
}

NativeReader::~NativeReader() = default;

void NativeReader::begin(const RecordSetBuilder &)
{
}

bool NativeReader::read(RecordSetBuilder &builder)
{
    begin(builder);
    for (;;) {
        const std::optional<Fetched> fetched = fetch();
        if (!fetched)
            return false;
        for (qsizetype row = 0; row < fetched->rows; ++row) {
            if (!appendRow(builder, row))
                return false;
        }
        if (!fetched->more)
            return true;
    }
}

void NativeReader::fail(const char *step)
{
    fail(messages(), step);
}

void NativeReader::fail(const QString &messages, const char *step)
{
    m_error = messages + QLatin1Char(' ') + QLatin1String(m_driver) + QStringLiteral(": ") + QLatin1String(step);
}

} // namespace zuvexal
