#include "host/libreoffice/WindowLayout.h"

#include "host/libreoffice/OpenWorkbook.h"
#include "host/libreoffice/UnoStrings.h"

#include <cmath>
#include <com/sun/star/awt/PosSize.hpp>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XTopWindow2.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>

namespace brelix::libreoffice {

using namespace css;

sal_Int32 WindowLayout::toPixels(double points)
{
    return static_cast<sal_Int32>(std::lround(points * 96.0 / 72.0));
}

uno::Reference<awt::XWindow> WindowLayout::windowOf(const OpenWorkbook& book)
{
    return book.model->getCurrentController()->getFrame()->getContainerWindow();
}

awt::Rectangle WindowLayout::workArea(const uno::Reference<uno::XComponentContext>& context)
{
    // The first screen's work area (less panels), else the whole screen; the toolkit's own
    // answer is empty where no window manager publishes one.
    try {
        const uno::Reference<container::XIndexAccess> screens{
            context->getServiceManager()->createInstanceWithContext(
                OUString("com.sun.star.awt.DisplayAccess"), context),
            uno::UNO_QUERY_THROW};
        if (screens->getCount() > 0) {
            const uno::Reference<beans::XPropertySet> screen{screens->getByIndex(0),
                                                             uno::UNO_QUERY_THROW};
            for (const char* name : {"ScreenWorkArea", "ScreenArea"}) {
                awt::Rectangle area;
                if ((screen->getPropertyValue(OUString::createFromAscii(name)) >>= area) &&
                    area.Width >= 320 && area.Height >= 200)
                    return area;
            }
        }
    } catch (const uno::Exception&) {
    }
    return awt::Rectangle(0, 0, 1024, 768); // no screen: a headless office
}

host::WindowGeometry WindowLayout::geometry(const uno::Reference<uno::XComponentContext>& context,
                                            const OpenWorkbook& book)
{
    if (book.placement)
        return *book.placement;
    awt::Rectangle r = windowOf(book)->getPosSize();
    if (r.Width <= 1 || r.Height <= 1)
        r = workArea(context);
    return {toPoints(r.Y), toPoints(r.X), toPoints(r.Width), toPoints(r.Height)};
}

namespace {

void place(const uno::Reference<awt::XWindow>& window, const host::WindowGeometry& g)
{
    // A maximised window ignores placing.
    const uno::Reference<awt::XTopWindow2> top{window, uno::UNO_QUERY};
    if (top.is() && top->getIsMaximized())
        top->setIsMaximized(false);
    window->setPosSize(WindowLayout::toPixels(g.left), WindowLayout::toPixels(g.top),
                       std::max<sal_Int32>(1, WindowLayout::toPixels(g.width)),
                       std::max<sal_Int32>(1, WindowLayout::toPixels(g.height)),
                       awt::PosSize::POSSIZE);
}

} // namespace

void WindowLayout::setGeometry(OpenWorkbook& book, const host::WindowGeometry& g)
{
    book.placement = g;
    place(windowOf(book), g);
}

void WindowLayout::setVisible(const OpenWorkbook& book, bool visible)
{
    const uno::Reference<awt::XWindow> window = windowOf(book);
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

void WindowLayout::arrange(const uno::Reference<uno::XComponentContext>& context,
                           const QList<OpenWorkbook*>& windows, host::WindowArrangement arrangement)
{
    if (windows.isEmpty())
        return;
    const awt::Rectangle area = workArea(context);
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
