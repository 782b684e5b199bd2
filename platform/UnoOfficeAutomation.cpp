#include "platform/UnoOfficeAutomation.h"

#include "common/AwayFromGuiThread.h"
#include "platform/UnoContext.h"

#include <QCryptographicHash>
#include <QProcess>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/connection/XConnection.hpp>
#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFramesSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/frame/XDesktop.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XTitle.hpp>
#include <com/sun/star/frame/XDispatchHelper.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/reflection/XIdlClass.hpp>
#include <com/sun/star/reflection/XIdlField2.hpp>
#include <com/sun/star/reflection/XIdlReflection.hpp>

#include <chrono>

namespace vorlin::platform {

namespace css = com::sun::star;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

// Everything the office hands out is kept as the value it came as.
class UnoObject : public OfficeObject {
public:
    explicit UnoObject(Any value) : value(std::move(value)) {}
    Any value;
};

OfficeRef wrap(const Any& value)
{
    if (!value.hasValue())
        return {};
    if (value.getValueTypeClass() == css::uno::TypeClass_INTERFACE) {
        Reference<css::uno::XInterface> object;
        value >>= object;
        if (!object.is())
            return {};
    }
    return std::make_shared<const UnoObject>(value);
}

OfficeRef wrap(const Reference<css::uno::XInterface>& object)
{
    return wrap(Any(object));
}

const Any& valueOf(const OfficeRef& ref)
{
    static const Any none;
    const auto* object = dynamic_cast<const UnoObject*>(ref.get());
    return object ? object->value : none;
}

template <class Interface>
Reference<Interface> as(const OfficeRef& ref)
{
    Reference<css::uno::XInterface> object;
    valueOf(ref) >>= object;
    return Reference<Interface>(object, UNO_QUERY);
}

Any toAny(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return Any(toOffice(value.toString()));
    case QMetaType::UInt:
        return Any(sal_uInt32(value.toUInt()));
    case QMetaType::Int:
        return Any(sal_Int32(value.toInt()));
    case QMetaType::Bool:
        return Any(bool(value.toBool()));
    default:
        return Any();
    }
}

template <class Call>
auto unoCall(Call&& call)
{
    return [&] {
        try {
            return call();
        } catch (const css::uno::Exception& error) {
            throw OfficeError(describeCaughtUnoError(error));
        }
    };
}

}  // namespace

struct UnoOfficeAutomation::Bridge {
    Reference<css::lang::XComponent> component;
};

template <class Call>
auto UnoOfficeAutomation::officeCall(Call&& call)
{
    // A frozen office must not freeze the program: the call is abandoned by
    // cutting the connection, which makes the waiting call return.
    const Reference<css::lang::XComponent> bridge = bridge_ ? bridge_->component : nullptr;
    try {
        return awayFromGuiThread(unoCall(call), callTimeLimitMs, [bridge] {
            try {
                if (bridge.is())
                    bridge->dispose();
            } catch (const css::uno::Exception&) {
            }
        });
    } catch (const CallTimedOut&) {
        bridge_.reset();
        throw OfficeError(notAnswering());
    }
}

UnoOfficeAutomation::UnoOfficeAutomation(QString pipeName, QStringList officeArguments)
    : pipeName_(std::move(pipeName)), officeArguments_(std::move(officeArguments))
{
}

QString UnoOfficeAutomation::sessionPipeName()
{
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("WAYLAND_DISPLAY");
    for (QChar& c : display)
        if (!c.isLetterOrNumber())
            c = u'_';
    return QStringLiteral("vorlin_") + display;
}

UnoOfficeAutomation::~UnoOfficeAutomation()
{
    release();
}

OfficeRef UnoOfficeAutomation::connect()
{
    if (!officeInstalled())
        throw OfficeError(QStringLiteral("Invalid class string, ProgID: \"com.sun.star.ServiceManager\""));
    release();
    const Reference<css::connection::XConnection> pipe = awayFromGuiThread(unoCall([&] {
        // Nobody listens: the office opens the pipe, started if need be.
        bool asked = false;
        std::chrono::steady_clock::time_point deadline;
        return connectToPipe(pipeName_, [&] {
            if (!asked) {
                QStringList arguments = officeArguments_;
                arguments << QStringLiteral("--accept=pipe,name=%1;urp;").arg(pipeName_);
                if (!QProcess::startDetached(officeProgramDir() + QStringLiteral("/soffice"), arguments))
                    throw OfficeError(QStringLiteral("Server execution failed"));
                asked = true;
                deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(startTimeoutMs);
            }
            return std::chrono::steady_clock::now() < deadline;
        });
    }));
    // A frozen office takes the connection but never answers on it.
    try {
        const PipeBridge connection = awayFromGuiThread(
            unoCall([&] { return bridgeOver(pipe, "StarOffice.ServiceManager"); }), callTimeLimitMs, [pipe] {
                try {
                    pipe->close();
                } catch (const css::uno::Exception&) {
                }
            });
        bridge_ = std::make_unique<Bridge>(Bridge{connection.bridge});
        return wrap(connection.instance);
    } catch (const CallTimedOut&) {
        throw OfficeError(notAnswering());
    }
}

QString UnoOfficeAutomation::notAnswering() const
{
    return QStringLiteral("LibreOffice neodpovídá (déle než %1 s), program na něj přestal čekat. Až LibreOffice "
                          "opět odpoví, zkontrolujte dokument, do kterého se vkládalo.")
        .arg(callTimeLimitMs / 1000);
}

OfficeRef UnoOfficeAutomation::createInstance(const OfficeRef& serviceManager, const QString& serviceName)
{
    return officeCall([&] {
        const auto factory = as<css::lang::XMultiServiceFactory>(serviceManager);
        if (!factory.is())
            throw css::uno::RuntimeException(rtl::OUString("no service manager"));
        return wrap(factory->createInstance(toOffice(serviceName)));
    });
}

OfficeRef UnoOfficeAutomation::currentFrame(const OfficeRef& desktop)
{
    return officeCall([&] {
        const auto frames = as<css::frame::XDesktop>(desktop);
        if (!frames.is())
            throw css::uno::RuntimeException(rtl::OUString("no desktop"));
        const Reference<css::frame::XFrame> frame = frames->getCurrentFrame();
        // The Start Center is a frame too, but shows no document to paste into.
        const Reference<css::frame::XController> controller = frame.is() ? frame->getController() : nullptr;
        if (!controller.is() || !controller->getModel().is())
            return OfficeRef();
        return wrap(frame);
    });
}

QString UnoOfficeAutomation::frameTitle(const OfficeRef& frame)
{
    return officeCall([&] {
        const auto title = as<css::frame::XTitle>(frame);
        return title.is() ? fromOffice(title->getTitle()) : QString();
    });
}

OfficeRef UnoOfficeAutomation::frameTitled(const OfficeRef& desktop, const QString& title)
{
    return officeCall([&] {
        const auto supplier = as<css::frame::XFramesSupplier>(desktop);
        if (!supplier.is())
            throw css::uno::RuntimeException(rtl::OUString("no desktop"));
        const Reference<css::container::XIndexAccess> frames(supplier->getFrames(), UNO_QUERY_THROW);
        for (sal_Int32 i = 0; i < frames->getCount(); ++i) {
            Reference<css::frame::XFrame> frame;
            frames->getByIndex(i) >>= frame;
            const Reference<css::frame::XTitle> shown(frame, UNO_QUERY);
            if (!shown.is() || fromOffice(shown->getTitle()) != title)
                continue;
            const Reference<css::frame::XController> controller = frame->getController();
            if (controller.is() && controller->getModel().is())
                return wrap(frame);
        }
        return OfficeRef();
    });
}

QByteArray UnoOfficeAutomation::documentState(const OfficeRef& frame)
{
    return officeCall([&] {
        const auto shown = as<css::frame::XFrame>(frame);
        const Reference<css::frame::XController> controller = shown.is() ? shown->getController() : nullptr;
        if (!controller.is())
            throw css::uno::RuntimeException(rtl::OUString("the document was closed"));
        QCryptographicHash state(QCryptographicHash::Sha1);
        // The body's text; a paste into a table cell or a frame leaves it as
        // it was but adds to the undo list and moves the cursor.
        const Reference<css::text::XTextDocument> text(controller->getModel(), UNO_QUERY);
        if (text.is())
            state.addData(QByteArrayView(fromOffice(text->getText()->getString()).toUtf8()));
        const Reference<css::document::XUndoManagerSupplier> undo(controller->getModel(), UNO_QUERY);
        if (undo.is()) {
            for (const rtl::OUString& action : undo->getUndoManager()->getAllUndoActionTitles())
                state.addData(QByteArrayView(fromOffice(action).toUtf8() + '\n'));
        }
        const Reference<css::text::XTextViewCursorSupplier> view(controller, UNO_QUERY);
        if (view.is()) {
            const css::awt::Point at = view->getViewCursor()->getPosition();
            state.addData(QByteArrayView(QByteArray::number(at.X) + ',' + QByteArray::number(at.Y)));
        }
        return state.result();
    });
}

void UnoOfficeAutomation::executeDispatch(const OfficeRef& dispatcher, const OfficeRef& frame,
                                          const QString& commandUrl, const QString& targetFrameName,
                                          qint32 searchFlags, const QList<OfficeRef>& arguments)
{
    officeCall([&] {
        const auto helper = as<css::frame::XDispatchHelper>(dispatcher);
        if (!helper.is())
            throw css::uno::RuntimeException(rtl::OUString("no dispatch helper"));
        css::uno::Sequence<css::beans::PropertyValue> list(arguments.size());
        for (qsizetype i = 0; i < arguments.size(); ++i)
            valueOf(arguments[i]) >>= list.getArray()[i];
        helper->executeDispatch(as<css::frame::XDispatchProvider>(frame), toOffice(commandUrl),
                                toOffice(targetFrameName), searchFlags, list);
    });
}

OfficeRef UnoOfficeAutomation::propertyValue(const OfficeRef& reflection, const QString& name, const QVariant& value)
{
    return officeCall([&] {
        const auto types = as<css::reflection::XIdlReflection>(reflection);
        if (!types.is())
            throw css::uno::RuntimeException(rtl::OUString("no reflection service"));
        const Reference<css::reflection::XIdlClass> type = types->forName(rtl::OUString("com.sun.star.beans.PropertyValue"));
        if (!type.is())
            throw css::uno::RuntimeException(rtl::OUString("com.sun.star.beans.PropertyValue"));
        Any object;
        type->createObject(object);
        Reference<css::reflection::XIdlField2>(type->getField(rtl::OUString("Name")), UNO_QUERY_THROW)
            ->set(object, Any(toOffice(name)));
        Reference<css::reflection::XIdlField2>(type->getField(rtl::OUString("Value")), UNO_QUERY_THROW)->set(object, toAny(value));
        return wrap(object);
    });
}

void UnoOfficeAutomation::release()
{
    if (!bridge_)
        return;
    const Reference<css::lang::XComponent> bridge = bridge_->component;
    bridge_.reset();
    if (!bridge.is())
        return;
    try {
        awayFromGuiThread([&] { bridge->dispose(); });
    } catch (const css::uno::Exception&) {
        // A bridge the office already closed has nothing left to let go of.
    }
}

}  // namespace vorlin::platform
