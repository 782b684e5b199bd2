#pragma once

#include "db/DataSource.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

namespace vorlin::ui {

// The query's rows as a table: one column a field, the current row marked in
// the row header (an arrow, "I" while editing, "*" while inserting). Values
// are read from the query's rows in memory as they are drawn, so a list of
// any length costs nothing to show. Rows that come or go are told as such:
// the view keeps its selection and open cell.
class QueryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString title;
        QString field;
    };

    QueryTableModel(db::DataSource* source, QList<Column> columns, QObject* parent = nullptr);

    const QList<Column>& columns() const { return columns_; }
    // While rows come or go: the view's current index moves with them,
    // which is no move of the user's.
    bool changingRows() const { return changingRows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    db::Query* query() const;
    void reset();
    void currentRecordChanged();
    void rowsRefreshed();
    void rowsInserted(int first, int count);
    void rowsRemoved(int first, int count);
    void markerChanged();

    QPointer<db::DataSource> source_;
    QList<Column> columns_;
    int markedRow_ = -1;
    // The rows the views were told of: what the query holds changes before
    // it says how.
    int shownRows_ = 0;
    bool changingRows_ = false;
};

}  // namespace vorlin::ui
