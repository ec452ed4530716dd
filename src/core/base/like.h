#pragma once

#include <QStringView>

namespace zuvexal {

// Wildcard match of a whole text, case-sensitive: '*' any run of characters
// (including '/'), '?' any one character, '#' one digit 0-9, "[list]" one
// character of the list, "[!list]" one character not in it. A list may hold
// ranges ("a-c"); '-' first or last in a list is literal; "[]" matches
// nothing and consumes nothing. Brackets quote the other wildcards ("[*]").
// A pattern with an unclosed '[' matches no text.
bool likeMatch(QStringView text, QStringView pattern);

} // namespace zuvexal
