#include "import/ReviewListModel.h"

#include "import/Candidates.h"

#include <algorithm>

namespace vorlin {

ReviewListModel::ReviewListModel(QObject* parent)
    : QAbstractListModel(parent), order_(db::TextOrder::forLocale(QLocale().collation()))
{
}

ReviewListModel::Item ReviewListModel::makeItem(const QString& text) const
{
    Item item;
    item.text = text;
    const QByteArray utf8 = text.toUtf8();
    order_->appendKey(std::string_view(utf8.constData(), std::size_t(utf8.size())), item.key);
    return item;
}

void ReviewListModel::add(const QString& candidate)
{
    waiting_.push_back(makeItem(candidate));
}

void ReviewListModel::flush()
{
    if (waiting_.empty())
        return;
    const auto before = [](const Item& a, const Item& b) { return a.key < b.key; };
    // A later candidate goes behind the equal ones already there.
    std::stable_sort(waiting_.begin(), waiting_.end(), before);
    std::vector<Item> merged;
    merged.reserve(items_.size() + waiting_.size());
    std::merge(std::make_move_iterator(items_.begin()), std::make_move_iterator(items_.end()),
               std::make_move_iterator(waiting_.begin()), std::make_move_iterator(waiting_.end()),
               std::back_inserter(merged), before);
    waiting_.clear();
    beginResetModel();
    items_.swap(merged);
    endResetModel();
}

void ReviewListModel::clear()
{
    waiting_.clear();
    beginResetModel();
    items_.clear();
    endResetModel();
}

int ReviewListModel::count() const
{
    return int(items_.size() + waiting_.size());
}

QString ReviewListModel::text(int row) const
{
    const_cast<ReviewListModel*>(this)->flush();
    return items_[std::size_t(row)].text;
}

bool ReviewListModel::isChecked(int row) const
{
    const_cast<ReviewListModel*>(this)->flush();
    return items_[std::size_t(row)].checked;
}

void ReviewListModel::setChecked(int row, bool checked)
{
    flush();
    items_[std::size_t(row)].checked = checked;
    Q_EMIT dataChanged(index(row), index(row), {Qt::CheckStateRole});
}

void ReviewListModel::setAllChecked(bool checked)
{
    flush();
    for (Item& item : items_)
        item.checked = checked;
    if (!items_.empty())
        Q_EMIT dataChanged(index(0), index(int(items_.size()) - 1), {Qt::CheckStateRole});
}

QStringList ReviewListModel::texts() const
{
    const_cast<ReviewListModel*>(this)->flush();
    QStringList list;
    list.reserve(qsizetype(items_.size()));
    for (const Item& item : items_)
        list << item.text;
    return list;
}

void ReviewListModel::replaceAll(const QStringList& sorted)
{
    waiting_.clear();
    beginResetModel();
    items_.clear();
    items_.reserve(std::size_t(sorted.size()));
    for (const QString& text : sorted)
        items_.push_back(makeItem(text));
    endResetModel();
}

int ReviewListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(items_.size());
}

QVariant ReviewListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(items_.size()))
        return {};
    const Item& item = items_[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return candidates::drawnText(item.text);
    case Qt::CheckStateRole:
        return item.checked ? Qt::Checked : Qt::Unchecked;
    default:
        return {};
    }
}

bool ReviewListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole)
        return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags ReviewListModel::flags(const QModelIndex& index) const
{
    return QAbstractListModel::flags(index) | Qt::ItemIsUserCheckable;
}

}  // namespace vorlin
