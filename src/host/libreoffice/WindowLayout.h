#pragma once

#include "core/host/WindowGeometry.h"

#include <QList>
#include <com/sun/star/awt/Rectangle.hpp>
#include <com/sun/star/awt/XWindow.hpp>

namespace brelix::libreoffice {

struct OpenWorkbook;

// Workbook windows in points (the office works in pixels at 96 per inch). A window's place
// takes in the frame that the window manager draws around it.
class WindowLayout {
public:
    static css::uno::Reference<css::awt::XWindow> windowOf(const OpenWorkbook& book);

    // The window's place: the one given to it, else where it is, else (a window never shown)
    // the whole work area.
    static host::WindowGeometry geometry(const OpenWorkbook& book);
    static void setGeometry(OpenWorkbook& book, const host::WindowGeometry& geometry);
    // Shown, a window takes the place it was given while hidden.
    static void setVisible(const OpenWorkbook& book, bool visible);
    static void setMaximized(const OpenWorkbook& book, bool maximized);
    static void bringToFront(const OpenWorkbook& book);

    // Tiles the windows over the screen's work area in the order given.
    static void arrange(const QList<OpenWorkbook*>& windows, host::WindowArrangement arrangement);

    // The screen's work area, where the windows go.
    static css::awt::Rectangle workArea();
    static double toPoints(sal_Int32 pixels) { return pixels * 72.0 / 96.0; }
    static sal_Int32 toPixels(double points);
};

} // namespace brelix::libreoffice
