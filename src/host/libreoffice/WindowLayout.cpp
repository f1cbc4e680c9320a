#include "WindowLayout.h"

#include "OpenWorkbook.h"

#include <cmath>
#include <com/sun/star/awt/PosSize.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
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

uno::Reference<awt::XWindow> WindowLayout::windowOf(const OpenWorkbook& book)
{
    return book.model->getCurrentController()->getFrame()->getContainerWindow();
}

host::WindowGeometry WindowLayout::geometry(const OpenWorkbook& book)
{
    const awt::Rectangle r = windowOf(book)->getPosSize();
    return {toPoints(r.Y), toPoints(r.X), toPoints(r.Width), toPoints(r.Height)};
}

void WindowLayout::setGeometry(OpenWorkbook& book, const host::WindowGeometry& g)
{
    book.placed = true;
    const uno::Reference<awt::XWindow> window = windowOf(book);
    // A maximised window ignores placing.
    const uno::Reference<awt::XTopWindow2> top{window, uno::UNO_QUERY};
    if (top.is() && top->getIsMaximized())
        top->setIsMaximized(false);
    window->setPosSize(toPixels(g.left), toPixels(g.top), std::max<sal_Int32>(1, toPixels(g.width)),
                       std::max<sal_Int32>(1, toPixels(g.height)), awt::PosSize::POSSIZE);
}

void WindowLayout::setVisible(const OpenWorkbook& book, bool visible)
{
    windowOf(book)->setVisible(visible);
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
    awt::Rectangle area = awt::Toolkit::create(context)->getWorkArea();
    if (area.Width <= 0 || area.Height <= 0)
        area = awt::Rectangle(0, 0, 1024, 768); // no screen: a headless office
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
