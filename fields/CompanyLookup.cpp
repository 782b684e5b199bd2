#include "fields/CompanyLookup.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace vorlin::fields {

namespace {

// A company's record is a few kilobytes; anything far larger is no answer.
constexpr qint64 kLongestAnswer = 1 << 20;

QString seconds(int ms)
{
    return QString::number(ms / 1000.0).replace(u'.', u',') + QStringLiteral(" s");
}

QString unreachable(QNetworkReply::NetworkError error)
{
    QString why;
    switch (error) {
    case QNetworkReply::HostNotFoundError:
        why = QStringLiteral("adresa nenalezena");
        break;
    case QNetworkReply::ConnectionRefusedError:
        why = QStringLiteral("spojení odmítnuto");
        break;
    case QNetworkReply::SslHandshakeFailedError:
        why = QStringLiteral("zabezpečené spojení selhalo");
        break;
    default:
        why = QStringLiteral("bez spojení");
    }
    return QStringLiteral("Registr ARES není dostupný (%1); údaje vyplňte ručně.").arg(why);
}

}  // namespace

CompanyLookup::CompanyLookup(QString registerAddress, int timeLimitMs, QObject* parent)
    : QObject(parent), address_(std::move(registerAddress)), timeLimitMs_(timeLimitMs)
{
}

CompanyLookup::~CompanyLookup()
{
    if (waiting_) {
        waiting_->disconnect(this);
        waiting_->abort();
    }
}

void CompanyLookup::lookUp(const QString& companyId)
{
    if (waiting_) {
        waiting_->disconnect(this);
        waiting_->abort();
        waiting_->deleteLater();
    }
    if (!isOn())
        return;
    QNetworkRequest request(QUrl(registerRecordUrl(address_, companyId)));
    request.setRawHeader("Accept", "application/json");
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Vorlin"));
    request.setTransferTimeout(timeLimitMs_);
    QNetworkReply* reply = network_.get(request);
    waiting_ = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64) {
        if (received > kLongestAnswer) {
            reply->setProperty("tooLong", true);
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, companyId] { finish(reply, companyId); });
}

void CompanyLookup::finish(QNetworkReply* reply, const QString& companyId)
{
    reply->deleteLater();
    waiting_ = nullptr;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (reply->property("tooLong").toBool()) {
        Q_EMIT answered(readRegisterAnswer(200, QByteArray(), companyId));  // read as an answer not understood
        return;
    }
    if (status.isValid() && reply->error() != QNetworkReply::OperationCanceledError) {
        Q_EMIT answered(readRegisterAnswer(status.toInt(), reply->readAll(), companyId));
        return;
    }
    const bool late = reply->error() == QNetworkReply::OperationCanceledError || reply->error() == QNetworkReply::TimeoutError;
    Q_EMIT answered({std::nullopt, late ? QStringLiteral("Registr ARES neodpověděl do %1; údaje vyplňte ručně.").arg(seconds(timeLimitMs_))
                                      : unreachable(reply->error())});
}

}  // namespace vorlin::fields
