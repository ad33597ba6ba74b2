#pragma once

#include <QLabel>
#include <QPixmap>

// What the phone picture needs from the main window to take dropped videos.
// Main thread only.
class CPhoneDropHandler
{
public:
    virtual ~CPhoneDropHandler() = default;
    // The context the main window shows: 0 My collection, 1 Scan results,
    // 2 Tasks, 3 Downloads.
    virtual int currentContext() const = 0;
    // Queues the selected Scan results items to be converted into My
    // collection and copied to the phone.
    virtual void copySelectedScanResultsToPhone() = 0;
};

// The picture of the selected phone. It shows one of three pictures (no
// phone, phone not ready, phone) and takes videos dragged from the Scan
// results list onto it.
class CPhoneImage final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CPhoneImage)

public:
    static constexpr int kScanResultsContext = 1;

    explicit CPhoneImage(QWidget *parent = nullptr);
    ~CPhoneImage() override;

    void setNoPhonePixmap(const QPixmap &pixmap);
    void setNotReadyPixmap(const QPixmap &pixmap);
    void setPhonePixmap(const QPixmap &pixmap);
    void setPhonePresent(bool present);
    void setPhoneReady(bool ready);
    bool isPhonePresent() const { return m_present; }
    bool isPhoneReady() const { return m_ready; }

    // handler is not owned; without one every drag is refused.
    void setDropHandler(CPhoneDropHandler *handler);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool acceptsDrops() const;
    void choosePixmap();

    QPixmap m_noPhone;
    QPixmap m_notReady;
    QPixmap m_phone;
    bool m_present = true;
    bool m_ready = true;
    CPhoneDropHandler *m_dropHandler = nullptr;
};
