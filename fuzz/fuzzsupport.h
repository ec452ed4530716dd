#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

// What every fuzz target shares: the Qt application, splitting an input into
// parts and failing a run when an invariant breaks.
namespace zuvexal::fuzz {

enum class Application { Core, Gui };

// Makes the application object once per process, with the offscreen platform
// and the C locale, so runs never depend on a display or on the machine's
// language. libFuzzer's own arguments are not handed to Qt.
void startApplication(Application kind);

// The input cut at NUL bytes into at most count parts; the last part keeps
// the rest, NULs included. Missing parts are empty.
std::vector<QByteArrayView> splitInput(const uint8_t *data, size_t size, size_t count);

inline QString textOf(QByteArrayView utf8)
{
    return QString::fromUtf8(utf8);
}

// Ends the run as a crash, naming the invariant and the values involved.
[[noreturn]] void fail(const char *invariant, const QString &detail = {});

inline void require(bool condition, const char *invariant, const QString &detail = {})
{
    if (!condition)
        fail(invariant, detail);
}

} // namespace zuvexal::fuzz
