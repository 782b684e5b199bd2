#include "db/Query.h"

#include "common/AwayFromGuiThread.h"

#include "db/Connection.h"
#include "db/LargeColumn.h"
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

void Query::setTextOrder(std::shared_ptr<const TextOrder> order)
{
    selected_.setTextOrder(std::move(order));
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

int Query::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const Query::Field& Query::field(const QString& name) const
{
    const int index = fieldIndex(name);
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

    const QStringList columns = store.columns(selection_.table);
    const bool hasKey = columns.contains(keyField_, Qt::CaseInsensitive);
    QList<Field> fields;
    QStringList kept;  // the columns held in memory
    for (const QString& column : columns) {
        if (hasKey && !largeColumn_.isEmpty() && column.compare(largeColumn_, Qt::CaseInsensitive) == 0) {
            fields.append({column, -1});
        } else {
            fields.append({column, int(kept.size())});
            kept << column;
        }
    }
    selected_.select(store, selection_, kept, keyField_);

    std::unique_ptr<LargeColumn> largeColumn;
    for (const Field& f : fields)
        if (f.column < 0)
            largeColumn = std::make_unique<LargeColumn>(store, selection_.table, f.name, keyField_);

    fields_ = std::move(fields);
    table_ = hasKey ? selection_.table : QString();
    largeValues_ = std::move(largeColumn);
    keyIndex_.clear();
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
    const int key = keyColumn();
    const QVariant current = isEmpty() || key < 0 ? QVariant() : rows_.value(current_, key);
    const int rowsBefore = rows_.rowCount();
    const std::vector<qint64> keysBefore = key < 0 ? std::vector<qint64>() : rows_.keys(key);
    readRowsAgain();
    int row = -1;
    for (int candidate = 0; candidate < rows_.rowCount() && row < 0 && current.isValid(); ++candidate)
        if (rows_.value(candidate, key) == current)
            row = candidate;
    current_ = row >= 0 ? row : std::clamp(current_, 0, std::max(0, rows_.rowCount() - 1));
    bof_ = eof_ = rows_.rowCount() == 0;
    // A colleague's row that came or went moves the others in the list; the
    // rest of what the list shows (its open cell, its selection) stays.
    ShownChange change;
    if (key >= 0)
        change = shownChange(keysBefore, rows_.keys(key));
    else if (rows_.rowCount() == rowsBefore)
        change.kind = ShownChange::Kind::Same;
    switch (change.kind) {
    case ShownChange::Kind::Same: Q_EMIT rowsRefreshed(); break;
    case ShownChange::Kind::Inserted: Q_EMIT rowsInserted(change.first, change.count); break;
    case ShownChange::Kind::Removed: Q_EMIT rowsRemoved(change.first, change.count); break;
    case ShownChange::Kind::Other: Q_EMIT dataSetChanged(); break;
    }
    Q_EMIT scrolled();
    Q_EMIT recordChanged(QString());
}

void Query::readRowsAgain()
{
    const QStringList& held = copy_().columns();
    selected_.select(connection_->store(), selection_, held.isEmpty() ? storedColumnNames() : held, keyField_);
    keyIndex_.clear();
    if (largeValues_)
        largeValues_->forget();
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
    readRowsAgain();
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
    buffer_.clear();
    original_.clear();
    modified_ = false;
    selected_.clear();
    fields_.clear();
    table_.clear();
    largeValues_.reset();
    keyIndex_.clear();
    current_ = 0;
    bof_ = eof_ = true;
    Q_EMIT stateChanged();
    Q_EMIT activeChanged(false);
    Q_EMIT dataSetChanged();
}

void Query::writeThrough(const std::function<void()>& write, const std::function<void()>& change)
{
    copy_().writeThrough(connection_->store(), write, [&] {
        rows_.useSet(&copy_().rows());  // the rows may have become a copy of their own
        change();
    });
}

bool Query::holdsCurrentTable() const
{
    return selected_.holdTable(selection_) && connection_ && connection_->isConnected()
           && copy_().isCurrent(connection_->store());
}

std::optional<Query::TableSnapshot> Query::tableSnapshot(const QString& orderColumn)
{
    if (copy_().isArriving())
        return std::nullopt;
    const int column = columnIndexOf(copy_().columns(), orderColumn);
    if (!selected_.holdTable(selection_) || column < 0)
        return std::nullopt;
    return TableSnapshot{copy_().sharedRows(), copy_().columns(), copy_().sharedOrder(column, false),
                         holdsCurrentTable(), copy_().sharedLetters()};
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

int Query::keyColumn() const
{
    const int index = fieldIndex(keyField_);
    return index >= 0 ? fields_[index].column : -1;
}

QVariant Query::largeValueOf(int stored) const
{
    return largeValues_ ? largeValues_->valueFor(rows_.value(stored, keyColumn())) : QVariant();
}

QVariantList Query::storedValues(int stored) const
{
    QVariantList values;
    for (const Field& f : fields_)
        values << (f.column < 0 ? largeValueOf(stored) : rows_.value(stored, f.column));
    return values;
}

QStringList Query::fieldNames() const
{
    QStringList names;
    for (const Field& f : fields_)
        names << f.name;
    return names;
}

QVariant Query::value(const QString& name) const
{
    if (!isActive() || isEmpty())
        return QVariant();
    return valueAt(current_, name);
}

QVariant Query::valueAt(int row, const QString& name) const
{
    const Field& f = field(name);
    if (row < 0 || row >= recordCount())
        return QVariant();
    if (isEditing() && row == current_)
        return buffer_.value(fieldIndex(name));
    const int stored = storedRow(row);
    return f.column < 0 ? largeValueOf(stored) : rows_.value(stored, f.column);
}

void Query::setValue(const QString& name, const QVariant& value)
{
    requireActive();
    const Field& f = field(name);
    if (!isEditing())
        throw Error(QStringLiteral("Dataset not in edit or insert mode"));
    if (f.name.compare(keyField_, Qt::CaseInsensitive) == 0)
        throw Error(QStringLiteral("Field '%1' cannot be modified").arg(f.name));
    buffer_[fieldIndex(name)] = value;
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

void Query::next()
{
    moveBy(1);
}

void Query::prior()
{
    moveBy(-1);
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
    const Field& f = field(name);
    int found = -1;
    if (f.column >= 0 && f.column == keyColumn()) {
        if (keyIndex_.isEmpty()) {
            for (int row = rows_.rowCount() - 1; row >= 0; --row)
                keyIndex_.insert(rows_.value(row, f.column).toLongLong(), row);
        }
        bool isNumber = false;
        const qint64 key = value.toLongLong(&isNumber);
        if (isNumber)
            found = keyIndex_.value(key, -1);
    } else {
        for (int row = 0; row < rows_.rowCount() && found < 0; ++row) {
            const QVariant candidate = f.column < 0 ? largeValueOf(row) : rows_.value(row, f.column);
            if (sameValue(candidate, value))
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
    buffer_ = storedValues(storedRow(current_));
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

QStringList Query::storedColumnNames() const
{
    QStringList names(rows_.columnCount());
    for (const Field& f : fields_)
        if (f.column >= 0)
            names[f.column] = f.name;
    return names;
}

QList<std::pair<QString, QVariant>> Query::editedValues() const
{
    QList<std::pair<QString, QVariant>> given;
    for (int i = 0; i < fields_.size(); ++i)
        if (!buffer_[i].isNull() && fields_[i].name.compare(keyField_, Qt::CaseInsensitive) != 0)
            given.append({fields_[i].name, buffer_[i]});
    return given;
}

Query::EditToSave Query::editToSave() const
{
    EditToSave edit{original_[fieldIndex(keyField_)], {}, QVariantList(rows_.columnCount())};
    for (int i = 0; i < fields_.size(); ++i)
        if (!sameValue(buffer_[i], original_[i]))
            edit.changes.append({fields_[i].name, buffer_[i], original_[i]});
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].column >= 0)
            edit.stored[fields_[i].column] = buffer_[i];
    return edit;
}

void Query::showSaved(const EditToSave& edit)
{
    rows_.replaceRow(storedRow(current_), edit.stored);
    copy_().keepOrders(TableCopy::RowChange::Changed, rows_.indexAt(storedRow(current_)));
}

void Query::endEdit(const QVariant* savedKey)
{
    for (int i = 0; i < fields_.size(); ++i)
        if (savedKey && fields_[i].column < 0 && largeValues_)
            largeValues_->remember(*savedKey, buffer_[i]);
    buffer_.clear();
    original_.clear();
    modified_ = false;
    setState(State::Browse);
    Q_EMIT recordChanged(QString());
}

SaveOutcome Query::postEdit()
{
    const EditToSave edit = editToSave();
    if (!edit.changes.isEmpty()) {
        try {
            writeThrough([&] { connection_->store().update(table_, keyField_, edit.key, edit.changes); },
                         [&] { showSaved(edit); });
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
    // Written over, a row deleted meanwhile comes back as a new one; kept
    // beside the other's version, the edit is a new one too.
    if (conflict.rowIsGone() || choice == ConflictChoice::KeepBoth) {
        writeThrough([&] { edit.stored = connection_->store().insert(table_, editedValues(), storedColumnNames()); },
                     [&] { showSaved(edit); });
        edit.key = edit.stored.value(keyColumn());
        keyIndex_.clear();
    } else {
        writeThrough([&] { connection_->store().overwrite(table_, keyField_, edit.key, edit.changes); },
                     [&] { showSaved(edit); });
    }
    endEdit(&edit.key);
}

void Query::postInsert()
{
    const QList<std::pair<QString, QVariant>> given = editedValues();
    QVariantList stored;
    writeThrough([&] { stored = connection_->store().insert(table_, given, storedColumnNames()); },
                 [&] {
                     rows_.insertRow(insertAt_, stored);
                     copy_().keepOrders(TableCopy::RowChange::Added, rows_.indexAt(insertAt_));
                 });
    keyIndex_.clear();
    for (int i = 0; i < fields_.size(); ++i) {
        if (fields_[i].column < 0 && largeValues_)
            largeValues_->remember(stored.value(keyColumn()), buffer_[i]);
    }
    buffer_.clear();
    modified_ = false;
    current_ = insertAt_;
    setState(State::Browse);
    Q_EMIT recordChanged(QString());
}

void Query::cancel()
{
    if (state_ == State::Edit) {
        buffer_.clear();
        original_.clear();
        modified_ = false;
        setState(State::Browse);
        Q_EMIT recordChanged(QString());
    } else if (state_ == State::Insert) {
        buffer_.clear();
        modified_ = false;
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
    const QVariant key = rows_.value(stored, keyColumn());
    writeThrough([&] { connection_->store().remove(table_, keyField_, key); },
                 [&] {
                     const std::uint32_t removed = rows_.indexAt(stored);
                     rows_.removeRow(stored);
                     copy_().keepOrders(TableCopy::RowChange::Removed, removed);
                 });
    keyIndex_.clear();
    buffer_.clear();
    original_.clear();
    modified_ = false;
    current_ = std::clamp(current_, 0, std::max(0, rows_.rowCount() - 1));
    bof_ = eof_ = rows_.rowCount() == 0;
    setState(State::Browse);
    Q_EMIT rowsRemoved(removedAt, 1);
}

}  // namespace vorlin::db
