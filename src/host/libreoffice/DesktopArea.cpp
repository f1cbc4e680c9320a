#include "host/libreoffice/DesktopArea.h"

#include <QDeadlineTimer>
#include <QThread>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace brelix::libreoffice {

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
using Connection = std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)>;

Connection openDisplay()
{
    return Connection(xcb_connect(nullptr, nullptr), &xcb_disconnect);
}

xcb_screen_t* firstScreen(const Connection& c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c.get())).data;
}

xcb_atom_t atom(const Connection& c, const char* name)
{
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            c.get(), xcb_intern_atom(c.get(), 1, static_cast<uint16_t>(strlen(name)), name),
            nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The 32-bit values of a property of that type.
std::vector<uint32_t> values(const Connection& c, xcb_window_t window, const char* name,
                             xcb_atom_t type = XCB_ATOM_CARDINAL)
{
    const xcb_atom_t property = atom(c, name);
    if (property == XCB_ATOM_NONE)
        return {};
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            c.get(), xcb_get_property(c.get(), 0, window, property, type, 0, 1024), nullptr),
        &std::free);
    if (!reply || reply->format != 32)
        return {};
    const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return std::vector<uint32_t>(data, data + xcb_get_property_value_length(reply.get()) / 4);
}

} // namespace

std::optional<QRect> DesktopArea::workArea()
{
    const Connection c = openDisplay();
    if (xcb_connection_has_error(c.get()))
        return std::nullopt;
    const xcb_screen_t* screen = firstScreen(c);
    const QRect whole(0, 0, screen->width_in_pixels, screen->height_in_pixels);
    // One area per desktop; the current desktop's counts.
    const std::vector<uint32_t> areas = values(c, screen->root, "_NET_WORKAREA");
    const std::vector<uint32_t> current = values(c, screen->root, "_NET_CURRENT_DESKTOP");
    const size_t at = 4 * (current.empty() ? 0 : current[0]);
    if (areas.size() < at + 4)
        return whole;
    const QRect area(static_cast<int>(areas[at]), static_cast<int>(areas[at + 1]),
                     static_cast<int>(areas[at + 2]), static_cast<int>(areas[at + 3]));
    return area.width() >= 320 && area.height() >= 200 ? area & whole : whole;
}

QMargins DesktopArea::windowFrame()
{
    static const QMargins frame = askWindowFrame(); // the window manager keeps its frames
    return frame;
}

QMargins DesktopArea::askWindowFrame()
{
    const Connection c = openDisplay();
    if (xcb_connection_has_error(c.get()))
        return {};
    const xcb_screen_t* screen = firstScreen(c);
    // Without a window manager, which names itself on the root, windows have no frame.
    if (values(c, screen->root, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW).empty())
        return {};
    // Ask it for the frame it would give a new window.
    const xcb_window_t window = xcb_generate_id(c.get());
    xcb_create_window(c.get(), XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 100, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = window;
    request.type = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(c.get(), 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(c.get());
    QMargins frame;
    const QDeadlineTimer deadline(500);
    while (request.type != XCB_ATOM_NONE && !deadline.hasExpired()) {
        // left, right, top, bottom
        const std::vector<uint32_t> extents = values(c, window, "_NET_FRAME_EXTENTS");
        if (extents.size() == 4) {
            frame = QMargins(static_cast<int>(extents[0]), static_cast<int>(extents[2]),
                             static_cast<int>(extents[1]), static_cast<int>(extents[3]));
            break;
        }
        QThread::msleep(10);
    }
    xcb_destroy_window(c.get(), window);
    xcb_flush(c.get());
    return frame;
}

} // namespace brelix::libreoffice
