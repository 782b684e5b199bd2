#include "platform/X11DesktopWindows.h"

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace vorlin::platform {
namespace {

constexpr int kActivationWaitMs = 500;

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template<typename T>
using Reply = std::unique_ptr<T, FreeReply>;

enum AtomIndex {
    kWmCheck, kStacking, kWindowType, kTypeDock, kTypeDesktop, kNetName, kUtf8, kWmState,
    kActiveWindow, kNetWmState, kMaximizedVert, kMaximizedHorz, kSkipTaskbar, kSkipPager, kTypeDialog, kTypeSplash, kAtomCount
};
const char* const kAtomNames[kAtomCount] = {
    "_NET_SUPPORTING_WM_CHECK", "_NET_CLIENT_LIST_STACKING", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DOCK",
    "_NET_WM_WINDOW_TYPE_DESKTOP", "_NET_WM_NAME", "UTF8_STRING", "WM_STATE",
    "_NET_ACTIVE_WINDOW", "_NET_WM_STATE", "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ",
    "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_WINDOW_TYPE_DIALOG",
    "_NET_WM_WINDOW_TYPE_SPLASH"};

struct Atoms {
    xcb_atom_t atom[kAtomCount] = {};
};

Atoms internAtoms(xcb_connection_t* c)
{
    xcb_intern_atom_cookie_t cookies[kAtomCount];
    for (int i = 0; i < kAtomCount; ++i)
        cookies[i] = xcb_intern_atom(c, 0, uint16_t(std::strlen(kAtomNames[i])), kAtomNames[i]);
    Atoms atoms;
    for (int i = 0; i < kAtomCount; ++i)
        if (Reply<xcb_intern_atom_reply_t> reply{xcb_intern_atom_reply(c, cookies[i], nullptr)})
            atoms.atom[i] = reply->atom;
    return atoms;
}

xcb_get_property_cookie_t ask(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    return xcb_get_property(c, 0, window, name, type, 0, 1 << 16);
}

std::vector<xcb_window_t> windowsOf(xcb_connection_t* c, xcb_get_property_cookie_t cookie)
{
    Reply<xcb_get_property_reply_t> reply{xcb_get_property_reply(c, cookie, nullptr)};
    if (!reply || reply->format != 32)
        return {};
    const auto* data = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
    return {data, data + xcb_get_property_value_length(reply.get()) / 4};
}

QByteArray bytesOf(xcb_connection_t* c, xcb_get_property_cookie_t cookie, xcb_atom_t* type = nullptr)
{
    Reply<xcb_get_property_reply_t> reply{xcb_get_property_reply(c, cookie, nullptr)};
    if (!reply || reply->format != 8)
        return {};
    if (type)
        *type = reply->type;
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

bool windowManagerRuns(xcb_connection_t* c, xcb_window_t root, const Atoms& atoms)
{
    const std::vector<xcb_window_t> fromRoot = windowsOf(c, ask(c, root, atoms.atom[kWmCheck], XCB_ATOM_WINDOW));
    if (fromRoot.empty())
        return false;
    const std::vector<xcb_window_t> fromItself =
        windowsOf(c, ask(c, fromRoot.front(), atoms.atom[kWmCheck], XCB_ATOM_WINDOW));
    return !fromItself.empty() && fromItself.front() == fromRoot.front();
}

// Under a frame, without the window manager's lists: the child carrying WM_STATE.
xcb_window_t clientOf(xcb_connection_t* c, xcb_window_t frame, const Atoms& atoms)
{
    Reply<xcb_get_property_reply_t> state{
        xcb_get_property_reply(c, ask(c, frame, atoms.atom[kWmState], XCB_GET_PROPERTY_TYPE_ANY), nullptr)};
    if (state && state->type != XCB_NONE)
        return frame;
    Reply<xcb_query_tree_reply_t> tree{xcb_query_tree_reply(c, xcb_query_tree(c, frame), nullptr)};
    if (!tree)
        return XCB_NONE;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
        if (const xcb_window_t client = clientOf(c, children[i], atoms))
            return client;
    return XCB_NONE;
}

std::vector<xcb_window_t> topmostFirst(xcb_connection_t* c, xcb_window_t root, const Atoms& atoms)
{
    if (windowManagerRuns(c, root, atoms)) {
        const std::vector<xcb_window_t> stacking =
            windowsOf(c, ask(c, root, atoms.atom[kStacking], XCB_ATOM_WINDOW));
        return {stacking.rbegin(), stacking.rend()};
    }
    Reply<xcb_query_tree_reply_t> tree{xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr)};
    if (!tree)
        return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    std::vector<xcb_get_window_attributes_cookie_t> cookies;
    for (int i = 0; i < count; ++i)
        cookies.push_back(xcb_get_window_attributes(c, children[i]));
    std::vector<xcb_window_t> windows;
    for (int i = count; i-- > 0;) {  // the last child is the topmost
        Reply<xcb_get_window_attributes_reply_t> attributes{
            xcb_get_window_attributes_reply(c, cookies[std::size_t(i)], nullptr)};
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE || attributes->override_redirect
            || attributes->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT)
            continue;
        const xcb_window_t client = clientOf(c, children[i], atoms);
        windows.push_back(client ? client : children[i]);
    }
    return windows;
}

// A client message about the window to the window manager, as EWMH has it.
void sendToWindowManager(xcb_connection_t* c, xcb_window_t root, xcb_window_t window, xcb_atom_t type,
                         std::initializer_list<uint32_t> data)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    int i = 0;
    for (const uint32_t value : data)
        event.data.data32[i++] = value;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

// The top-level window holding the keyboard focus, found from the focus
// upwards; none when the focus is on the root or nowhere.
xcb_window_t focusedTopLevel(xcb_connection_t* c, xcb_window_t root, const Atoms& atoms)
{
    Reply<xcb_get_input_focus_reply_t> focus{xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)};
    xcb_window_t window = focus ? focus->focus : XCB_NONE;
    if (window == XCB_NONE || window == XCB_INPUT_FOCUS_POINTER_ROOT || window == root)
        return XCB_NONE;
    for (;;) {
        Reply<xcb_query_tree_reply_t> tree{xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr)};
        if (!tree)
            return XCB_NONE;
        if (tree->parent == root || tree->parent == XCB_NONE)
            break;
        window = tree->parent;
    }
    const xcb_window_t client = clientOf(c, window, atoms);
    return client ? client : window;
}

// The windows with their titles and classes; docks, desktops and Qt's
// helper windows left out. The properties of all windows are asked for
// first and the answers read after.
QList<TopLevelWindow> described(xcb_connection_t* c, const std::vector<xcb_window_t>& windows, const Atoms& atoms)
{
    struct Cookies {
        xcb_get_property_cookie_t type, netName, name, windowClass;
    };
    std::vector<Cookies> cookies;
    cookies.reserve(windows.size());
    for (const xcb_window_t window : windows)
        cookies.push_back({ask(c, window, atoms.atom[kWindowType], XCB_ATOM_ATOM),
                           ask(c, window, atoms.atom[kNetName], atoms.atom[kUtf8]),
                           ask(c, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY),
                           ask(c, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING)});
    QList<TopLevelWindow> list;
    for (std::size_t w = 0; w < cookies.size(); ++w) {
        const Cookies& asked = cookies[w];
        bool dockOrDesktop = false;
        bool dialog = false;
        if (Reply<xcb_get_property_reply_t> type{xcb_get_property_reply(c, asked.type, nullptr)}; type && type->format == 32) {
            const auto* types = static_cast<const xcb_atom_t*>(xcb_get_property_value(type.get()));
            for (int i = 0; i < xcb_get_property_value_length(type.get()) / 4; ++i)
            {
                dockOrDesktop = dockOrDesktop || types[i] == atoms.atom[kTypeDock] || types[i] == atoms.atom[kTypeDesktop];
                dialog = dialog || types[i] == atoms.atom[kTypeDialog] || types[i] == atoms.atom[kTypeSplash];
            }
        }
        const QByteArray netName = bytesOf(c, asked.netName);
        xcb_atom_t nameType = XCB_NONE;
        const QByteArray name = bytesOf(c, asked.name, &nameType);
        const QByteArray windowClass = bytesOf(c, asked.windowClass);
        if (dockOrDesktop)
            continue;
        // WM_NAME is Latin-1 unless it says UTF-8 (compound text is read as Latin-1).
        const QString title = !netName.isEmpty() ? QString::fromUtf8(netName)
            : nameType == atoms.atom[kUtf8]      ? QString::fromUtf8(name)
                                                 : QString::fromLatin1(name);
        // Qt's own helper windows are no windows of the desktop.
        if (title.startsWith(QStringLiteral("Qt Selection Owner")) || title.startsWith(QStringLiteral("Qt Clipboard")))
            continue;
        // WM_CLASS holds the instance name and the class name, each ended by a zero.
        const QList<QByteArray> parts = windowClass.split('\0');
        list.append({title, QString::fromLocal8Bit(parts.value(1)), windows[w], dialog});
    }
    return list;
}

}  // namespace

X11DesktopWindows::X11DesktopWindows() = default;

X11DesktopWindows::~X11DesktopWindows()
{
    if (connection_)
        xcb_disconnect(connection_);
}

bool X11DesktopWindows::connect()
{
    if (connection_)
        return true;
    connection_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
        return false;
    }
    return true;
}

void X11DesktopWindows::activate(quint32 id, bool maximise)
{
    if (!id || !connect())
        return;
    xcb_connection_t* c = connection_;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const Atoms atoms = internAtoms(c);
    if (!windowManagerRuns(c, root, atoms)) {
        xcb_map_window(c, id);
        const uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(c, id, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, id, XCB_CURRENT_TIME);
        xcb_flush(c);
        return;
    }
    const auto send = [&](xcb_atom_t type, std::initializer_list<uint32_t> data) {
        sendToWindowManager(c, root, id, type, data);
    };
    const std::vector<xcb_window_t> active = windowsOf(c, ask(c, root, atoms.atom[kActiveWindow], XCB_ATOM_WINDOW));
    // Source 2: a pager-like request on the user's behalf.
    send(atoms.atom[kActiveWindow], {2, XCB_CURRENT_TIME, active.empty() ? 0u : active.front()});
    if (maximise)
        send(atoms.atom[kNetWmState], {1, atoms.atom[kMaximizedVert], atoms.atom[kMaximizedHorz], 2});
    xcb_flush(c);
    // The window manager answers in its own time; what comes next (a paste
    // into the window's document) needs the window active, so wait for it a
    // little (it takes a few milliseconds), but not for ever.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kActivationWaitMs);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::vector<xcb_window_t> now = windowsOf(c, ask(c, root, atoms.atom[kActiveWindow], XCB_ATOM_WINDOW));
        if (!now.empty() && now.front() == id)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

QList<TopLevelWindow> X11DesktopWindows::windowsTopmostFirst()
{
    if (!connect())
        return {};
    xcb_connection_t* c = connection_;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const Atoms atoms = internAtoms(c);
    return described(c, topmostFirst(c, root, atoms), atoms);
}

void X11DesktopWindows::keepOffTaskbar(quint32 id)
{
    if (!id || !connect())
        return;
    xcb_connection_t* c = connection_;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const Atoms atoms = internAtoms(c);
    // Action 1: add both states; source 2: on the user's behalf.
    sendToWindowManager(c, root, id, atoms.atom[kNetWmState], {1, atoms.atom[kSkipTaskbar], atoms.atom[kSkipPager], 2});
    xcb_flush(c);
}

std::optional<TopLevelWindow> X11DesktopWindows::activeWindow()
{
    if (!connect())
        return std::nullopt;
    xcb_connection_t* c = connection_;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const Atoms atoms = internAtoms(c);
    xcb_window_t window = XCB_NONE;
    if (windowManagerRuns(c, root, atoms)) {
        const std::vector<xcb_window_t> active = windowsOf(c, ask(c, root, atoms.atom[kActiveWindow], XCB_ATOM_WINDOW));
        window = active.empty() ? XCB_NONE : active.front();
    }
    if (!window)
        window = focusedTopLevel(c, root, atoms);
    if (!window)
        return std::nullopt;
    const QList<TopLevelWindow> list = described(c, {window}, atoms);
    if (list.isEmpty())
        return TopLevelWindow{{}, {}, window};
    return list.front();
}

}  // namespace vorlin::platform
