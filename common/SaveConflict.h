#pragma once

#include "common/Error.h"

#include <functional>

namespace vorlin {

// What the user chose for an edit whose row somebody else changed or deleted
// meanwhile: the other's version kept (the edit dropped), the other's change
// written over (a deleted row saved anew), or both kept (the edit saved as a
// new row beside the other's version).
enum class ConflictChoice { KeepTheirs, Overwrite, KeepBoth };

// A save that found its row changed or deleted by somebody else since it was
// read. Nothing was written and the edit stands; whoever can ask the user
// saves again with the answer.
class SaveConflict : public Error {
public:
    SaveConflict(bool rowIsGone, bool onTheWay, std::function<void(ConflictChoice)> saveWith)
        : Error(QStringLiteral("Row cannot be located for updating. Some values may have been changed "
                               "since it was last read.")),
          rowIsGone_(rowIsGone), onTheWay_(onTheWay), saveWith_(std::move(saveWith))
    {
    }

    bool rowIsGone() const { return rowIsGone_; }
    // Whether the save was on the way to something else (a move, a search):
    // once the conflict is settled, that step can go on.
    bool onTheWay() const { return onTheWay_; }
    void saveWith(ConflictChoice choice) const { saveWith_(choice); }

private:
    bool rowIsGone_;
    bool onTheWay_;
    std::function<void(ConflictChoice)> saveWith_;
};

}  // namespace vorlin
