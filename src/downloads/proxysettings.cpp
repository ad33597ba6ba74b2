#include "proxysettings.h"

#include <QNetworkProxyFactory>
#include <QRegularExpression>
#include <QUrl>

ProxySettings ProxySettings::lookUp(const QString &host)
{
    ProxySettings settings;
    const QList<QNetworkProxy> system =
        QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(QUrl(QStringLiteral("http://") + host)));
    for (const QNetworkProxy &proxy : system) {
        if (proxy.type() == QNetworkProxy::HttpProxy || proxy.type() == QNetworkProxy::Socks5Proxy)
            settings.proxies.append(QNetworkProxy(proxy.type(), proxy.hostName(), proxy.port()));
    }
    settings.direct = settings.proxies.isEmpty();
    QString noProxy = qEnvironmentVariable("no_proxy");
    if (noProxy.isEmpty())
        noProxy = qEnvironmentVariable("NO_PROXY");
    for (const QString &pattern : noProxy.split(QLatin1Char(','), Qt::SkipEmptyParts))
        settings.bypass.append(pattern.trimmed());
    return settings;
}

bool ProxySettings::bypasses(const QString &host) const
{
    for (const QString &pattern : bypass) {
        if (pattern.isEmpty())
            continue;
        // Anchored: the pattern must cover the whole host.
        const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(pattern + QLatin1Char('*')));
        if (wildcard.match(host).hasMatch())
            return true;
    }
    return false;
}

QNetworkProxy ProxySettings::proxyFor(const QString &host) const
{
    if (direct || proxies.isEmpty() || bypasses(host))
        return QNetworkProxy(QNetworkProxy::NoProxy);
    return proxies.first();
}
