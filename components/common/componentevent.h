#pragma once

#include <QEvent>

// Notifications from the converter and player components reach the program as
// events posted to a receiving object, carrying the two numbers a notification
// has: wParam and lParam. Any thread may post them; they are delivered on the
// receiver's thread.
class ComponentEvent final : public QEvent
{
public:
    enum Kind {
        PassBegins = 2025,     // wParam: length of the pass that begins
        PassPosition = 2026,   // wParam: position within the pass
        PassLength = 2028,     // wParam: new length of the current pass
        PlayerState = 2124,    // player state changed
        PlayerPosition = 2125, // player position changed
    };

    ComponentEvent(Kind kind, quintptr wParam, qintptr lParam = 0)
        : QEvent(QEvent::Type(kind)), m_wParam(wParam), m_lParam(lParam)
    {
    }

    Kind kind() const { return Kind(type()); }
    quintptr wParam() const { return m_wParam; }
    qintptr lParam() const { return m_lParam; }

    static bool isComponentEvent(const QEvent *event)
    {
        switch (int(event->type())) {
        case PassBegins:
        case PassPosition:
        case PassLength:
        case PlayerState:
        case PlayerPosition:
            return true;
        default:
            return false;
        }
    }

private:
    quintptr m_wParam;
    qintptr m_lParam;
};
