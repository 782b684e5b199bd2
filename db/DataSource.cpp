#include "db/DataSource.h"

namespace vorlin::db {

void DataSource::setDataSet(Query* query)
{
    if (query_)
        disconnect(query_, nullptr, this, nullptr);
    query_ = query;
    if (query_) {
        connect(query_, &Query::activeChanged, this, &DataSource::activeChanged);
        connect(query_, &Query::dataSetChanged, this, &DataSource::dataSetChanged);
        connect(query_, &Query::scrolled, this, &DataSource::scrolled);
        connect(query_, &Query::recordChanged, this, &DataSource::recordChanged);
        connect(query_, &Query::stateChanged, this, &DataSource::stateChanged);
        connect(query_, &Query::updateRecordRequested, this, &DataSource::updateRecordRequested);
    }
    Q_EMIT dataSetReplaced();
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
