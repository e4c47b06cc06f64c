#pragma once

// Where user-visible messages go. The window layer shows each text in a message box; tests
// and the command-line tool record them.

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace quarrant {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows one message (GBK text). The exit save calls it from its worker thread, so a sink
    // that opens windows must hand the text over to the interface thread.
    virtual void Show(const std::string& gbkText) = 0;
};

// Keeps every message in order; safe to call from several threads.
class MessageList final : public MessageSink {
public:
    void Show(const std::string& gbkText) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_messages.push_back(gbkText);
    }

    std::vector<std::string> Messages() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_messages;
    }

    // The messages so far; the list is empty afterwards.
    std::vector<std::string> Take() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::exchange(m_messages, {});
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_messages;
};

}  // namespace quarrant
