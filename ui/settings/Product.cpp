#include "ui/settings/Product.h"

namespace vorlin::product {

QString updateUrl()
{
    const QString fromEnvironment = qEnvironmentVariable("VORLIN_UPDATE_URL");
    return fromEnvironment.isEmpty() ? kWeb + QStringLiteral("vorlin.txt") : fromEnvironment;
}

QString downloadUrl()
{
    const QString fromEnvironment = qEnvironmentVariable("VORLIN_DOWNLOAD_URL");
    return fromEnvironment.isEmpty() ? kWeb + QStringLiteral("stazeni/") : fromEnvironment;
}

}  // namespace vorlin::product
