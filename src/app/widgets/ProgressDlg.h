#pragma once

// The progress dialog shown while a worker thread runs: it follows the application's two
// counters, polling them every 50 ms, and closes itself when progress done equals progress
// total (resetting both to 0). The worker sets done := total as its last step.

#include <QDialog>
#include <QTimer>

#include <atomic>

class QProgressBar;

namespace quarrant {

class CProgressDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPollMilliseconds = 50;

    CProgressDlg(std::atomic<int>& total, std::atomic<int>& done, QWidget* parent = nullptr);

    QProgressBar* Bar() const { return m_bar; }
    bool IsPolling() const { return m_timer.isActive(); }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnTimer();

    std::atomic<int>& m_total;
    std::atomic<int>& m_done;
    QProgressBar* m_bar = nullptr;
    QTimer m_timer;
    bool m_opened = false;
};

}  // namespace quarrant
