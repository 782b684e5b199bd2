#include "platform/UnoContext.h"

#include "platform/OwnOfficePipe.h"

#include <QFileInfo>

#include <atomic>
#include <chrono>
#include <thread>

#include <sys/socket.h>
#include <unistd.h>

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/io/IOException.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>
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

namespace {

namespace css = com::sun::star;

// The office's pipe as the bridge reads and writes it: a socket this
// program connected and checked itself, so that nothing goes to a listener
// that is not this user's office.
class SocketConnection : public cppu::WeakImplHelper1<css::connection::XConnection> {
public:
    SocketConnection(int fd, const QString& pipeName) : fd_(fd), description_(toOffice(QStringLiteral("pipe,name=") + pipeName)) {}
    ~SocketConnection() override { ::close(fd_); }

    sal_Int32 SAL_CALL read(css::uno::Sequence<sal_Int8>& bytes, sal_Int32 wanted) override
    {
        if (closed_)
            throw css::io::IOException(rtl::OUString("the pipe is closed"));
        bytes.realloc(wanted);
        sal_Int32 got = 0;
        while (got < wanted) {
            const ssize_t n = ::recv(fd_, bytes.getArray() + got, size_t(wanted - got), 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += sal_Int32(n);
        }
        return got;
    }

    void SAL_CALL write(const css::uno::Sequence<sal_Int8>& bytes) override
    {
        sal_Int32 sent = 0;
        while (sent < bytes.getLength()) {
            const ssize_t n = ::send(fd_, bytes.getConstArray() + sent, size_t(bytes.getLength() - sent), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0 || closed_)
                throw css::io::IOException(rtl::OUString("the office's pipe broke"));
            sent += sal_Int32(n);
        }
    }

    void SAL_CALL flush() override {}

    // Wakes a read waiting on another thread; the socket itself goes with
    // the last reference.
    void SAL_CALL close() override
    {
        if (!closed_.exchange(true))
            ::shutdown(fd_, SHUT_RDWR);
    }

    rtl::OUString SAL_CALL getDescription() override { return description_; }

private:
    int fd_;
    rtl::OUString description_;
    std::atomic<bool> closed_ = false;
};

}  // namespace

com::sun::star::uno::Reference<com::sun::star::connection::XConnection>
connectToPipe(const QString& pipeName, const std::function<bool()>& tryAgain)
{
    for (;;) {
        const int fd = connectToOwnPipe(pipeName);
        if (fd >= 0)
            return new SocketConnection(fd, pipeName);
        if (!tryAgain())
            throw css::connection::NoConnectException(
                toOffice(QStringLiteral("Connector : couldn't connect to pipe %1").arg(pipeName)));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
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
