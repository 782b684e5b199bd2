#pragma once

#include "fields/CompanyRegister.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>

class QNetworkReply;

namespace vorlin::fields {

// Asks the business register about one IČO at a time, without blocking:
// the answer comes as a signal within the time limit, a failure as a
// Czech sentence that says the user fills the values in by hand.
class CompanyLookup : public QObject {
    Q_OBJECT
public:
    explicit CompanyLookup(QString registerAddress, int timeLimitMs = 3000, QObject* parent = nullptr);
    ~CompanyLookup() override;

    // Whether a register is named at all (an empty address turns it off).
    bool isOn() const { return !address_.trimmed().isEmpty(); }
    // Asks about one IČO; an earlier question still on its way is dropped.
    void lookUp(const QString& companyId);

Q_SIGNALS:
    void answered(const vorlin::fields::RegisterAnswer& answer);

private:
    void finish(QNetworkReply* reply, const QString& companyId);

    QString address_;
    int timeLimitMs_;
    QNetworkAccessManager network_;
    QPointer<QNetworkReply> waiting_;
};

}  // namespace vorlin::fields
