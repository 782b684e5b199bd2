#include "ui/datacontrols/QueryTableModel.h"

#include "ui/widgets/ShownText.h"

namespace vorlin::ui {

QueryTableModel::QueryTableModel(db::DataSource* source, QList<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), source_(source), columns_(std::move(columns))
{
    connect(source, &db::DataSource::dataSetChanged, this, &QueryTableModel::reset);
    connect(source, &db::DataSource::activeChanged, this, &QueryTableModel::reset);
    connect(source, &db::DataSource::dataSetReplaced, this, &QueryTableModel::reset);
    connect(source, &db::DataSource::rowsRefreshed, this, &QueryTableModel::rowsRefreshed);
    connect(source, &db::DataSource::rowsInserted, this, &QueryTableModel::rowsInserted);
    connect(source, &db::DataSource::rowsRemoved, this, &QueryTableModel::rowsRemoved);
    connect(source, &db::DataSource::recordChanged, this, &QueryTableModel::currentRecordChanged);
    connect(source, &db::DataSource::stateChanged, this, &QueryTableModel::markerChanged);
    connect(source, &db::DataSource::scrolled, this, &QueryTableModel::markerChanged);
    shownRows_ = query() && query()->isActive() ? query()->recordCount() : 0;
}

db::Query* QueryTableModel::query() const
{
    return source_ ? source_->dataSet() : nullptr;
}

int QueryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows_;
}

int QueryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant QueryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !query() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const QString value = query()->valueAt(index.row(), columns_[index.column()].field).toString();
    return role == Qt::DisplayRole ? shownPrefix(value) : value;
}

QVariant QueryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < columns_.size() ? QVariant(columns_[section].title) : QVariant();
    if (!query() || section != query()->currentRow())
        return QString();
    switch (query()->state()) {
    case db::Query::State::Edit:
        return QStringLiteral("I");
    case db::Query::State::Insert:
        return QStringLiteral("*");
    default:
        return QStringLiteral("▶");
    }
}

Qt::ItemFlags QueryTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    // A value longer than a line's editor takes is not edited in the list:
    // the editor would cut it.
    if (query() && query()->canModify() && index.isValid()
        && query()->valueAt(index.row(), columns_[index.column()].field).toString().size() <= kLongestEditedInLine)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool QueryTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !query())
        return false;
    if (index.row() != query()->currentRow())
        query()->moveTo(index.row());
    if (query()->valueAt(index.row(), columns_[index.column()].field).toString() == value.toString()
        && !query()->isEditing())
        return true;  // nothing changed: the row stays as it was
    if (!source_->edit())
        return false;
    query()->setValue(columns_[index.column()].field, value.toString());
    return true;
}

void QueryTableModel::reset()
{
    beginResetModel();
    markedRow_ = query() ? query()->currentRow() : -1;
    shownRows_ = query() && query()->isActive() ? query()->recordCount() : 0;
    endResetModel();
}

void QueryTableModel::rowsInserted(int first, int count)
{
    if (first < 0 || first > shownRows_ || !query() || shownRows_ + count != query()->recordCount()) {
        reset();
        return;
    }
    changingRows_ = true;
    beginInsertRows({}, first, first + count - 1);
    shownRows_ += count;
    endInsertRows();
    changingRows_ = false;
    markerChanged();
}

void QueryTableModel::rowsRemoved(int first, int count)
{
    if (first < 0 || first + count > shownRows_ || !query() || shownRows_ - count != query()->recordCount()) {
        reset();
        return;
    }
    changingRows_ = true;
    beginRemoveRows({}, first, first + count - 1);
    shownRows_ -= count;
    endRemoveRows();
    changingRows_ = false;
    markerChanged();
}

void QueryTableModel::rowsRefreshed()
{
    // As many rows as before: repainted, the view's selection and open
    // cell left alone.
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, int(columns_.size()) - 1));
    markerChanged();
}

void QueryTableModel::currentRecordChanged()
{
    if (!query() || query()->currentRow() < 0)
        return;
    const int row = query()->currentRow();
    Q_EMIT dataChanged(index(row, 0), index(row, int(columns_.size()) - 1));
}

void QueryTableModel::markerChanged()
{
    const int row = query() ? query()->currentRow() : -1;
    if (markedRow_ >= 0 && markedRow_ < shownRows_)
        Q_EMIT headerDataChanged(Qt::Vertical, markedRow_, markedRow_);
    markedRow_ = row;
    if (row >= 0 && row < shownRows_)
        Q_EMIT headerDataChanged(Qt::Vertical, row, row);
}

}  // namespace vorlin::ui
