#include "taskprogressbar.h"

#include "componentevent.h"

#include <QCoreApplication>
#include <QMutexLocker>

// Receives the converter's progress events for the bar's conversion channel.
class ConversionProgressReceiver final : public QObject
{
public:
    explicit ConversionProgressReceiver(CTaskProgressBar *bar) : QObject(bar), m_bar(bar) {}

    bool event(QEvent *event) override
    {
        if (ComponentEvent::isComponentEvent(event)) {
            m_bar->handleConversionEvent(event);
            return true;
        }
        return QObject::event(event);
    }

private:
    CTaskProgressBar *m_bar;
};

namespace {

// File names come as PC paths ("/") or phone paths ("\").
QString lastSection(const QString &path)
{
    const int cut = qMax(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.mid(cut + 1);
}

void dropPendingProgress(QObject *receiver)
{
    for (int type : {ComponentEvent::PassBegins, ComponentEvent::PassPosition, ComponentEvent::PassLength})
        QCoreApplication::removePostedEvents(receiver, type);
}

// Share of a whole (100 per file or pass) that `done` of `length` makes.
int percentOf(qint64 done, qint64 length)
{
    return int(qBound(qint64(0), done * 100 / length, qint64(100)));
}

} // namespace

CTaskProgressBar::CTaskProgressBar(QWidget *parent)
    : CProgressBar(parent), m_conversionTarget(new ConversionProgressReceiver(this))
{
    connect(this, &CTaskProgressBar::updateMe, this, &CTaskProgressBar::updateProgress, Qt::QueuedConnection);
}

CTaskProgressBar::~CTaskProgressBar() = default;

QObject *CTaskProgressBar::conversionProgressTarget() const
{
    return m_conversionTarget;
}

void CTaskProgressBar::startCopy(CTaskProgressJob *job, const QString &path)
{
    // Messages of an earlier copy must not count towards this one.
    dropPendingProgress(this);
    {
        QMutexLocker lock(&m_mutex);
        m_names[Copy] = lastSection(path);
        m_job = job;
        m_currentFileSize = 0;
        m_filesDone = -1;
        m_fileCount = -1;
        m_values[Copy] = 0;
        m_maxima[Copy] = 0;
        m_active[Copy] = true;
        m_shown = Copy;
    }
    Q_EMIT taskChanged();
    Q_EMIT updateMe();
}

void CTaskProgressBar::startConversion(const QString &path)
{
    dropPendingProgress(m_conversionTarget);
    bool show = false;
    {
        QMutexLocker lock(&m_mutex);
        m_names[Conversion] = lastSection(path);
        m_values[Conversion] = 0;
        m_maxima[Conversion] = 100;
        m_passesDone = -1;
        m_passLength = 0;
        m_active[Conversion] = true;
        if (!m_active[Copy]) {
            m_shown = Conversion;
            show = true;
        }
    }
    if (show) {
        Q_EMIT taskChanged();
        Q_EMIT updateMe();
    }
}

void CTaskProgressBar::copyFinished()
{
    bool show = false;
    {
        QMutexLocker lock(&m_mutex);
        m_job = nullptr;
        m_active[Copy] = false;
        if (m_active[Conversion]) {
            m_shown = Conversion;
            show = true;
        }
    }
    if (show) {
        Q_EMIT taskChanged();
        Q_EMIT updateMe();
    }
}

void CTaskProgressBar::conversionFinished()
{
    bool show = false;
    {
        QMutexLocker lock(&m_mutex);
        m_active[Conversion] = false;
        if (m_active[Copy]) {
            m_shown = Copy;
            show = true;
        }
    }
    if (show) {
        Q_EMIT taskChanged();
        Q_EMIT updateMe();
    }
}

CTaskProgressBar::Channel CTaskProgressBar::shownChannel() const
{
    QMutexLocker lock(&m_mutex);
    return m_shown;
}

QString CTaskProgressBar::copyName() const
{
    QMutexLocker lock(&m_mutex);
    return m_names[Copy];
}

QString CTaskProgressBar::conversionName() const
{
    QMutexLocker lock(&m_mutex);
    return m_names[Conversion];
}

bool CTaskProgressBar::isCopyActive() const
{
    QMutexLocker lock(&m_mutex);
    return m_active[Copy];
}

bool CTaskProgressBar::isConversionActive() const
{
    QMutexLocker lock(&m_mutex);
    return m_active[Conversion];
}

int CTaskProgressBar::channelValue(Channel channel) const
{
    QMutexLocker lock(&m_mutex);
    return m_values[channel];
}

int CTaskProgressBar::channelMaximum(Channel channel) const
{
    QMutexLocker lock(&m_mutex);
    return m_maxima[channel];
}

void CTaskProgressBar::setChannelValue(Channel channel, int value, bool maximum)
{
    bool shown;
    {
        QMutexLocker lock(&m_mutex);
        (maximum ? m_maxima : m_values)[channel] = value;
        shown = m_shown == channel;
    }
    if (shown)
        Q_EMIT updateMe();
}

void CTaskProgressBar::setCopyProgress(int value)
{
    setChannelValue(Copy, value, false);
}

void CTaskProgressBar::setCopyMaximum(int maximum)
{
    setChannelValue(Copy, maximum, true);
}

void CTaskProgressBar::setConversionProgress(int value)
{
    setChannelValue(Conversion, value, false);
}

void CTaskProgressBar::setConversionMaximum(int maximum)
{
    setChannelValue(Conversion, maximum, true);
}

void CTaskProgressBar::updateProgress()
{
    int value;
    int maximum;
    {
        QMutexLocker lock(&m_mutex);
        value = m_values[m_shown];
        maximum = m_maxima[m_shown];
    }
    // The range first: a value outside the old range would be refused.
    setRange(0, qMax(0, maximum));
    setValue(qBound(0, value, qMax(0, maximum)));
    update();
}

bool CTaskProgressBar::event(QEvent *event)
{
    if (ComponentEvent::isComponentEvent(event)) {
        const auto *progress = static_cast<const ComponentEvent *>(event);
        bool changed = false;
        {
            QMutexLocker lock(&m_mutex);
            if (m_job) {
                switch (progress->kind()) {
                case ComponentEvent::PassBegins:
                    ++m_filesDone;
                    if (m_fileCount < 0) {
                        m_fileCount = m_job->fileCount();
                        m_maxima[Copy] = qMax(0, m_fileCount) * 100;
                    }
                    m_currentFileSize = qint64(progress->wParam());
                    changed = m_shown == Copy;
                    break;
                case ComponentEvent::PassPosition:
                    if (m_currentFileSize != 0) {
                        m_values[Copy] = percentOf(qint64(progress->wParam()), m_currentFileSize)
                                         + qMax(0, m_filesDone) * 100;
                        changed = m_shown == Copy;
                    }
                    break;
                case ComponentEvent::PassLength:
                    m_currentFileSize = qint64(progress->wParam());
                    break;
                default:
                    break;
                }
            }
        }
        if (changed)
            updateProgress();
    }
    return CProgressBar::event(event);
}

void CTaskProgressBar::handleConversionEvent(QEvent *event)
{
    const auto *progress = static_cast<const ComponentEvent *>(event);
    bool changed = false;
    {
        QMutexLocker lock(&m_mutex);
        if (!m_active[Conversion])
            return;
        switch (progress->kind()) {
        case ComponentEvent::PassBegins:
            ++m_passesDone;
            m_passLength = qint64(progress->wParam());
            // A conversion making more passes than the bar was told about
            // grows its maximum instead of running past the end.
            m_maxima[Conversion] = qMax(m_maxima[Conversion], (m_passesDone + 1) * 100);
            changed = m_shown == Conversion;
            break;
        case ComponentEvent::PassPosition:
            if (m_passLength != 0) {
                m_values[Conversion] = percentOf(qint64(progress->wParam()), m_passLength)
                                       + qMax(0, m_passesDone) * 100;
                changed = m_shown == Conversion;
            }
            break;
        case ComponentEvent::PassLength:
            m_passLength = qint64(progress->wParam());
            break;
        default:
            break;
        }
    }
    if (changed)
        updateProgress();
}
