#pragma once

// The two progress counters (progress total and progress done) as a worker advances them. The
// progress dialog closes when done equals total, so every step stays below the total and only
// the worker's last step (Finish) sets done to the total.

#include <atomic>

namespace quarrant {

class ProgressSteps {
public:
    ProgressSteps(std::atomic<int>& total, std::atomic<int>& done) : m_total(total), m_done(done) {}

    // One step more, held at total - 1.
    void Advance() {
        const int cap = m_total.load() - 1;
        const int done = m_done.load();
        if (done < cap) {
            m_done.store(done + 1);
        }
    }

    // The worker's last step: the dialog closes.
    void Finish() { m_done.store(m_total.load()); }

private:
    std::atomic<int>& m_total;
    std::atomic<int>& m_done;
};

}  // namespace quarrant
