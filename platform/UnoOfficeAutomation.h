#pragma once

#include "platform/OfficeAutomation.h"

#include <QStringList>

#include <memory>

namespace vorlin::platform {

// The user's own LibreOffice reached through UNO over a named pipe of this
// user. When nothing listens on the pipe, the office is asked to open it (a
// running office takes the request over; otherwise the office starts). Every
// call runs away from the GUI thread, which keeps serving the clipboard the
// office may ask this program for meanwhile.
class UnoOfficeAutomation : public OfficeAutomation {
public:
    // The office's own command-line arguments come before the pipe's (a
    // private profile for tests, say).
    explicit UnoOfficeAutomation(QString pipeName = QStringLiteral("vorlin"), QStringList officeArguments = {});
    ~UnoOfficeAutomation() override;

    OfficeRef connect() override;
    OfficeRef createInstance(const OfficeRef& serviceManager, const QString& serviceName) override;
    OfficeRef currentFrame(const OfficeRef& desktop) override;
    QString frameTitle(const OfficeRef& frame) override;
    void executeDispatch(const OfficeRef& dispatcher, const OfficeRef& frame, const QString& commandUrl,
                         const QString& targetFrameName, qint32 searchFlags, const QList<OfficeRef>& arguments) override;
    OfficeRef propertyValue(const OfficeRef& reflection, const QString& name, const QVariant& value) override;
    void release() override;

    // How long a starting office may take to open its pipe.
    int startTimeoutMs = 60000;

private:
    struct Bridge;
    QString pipeName_;
    QStringList officeArguments_;
    std::unique_ptr<Bridge> bridge_;
};

}  // namespace vorlin::platform
