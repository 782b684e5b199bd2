#include "db/Query.h"

#include "common/AwayFromGuiThread.h"

#include "db/Connection.h"
#include "db/Store.h"
#include "db/TextOrder.h"

#include <QCoreApplication>
#include <QPointer>

namespace vorlin::db {
namespace {

bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}

}  // namespace

Query::Query(QObject* parent) : QObject(parent)
{
    connect(this, &Query::stateChanged, this, &Query::refreshWhenPending);
    selected_.whenTableArrives = [alive = QPointer<Query>(this)] {
        handToThreadOf(QCoreApplication::instance(), [alive] {
            if (alive)
                alive->showArrivedTable();
        });
    };
}

Query::~Query() = default;

void Query::setConnection(Connection* connection)
{
    close();
    if (connection_)
        disconnect(connection_, nullptr, this, nullptr);
    connection_ = connection;
    copy_().clear();
    if (connection_) {
        connect(connection_, &Connection::aboutToClose, this, [this] {
            close();
            copy_().clear();  // the next connection may lead elsewhere
        });
        connect(connection_, &Connection::changedElsewhere, this, &Query::refreshFromStore);
        // Whether rows can be written changed with it.
        connect(connection_, &Connection::awayChanged, this, &Query::stateChanged);
    }
}

void Query::setTableCopy(TableCopy& copy)
{
    close();
    selected_.setTableCopy(copy);
}

void Query::setSelection(const Selection& selection)
{
    close();
    selection_ = selection;
}

const QueryFields::Field& Query::field(const QString& name) const
{
    const int index = fields_.indexOf(name);
    if (index < 0) {
        const QString prefix = objectName().isEmpty() ? QString() : objectName() + QStringLiteral(": ");
        throw Error(prefix + QStringLiteral("Field '%1' not found").arg(name));
    }
    return fields_[index];
}

void Query::requireActive() const
{
    if (!isActive())
        throw Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

bool Query::canModify() const
{
    return isActive() && !table_.isEmpty() && connection_ && connection_->isConnected()
        && !connection_->store().isReadOnly();
}

void Query::requireWritable() const
{
    if (!canModify())
        throw Error(QStringLiteral("Cannot modify a read-only dataset"));
}

void Query::setState(State state)
{
    if (state_ == state)
        return;
    state_ = state;
    Q_EMIT stateChanged();
}

void Query::showArrivedTable()
{
    // An edit begun on the first rows keeps them under it until it ends.
    if (!isEditing())
        awaitTable();
}

void Query::awaitTable()
{
    if (!copy_().isArriving() || !isActive())
        return;
    // Read here after all when the reading behind failed.
    copy_().takeArrival();
    showRowsReadAgain();
    Q_EMIT tableArrived();
}

void Query::open()
{
    if (isActive())
        return;
    if (!connection_)
        throw DatabaseError(QStringLiteral("Missing Connection or ConnectionString"));
    connection_->open();
    connection_->takeAnnouncements();  // the rows as fresh as the server knows them
    Store& store = connection_->store();
    QueryFields fields(store, selection_.table, largeColumn_, keyField_);
    selected_.select(store, selection_, fields.held(), keyField_);
    fields_ = std::move(fields);
    table_ = fields_.hasKey() ? selection_.table : QString();
    current_ = 0;
    bof_ = true;
    eof_ = rows_.rowCount() == 0;
    modified_ = false;
    state_ = State::Browse;
    Q_EMIT activeChanged(true);
    Q_EMIT stateChanged();
    Q_EMIT dataSetChanged();
}

void Query::refreshFromStore()
{
    if (!isActive() || !connection_ || !connection_->isConnected())
        return;
    // An edit in progress is never moved under its feet: the refresh waits
    // for its end.
    if (isEditing()) {
        refreshPending_ = true;
        return;
    }
    // The table read behind the first rows shows whatever changed meanwhile.
    if (copy_().isArriving())
        return;
    refreshPending_ = false;
    showRowsReadAgain();
}

void Query::showRowsReadAgain()
{
    const ShownChange change = selected_.selectAgain(connection_->store(), selection_, heldColumns(), keyField_, current_);
    forgetWhatWasRead();
    bof_ = eof_ = rows_.rowCount() == 0;
    // A colleague's row that came or went moves the others in the list; the
    // rest of what the list shows (its open cell, its selection) stays.
    switch (change.kind) {
    case ShownChange::Kind::Same: Q_EMIT rowsRefreshed(); break;
    case ShownChange::Kind::Inserted: Q_EMIT rowsInserted(change.first, change.count); break;
    case ShownChange::Kind::Removed: Q_EMIT rowsRemoved(change.first, change.count); break;
    case ShownChange::Kind::Other: Q_EMIT dataSetChanged(); break;
    }
    Q_EMIT scrolled();
    Q_EMIT recordChanged(QString());
}

QStringList Query::heldColumns() const
{
    const QStringList& copied = copy_().columns();
    return copied.isEmpty() ? fields_.held() : copied;
}

void Query::forgetWhatWasRead()
{
    fields_.forgetLarge();
}

void Query::refreshWhenPending()
{
    if (isEditing())
        return;
    if (refreshPending_)
        QMetaObject::invokeMethod(this, &Query::refreshFromStore, Qt::QueuedConnection);
    if (copy_().hasArrived())
        QMetaObject::invokeMethod(this, &Query::showArrivedTable, Qt::QueuedConnection);
}

void Query::reselect(const Selection& selection)
{
    if (!isActive() || selection.table != selection_.table || !connection_ || !connection_->isConnected()) {
        setSelection(selection);
        open();
        return;
    }
    awaitTable();
    checkBrowseMode();
    selection_ = selection;
    connection_->takeAnnouncements();  // the rows as fresh as the server knows them
    refreshPending_ = false;
    selected_.select(connection_->store(), selection_, heldColumns(), keyField_);
    forgetWhatWasRead();
    current_ = 0;
    bof_ = true;
    eof_ = rows_.rowCount() == 0;
    Q_EMIT dataSetChanged();
    Q_EMIT scrolled();
    Q_EMIT recordChanged(QString());
}

void Query::close()
{
    if (!isActive())
        return;
    state_ = State::Inactive;
    dropBuffer();
    selected_.clear();
    fields_ = QueryFields();
    table_.clear();
    current_ = 0;
    bof_ = eof_ = true;
    Q_EMIT stateChanged();
    Q_EMIT activeChanged(false);
    Q_EMIT dataSetChanged();
}

bool Query::holdsCurrentTable() const
{
    return selected_.holdTable(selection_) && connection_ && connection_->isConnected()
           && copy_().isCurrent(connection_->store());
}

std::optional<Query::TableSnapshot> Query::tableSnapshot(const QString& orderColumn)
{
    return selected_.snapshot(selection_, orderColumn, holdsCurrentTable());
}

int Query::recordCount() const
{
    if (!isActive())
        return 0;
    return rows_.rowCount() + (state_ == State::Insert ? 1 : 0);
}

int Query::storedRow(int row) const
{
    if (state_ != State::Insert || row < insertAt_)
        return row;
    return row == insertAt_ ? -1 : row - 1;
}

QVariant Query::value(const QString& name) const
{
    if (!isActive() || isEmpty())
        return QVariant();
    return valueAt(current_, name);
}

QVariant Query::valueAt(int row, const QString& name) const
{
    const QueryFields::Field& f = field(name);
    if (row < 0 || row >= recordCount())
        return QVariant();
    if (isEditing() && row == current_)
        return buffer_.value(fields_.indexOf(name));
    return fields_.valueOf(rows_, storedRow(row), f);
}

void Query::setValue(const QString& name, const QVariant& value)
{
    requireActive();
    const QueryFields::Field& f = field(name);
    if (!isEditing())
        throw Error(QStringLiteral("Dataset not in edit or insert mode"));
    if (f.name.compare(keyField_, Qt::CaseInsensitive) == 0)
        throw Error(QStringLiteral("Field '%1' cannot be modified").arg(f.name));
    buffer_[fields_.indexOf(name)] = value;
    modified_ = true;
    Q_EMIT recordChanged(f.name);
}

void Query::moveCurrent(int row)
{
    if (row == current_)
        return;
    current_ = row;
    Q_EMIT scrolled();
}

qint64 Query::endEditBeforeMove(qint64 target)
{
    const bool inserting = state_ == State::Insert;
    const int newRow = insertAt_;
    const int storedBefore = rows_.rowCount();
    checkBrowseMode();
    // The target was chosen among the rows as shown, the new row included:
    // when that row is dropped, the rows below it move up by one.
    if (inserting && rows_.rowCount() == storedBefore && target > newRow)
        --target;
    return target;
}

void Query::first()
{
    requireActive();
    checkBrowseMode();
    moveCurrent(0);
    bof_ = true;
    eof_ = isEmpty();
}

void Query::last()
{
    requireActive();
    awaitTable();
    checkBrowseMode();
    moveCurrent(std::max(0, recordCount() - 1));
    eof_ = true;
    bof_ = isEmpty();
}

void Query::moveBy(int distance)
{
    requireActive();
    if (qint64(current_) + distance >= recordCount())
        awaitTable();
    const qint64 target = endEditBeforeMove(qint64(current_) + distance);
    if (isEmpty()) {
        bof_ = eof_ = true;
        return;
    }
    // BOF and EOF tell that a move tried to go past the first or last row.
    const int last = recordCount() - 1;
    moveCurrent(int(std::clamp<qint64>(target, 0, last)));
    bof_ = distance < 0 && target < 0;
    eof_ = distance > 0 && target > last;
}

void Query::moveTo(int row)
{
    requireActive();
    if (row >= recordCount())
        awaitTable();
    const qint64 target = endEditBeforeMove(row);
    if (isEmpty())
        return;
    moveCurrent(int(std::clamp<qint64>(target, 0, recordCount() - 1)));
    bof_ = eof_ = false;
}

bool Query::locate(const QString& name, const QVariant& value)
{
    requireActive();
    awaitTable();
    checkBrowseMode();
    const QueryFields::Field& f = field(name);
    int found = -1;
    if (f.column >= 0 && f.column == fields_.keyColumn()) {
        bool isNumber = false;
        const qint64 key = value.toLongLong(&isNumber);
        if (isNumber)
            found = selected_.placeOfKey(key);
    } else {
        for (int row = 0; row < rows_.rowCount() && found < 0; ++row) {
            if (sameValue(fields_.valueOf(rows_, row, f), value))
                found = row;
        }
    }
    if (found < 0)
        return false;
    moveCurrent(found);
    bof_ = eof_ = false;
    return true;
}

void Query::edit()
{
    requireActive();
    if (isEditing())
        return;
    if (isEmpty()) {
        insert();
        return;
    }
    requireWritable();
    buffer_ = fields_.valuesOf(rows_, storedRow(current_));
    original_ = buffer_;
    modified_ = false;
    setState(State::Edit);
}

void Query::insert()
{
    requireActive();
    checkBrowseMode();
    requireWritable();
    if (beforeInsert)
        beforeInsert();
    insertAt_ = rows_.rowCount() == 0 ? 0 : current_;
    buffer_ = QVariantList(fields_.size());
    original_.clear();
    modified_ = false;
    current_ = insertAt_;
    bof_ = eof_ = false;
    state_ = State::Insert;
    Q_EMIT stateChanged();
    Q_EMIT rowsInserted(insertAt_, 1);
    if (afterInsert)
        afterInsert();
}

void Query::post()
{
    requireActive();
    if (!isEditing())
        throw Error(QStringLiteral("Dataset not in edit or insert mode"));
    if (writePendingEdits)
        writePendingEdits();
    awaitTable();
    if (state_ == State::Edit)
        settle(postEdit());
    else
        postInsert();
}

void Query::checkBrowseMode()
{
    settle(saveEdit());
}

SaveOutcome Query::saveEdit()
{
    if (!isEditing())
        return {};
    if (writePendingEdits)
        writePendingEdits();
    if (modified_)
        awaitTable();
    if (!modified_)
        cancel();
    else if (state_ == State::Edit)
        return postEdit();
    else
        postInsert();
    return {};
}

void Query::settle(SaveOutcome outcome)
{
    if (!outcome.isConflict())
        return;
    if (!askAboutConflict)
        throw RowChangedError(outcome.rowIsGone());
    const std::optional<ConflictChoice> choice = askAboutConflict(outcome);
    if (!choice)
        throw Abort();
    saveAfterConflict(outcome, *choice);
}

Query::EditToSave Query::editToSave() const
{
    EditToSave edit{original_[fields_.indexOf(keyField_)], {}, fields_.heldValues(buffer_)};
    for (int i = 0; i < fields_.size(); ++i)
        if (!sameValue(buffer_[i], original_[i]))
            edit.changes.append({fields_[i].name, buffer_[i], original_[i]});
    return edit;
}

void Query::endEdit(const QVariant* savedKey)
{
    if (savedKey)
        fields_.remember(*savedKey, buffer_);
    dropBuffer();
    setState(State::Browse);
    Q_EMIT recordChanged(QString());
}

SaveOutcome Query::postEdit()
{
    const EditToSave edit = editToSave();
    if (!edit.changes.isEmpty()) {
        try {
            selected_.writeChanged(connection_->store(), storedRow(current_), [&] {
                connection_->store().update(table_, keyField_, edit.key, edit.changes);
                return edit.stored;
            });
        } catch (const RowChangedError& conflict) {
            return {conflict.rowIsGone() ? SaveOutcome::What::RowGone : SaveOutcome::What::RowChanged};
        }
    }
    endEdit(edit.changes.isEmpty() ? nullptr : &edit.key);
    return {};
}

void Query::saveAfterConflict(SaveOutcome conflict, ConflictChoice choice)
{
    if (state_ != State::Edit)
        throw Error(QStringLiteral("Dataset not in edit mode"));
    if (choice == ConflictChoice::KeepTheirs) {
        cancel();
        // The row as the other left it: read again.
        copy_().markStale();
        refreshPending_ = true;
        refreshWhenPending();
        return;
    }
    EditToSave edit = editToSave();
    Store& store = connection_->store();
    // Written over, a row deleted meanwhile comes back as a new one; kept
    // beside the other's version, the edit is a new one too.
    const bool anew = conflict.rowIsGone() || choice == ConflictChoice::KeepBoth;
    selected_.writeChanged(store, storedRow(current_), [&] {
        if (!anew) {
            store.overwrite(table_, keyField_, edit.key, edit.changes);
            return edit.stored;
        }
        edit.stored = store.insert(table_, fields_.givenValues(buffer_, keyField_), fields_.held());
        edit.key = edit.stored.value(fields_.keyColumn());
        return edit.stored;
    });
    endEdit(&edit.key);
}

void Query::postInsert()
{
    QVariant key;
    selected_.writeAdded(connection_->store(), insertAt_, [&] {
        const QVariantList stored = connection_->store().insert(table_, fields_.givenValues(buffer_, keyField_), fields_.held());
        key = stored.value(fields_.keyColumn());
        return stored;
    });
    fields_.remember(key, buffer_);
    dropBuffer();
    current_ = insertAt_;
    setState(State::Browse);
    Q_EMIT recordChanged(QString());
}

void Query::dropBuffer()
{
    buffer_.clear();
    original_.clear();
    modified_ = false;
}

void Query::cancel()
{
    if (state_ == State::Edit) {
        dropBuffer();
        setState(State::Browse);
        Q_EMIT recordChanged(QString());
    } else if (state_ == State::Insert) {
        dropBuffer();
        state_ = State::Browse;
        current_ = std::clamp(insertAt_, 0, std::max(0, rows_.rowCount() - 1));
        bof_ = eof_ = rows_.rowCount() == 0;
        Q_EMIT stateChanged();
        Q_EMIT rowsRemoved(insertAt_, 1);
    }
}

void Query::remove()
{
    requireActive();
    awaitTable();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (isEmpty())
        throw Error(QStringLiteral("Cannot perform this operation on an empty dataset"));
    requireWritable();

    const int stored = storedRow(current_);
    const int removedAt = current_;
    const QVariant key = rows_.value(stored, fields_.keyColumn());
    selected_.writeRemoved(connection_->store(), stored, [&] { connection_->store().remove(table_, keyField_, key); });
    dropBuffer();
    current_ = std::clamp(current_, 0, std::max(0, rows_.rowCount() - 1));
    bof_ = eof_ = rows_.rowCount() == 0;
    setState(State::Browse);
    Q_EMIT rowsRemoved(removedAt, 1);
}

}  // namespace vorlin::db
