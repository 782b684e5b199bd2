#pragma once

#include "common/Error.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

namespace vorlin::platform {

// An object living in the office (a service, a frame, a struct value), held
// for as long as the reference lives. An empty reference is the office's null.
class OfficeObject {
public:
    virtual ~OfficeObject() = default;
};
using OfficeRef = std::shared_ptr<const OfficeObject>;

// A call the office or the system refused; the message is its description.
class OfficeError : public Error {
public:
    using Error::Error;
};

// The user's office suite driven through its automation interface. Every
// call waits for the office's answer; a refused call raises OfficeError.
class OfficeAutomation {
public:
    virtual ~OfficeAutomation() = default;

    // The service manager of the user's running office, which is started
    // when it does not run.
    virtual OfficeRef connect() = 0;

    // A new instance of the named service, made by that service manager.
    virtual OfficeRef createInstance(const OfficeRef& serviceManager, const QString& serviceName) = 0;

    // The desktop's current frame at this moment; empty when it has none or
    // when it shows no document.
    virtual OfficeRef currentFrame(const OfficeRef& desktop) = 0;

    // The title the frame shows in its window.
    virtual QString frameTitle(const OfficeRef& frame) = 0;

    // The desktop's frame that shows a document under exactly this title;
    // empty when there is none.
    virtual OfficeRef frameTitled(const OfficeRef& desktop, const QString& title) = 0;

    // What the frame's document holds at this moment, reduced to a value
    // that any change of its text, its undo list or its cursor changes.
    virtual QByteArray documentState(const OfficeRef& frame) = 0;

    // One dispatch command through the dispatch helper to that frame; an
    // empty argument is an empty element of the argument list.
    virtual void executeDispatch(const OfficeRef& dispatcher, const OfficeRef& frame, const QString& commandUrl,
                                 const QString& targetFrameName, qint32 searchFlags,
                                 const QList<OfficeRef>& arguments) = 0;

    // A new com.sun.star.beans.PropertyValue made through the reflection
    // service, with that Name and Value (a text, or a number of the
    // variant's integer type).
    virtual OfficeRef propertyValue(const OfficeRef& reflection, const QString& name, const QVariant& value) = 0;

    // Lets go of the connection once every reference of it has been dropped;
    // the office itself keeps running.
    virtual void release() = 0;
};

}  // namespace vorlin::platform
