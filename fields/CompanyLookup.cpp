#include "fields/CompanyLookup.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
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

// Only HTTPS goes out: the IČO asked and the answer filled into a letter
// are nobody else's business. Plain HTTP is for a stand-in on this machine.
bool isSafeAddress(const QUrl& url)
{
    if (url.scheme() == QLatin1String("https"))
        return true;
    const QString host = url.host();
    return url.scheme() == QLatin1String("http")
        && (host == QLatin1String("localhost") || host == QLatin1String("127.0.0.1") || host == QLatin1String("::1"));
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
    const QUrl url(registerRecordUrl(address_, companyId));
    if (!isSafeAddress(url)) {
        // Said as an answer, after the question, as any other answer comes.
        QMetaObject::invokeMethod(this, [this] {
            Q_EMIT answered({std::nullopt, QStringLiteral("Adresa registru ARES musí začínat „https://“; údaje "
                                                          "vyplňte ručně.")});
        }, Qt::QueuedConnection);
        return;
    }
    QNetworkRequest request(url);
    request.setRawHeader("Accept", "application/json");
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Vorlin"));
    // A redirect may lead elsewhere on the register's own server only.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    QNetworkReply* reply = network_.get(request);
    waiting_ = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64) {
        if (received > kLongestAnswer) {
            reply->setProperty("tooLong", true);
            reply->abort();
        }
    });
    // One limit for the whole answer: a server sending a byte at a time
    // does not keep the form waiting.
    auto* limit = new QTimer(reply);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, reply, [reply] {
        reply->setProperty("late", true);
        reply->abort();
    });
    limit->start(timeLimitMs_);
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
    if (reply->error() == QNetworkReply::InsecureRedirectError || reply->error() == QNetworkReply::TooManyRedirectsError
        || status.toInt() / 100 == 3) {
        Q_EMIT answered({std::nullopt, QStringLiteral("Registr ARES odkázal na jiný server; údaje vyplňte ručně.")});
        return;
    }
    if (status.isValid() && reply->error() != QNetworkReply::OperationCanceledError) {
        Q_EMIT answered(readRegisterAnswer(status.toInt(), reply->readAll(), companyId));
        return;
    }
    const bool late = reply->property("late").toBool() || reply->error() == QNetworkReply::TimeoutError;
    Q_EMIT answered({std::nullopt, late ? QStringLiteral("Registr ARES neodpověděl do %1; údaje vyplňte ručně.").arg(seconds(timeLimitMs_))
                                      : unreachable(reply->error())});
}

}  // namespace vorlin::fields
