#pragma once

// The property sheet that hosts a data-entry page: a tab widget marked as the page's sheet, so
// that the page sends it WM_PAGE_ADDENTRY and WM_PAGE_PICK (synchronous MessageEvents). The data
// window's CDataSheet and the drawing window's CDrawSheet derive from it.

#include <QTabWidget>

namespace quarrant {

class MessageEvent;

class CPageSheet : public QTabWidget {
    Q_OBJECT

public:
    explicit CPageSheet(QWidget* parent = nullptr);

protected:
    // A message of the page; true when handled (the answer in message.result).
    virtual bool OnPageMessage(MessageEvent& message) = 0;

    bool event(QEvent* event) override;
};

}  // namespace quarrant
