#pragma once

// Window messages between the parts of the program (the numbers of the message table, such as
// WM_GRID_ENDEDIT 1139), carried as one synchronous Qt event: sent with
// QCoreApplication::sendEvent, so the receiver's handler has run when the send returns.
// Header-only: Quarrant, Tesselix and the plug-in all send and receive it.

#include <QEvent>
#include <cstdint>

namespace quarrant {

inline constexpr int kUserMessageBase = 1024;
inline constexpr int WM_PAGE_ADDENTRY = kUserMessageBase + 110;   // 1134
inline constexpr int WM_PAGE_PICK = kUserMessageBase + 111;       // 1135
inline constexpr int WM_GRID_RBUTTONUP = kUserMessageBase + 114;  // 1138
inline constexpr int WM_GRID_ENDEDIT = kUserMessageBase + 115;    // 1139
inline constexpr int WM_FILTER_SELECT = kUserMessageBase + 116;   // 1140
// Notifications a control sends its parent (WM_NOTIFY codes) travel as message 78.
inline constexpr int WM_NOTIFY = 78;

// The one Qt event type of these messages; receivers check type() before casting.
inline constexpr QEvent::Type kMessageEventType = static_cast<QEvent::Type>(QEvent::User + 111);

class MessageEvent : public QEvent {
public:
    MessageEvent(int message, std::uintptr_t wParam, std::intptr_t lParam)
        : QEvent(kMessageEventType), m_message(message), m_wParam(wParam), m_lParam(lParam) {}

    int Message() const { return m_message; }
    std::uintptr_t WParam() const { return m_wParam; }
    std::intptr_t LParam() const { return m_lParam; }

    // The return value of the handler, as a window procedure would return it.
    std::intptr_t result = 0;

    static MessageEvent* From(QEvent* event) {
        return event != nullptr && event->type() == kMessageEventType
                   ? static_cast<MessageEvent*>(event)
                   : nullptr;
    }

private:
    int m_message;
    std::uintptr_t m_wParam;
    std::intptr_t m_lParam;
};

}  // namespace quarrant
