#pragma once

#include <QString>

#include <com/sun/star/connection/XConnection.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ustring.hxx>

#include <functional>

namespace vorlin::platform {

// Where the office's programs and registries are.
QString officeProgramDir();

// Whether the office is installed: its start program and its bootstrap file.
bool officeInstalled();

// The component context of this process, made once from the office's own
// type and service registries.
com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> localUnoContext();

// The office's own description of the UNO error being handled, or the name
// of its kind when the office gave none. Only inside its catch block.
QString describeCaughtUnoError(const com::sun::star::uno::Exception& error);

// A connection to an office over a named pipe of this user and the object the
// office offers there under that name ("StarOffice.ServiceManager").
struct PipeBridge {
    com::sun::star::uno::Reference<com::sun::star::lang::XComponent> bridge;  // disposed to let go
    com::sun::star::uno::Reference<com::sun::star::uno::XInterface> instance;
};

// Connects to the pipe when it is this user's own (ForeignPipeError
// otherwise, raised before anything is sent). While nobody listens there it
// tries again for as long as tryAgain(), asked after each refusal, says so
// (every 20 ms); then NoConnectException is raised.
com::sun::star::uno::Reference<com::sun::star::connection::XConnection>
connectToPipe(const QString& pipeName, const std::function<bool()>& tryAgain);

// A bridge over the connection and the object offered under that name. A
// frozen office is left by closing the connection.
PipeBridge bridgeOver(const com::sun::star::uno::Reference<com::sun::star::connection::XConnection>& connection,
                      const char* instanceName);

// Both of the above.
PipeBridge bridgeOverPipe(const QString& pipeName, const char* instanceName, const std::function<bool()>& tryAgain);

inline rtl::OUString toOffice(const QString& text)
{
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()), sal_Int32(text.size()));
}

inline QString fromOffice(const rtl::OUString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getStr()), text.getLength());
}

}  // namespace vorlin::platform
