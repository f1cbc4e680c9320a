#include "ui/desktop/WindowTitles.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace brelix::ui {

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name),
                              nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

QByteArray property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 4096), nullptr),
        &std::free);
    if (!reply)
        return {};
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

std::vector<xcb_window_t> topLevelWindows(xcb_connection_t* c, xcb_window_t root)
{
    const QByteArray list = property(c, root, atom(c, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    std::vector<xcb_window_t> windows(static_cast<size_t>(list.size()) / sizeof(xcb_window_t));
    if (!windows.empty()) {
        memcpy(windows.data(), list.constData(), windows.size() * sizeof(xcb_window_t));
        return windows;
    }
    // No window manager: the root's children are the top-level windows.
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr),
                                       &std::free);
    if (tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        windows.assign(children, children + xcb_query_tree_children_length(tree.get()));
    }
    return windows;
}

} // namespace

QStringList topLevelWindowTitles()
{
    QStringList titles;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (!c || xcb_connection_has_error(c)) {
        if (c)
            xcb_disconnect(c);
        return titles;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t netName = atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
    for (xcb_window_t window : topLevelWindows(c, root)) {
        QByteArray title = property(c, window, netName, utf8);
        if (title.isEmpty())
            title = property(c, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
        if (!title.isEmpty())
            titles.append(QString::fromUtf8(title));
    }
    xcb_disconnect(c);
    return titles;
}

bool windowTitleExists(const QString& part)
{
    for (const QString& title : topLevelWindowTitles())
        if (title.contains(part, Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace brelix::ui
