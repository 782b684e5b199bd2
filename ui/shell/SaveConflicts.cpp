#include "ui/shell/SaveConflicts.h"

namespace vorlin {

namespace {

ConflictQuestion& questionInForce()
{
    static ConflictQuestion question;
    return question;
}

}  // namespace

void setConflictQuestion(ConflictQuestion question)
{
    questionInForce() = std::move(question);
}

void runSettlingConflicts(const std::function<void()>& step)
{
    for (;;) {
        try {
            step();
            return;
        } catch (const SaveConflict& conflict) {
            if (!questionInForce())
                throw;
            const std::optional<ConflictChoice> choice = questionInForce()(conflict);
            if (!choice)
                throw Abort();
            conflict.saveWith(*choice);
            if (!conflict.onTheWay())
                return;
        }
    }
}

}  // namespace vorlin
