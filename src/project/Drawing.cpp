#include "project/Drawing.h"

#include "base/Assert.h"

namespace quarrant {

void DeferredRead::Run(std::unique_lock<std::mutex>& lock) {
    m_state.store(kRunning, std::memory_order_release);
    std::function<void()> read = std::move(m_read);
    lock.unlock();
    // Settled whatever happens, so that no waiter waits for ever.
    struct Settle {
        DeferredRead& self;
        std::unique_lock<std::mutex>& lock;
        ~Settle() {
            lock.lock();
            self.m_state.store(kSettled, std::memory_order_release);
            self.m_settled.notify_all();
        }
    } settle{*this, lock};
    read();
}

bool DeferredRead::RunIfPending() {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_state.load(std::memory_order_relaxed) != kPending) {
        return false;
    }
    Run(lock);
    return true;
}

void DeferredRead::Wait() {
    if (Settled()) {
        return;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_state.load(std::memory_order_relaxed) == kPending) {
        Run(lock);
        return;
    }
    m_settled.wait(lock, [this] { return m_state.load(std::memory_order_relaxed) == kSettled; });
}

void DeferredRead::Drop() {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_state.load(std::memory_order_relaxed) == kPending) {
        m_read = nullptr;
        m_state.store(kSettled, std::memory_order_release);
        m_settled.notify_all();
        return;
    }
    m_settled.wait(lock, [this] { return m_state.load(std::memory_order_relaxed) == kSettled; });
}

Drawing::~Drawing() {
    if (m_pendingRead) {
        m_pendingRead->Drop();
    }
}

CCadFile& Drawing::CadFile() {
    if (m_pendingRead) {
        m_pendingRead->Wait();
    }
    return m_cadFile;
}

void Drawing::ReadLater(std::function<void(CCadFile&)> read) {
    QUARRANT_ASSERT(!m_pendingRead);
    m_pendingRead =
        std::make_shared<DeferredRead>([this, read = std::move(read)] { read(m_cadFile); });
}

}  // namespace quarrant
