#pragma once

// The one way the program and its libraries show a message box with a fixed text. Tests (and
// batch runs) install a handler that records the texts instead of opening a box.

#include <functional>
#include <string>
#include <string_view>

#include "controls/TesselixExport.h"

namespace quarrant {

// Receives the message text (GBK).
using MessageHandler = std::function<void(const std::string& gbkText)>;

// Shows the text in a message box, or hands it to the installed handler.
TESSELIX_EXPORT void ShowMessage(std::string_view gbkText);

// Installs a handler (an empty one restores the message box); returns the previous handler.
TESSELIX_EXPORT MessageHandler SetMessageHandler(MessageHandler handler);

}  // namespace quarrant
