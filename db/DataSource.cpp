#include "db/DataSource.h"

namespace vorlin::db {

void DataSource::setDataSet(Query* query)
{
    if (query_) {
        disconnect(query_, nullptr, this, nullptr);
        query_->writePendingEdits = nullptr;
    }
    query_ = query;
    if (query_) {
        // Passed on unless the controls are held.
        const auto relay = [this](auto signal) {
            return [this, signal](const auto&... arguments) {
                if (!held_)
                    (this->*signal)(arguments...);
            };
        };
        connect(query_, &Query::activeChanged, this, relay(&DataSource::activeChanged));
        connect(query_, &Query::dataSetChanged, this, relay(&DataSource::dataSetChanged));
        connect(query_, &Query::rowsRefreshed, this, relay(&DataSource::rowsRefreshed));
        connect(query_, &Query::rowsInserted, this, relay(&DataSource::rowsInserted));
        connect(query_, &Query::rowsRemoved, this, relay(&DataSource::rowsRemoved));
        connect(query_, &Query::scrolled, this, relay(&DataSource::scrolled));
        connect(query_, &Query::recordChanged, this, relay(&DataSource::recordChanged));
        connect(query_, &Query::stateChanged, this, relay(&DataSource::stateChanged));
        query_->writePendingEdits = [this] { writePendingEdits(); };
    }
    Q_EMIT dataSetReplaced();
}

void DataSource::holdControls()
{
    ++held_;
}

void DataSource::releaseControls()
{
    if (held_ == 0 || --held_ > 0)
        return;
    Q_EMIT activeChanged(query_ && query_->isActive());
    Q_EMIT dataSetChanged();
    Q_EMIT stateChanged();
}

void DataSource::addEditWriter(QObject* control, std::function<void()> write)
{
    editWriters_.append({control, std::move(write)});
}

void DataSource::removeEditWriters(const QObject* control)
{
    editWriters_.removeIf([control](const EditWriter& writer) { return writer.control == control; });
}

void DataSource::writePendingEdits()
{
    // A copy: a writer may end a control's life, and with it its entry.
    const QList<EditWriter> writers = editWriters_;
    for (const EditWriter& writer : writers)
        if (writer.control)
            writer.write();
}

bool DataSource::edit()
{
    if (!query_ || !query_->isActive())
        return false;
    if (autoEdit_ && query_->state() == Query::State::Browse)
        query_->edit();
    return query_->isEditing();
}

}  // namespace vorlin::db
