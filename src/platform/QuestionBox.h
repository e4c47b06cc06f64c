#pragma once

// A question with the buttons 是 and 否, run through ExecModal so that tests can answer it.

#include <string>

class QWidget;

namespace quarrant {

// Asks the question (GBK); true when the user answers 是.
bool AskYesNo(QWidget* parent, const std::string& gbkQuestion);

}  // namespace quarrant
