#pragma once

#include <functional>

class QDialog;

namespace vorlin::ui {

// Every dialog of the program (font, folder, password, kind, the fields'
// form and dialog) is run through here: shown and waited for, as exec()
// does, or, while a test has set an answer, shown without waiting and
// handed to the answer, which accepts or rejects it. Returns the dialog's
// result.
int runDialog(QDialog& dialog);

// Tests: from now on every dialog is handed to `answer`; one the answer
// leaves open is rejected. An empty answer runs dialogs again. Returns the
// answer that was in force.
using DialogAnswer = std::function<void(QDialog& dialog)>;
DialogAnswer answerDialogsWith(DialogAnswer answer);

}  // namespace vorlin::ui
