#include "core/reporter/htmltext.h"

#include <QRegularExpression>

#include <string_view>

namespace zuvexal::html {

namespace {

bool needsPercentEncoding(QChar c)
{
    return c.isSpace() || c.unicode() < 0x20 || c.unicode() == 0x7f;
}

bool isSchemeCharacter(char c)
{
    return isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

} // namespace

QString escaped(const QString &text)
{
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return entityOf(c.unicode()); }))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (QChar c : text) {
        if (const char *entity = entityOf(c.unicode()))
            out += QLatin1String(entity);
        else
            out += c;
    }
    return out;
}

QString addressValue(const QString &address)
{
    const QString text = escaped(address);
    if (std::none_of(text.begin(), text.end(), needsPercentEncoding))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (QChar c : text) {
        if (!needsPercentEncoding(c)) {
            out += c;
            continue;
        }
        for (char byte : QString(c).toUtf8())
            out += QLatin1Char('%') + QString::number(uchar(byte), 16).toUpper().rightJustified(2, u'0');
    }
    return out;
}

// Its white space and controls are the bytes up to the blank and DEL.
void appendAsciiAddress(std::string &out, QByteArrayView address)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < address.size(); ++i) {
        const auto u = uchar(address[i]);
        const char *entity = entityOf(u);
        if (u > 0x20 && u != 0x7f && !entity)
            continue;
        append(out, address.sliced(plainFrom, i - plainFrom));
        plainFrom = i + 1;
        if (entity) {
            out += entity;
        } else {
            out += '%';
            out += hex[u >> 4];
            out += hex[u & 15];
        }
    }
    append(out, address.sliced(plainFrom));
}

QString picturePathValue(QString path)
{
    path.replace(QLatin1Char('%'), QLatin1String("%25"))
        .replace(QLatin1Char('#'), QLatin1String("%23"))
        .replace(QLatin1Char('?'), QLatin1String("%3F"));
    return addressValue(path);
}

// A scheme is ASCII, and no byte of a longer UTF-8 character is.
bool hasSafeScheme(QByteArrayView target)
{
    qsizetype i = 0;
    while (i < target.size() && uchar(target[i]) <= 0x20)
        ++i;
    if (i == target.size() || !isAsciiLetter(target[i]))
        return true;
    std::string scheme;
    for (; i < target.size() && target[i] != ':'; ++i) {
        const char c = target[i];
        if (c == '\t' || c == '\n' || c == '\r')
            continue;
        if (!isSchemeCharacter(c))
            return true;
        scheme += asciiLower(c);
    }
    if (i == target.size())
        return true;
    static constexpr std::string_view safe[] = {"http", "https", "ftp", "mailto", "file"};
    return std::find(std::begin(safe), std::end(safe), scheme) != std::end(safe);
}

QString pageColor(const QString &color)
{
    static const QRegularExpression safe(QStringLiteral("^([A-Za-z0-9]+|#[0-9A-Fa-f]{3}|#[0-9A-Fa-f]{6})$"));
    return safe.match(color).hasMatch() ? color : QStringLiteral("WHITE");
}

} // namespace zuvexal::html
