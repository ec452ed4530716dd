#include "core/base/like.h"

#include <optional>
#include <utility>
#include <vector>

namespace zuvexal {

namespace {

struct Token
{
    enum Kind { Star, AnyChar, Digit, Set, Literal };
    explicit Token(Kind k, char16_t c = 0) : kind(k), literal(c) {}

    Kind kind;
    char16_t literal;
    bool negated = false;
    std::vector<std::pair<char16_t, char16_t>> ranges;

    bool matches(char16_t c) const
    {
        switch (kind) {
        case AnyChar:
            return true;
        case Digit:
            return c >= u'0' && c <= u'9';
        case Literal:
            return c == literal;
        case Set: {
            bool inSet = false;
            for (const auto &[low, high] : ranges)
                inSet = inSet || (c >= low && c <= high);
            return inSet != negated;
        }
        case Star:
            break;
        }
        return false;
    }
};

std::optional<std::vector<Token>> compile(QStringView pattern)
{
    std::vector<Token> tokens;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i].unicode();
        if (c == u'*') {
            if (tokens.empty() || tokens.back().kind != Token::Star)
                tokens.emplace_back(Token::Star);
        } else if (c == u'?') {
            tokens.emplace_back(Token::AnyChar);
        } else if (c == u'#') {
            tokens.emplace_back(Token::Digit);
        } else if (c == u'[') {
            const qsizetype close = pattern.indexOf(u']', i + 1);
            if (close < 0)
                return std::nullopt;
            QStringView list = pattern.mid(i + 1, close - i - 1);
            i = close;
            if (list.isEmpty())
                continue;
            Token set(Token::Set);
            if (list.front() == u'!') {
                set.negated = true;
                list = list.mid(1);
            }
            for (qsizetype k = 0; k < list.size(); ++k) {
                const char16_t low = list[k].unicode();
                if (k + 2 < list.size() && list[k + 1] == u'-') {
                    const char16_t high = list[k + 2].unicode();
                    if (high < low)
                        return std::nullopt;
                    set.ranges.emplace_back(low, high);
                    k += 2;
                } else {
                    set.ranges.emplace_back(low, low);
                }
            }
            tokens.push_back(std::move(set));
        } else {
            tokens.emplace_back(Token::Literal, c);
        }
    }
    return tokens;
}

} // namespace

bool likeMatch(QStringView text, QStringView pattern)
{
    const std::optional<std::vector<Token>> compiled = compile(pattern);
    if (!compiled)
        return false;
    const std::vector<Token> &tokens = *compiled;

    // Every token but '*' consumes exactly one character, so the classic
    // greedy match with a single back-track point is exact.
    size_t t = 0;
    qsizetype s = 0;
    std::optional<size_t> starToken;
    qsizetype starText = 0;
    while (s < text.size()) {
        if (t < tokens.size() && tokens[t].kind == Token::Star) {
            starToken = t++;
            starText = s;
        } else if (t < tokens.size() && tokens[t].matches(text[s].unicode())) {
            ++t;
            ++s;
        } else if (starToken) {
            t = *starToken + 1;
            s = ++starText;
        } else {
            return false;
        }
    }
    while (t < tokens.size() && tokens[t].kind == Token::Star)
        ++t;
    return t == tokens.size();
}

} // namespace zuvexal
