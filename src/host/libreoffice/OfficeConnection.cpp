#include "host/libreoffice/OfficeConnection.h"

#include "core/host/HostError.h"
#include "host/libreoffice/UnoStrings.h"

#include <QThread>
#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <csignal>
#include <mutex>
#include <rtl/bootstrap.hxx>

namespace brelix::libreoffice {

using namespace css;
using host::HostError;

uno::Reference<uno::XComponentContext> localContext()
{
    static std::once_flag once;
    static uno::Reference<uno::XComponentContext> context;
    std::call_once(once, [] {
        // Without it the client crashes on its first office call; it must not reach the office
        // (which gets a clean environment) either.
        rtl::Bootstrap::set(
            OUString("URE_BOOTSTRAP"),
            OUString("vnd.sun.star.pathname:" LIBREOFFICE_PROGRAM_DIR "/fundamentalrc"));
        // The client needs only the connector and the bridge: reading the office's list of
        // every service took a fifth of a short job's time.
        rtl::Bootstrap::set(OUString("UNO_SERVICES"),
                            OUString("file://" LIBREOFFICE_PROGRAM_DIR "/services.rdb"));
        context = cppu::defaultBootstrap_InitialComponentContext();
    });
    return context;
}

OfficeConnection::OfficeConnection(OfficeProcess& process, std::chrono::milliseconds timeout)
{
    // An office that ends while the bridge still writes to it must fail that write, not end
    // this program by SIGPIPE.
    static std::once_flag pipeSignalIgnored;
    std::call_once(pipeSignalIgnored, [] { ::signal(SIGPIPE, SIG_IGN); });
    const uno::Reference<uno::XComponentContext> local = localContext();
    const uno::Reference<connection::XConnector> connector = connection::Connector::create(local);
    const uno::Reference<bridge::XBridgeFactory2> bridges = bridge::BridgeFactory::create(local);
    const OUString description = OUString("pipe,name=") + toOUString(process.pipeName());

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    uno::Reference<connection::XConnection> pipe;
    while (!pipe.is()) {
        try {
            pipe = connector->connect(description);
        } catch (const connection::NoConnectException&) {
            if (!process.isRunning())
                throw HostError(HostError::Kind::StartFailed,
                                QStringLiteral("the office ended while starting (%1)")
                                    .arg(process.endReport()));
            if (std::chrono::steady_clock::now() >= deadline)
                throw HostError(HostError::Kind::StartFailed,
                                QStringLiteral("the office did not answer in %1 s")
                                    .arg(timeout.count() / 1000.0));
            QThread::msleep(20);
        }
    }
    m_bridge = bridges->createBridge(OUString(), OUString("urp"), pipe, nullptr);
    m_context.set(m_bridge->getInstance(OUString("StarOffice.ComponentContext")),
                  uno::UNO_QUERY_THROW);
}

const uno::Reference<frame::XDesktop2>& OfficeConnection::desktop()
{
    // On first use: a job that opens all its workbooks unseen never needs it, and making it
    // took a fifth of the connection's time.
    if (!m_desktop.is() && m_context.is())
        m_desktop = frame::Desktop::create(m_context);
    return m_desktop;
}

OfficeConnection::~OfficeConnection()
{
    close();
}

uno::Reference<uno::XInterface> OfficeConnection::createInstance(const OUString& service) const
{
    return m_context->getServiceManager()->createInstanceWithContext(service, m_context);
}

void OfficeConnection::close()
{
    m_desktop.clear();
    m_context.clear();
    const uno::Reference<lang::XComponent> bridge{m_bridge, uno::UNO_QUERY};
    if (bridge.is())
        try {
            bridge->dispose();
        } catch (const uno::Exception&) {
        }
    m_bridge.clear();
}

} // namespace brelix::libreoffice
