#include "platform/PrivateOfficeConverter.h"

#include "common/TextFile.h"
#include "platform/UnoContext.h"

#include <QCoreApplication>
#include <QUrl>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <chrono>
#include <iterator>
#include <csignal>
#include <unistd.h>

namespace vorlin::platform {

namespace css = com::sun::star;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

struct PrivateOfficeConverter::Connection {
    Reference<css::lang::XComponent> bridge;
    Reference<css::frame::XDesktop2> desktop;
};

namespace {

css::beans::PropertyValue property(const char* name, const Any& value)
{
    css::beans::PropertyValue result;
    result.Name = rtl::OUString::createFromAscii(name);
    result.Value = value;
    return result;
}

// What the office makes of a file that is no word-processor document: it
// reads the bytes as plain text.
bool readAsPlainText(const Reference<css::lang::XComponent>& document)
{
    const Reference<css::frame::XModel> model(document, UNO_QUERY);
    if (!model.is())
        return false;
    const css::uno::Sequence<css::beans::PropertyValue> arguments = model->getArgs();
    for (const css::beans::PropertyValue& argument : arguments) {
        rtl::OUString filter;
        if (argument.Name == "FilterName" && (argument.Value >>= filter))
            return filter.startsWith("Text");
    }
    return false;
}

}  // namespace

PrivateOfficeConverter::PrivateOfficeConverter()
    : pipeName_(QStringLiteral("vorlin_import_%1_%2").arg(::getpid()).arg(quintptr(this), 0, 16))
{
}

PrivateOfficeConverter::~PrivateOfficeConverter()
{
    stop();
}

void PrivateOfficeConverter::start()
{
    if (!officeInstalled())
        throw OfficeError(QStringLiteral("LibreOffice není nainstalován (chybí %1/soffice), "
                                         "dokumenty doc a docx proto nelze převést na text.")
                              .arg(officeProgramDir()));
    if (!profile_)
        profile_ = std::make_unique<QTemporaryDir>();
    process_ = std::make_unique<QProcess>();
    // A process group of its own, so that a kill ends the office's real
    // process too and not only its starter.
    process_->setChildProcessModifier([] { ::setpgid(0, 0); });
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->setStandardOutputFile(QProcess::nullDevice());
    process_->start(officeProgramDir() + QStringLiteral("/soffice"),
                    {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile_->path()).toString(),
                     QStringLiteral("--headless"), QStringLiteral("--invisible"), QStringLiteral("--nodefault"),
                     QStringLiteral("--norestore"), QStringLiteral("--nolockcheck"), QStringLiteral("--nologo"),
                     QStringLiteral("--accept=pipe,name=%1;urp;").arg(pipeName_)});
    if (!process_->waitForStarted(10000))
        throw OfficeError(QStringLiteral("LibreOffice nelze spustit: %1").arg(process_->errorString()));

    try {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(startTimeoutMs);
        const PipeBridge pipe = bridgeOverPipe(pipeName_, "StarOffice.ComponentContext", [&] {
            return !process_->waitForFinished(0) && std::chrono::steady_clock::now() < deadline;
        });
        const Reference<css::uno::XComponentContext> remote(pipe.instance, UNO_QUERY_THROW);
        auto connection = std::make_shared<Connection>();
        connection->bridge = pipe.bridge;
        connection->desktop = css::frame::Desktop::create(remote);
        std::lock_guard lock(mutex_);
        connection_ = connection;
    } catch (const css::uno::Exception& error) {
        const QString message = describeCaughtUnoError(error);
        killProcess();
        throw OfficeError(QStringLiteral("LibreOffice nelze spustit: %1").arg(message));
    }
}

void PrivateOfficeConverter::convert(const QString& document, const QString& textFile)
{
    std::shared_ptr<Connection> connection;
    {
        std::lock_guard lock(mutex_);
        connection = connection_;
    }
    if (!connection)
        throw OfficeError(QStringLiteral("LibreOffice neběží."));
    try {
        const Reference<css::frame::XComponentLoader> loader(connection->desktop, UNO_QUERY_THROW);
        const css::beans::PropertyValue loadingList[] = {
            property("Hidden", Any(true)),
            property("ReadOnly", Any(true)),
            // Documents from anywhere: their macros never run, their links
            // are never followed.
            property("MacroExecutionMode", Any(css::document::MacroExecMode::NEVER_EXECUTE)),
            property("UpdateDocMode", Any(css::document::UpdateDocMode::NO_UPDATE)),
        };
        const css::uno::Sequence<css::beans::PropertyValue> loading(loadingList, std::size(loadingList));
        const Reference<css::lang::XComponent> loaded = loader->loadComponentFromURL(
            toOffice(QUrl::fromLocalFile(document).toString()), rtl::OUString("_blank"), 0, loading);
        if (!loaded.is())
            throw OfficeError(QStringLiteral("Dokument nelze otevřít."));
        const Reference<css::util::XCloseable> closeable(loaded, UNO_QUERY);
        struct CloseAtEnd {
            Reference<css::util::XCloseable> document;
            ~CloseAtEnd()
            {
                try {
                    if (document.is())
                        document->close(true);
                } catch (const css::uno::Exception&) {
                }
            }
        } closeAtEnd{closeable};
        if (readAsPlainText(loaded))
            throw OfficeError(QStringLiteral("Soubor není dokument textového editoru."));
        const css::beans::PropertyValue storingList[] = {
            property("FilterName", Any(rtl::OUString("Text (encoded)"))),
            property("FilterOptions", Any(rtl::OUString("MS_1250,CRLF,,"))),
            property("Overwrite", Any(true)),
        };
        const css::uno::Sequence<css::beans::PropertyValue> storing(storingList, std::size(storingList));
        Reference<css::frame::XStorable>(loaded, UNO_QUERY_THROW)
            ->storeToURL(toOffice(QUrl::fromLocalFile(textFile).toString()), storing);
    } catch (const css::uno::Exception& error) {
        throw OfficeError(describeCaughtUnoError(error));
    }
    // Paragraphs end in CR LF; a line break inside a paragraph comes out as
    // LF alone, made CR LF too.
    try {
        const QByteArray written = readWholeFile(textFile);
        const QByteArray crLf = withCrLfLineEnds(written);
        QString reason;
        if (crLf != written && !replaceFileContent(textFile, crLf, &reason))
            throw OfficeError(reason);
    } catch (const FileError& error) {
        throw OfficeError(error.message());
    }
}

void PrivateOfficeConverter::kill()
{
    killProcess();
}

void PrivateOfficeConverter::killProcess()
{
    std::shared_ptr<Connection> connection;
    {
        std::lock_guard lock(mutex_);
        connection.swap(connection_);
    }
    if (process_ && process_->state() != QProcess::NotRunning) {
        ::kill(-pid_t(process_->processId()), SIGKILL);
        process_->waitForFinished(5000);
    }
    process_.reset();
    if (connection && connection->bridge.is()) {
        try {
            connection->bridge->dispose();
        } catch (const css::uno::Exception&) {
        }
    }
}

void PrivateOfficeConverter::stop()
{
    std::shared_ptr<Connection> connection;
    {
        std::lock_guard lock(mutex_);
        connection = connection_;
    }
    if (connection) {
        try {
            connection->desktop->terminate();
        } catch (const css::uno::Exception&) {
            // The office going away while it answers is what was asked for.
        }
    }
    if (process_ && process_->state() != QProcess::NotRunning && !process_->waitForFinished(10000))
        killProcess();
    killProcess();
    profile_.reset();
}

}  // namespace vorlin::platform
