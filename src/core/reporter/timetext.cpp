#include "core/reporter/timetext.h"

#include "core/base/values_p.h"

#include <QTime>

#include <algorithm>
#include <utility>

namespace zuvexal {

namespace {

// The quoted text that starts at the quote at i, as Qt reads it ('' is a
// quote, inside quotes too), and where the format goes on after it.
std::pair<QString, qsizetype> quotedAt(QStringView f, qsizetype i)
{
    ++i;
    if (i < f.size() && f[i] == u'\'')
        return {QStringLiteral("'"), i + 1};
    QString text;
    while (i < f.size() && !(f[i] == u'\'' && !(i + 1 < f.size() && f[i + 1] == u'\''))) {
        text += f[i];
        i += f[i] == u'\'' ? 2 : 1;
    }
    return {text, i < f.size() ? i + 1 : i};
}

} // namespace

TimeText::TimeText(const QLocale &locale)
    : m_locale(locale)
    , m_format(timeFormatWithoutZone(locale))
{
    for (int d = 0; d < 10; ++d)
        m_digits[d] = locale.toString(d).toStdString();
    const QStringView f = m_format;
    const auto repeatAt = [&](qsizetype i) {
        qsizetype n = 1;
        while (i + n < f.size() && f[i + n] == f[i])
            ++n;
        return n;
    };
    const auto literal = [&](QStringView text) {
        if (m_pieces.empty() || m_pieces.back().part != Part::Literal)
            m_pieces.push_back({Part::Literal, false, {}, {}});
        m_pieces.back().literal += text.toUtf8().toStdString();
    };
    for (qsizetype i = 0; i < f.size();) {
        const QChar c = f[i];
        if (c == u'\'') {
            const auto [text, next] = quotedAt(f, i);
            literal(text);
            i = next;
            continue;
        }
        const qsizetype repeat = repeatAt(i);
        switch (c.unicode()) {
        case 'h':
        case 'H':
        case 'm':
        case 's': {
            const Part part = c == u'm' ? Part::Minute
                : c == u's'           ? Part::Second
                : c == u'h'           ? Part::Hour
                                      : Part::Hour24;
            m_pieces.push_back({part, repeat >= 2, {}, {}});
            i += std::min<qsizetype>(repeat, 2);
            continue;
        }
        case 'a':
        case 'A': {
            const qsizetype length = i + 1 < f.size() && f[i + 1].toLower() == u'p' ? 2 : 1;
            const QString token = f.sliced(i, length).toString();
            m_pieces.push_back({Part::AmPm, false, locale.toString(QTime(0, 0), token).toStdString(),
                                locale.toString(QTime(12, 0), token).toStdString()});
            i += length;
            continue;
        }
        case 'z':
            m_byLocale = true;
            return;
        default:
            literal(f.sliced(i, repeat));
            i += repeat;
        }
    }
    m_twelveHours = std::any_of(m_pieces.begin(), m_pieces.end(), [](const Piece &p) { return p.part == Part::AmPm; });
}

void TimeText::appendNumber(std::string &out, int n, bool padded) const
{
    if (n >= 10)
        out += m_digits[n / 10];
    else if (padded)
        out += m_digits[0];
    out += m_digits[n % 10];
}

void TimeText::append(std::string &out, int msecs) const
{
    if (m_byLocale) {
        out += m_locale.toString(QTime::fromMSecsSinceStartOfDay(msecs), m_format).toStdString();
        return;
    }
    const int seconds = msecs / 1000;
    const int hour = seconds / 3600;
    for (const Piece &p : m_pieces) {
        switch (p.part) {
        case Part::Literal:
            out += p.literal;
            break;
        case Part::Hour:
            appendNumber(out, m_twelveHours ? (hour + 11) % 12 + 1 : hour, p.padded);
            break;
        case Part::Hour24:
            appendNumber(out, hour, p.padded);
            break;
        case Part::Minute:
            appendNumber(out, seconds / 60 % 60, p.padded);
            break;
        case Part::Second:
            appendNumber(out, seconds % 60, p.padded);
            break;
        case Part::AmPm:
            out += hour < 12 ? p.literal : p.pm;
            break;
        }
    }
}

} // namespace zuvexal
