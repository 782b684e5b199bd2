#include "platform/UnoContext.h"

#include <QFileInfo>

#include <chrono>
#include <thread>

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/exc_hlp.hxx>
#include <rtl/bootstrap.hxx>

namespace vorlin::platform {

QString officeProgramDir()
{
    return QStringLiteral(VORLIN_OFFICE_PROGRAM_DIR);
}

bool officeInstalled()
{
    return QFileInfo(officeProgramDir() + QStringLiteral("/soffice")).isExecutable()
        && QFileInfo::exists(officeProgramDir() + QStringLiteral("/fundamentalrc"));
}

com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> localUnoContext()
{
    // Without the bootstrap file the office's services are unknown here and
    // the first service made crashes the process.
    static const auto context = [] {
        rtl::Bootstrap::set(rtl::OUString("URE_BOOTSTRAP"),
                            toOffice(QStringLiteral("file://") + officeProgramDir() + QStringLiteral("/fundamentalrc")));
        return cppu::defaultBootstrap_InitialComponentContext();
    }();
    return context;
}

QString describeCaughtUnoError(const com::sun::star::uno::Exception& error)
{
    const QString message = fromOffice(error.Message).trimmed();
    return message.isEmpty() ? fromOffice(cppu::getCaughtException().getValueTypeName()) : message;
}

com::sun::star::uno::Reference<com::sun::star::connection::XConnection>
connectToPipe(const QString& pipeName, const std::function<bool()>& tryAgain)
{
    namespace css = com::sun::star;
    const auto connector = css::connection::Connector::create(localUnoContext());
    const rtl::OUString where = toOffice(QStringLiteral("pipe,name=") + pipeName);
    for (;;) {
        try {
            return connector->connect(where);
        } catch (const css::connection::NoConnectException&) {
            if (!tryAgain())
                throw;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

PipeBridge bridgeOver(const com::sun::star::uno::Reference<com::sun::star::connection::XConnection>& connection,
                      const char* instanceName)
{
    namespace css = com::sun::star;
    const auto bridge = css::bridge::BridgeFactory::create(localUnoContext())
                            ->createBridge(rtl::OUString(), rtl::OUString("urp"), connection, nullptr);
    return {css::uno::Reference<css::lang::XComponent>(bridge, css::uno::UNO_QUERY),
            bridge->getInstance(rtl::OUString::createFromAscii(instanceName))};
}

PipeBridge bridgeOverPipe(const QString& pipeName, const char* instanceName, const std::function<bool()>& tryAgain)
{
    return bridgeOver(connectToPipe(pipeName, tryAgain), instanceName);
}

}  // namespace vorlin::platform
