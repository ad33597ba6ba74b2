#pragma once

#include <QList>
#include <QNetworkProxy>
#include <QStringList>

// How a download reaches its host, as the desktop's and the environment's
// proxy settings say for one URL.
struct ProxySettings
{
    bool direct = true;             // no proxy
    QList<QNetworkProxy> proxies;   // in the order to try them
    QStringList bypass;             // host patterns that go direct

    // The settings for "http://" + host.
    static ProxySettings lookUp(const QString &host);

    // Whether host matches one of the bypass patterns: each non-empty
    // pattern followed by "*", as a case-sensitive wildcard over the whole host.
    bool bypasses(const QString &host) const;
    // The proxy to use for host: the first one unless direct or bypassed.
    QNetworkProxy proxyFor(const QString &host) const;
};
