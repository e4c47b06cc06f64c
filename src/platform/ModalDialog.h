#pragma once

// Every modal dialog of the program and its libraries runs through ExecModal, so that tests can
// take the place of the user: an installed handler receives the dialog (fills it in, presses a
// button) and returns its result without ever entering a modal loop that nobody would end.

#include <functional>

#include "controls/TesselixExport.h"

class QDialog;

namespace quarrant {

// Receives the dialog and returns its result (QDialog::Accepted or QDialog::Rejected).
using ModalHandler = std::function<int(QDialog& dialog)>;

// Runs the dialog modally (QDialog::exec), or hands it to the installed handler.
TESSELIX_EXPORT int ExecModal(QDialog& dialog);

// Installs a handler (an empty one restores exec); returns the previous handler.
TESSELIX_EXPORT ModalHandler SetModalHandler(ModalHandler handler);

}  // namespace quarrant
