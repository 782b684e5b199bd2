#pragma once

#include "db/FirstRows.h"
#include "db/QueryFields.h"
#include "db/RowSet.h"
#include "db/SaveOutcome.h"
#include "db/SelectedRows.h"
#include "db/RowView.h"
#include "db/Selection.h"
#include "db/Store.h"
#include "db/TableCopy.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace vorlin::db {

class Connection;
class LargeColumn;
class Store;
class TextOrder;

// A query whose result is held in memory: a static cursor over the rows of
// its selection, with a current row that can be edited, inserted, posted,
// cancelled and deleted.
//
// Every column of the selection's table but the large text column
// (setLargeColumn) is held in memory; that column is read for one row at a
// time, when the row's value is asked for. Rows are written back when the
// table has the key column.
//
// Every move first ends an edit: it is posted when something was changed and
// dropped otherwise; the target of a move is the row as it was shown, also
// when a dropped new row goes from between. Closing drops an unsaved edit:
// whoever closes the query for the user ends the edit first.
class Query : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit Query(QObject* parent = nullptr);
    ~Query() override;

    void setConnection(Connection* connection);

    // What the query reads; a new selection closes it.
    const Selection& selection() const { return selection_; }
    void setSelection(const Selection& selection);

    // The column read row by row, and the key that finds a row in its table.
    void setLargeColumn(const QString& name) { largeColumn_ = name; }
    void setKeyField(const QString& name) { keyField_ = name; }

    // With a text order, the rows are sorted here by the selection's order
    // column, texts in that order (the database knows only the order of the
    // bytes); without one, or for a column not held in memory, the database
    // sorts.
    void setTextOrder(std::shared_ptr<const TextOrder> order) { selected_.setTextOrder(std::move(order)); }
    // The table held in memory that the query shows and writes through; it
    // outlives the query. Set while the query is closed.
    void setTableCopy(TableCopy& copy);

    // Run at every insertion, whoever starts it. An error raised before the
    // insertion aborts it and leaves the query as it was.
    std::function<void()> beforeInsert;
    std::function<void()> afterInsert;
    // Run before a post: controls write their pending edits with setValue.
    // An error raised here stops the post, the row stays in editing.
    std::function<void()> writePendingEdits;

    // The rows to show at the next opening while the whole table is read
    // behind them from the database file: taken when they were kept for
    // the order the query opens in, without a filter. Until the table is
    // there, a move among these rows, an edit and a new row go on at once
    // (a save waits for the table, which an edit holds off until it ends);
    // whatever needs more than these rows waits for it.
    void showFirstWhileReading(FirstRows first, const QString& file)
    {
        selected_.showFirstWhileReading(std::move(first), file);
    }
    bool isReadingBehind() const { return copy_().isArriving(); }
    // Waits for the table read behind the first rows and shows it.
    void awaitTable();
    // The first rows of the whole table in the order of that selection (its
    // filter aside), for a later start; nothing when the copy holds no such
    // order now.
    std::optional<FirstRows> firstRows(const Selection& order, int count) const
    {
        return selected_.firstRows(order, keyField_, count);
    }

    void open();
    void close();
    // Reads the rows of another selection of the same table, the first one
    // current: an open query stays open and says so once (dataSetChanged),
    // a closed one opens. An edit must have ended.
    void reselect(const Selection& selection);
    bool isActive() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    bool isEditing() const { return state_ == State::Edit || state_ == State::Insert; }
    bool isModified() const { return modified_; }
    // Whether rows can be written back (an open selection of a keyed table).
    bool canModify() const;

    // Rows, the row being inserted included.
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    // 0-based index of the current row, -1 when there is none.
    int currentRow() const { return isEmpty() ? -1 : current_; }
    int recNo() const { return currentRow() + 1; }
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }

    void first();
    void last();
    void next() { moveBy(1); }
    void prior() { moveBy(-1); }
    void moveBy(int distance);
    void moveTo(int row);
    // Makes the first row whose field equals the value current; false (and no
    // move) when there is none.
    bool locate(const QString& field, const QVariant& value);

    QStringList fieldNames() const { return fields_.names(); }
    bool hasField(const QString& name) const { return fields_.indexOf(name) >= 0; }
    // The current row's value (in editing, the edited value); null when there
    // is no current row.
    QVariant value(const QString& field) const;
    void setValue(const QString& field, const QVariant& value);
    // The current row's key; null on a new row or when there is none.
    QVariant currentKey() const { return hasField(keyField_) ? value(keyField_) : QVariant(); }
    // A value of any row, for lists that show many rows at once.
    QVariant valueAt(int row, const QString& field) const;

    void edit();
    void insert();
    void post();
    void cancel();
    void remove();

    // Ends an edit before a move: asks the controls for their pending edits,
    // then posts when something changed and cancels otherwise. A post that
    // meets another's change is put to askAboutConflict and saved again with
    // the answer; going on editing stops the step with Abort. Without the
    // question the conflict is an error. Every move, and post, ends an edit
    // so.
    void checkBrowseMode();
    std::function<std::optional<ConflictChoice>(SaveOutcome conflict)> askAboutConflict;
    // The same, telling what happened: a conflict leaves the row in editing,
    // nothing written, for saveAfterConflict.
    SaveOutcome saveEdit();
    // Saves an edit that met another's change with the user's choice.
    void saveAfterConflict(SaveOutcome conflict, ConflictChoice choice);

    // Bytes of the rows held in memory, the copy of the table included.
    std::size_t memoryBytes() const { return selected_.memoryBytes(); }

    // The whole table as the query holds it now, for a reader that searches
    // it on its own (SelectedRows::snapshot).
    using TableSnapshot = SelectedRows::TableSnapshot;
    bool holdsCurrentTable() const;

    // Shows what other clients changed: the same selection, its rows read
    // again (or only the changed ones), the current row kept. Waits while
    // a row is edited.
    void refreshFromStore();
    // Nothing while the table is still read behind the first rows.
    std::optional<TableSnapshot> tableSnapshot(const QString& orderColumn);

Q_SIGNALS:
    void activeChanged(bool active);
    // Rows came or went, or everything was read again.
    void dataSetChanged();
    // The rows were read again after a change elsewhere and are the same
    // rows in the same places: a view repaints them; nothing it holds needs
    // to go.
    void rowsRefreshed();
    // Rows came into the result at these places (the row being inserted
    // among them), or went from it; every other row is where it was, moved
    // by them.
    void rowsInserted(int first, int count);
    void rowsRemoved(int first, int count);
    // Another row became current.
    void scrolled();
    // A value of the current row changed; an empty name means all of them.
    void recordChanged(const QString& field);
    void stateChanged();
    // The table read behind the first rows kept at the last end is here,
    // and the list shows it whole.
    void tableArrived();

private:
    const QueryFields::Field& field(const QString& name) const;
    void requireActive() const;
    void requireWritable() const;
    void setState(State state);
    // Index into rows_ of a row as the cursor counts it, or -1 for the row
    // being inserted.
    int storedRow(int row) const;
    void moveCurrent(int row);
    // Ends an edit before a move to a row as the list showed it; gives the
    // row's index afterwards.
    qint64 endEditBeforeMove(qint64 target);
    // A save that finds its row changed or deleted by another client since
    // it was read says so, the row still in editing.
    SaveOutcome postEdit();
    // A conflict put to the user and saved again with the answer.
    void settle(SaveOutcome outcome);
    struct EditToSave {
        QVariant key;
        QList<Store::Change> changes;
        QVariantList stored;
    };
    EditToSave editToSave() const;
    // Back to browsing; a saved edit's large values are kept for its key.
    void endEdit(const QVariant* savedKey);
    void postInsert();
    void dropBuffer();

    Connection* connection_ = nullptr;
    Selection selection_;
    QString largeColumn_;
    QString keyField_ = QStringLiteral("ID");

    State state_ = State::Inactive;
    QString table_;  // empty: the result cannot be written back
    QueryFields fields_;
    SelectedRows selected_;  // the result
    RowView& rows_ = selected_.shown();
    TableCopy& copy_() const { return selected_.copy(); }
    int current_ = 0;
    bool bof_ = true;
    bool eof_ = true;

    QVariantList buffer_;    // the edited or inserted row, by field
    QVariantList original_;  // the row as read, when editing
    bool modified_ = false;
    int insertAt_ = 0;

    // The columns held: the copy's, or the fields' for the database's result.
    QStringList heldColumns() const;
    // What was kept of the rows read before: a large value.
    void forgetWhatWasRead();
    // The selection's rows read again, the current row kept, and what
    // changed in the list told.
    void showRowsReadAgain();
    // After an edit: a refresh that waited, or the table that arrived.
    void refreshWhenPending();
    // The table read behind, shown unless an edit holds the first rows.
    void showArrivedTable();
    bool refreshPending_ = false;
};

}  // namespace vorlin::db
