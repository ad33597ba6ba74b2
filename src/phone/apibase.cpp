#include "apibase.h"
#include "formats.h"
#include "phonelog.h"

#include <QCoreApplication>
#include <QMutex>
#include <QPointer>

namespace Orvak_API {

namespace {

QMutex s_receiverMutex;
QPointer<QObject> s_receiver;
API_Base::ErrorHandler s_handler;

} // namespace

API_Base::API_Base(QObject *parent) : QObject(parent)
{
    QMutexLocker lock(&s_receiverMutex);
    if (s_receiver && s_handler)
        connect(this, &API_Base::SignalErrorMessage, s_receiver.data(), s_handler);
}

API_Base::~API_Base() = default;

void API_Base::setErrorReceiver(QObject *receiver, ErrorHandler handler)
{
    QMutexLocker lock(&s_receiverMutex);
    s_receiver = receiver;
    s_handler = receiver ? std::move(handler) : ErrorHandler();
}

bool API_Base::checkResult(int32_t code, const QString &context, bool markError)
{
    m_lastResult = code;
    m_lastCode = code;
    if (code < 0)
        reportError(context, markError);
    return m_lastResult >= 0;
}

void API_Base::reportError(const QString &context, bool markError, const QString &detail)
{
    if (markError)
        m_errorFlag = true;
    m_lastMessage = context;
    if (!m_errorTable || m_suppressErrors)
        return;
    QString friendly;
    QString technical;
    if (const ErrorRow *row = findErrorRow(m_errorTable, m_lastCode)) {
        friendly = friendlyText(*row);
        technical = QString::fromUtf8(row->technicalText);
        // The friendly text is shown as rich text; the file name is not.
        if (carriesConversionText(*row) && !detail.isEmpty())
            friendly = friendly.arg(Formats::escaped(detail), 0, QLatin1Char(' '));
    }
    m_lastMessage += QStringLiteral(": ") + (technical.isEmpty() ? QStringLiteral("Unknown reason") : technical);
    if (friendly.isEmpty())
        friendly = unknownErrorText();
    if (m_lastResult < 0 || m_lastCode != 0) {
        qCDebug(lcPhone).noquote() << "error" << Qt::hex << uint32_t(m_lastCode) << m_lastMessage;
        Q_EMIT SignalErrorMessage(QCoreApplication::translate("API_Base", "System Error"), m_lastMessage, friendly);
    }
}

} // namespace Orvak_API
