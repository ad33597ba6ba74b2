#pragma once

#include <QObject>

class QSocketNotifier;

// Turns Ctrl+C (SIGINT) and SIGTERM into a Qt signal on the thread that made
// this object, so that a command can stop its work cleanly instead of dying.
class Interrupt final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Interrupt)

public:
    explicit Interrupt(QObject *parent = nullptr);
    ~Interrupt() override;

Q_SIGNALS:
    void requested();

private:
    QSocketNotifier *m_notifier = nullptr;
};
