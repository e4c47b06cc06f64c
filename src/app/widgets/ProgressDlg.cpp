#include "app/widgets/ProgressDlg.h"

#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/QtText.h"

namespace quarrant {

CProgressDlg::CProgressDlg(std::atomic<int>& total, std::atomic<int>& done, QWidget* parent)
    : QDialog(parent), m_total(total), m_done(done) {
    setObjectName(QStringLiteral("ProgressDlg"));
    setWindowTitle(ToQt("\xBD\xF8\xB6\xC8"));  // 进度
    setWindowFlags(windowFlags() & ~Qt::WindowCloseButtonHint);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("ProgressBar1035"));
    m_bar->setMinimumWidth(320);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    m_timer.setInterval(kPollMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &CProgressDlg::OnTimer);
}

void CProgressDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_opened) {
        return;
    }
    m_opened = true;
    // Range 1 to the total (a total below 1 still gives a valid range), position = done.
    const int total = m_total.load();
    m_bar->setRange(std::min(1, total), std::max(1, total));
    m_bar->setValue(m_done.load());
    m_timer.start();
}

void CProgressDlg::OnTimer() {
    if (m_done.load() == m_total.load()) {
        m_done = 0;
        m_total = 0;
        m_timer.stop();
        accept();
    }
    m_bar->setValue(m_done.load());
    m_bar->repaint();
}

void CProgressDlg::done(int result) {
    m_timer.stop();
    QDialog::done(result);
}

}  // namespace quarrant
