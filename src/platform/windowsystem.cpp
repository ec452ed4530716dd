#include "platform/windowsystem.h"

#include "platform/wayland.h"

#include <QByteArrayView>
#include <QGuiApplication>
#include <QStringDecoder>

#include <xcb/xcb.h>
#include <xcb/xcb_icccm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace zuvexal::platform {

namespace {

constexpr qsizetype MaxTextLength = 255;

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using XcbPtr = std::unique_ptr<T, FreeDeleter>;

// Callers get at most 255 characters of a title or class name, the most
// their fixed buffers ever held; the cut never leaves half a surrogate pair.
QString limited(QString text)
{
    if (text.size() > MaxTextLength)
        text.truncate(text.at(MaxTextLength - 1).isHighSurrogate() ? MaxTextLength - 1 : MaxTextLength);
    return text;
}

// Properties may carry several NUL-separated texts; a title is the first.
QByteArrayView firstText(const char *data, qsizetype length)
{
    const void *nul = std::memchr(data, 0, size_t(length));
    return QByteArrayView(data, nul ? static_cast<const char *>(nul) - data : length);
}

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

// Compound Text, X11's ISO 2022 profile for titles of older clients: GL
// starts as ASCII and GR as the right half of Latin-1; escape sequences
// switch either half to another set or open a segment in a named encoding.
// Sets we cannot map give U+FFFD per character rather than wrong letters.
// Decodes Compound Text (ISO 2022 with X's extensions): escape sequences
// designate the character sets of GL (bytes below 0x80) and GR (above);
// consecutive bytes of one set are decoded together.
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

QString decodeCompoundText(QByteArrayView text)
{
    return CompoundTextDecoder(text).decode();
}

// Sends every request before reading a reply: one round trip for all.
void internAtoms(xcb_connection_t *c, std::initializer_list<std::pair<const char *, xcb_atom_t *>> atoms)
{
    std::vector<xcb_intern_atom_cookie_t> cookies;
    for (const auto &[name, atom] : atoms)
        cookies.push_back(xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name));
    auto cookie = cookies.begin();
    for (const auto &[name, atom] : atoms) {
        const XcbPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, *cookie++, nullptr));
        *atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
}

} // namespace

struct X11WindowSystem::Connection
{
    xcb_connection_t *c = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    xcb_atom_t netWmName = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
    xcb_atom_t compoundText = XCB_ATOM_NONE;
    xcb_atom_t netActiveWindow = XCB_ATOM_NONE;

    ~Connection() { xcb_disconnect(c); }

    // A server that went away leaves the connection in an error state; from
    // then on every window is treated as gone.
    bool alive() const { return !xcb_connection_has_error(c); }

    // Waits for a reply; an X error (typically a window that vanished) gives
    // no reply.
    template<typename Reply, typename Cookie>
    XcbPtr<Reply> reply(Reply *(*wait)(xcb_connection_t *, Cookie, xcb_generic_error_t **), Cookie cookie) const
    {
        xcb_generic_error_t *error = nullptr;
        XcbPtr<Reply> result(wait(c, cookie, &error));
        std::free(error);
        return result;
    }

    bool succeeded(xcb_void_cookie_t cookie) const
    {
        xcb_generic_error_t *error = xcb_request_check(c, cookie);
        const bool ok = !error;
        std::free(error);
        return ok;
    }
};

X11WindowSystem::X11WindowSystem(const QString &displayName, WindowReach reach) : m_reach(reach)
{
    const QByteArray name = displayName.toLocal8Bit();
    int screenNumber = 0;
    xcb_connection_t *c = xcb_connect(name.isEmpty() ? nullptr : name.constData(), &screenNumber);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    auto x = std::make_unique<Connection>();
    x->c = c;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem <= 0)
        return;
    x->root = screens.data->root;
    internAtoms(c, {{"_NET_WM_NAME", &x->netWmName},
                    {"UTF8_STRING", &x->utf8String},
                    {"COMPOUND_TEXT", &x->compoundText},
                    {"_NET_ACTIVE_WINDOW", &x->netActiveWindow}});
    m_x = std::move(x);
}

X11WindowSystem::~X11WindowSystem() = default;

bool X11WindowSystem::isConnected() const
{
    return m_x && m_x->alive();
}

QString X11WindowSystem::limitation() const
{
    if (m_reach == WindowReach::XWaylandOnly)
        return QStringLiteral("the window search sees only XWayland windows in this Wayland session");
    return {};
}

WindowId X11WindowSystem::rootWindow() const
{
    return isConnected() ? m_x->root : 0;
}

std::vector<WindowId> X11WindowSystem::children(WindowId parent) const
{
    if (!isConnected() || parent == 0)
        return {};
    const auto tree = m_x->reply(xcb_query_tree_reply, xcb_query_tree(m_x->c, parent));
    if (!tree)
        return {};
    const xcb_window_t *first = xcb_query_tree_children(tree.get());
    // The server lists children bottom to top.
    return std::vector<WindowId>(std::make_reverse_iterator(first + xcb_query_tree_children_length(tree.get())),
                                 std::make_reverse_iterator(first));
}

QString X11WindowSystem::caption(WindowId window) const
{
    if (!isConnected() || window == 0)
        return {};
    xcb_connection_t *c = m_x->c;
    // Both requests go out together so a title costs one round trip.
    const xcb_get_property_cookie_t netCookie =
        xcb_get_property(c, 0, window, m_x->netWmName, m_x->utf8String, 0, UINT32_MAX);
    const xcb_get_property_cookie_t icccmCookie = xcb_icccm_get_wm_name(c, window);

    const auto net = m_x->reply(xcb_get_property_reply, netCookie);
    if (net && net->type == m_x->utf8String && net->format == 8) {
        const QByteArrayView utf8 = firstText(static_cast<const char *>(xcb_get_property_value(net.get())),
                                              xcb_get_property_value_length(net.get()));
        if (!utf8.isEmpty()) {
            xcb_discard_reply(c, icccmCookie.sequence);
            return limited(QString::fromUtf8(utf8));
        }
    }

    xcb_icccm_get_text_property_reply_t name;
    xcb_generic_error_t *error = nullptr;
    if (!xcb_icccm_get_wm_name_reply(c, icccmCookie, &name, &error)) {
        std::free(error);
        return {};
    }
    QString text;
    if (name.format == 8) {
        const QByteArrayView bytes = firstText(name.name, name.name_len);
        if (name.encoding == m_x->utf8String)
            text = QString::fromUtf8(bytes);
        else if (name.encoding == m_x->compoundText)
            text = decodeCompoundText(bytes);
        else
            text = QString::fromLatin1(bytes); // STRING, and the best guess for anything else
    }
    xcb_icccm_get_text_property_reply_wipe(&name);
    return limited(text);
}

QString X11WindowSystem::className(WindowId window) const
{
    if (!isConnected() || window == 0)
        return {};
    // Read directly: the ICCCM helper cuts the last letter of a WM_CLASS
    // that lacks its closing NUL, which some clients omit.
    const auto wmClass = m_x->reply(xcb_get_property_reply,
                                    xcb_get_property(m_x->c, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 1024));
    if (!wmClass || wmClass->format != 8)
        return {};
    const char *value = static_cast<const char *>(xcb_get_property_value(wmClass.get()));
    const qsizetype length = xcb_get_property_value_length(wmClass.get());
    const qsizetype instanceLength = firstText(value, length).size();
    if (instanceLength >= length)
        return {};
    // "instance\0Class\0": the class is the second text.
    return limited(QString::fromLatin1(firstText(value + instanceLength + 1, length - instanceLength - 1)));
}

bool X11WindowSystem::activate(WindowId window)
{
    if (!isConnected() || window == 0)
        return false;
    xcb_connection_t *c = m_x->c;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = m_x->netActiveWindow;
    message.data.data32[0] = 2; // source: a pager, which window managers obey without focus-stealing checks
    message.data.data32[1] = XCB_CURRENT_TIME;
    const xcb_void_cookie_t sent = xcb_send_event_checked(
        c, 0, m_x->root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
        reinterpret_cast<const char *>(&message));
    // Without a window manager nothing answers the message; the raise still
    // brings the window up, and its error tells a vanished window apart.
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    const xcb_void_cookie_t raised = xcb_configure_window_checked(c, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    const bool messageSent = m_x->succeeded(sent);
    const bool windowExists = m_x->succeeded(raised);
    return messageSent && windowExists;
}

std::unique_ptr<WindowSystem> connectToDisplay(const QString &displayName)
{
    auto system = std::make_unique<X11WindowSystem>(displayName);
    if (!system->isConnected())
        return nullptr;
    return system;
}

namespace {

WindowSystem *replacement = nullptr;

bool hostOnX11()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        && QGuiApplication::platformName() == QLatin1String("xcb");
}

std::unique_ptr<WindowSystem> sessionWindowSystem()
{
    if (inWaylandSession()) {
        if (auto list = connectToplevelList())
            return list;
        // Only a host that is itself an X11 client sees XWayland's windows:
        // anyone else connecting could start a lazily launched Xwayland.
        if (hostOnX11()) {
            auto x = std::make_unique<X11WindowSystem>(QString(), WindowReach::XWaylandOnly);
            if (x->isConnected())
                return x;
        }
        return std::make_unique<UnavailableWindowSystem>(
            QStringLiteral("window search is not available in this Wayland session"));
    }
    if (auto x = connectToDisplay({}))
        return x;
    return std::make_unique<UnavailableWindowSystem>(
        QStringLiteral("window search needs a display: no X11 display or Wayland compositor was found"));
}

} // namespace

WindowSystem &windowSystem()
{
    if (replacement)
        return *replacement;
    static const std::unique_ptr<WindowSystem> desktop = sessionWindowSystem();
    return *desktop;
}

void setWindowSystem(WindowSystem *system)
{
    replacement = system;
}

} // namespace zuvexal::platform
