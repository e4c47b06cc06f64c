#pragma once

// The window layer's message sink: every text is shown in a message box through ShowMessage
// (which tests intercept). A text from a worker thread (the exit save) is handed over to the
// interface thread and shown there.

#include "base/MessageSink.h"

namespace quarrant {

class WindowMessageSink final : public MessageSink {
public:
    void Show(const std::string& gbkText) override;
};

}  // namespace quarrant
