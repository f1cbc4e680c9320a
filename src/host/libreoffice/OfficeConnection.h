#pragma once

#include "host/libreoffice/OfficeProcess.h"
#include "host/libreoffice/UnoStrings.h"

#include <chrono>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace brelix::libreoffice {

// The UNO bridge to one office process, over its pipe.
class OfficeConnection {
public:
    // Connects, retrying until the office accepts or the deadline passes; gives up at once when
    // the office has died.
    OfficeConnection(OfficeProcess& process, std::chrono::milliseconds timeout);
    ~OfficeConnection();
    OfficeConnection(const OfficeConnection&) = delete;
    OfficeConnection& operator=(const OfficeConnection&) = delete;

    const css::uno::Reference<css::uno::XComponentContext>& context() const { return m_context; }
    const css::uno::Reference<css::frame::XDesktop2>& desktop();
    css::uno::Reference<css::uno::XInterface> createInstance(const OUString& service) const;

    // Drops the bridge; the office goes on by itself.
    void close();

private:
    css::uno::Reference<css::bridge::XBridge> m_bridge;
    css::uno::Reference<css::uno::XComponentContext> m_context;
    css::uno::Reference<css::frame::XDesktop2> m_desktop;
};

// The component context of this process, made once.
css::uno::Reference<css::uno::XComponentContext> localContext();

} // namespace brelix::libreoffice
