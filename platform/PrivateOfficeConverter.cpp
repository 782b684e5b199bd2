#include "platform/PrivateOfficeConverter.h"

#include "common/TextFile.h"
#include "platform/ConfinedChild.h"
#include "platform/OwnOfficePipe.h"
#include "platform/UnoContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <chrono>
#include <iterator>
#include <utility>
#include <cerrno>
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

// The office's exit code that asks its launcher to start it again.
constexpr int kRestartRequested = 81;
constexpr const char* kProfilePrefix = "vorlin-office-";
constexpr const char* kPipePrefix = "vorlin_import_";

bool processEnded(const QString& pid)
{
    bool number = false;
    const pid_t id = pid.toInt(&number);
    return number && id > 0 && ::kill(id, 0) != 0 && errno == ESRCH;
}

}  // namespace

void PrivateOfficeConverter::removeLeftoversOfEndedRuns()
{
    const QRegularExpression profileName(QStringLiteral("^%1(\\d+)-").arg(QLatin1String(kProfilePrefix)));
    QDir temp(QDir::tempPath());
    for (const QFileInfo& entry : temp.entryInfoList({QLatin1String(kProfilePrefix) + u'*'}, QDir::Dirs | QDir::NoSymLinks)) {
        const auto match = profileName.match(entry.fileName());
        if (match.hasMatch() && entry.ownerId() == ::geteuid() && processEnded(match.captured(1)))
            QDir(entry.filePath()).removeRecursively();
    }
    const QString pipePrefix = QStringLiteral("OSL_PIPE_%1_%2").arg(::getuid()).arg(QLatin1String(kPipePrefix));
    const QRegularExpression pipeName(u'^' + pipePrefix + QStringLiteral("(\\d+)_"));
    for (const QFileInfo& entry : QDir(QStringLiteral("/tmp")).entryInfoList({pipePrefix + u'*'}, QDir::System)) {
        const auto match = pipeName.match(entry.fileName());
        if (match.hasMatch() && entry.ownerId() == ::geteuid() && processEnded(match.captured(1)))
            QFile::remove(entry.filePath());
    }
}

namespace {

// Why the office ended before it opened its pipe.
QString startFailure(QProcess& process)
{
    QString reason = confinementFailure(process.exitCode());
    if (reason.isEmpty())
        reason = process.exitStatus() == QProcess::CrashExit
                     ? QStringLiteral("skončil chybou")
                     : QStringLiteral("skončil s kódem %1").arg(process.exitCode());
    return QStringLiteral("LibreOffice nelze spustit: %1.").arg(reason);
}

}  // namespace

PrivateOfficeConverter::PrivateOfficeConverter() = default;

PrivateOfficeConverter::~PrivateOfficeConverter()
{
    stop();
}

void PrivateOfficeConverter::prepare()
{
    if (prepared_)
        return;
    try {
        launchFresh();
        prepared_ = true;
    } catch (const OfficeError&) {
        killProcess();  // start() tries again and says why
        return;
    }
    // The first start in a fresh profile ends asking to be started again:
    // done at once, while events are served, so that start() finds the
    // office nearly ready.
    QProcess* first = process_.get();
    QObject::connect(first, &QProcess::finished, &life_, [this, first](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != kRestartRequested)
            return;
        QTimer::singleShot(0, &life_, [this, first] {
            if (prepared_ && process_.get() == first)
                launch();
        });
    });
}

void PrivateOfficeConverter::launchFresh()
{
    if (!officeInstalled())
        throw OfficeError(QStringLiteral("LibreOffice není nainstalován (chybí %1/soffice), "
                                         "dokumenty doc a docx proto nelze převést na text.")
                              .arg(officeProgramDir()));
    removeLeftoversOfEndedRuns();
    lost_ = false;
    // Every start gets a fresh profile and pipe: nothing of an office that
    // was killed (a lock, a half-written profile, a stale socket) is met again.
    killProcess();
    profile_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/%1%2-XXXXXX")
                                                                      .arg(QLatin1String(kProfilePrefix))
                                                                      .arg(::getpid()));
    if (!profile_->isValid())
        throw OfficeError(QStringLiteral("LibreOffice nelze spustit: %1").arg(profile_->errorString()));
    // Named by chance: no other user can guess the name and wait there
    // first. The process's number leads it, for the cleaning after a kill.
    pipeName_ = QStringLiteral("%1%2_%3")
                    .arg(QLatin1String(kPipePrefix))
                    .arg(::getpid())
                    .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    launch();
}

void PrivateOfficeConverter::start()
{
    // An office launched by prepare() is waited for; any other start is fresh.
    if (!std::exchange(prepared_, false))
        launchFresh();
    try {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(startTimeoutMs);
        int restarts = 0;
        const PipeBridge pipe = bridgeOverPipe(pipeName_, "StarOffice.ComponentContext", [&] {
            // Ended while events were served (a start begun by prepare()),
            // or ending now.
            if (process_->state() == QProcess::NotRunning || process_->waitForFinished(0)) {
                // A fresh profile is made on the first start, after which
                // the office asks to be started again (its launcher would).
                if (process_->exitStatus() != QProcess::NormalExit || process_->exitCode() != kRestartRequested
                    || ++restarts > 3)
                    throw OfficeError(startFailure(*process_));
                launch();
            }
            if (std::chrono::steady_clock::now() >= deadline)
                throw OfficeError(QStringLiteral("LibreOffice nelze spustit: neotevřel spojení do %1 s.")
                                      .arg(startTimeoutMs / 1000));
            return true;
        });
        const Reference<css::uno::XComponentContext> remote(pipe.instance, UNO_QUERY_THROW);
        auto connection = std::make_shared<Connection>();
        connection->bridge = pipe.bridge;
        connection->desktop = css::frame::Desktop::create(remote);
        std::lock_guard lock(mutex_);
        connection_ = connection;
    } catch (const OfficeError&) {
        killProcess();
        throw;
    } catch (const css::uno::Exception& error) {
        const QString message = describeCaughtUnoError(error);
        killProcess();
        throw OfficeError(QStringLiteral("LibreOffice nelze spustit: %1").arg(message));
    }
}

void PrivateOfficeConverter::launch()
{
    // The ended process may be the one whose signal led here.
    if (process_)
        process_.release()->deleteLater();
    process_ = std::make_unique<QProcess>();
    Confinement confinement;
    confinement.networkNamespace = networkNamespace;
    process_->setChildProcessModifier([confinement] { confineChild(confinement); });
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->setStandardOutputFile(QProcess::nullDevice());
    // The office's own program, not its starter script and launcher: the
    // death signal and the limits stay with the process that does the work.
    process_->start(officeProgramDir() + QStringLiteral("/soffice.bin"),
                    {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile_->path()).toString(),
                     QStringLiteral("--headless"), QStringLiteral("--invisible"), QStringLiteral("--nodefault"),
                     QStringLiteral("--norestore"), QStringLiteral("--nolockcheck"), QStringLiteral("--nologo"),
                     QStringLiteral("--accept=pipe,name=%1;urp;").arg(pipeName_)});
    if (!process_->waitForStarted(10000))
        throw OfficeError(QStringLiteral("LibreOffice nelze spustit: %1").arg(process_->errorString()));
}

bool PrivateOfficeConverter::running() const
{
    return !lost_ && process_ && process_->state() == QProcess::Running && !process_->waitForFinished(0);
}

qint64 PrivateOfficeConverter::processId() const
{
    return process_ ? process_->processId() : 0;
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
    } catch (const css::lang::DisposedException&) {
        // The connection went with the office: it died of the document.
        lost_ = true;
        throw OfficeError(QStringLiteral("LibreOffice při převodu skončil: dokument je pro něj příliš velký, "
                                         "nebo poškozený."));
    } catch (const css::uno::Exception& error) {
        throw OfficeError(describeCaughtUnoError(error));
    } catch (const std::bad_alloc&) {
        throw OfficeError(QStringLiteral("Nedostatek paměti."));
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
    prepared_ = false;
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
    // An office asked to end gets its time; one never connected (launched
    // by prepare() and not waited for) has nothing to finish.
    if (connection && process_ && process_->state() != QProcess::NotRunning && !process_->waitForFinished(10000))
        killProcess();
    killProcess();
    profile_.reset();
    if (!pipeName_.isEmpty())
        QFile::remove(officePipePath(pipeName_));
}

}  // namespace vorlin::platform
