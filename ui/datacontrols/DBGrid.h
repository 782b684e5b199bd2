#pragma once

#include "ui/datacontrols/QueryTableModel.h"

#include <QElapsedTimer>
#include <QTableView>

#include <optional>

namespace vorlin::ui {

// The snippet list: a table over the query whose selected row is the
// query's current row. Both cells can be edited in place; Ctrl+Delete
// deletes the current row after "Delete record?". The first column takes the
// free width and the others fit their contents, until the user drags a
// column's edge: his widths then stay for the run.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    DBGrid(db::DataSource* source, QList<QueryTableModel::Column> columns, QWidget* parent = nullptr);
    ~DBGrid() override;

    QueryTableModel* queryModel() const { return model_; }

    // The field of the column at a position (0 = leftmost), after any moves
    // the user made.
    QString fieldAtPosition(int position) const;

Q_SIGNALS:
    // A column title was clicked: its position now and its own field.
    void titleClicked(int position, const QString& field);
    // A row was double-clicked (it is the current row by then).
    void rowDoubleClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    // An editor opened in a cell puts the row into editing, as typing does.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // A value cut off by its column shows whole in a tooltip.
    bool viewportEvent(QEvent* event) override;

private:
    QElapsedTimer lastDoubleClick_;
    bool clickedOpenPending_ = false;  // a click on the current cell set off its opening
    db::Query* query() const;
    void followQuery();
    static bool isDeleteRecordKey(const QKeyEvent* event);
    // "Delete record?", and the current row deleted on OK.
    void askAndDeleteRow(QWidget* openCell);
    // The cell open on the query's current row; null when none is.
    QWidget* openCellOfCurrentRow() const;
    // Writes the open cell's text into the row.
    void commitOpenCell();
    // A cell open while the list is read again: kept through the reading.
    void keepOpenCell();
    void reopenKeptCell();
    // The first column takes the width the others, fitted to their
    // contents, leave; until the user sizes a column himself.
    void fitColumns();

    QPointer<db::DataSource> source_;
    QueryTableModel* model_;
    struct KeptCell {
        int row;
        int column;
        QString text;
        int caret;
    };
    std::optional<KeptCell> keptCell_;
    bool following_ = false;
    bool fitting_ = false;
    bool sizedByUser_ = false;
};

}  // namespace vorlin::ui
