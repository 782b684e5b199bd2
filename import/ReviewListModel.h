#pragma once

#include "db/TextOrder.h"

#include <QAbstractListModel>

#include <memory>
#include <vector>

namespace vorlin {

// The review list's candidates, kept sorted (ascending, letter case ignored,
// in the collation of the user's language), each with its tick. Candidates
// added one after the other wait in a batch that is merged into the sorted
// list in one step when the list is next looked at, so a run adding 100,000
// of them never sorts the whole list again per candidate.
class ReviewListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ReviewListModel(QObject* parent = nullptr);

    // Every new candidate goes unticked to its sorted place.
    void add(const QString& candidate);
    void clear();
    // The waiting candidates into the list (the views learn of them).
    void flush();

    int count() const;
    QString text(int row) const;
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
    void setAllChecked(bool checked);

    // The candidates in list order; replaceAll keeps them as given (they are
    // sorted already), unticked.
    QStringList texts() const;
    void replaceAll(const QStringList& sorted);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Item {
        QString text;
        std::string key;
        bool checked = false;
    };
    Item makeItem(const QString& text) const;

    std::shared_ptr<const db::TextOrder> order_;
    std::vector<Item> items_;
    std::vector<Item> waiting_;
};

}  // namespace vorlin
