#include "platform/compoundtext.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>
#include <utility>

namespace zuvexal::platform {

namespace {

QString decodeIn(const QByteArray &codec, QByteArrayView bytes, int width)
{
    if (codec == "ISO-8859-1")
        return QString::fromLatin1(bytes);
    QStringDecoder decoder(codec.constData());
    if (!decoder.isValid())
        return QString(bytes.size() / std::max(width, 1), QChar::ReplacementCharacter);
    return decoder(bytes);
}

// A character set that one half (GL or GR) of Compound Text designates.
// sevenBit: the codec takes the bytes with the high bit clear (ASCII);
// every other codec takes them with the high bit set (Latin-N, EUC-x).
struct Charset
{
    QByteArray codec;
    int width = 1;
    bool sevenBit = false;
};

std::optional<Charset> singleByteSet(char intermediate, char finalByte)
{
    if (intermediate == '-') {
        static const std::pair<char, const char *> latin[] = {
            {'A', "ISO-8859-1"}, {'B', "ISO-8859-2"},  {'C', "ISO-8859-3"},  {'D', "ISO-8859-4"},
            {'F', "ISO-8859-7"}, {'G', "ISO-8859-6"},  {'H', "ISO-8859-8"},  {'L', "ISO-8859-5"},
            {'M', "ISO-8859-9"}, {'V', "ISO-8859-10"}, {'Y', "ISO-8859-13"}, {'_', "ISO-8859-14"},
            {'b', "ISO-8859-15"}, {'f', "ISO-8859-16"}};
        for (const auto &[f, codec] : latin) {
            if (f == finalByte)
                return Charset{codec, 1, false};
        }
        return std::nullopt;
    }
    if (finalByte == 'B' || finalByte == 'J') // ASCII, and JIS Roman which differs only in two symbols
        return Charset{"ISO-8859-1", 1, true};
    if (finalByte == 'I')
        return Charset{"Shift_JIS", 1, false}; // half-width katakana
    return std::nullopt;
}

std::optional<Charset> doubleByteSet(char finalByte)
{
    switch (finalByte) {
    case 'A': return Charset{"GB2312", 2, false};
    case '@':
    case 'B': return Charset{"EUC-JP", 2, false};
    case 'C': return Charset{"EUC-KR", 2, false};
    default: return std::nullopt;
    }
}

// Escape sequences designate the character sets of GL (bytes below 0x80)
// and GR (above); consecutive bytes of one set are decoded together.
class CompoundTextDecoder
{
public:
    explicit CompoundTextDecoder(QByteArrayView text) : m_text(text) {}
    QString decode();

private:
    // The escape sequence at m_i; false when the text ends inside it.
    bool escape();
    // ESC % G: UTF-8 up to ESC % @.
    void utf8Segment();
    // ESC % / F: a length-prefixed segment in an encoding named before STX.
    void namedSegment();
    void put(const Charset &set, QByteArrayView bytes);
    void flush();

    QByteArrayView m_text;
    qsizetype m_i = 0;
    std::optional<Charset> m_gl = Charset{"ISO-8859-1", 1, true};
    std::optional<Charset> m_gr = Charset{"ISO-8859-1", 1, false};
    QString m_out;
    QByteArray m_run;
    QByteArray m_runCodec;
    int m_runWidth = 1;
};

QString CompoundTextDecoder::decode()
{
    const qsizetype n = m_text.size();
    while (m_i < n) {
        const uchar b = uchar(m_text[m_i]);
        if (b == 0x1B) {
            if (!escape())
                break;
            continue;
        }
        if (b == 0x9B) { // direction control: CSI ... ']'
            const qsizetype end = m_text.sliced(m_i).indexOf(']');
            m_i = end < 0 ? n : m_i + end + 1;
            continue;
        }
        if (b == '\t' || b == '\n' || b == ' ') {
            put(Charset{"ISO-8859-1", 1, true}, m_text.sliced(m_i, 1));
            ++m_i;
            continue;
        }
        if (b < 0x20 || (b >= 0x7F && b < 0xA0)) {
            ++m_i;
            continue;
        }
        const std::optional<Charset> &set = b < 0x80 ? m_gl : m_gr;
        const int width = set ? set->width : 1;
        if (m_i + width > n)
            break;
        if (set) {
            put(*set, m_text.sliced(m_i, width));
        } else {
            flush();
            m_out += QChar::ReplacementCharacter;
        }
        m_i += width;
    }
    flush();
    return m_out;
}

bool CompoundTextDecoder::escape()
{
    const qsizetype n = m_text.size();
    qsizetype j = m_i + 1;
    while (j < n && uchar(m_text[j]) >= 0x20 && uchar(m_text[j]) <= 0x2F)
        ++j;
    if (j >= n)
        return false;
    const QByteArrayView intermediates = m_text.sliced(m_i + 1, j - m_i - 1);
    const char finalByte = m_text[j];
    m_i = j + 1;
    if (finalByte < 0x30 || finalByte > 0x7E) // not an escape sequence: drop it
        return true;
    if (intermediates == "(")
        m_gl = singleByteSet('(', finalByte);
    else if (intermediates == ")" || intermediates == "-")
        m_gr = singleByteSet(intermediates[0], finalByte);
    else if (intermediates == "$(" || (intermediates == "$" && finalByte <= 'B'))
        m_gl = doubleByteSet(finalByte);
    else if (intermediates == "$)")
        m_gr = doubleByteSet(finalByte);
    else if (intermediates == "%" && finalByte == 'G')
        utf8Segment();
    else if (intermediates == "%/" && finalByte >= '0' && finalByte <= '4' && m_i + 2 <= n)
        namedSegment();
    return true;
}

void CompoundTextDecoder::utf8Segment()
{
    const qsizetype n = m_text.size();
    qsizetype end = m_text.sliced(m_i).indexOf(QByteArrayView("\x1b%@"));
    end = end < 0 ? n : m_i + end;
    flush();
    m_out += QString::fromUtf8(m_text.sliced(m_i, end - m_i));
    m_i = std::min(end + 3, n);
}

void CompoundTextDecoder::namedSegment()
{
    const qsizetype n = m_text.size();
    const qsizetype length = qsizetype(uchar(m_text[m_i]) & 0x7F) << 7 | (uchar(m_text[m_i + 1]) & 0x7F);
    const QByteArrayView segment = m_text.sliced(m_i + 2, std::min(length, n - m_i - 2));
    m_i += 2 + segment.size();
    const qsizetype stx = segment.indexOf('\x02');
    if (stx < 0)
        return;
    QByteArray name = segment.first(stx).toByteArray();
    if (name.endsWith("-0")) // X's registry-encoding form, e.g. "big5-0"
        name.chop(2);
    flush();
    m_out += decodeIn(name, segment.sliced(stx + 1), 1);
}

void CompoundTextDecoder::put(const Charset &set, QByteArrayView bytes)
{
    if (set.codec != m_runCodec || set.width != m_runWidth) {
        flush();
        m_runCodec = set.codec;
        m_runWidth = set.width;
    }
    for (char b : bytes)
        m_run += set.sevenBit ? char(b & 0x7F) : char(b | 0x80);
}

void CompoundTextDecoder::flush()
{
    if (!m_run.isEmpty())
        m_out += decodeIn(m_runCodec, m_run, m_runWidth);
    m_run.clear();
}

} // namespace

QString decodeCompoundText(QByteArrayView text)
{
    return CompoundTextDecoder(text).decode();
}

} // namespace zuvexal::platform
