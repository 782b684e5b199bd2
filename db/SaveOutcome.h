#pragma once

namespace vorlin::db {

// What a save of an edited row did: the row saved, or another's change met
// (the row deleted, or changed since it was read); then nothing was written
// and the edit stands, the user's version in it.
struct SaveOutcome {
    enum class What { Saved, RowGone, RowChanged };
    What what = What::Saved;

    bool isConflict() const { return what != What::Saved; }
    bool rowIsGone() const { return what == What::RowGone; }
};

// What the user chose for an edit whose row somebody else changed or deleted
// meanwhile: the other's version kept (the edit dropped), the other's change
// written over (a deleted row saved anew), or both kept (the edit saved as a
// new row beside the other's version).
enum class ConflictChoice { KeepTheirs, Overwrite, KeepBoth };

}  // namespace vorlin::db
