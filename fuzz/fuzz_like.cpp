// likeMatch on a pattern and a text: the input is the pattern, a NUL byte and
// the text, both UTF-8.
#include "fuzzsupport.h"

#include "core/base/like.h"

using namespace zuvexal;

namespace {

bool hasWildcard(const QString &pattern)
{
    for (QChar c : pattern) {
        if (c == u'*' || c == u'?' || c == u'#' || c == u'[')
            return true;
    }
    return false;
}

// Each character of text as a pattern matching exactly it: wildcards are
// quoted in brackets.
QString quoted(const QString &text)
{
    QString pattern;
    for (QChar c : text) {
        if (c == u'*' || c == u'?' || c == u'#' || c == u'[')
            pattern += QLatin1Char('[') + c + QLatin1Char(']');
        else
            pattern += c;
    }
    return pattern;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::vector<QByteArrayView> parts = fuzz::splitInput(data, size, 2);
    const QString pattern = fuzz::textOf(parts[0]);
    const QString text = fuzz::textOf(parts[1]);

    const bool matched = likeMatch(text, pattern);
    fuzz::require(likeMatch(text, u"*"), "'*' matches every text", text);
    fuzz::require(likeMatch(text, quoted(text)), "a text matches itself quoted", text);
    if (!hasWildcard(pattern))
        fuzz::require(matched == (text == pattern), "a pattern without wildcards matches only itself",
                      pattern + u'\n' + text);
    if (matched)
        fuzz::require(likeMatch(text + pattern, pattern + u'*'), "a trailing '*' takes any suffix",
                      pattern + u'\n' + text);
    return 0;
}
