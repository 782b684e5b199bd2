#include "platform/UnoContext.h"

#include <QFileInfo>

#include <cppuhelper/bootstrap.hxx>
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

}  // namespace vorlin::platform
