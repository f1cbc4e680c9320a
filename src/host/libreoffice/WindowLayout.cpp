#include "host/libreoffice/WindowLayout.h"

#include "host/libreoffice/DesktopArea.h"
#include "host/libreoffice/OpenWorkbook.h"
#include "host/libreoffice/UnoStrings.h"

#include <cmath>
#include <com/sun/star/awt/PosSize.hpp>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XTopWindow2.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>

namespace brelix::libreoffice {

using namespace css;

sal_Int32 WindowLayout::toPixels(double points)
{
    return static_cast<sal_Int32>(std::lround(points * 96.0 / 72.0));
}

// None for a workbook opened unseen: it is never shown, and keeps only its place.
uno::Reference<awt::XWindow> WindowLayout::windowOf(const OpenWorkbook& book)
{
    if (book.windowless)
        return {};
    return book.model->getCurrentController()->getFrame()->getContainerWindow();
}

awt::Rectangle WindowLayout::workArea()
{
    const std::optional<QRect> area = DesktopArea::workArea();
    if (!area)
        return awt::Rectangle(0, 0, 1024, 768); // no screen: a headless office
    return awt::Rectangle(area->x(), area->y(), area->width(), area->height());
}

host::WindowGeometry WindowLayout::geometry(const OpenWorkbook& book)
{
    if (book.placement)
        return *book.placement;
    const uno::Reference<awt::XWindow> window = windowOf(book);
    awt::Rectangle r = window.is() ? window->getPosSize() : awt::Rectangle();
    if (r.Width <= 1 || r.Height <= 1) {
        r = workArea();
    } else {
        const QMargins frame = DesktopArea::windowFrame();
        r = awt::Rectangle(r.X - frame.left(), r.Y - frame.top(),
                           r.Width + frame.left() + frame.right(),
                           r.Height + frame.top() + frame.bottom());
    }
    return {toPoints(r.Y), toPoints(r.X), toPoints(r.Width), toPoints(r.Height)};
}

namespace {

// A place is the window's outside, with the frame the window manager draws around it.
void place(const uno::Reference<awt::XWindow>& window, const host::WindowGeometry& g)
{
    // A maximised window ignores placing.
    const uno::Reference<awt::XTopWindow2> top{window, uno::UNO_QUERY};
    if (top.is() && top->getIsMaximized())
        top->setIsMaximized(false);
    const QMargins frame = DesktopArea::windowFrame();
    const sal_Int32 left = WindowLayout::toPixels(g.left);
    const sal_Int32 topEdge = WindowLayout::toPixels(g.top);
    window->setPosSize(left + frame.left(), topEdge + frame.top(),
                       std::max<sal_Int32>(1, WindowLayout::toPixels(g.left + g.width) - left -
                                                  frame.left() - frame.right()),
                       std::max<sal_Int32>(1, WindowLayout::toPixels(g.top + g.height) - topEdge -
                                                  frame.top() - frame.bottom()),
                       awt::PosSize::POSSIZE);
}

} // namespace

void WindowLayout::setGeometry(OpenWorkbook& book, const host::WindowGeometry& g)
{
    book.placement = g;
    if (const uno::Reference<awt::XWindow> window = windowOf(book); window.is())
        place(window, g);
}

void WindowLayout::setVisible(const OpenWorkbook& book, bool visible)
{
    const uno::Reference<awt::XWindow> window = windowOf(book);
    if (!window.is())
        return;
    window->setVisible(visible);
    if (visible && book.placement)
        place(window, *book.placement);
}

void WindowLayout::setMaximized(const OpenWorkbook& book, bool maximized)
{
    const uno::Reference<awt::XTopWindow2> top{windowOf(book), uno::UNO_QUERY};
    if (top.is())
        top->setIsMaximized(maximized);
}

void WindowLayout::bringToFront(const OpenWorkbook& book)
{
    const uno::Reference<awt::XTopWindow> top{windowOf(book), uno::UNO_QUERY};
    if (top.is())
        top->toFront();
}

void WindowLayout::arrange(const QList<OpenWorkbook*>& windows, host::WindowArrangement arrangement)
{
    if (windows.isEmpty())
        return;
    const awt::Rectangle area = workArea();
    const auto n = static_cast<sal_Int32>(windows.size());
    for (sal_Int32 i = 0; i < n; ++i) {
        awt::Rectangle r = area;
        if (arrangement == host::WindowArrangement::SideBySide) {
            r.Width = area.Width / n;
            r.X = area.X + i * r.Width;
        } else {
            r.Height = area.Height / n;
            r.Y = area.Y + i * r.Height;
        }
        setGeometry(*windows[i],
                    {toPoints(r.Y), toPoints(r.X), toPoints(r.Width), toPoints(r.Height)});
    }
}

} // namespace brelix::libreoffice
