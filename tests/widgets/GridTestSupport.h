#pragma once

// A parent window for grid tests: records every message the grid sends (notifications, end of
// edit, right button) with the texts of the cell at that moment, and answers notifications as
// told.

#include <QWidget>

#include <map>
#include <string>
#include <vector>

#include "controls/GridNotify.h"
#include "controls/widgets/GridCtrl.h"
#include "platform/MessageEvent.h"

namespace quarrant {

struct RecordedMessage {
    int message = 0;
    int code = 0;  // notification code for WM_NOTIFY
    int row = -1;
    int col = -1;
    const void* grid = nullptr;
    std::string cellText;  // the cell's text when the message arrived (GBK)
};

class MessageRecorder : public QWidget {
public:
    explicit MessageRecorder(QWidget* parent = nullptr) : QWidget(parent) {}

    std::vector<RecordedMessage> messages;
    std::map<int, std::intptr_t> answers;  // notification code -> answer
    CGridCtrl* grid = nullptr;

    int Count(int message, int code = 0) const {
        int count = 0;
        for (const RecordedMessage& m : messages) {
            if (m.message == message && (message != WM_NOTIFY || m.code == code)) {
                ++count;
            }
        }
        return count;
    }
    const RecordedMessage* Last(int message) const {
        for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
            if (it->message == message) {
                return &*it;
            }
        }
        return nullptr;
    }
    std::vector<int> Codes() const {
        std::vector<int> codes;
        for (const RecordedMessage& m : messages) {
            codes.push_back(m.message == WM_NOTIFY ? m.code : m.message);
        }
        return codes;
    }

protected:
    bool event(QEvent* event) override {
        MessageEvent* message = MessageEvent::From(event);
        if (message == nullptr) {
            return QWidget::event(event);
        }
        RecordedMessage record;
        record.message = message->Message();
        if (record.message == WM_NOTIFY) {
            const auto* notify = reinterpret_cast<const NM_GRIDVIEW*>(message->LParam());
            record.code = notify->hdr.code;
            record.row = notify->iRow;
            record.col = notify->iColumn;
            record.grid = notify->hdr.hwndFrom;
            auto answer = answers.find(record.code);
            message->result = answer != answers.end() ? answer->second : 0;
        } else if (record.message == WM_GRID_ENDEDIT || record.message == WM_GRID_RBUTTONUP) {
            const auto* cell = reinterpret_cast<const GridCellRecord*>(message->LParam());
            record.row = cell->row;
            record.col = cell->col;
            record.grid = cell->grid;
        }
        if (grid != nullptr) {
            record.cellText = grid->GetItemText(record.row, record.col);
        }
        messages.push_back(record);
        return true;
    }
};

}  // namespace quarrant
