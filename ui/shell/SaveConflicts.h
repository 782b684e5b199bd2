#pragma once

#include "common/SaveConflict.h"

#include <functional>
#include <optional>

namespace vorlin {

// The question put to the user when a save meets another's change: the
// choice, or nothing when the user goes on editing.
using ConflictQuestion = std::function<std::optional<ConflictChoice>(const SaveConflict& conflict)>;

// The window that can ask sets its question while it lives; without one a
// conflict is an error like any other.
void setConflictQuestion(ConflictQuestion question);

// Runs a step of the user's. A save in it that meets another's change is put
// to the user and saved again with the answer; a save that was on the way to
// something else lets the step run again. Going on editing stops the step
// with Abort.
void runSettlingConflicts(const std::function<void()>& step);

}  // namespace vorlin
