#include "ui/widgets/DBGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>

namespace vorlin::ui {

DBGrid::DBGrid(db::DataSource* source, QList<QueryTableModel::Column> columns, QWidget* parent)
    : QTableView(parent), source_(source), model_(new QueryTableModel(source, std::move(columns), this))
{
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::SelectedClicked);
    setWordWrap(false);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    // Rows of one height: the view never measures 100,000 rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("▶")) + 10);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int logical) {
        Q_EMIT titleClicked(horizontalHeader()->visualIndex(logical), model_->columns()[logical].field);
    });
    connect(this, &QTableView::doubleClicked, this, [this] { Q_EMIT rowDoubleClicked(); });
    connect(source, &db::DataSource::scrolled, this, &DBGrid::followQuery);
    connect(model_, &QAbstractItemModel::modelReset, this, &DBGrid::followQuery);
}

db::Query* DBGrid::query() const
{
    return source_ ? source_->dataSet() : nullptr;
}

QString DBGrid::fieldAtPosition(int position) const
{
    const int logical = horizontalHeader()->logicalIndex(position);
    return logical >= 0 ? model_->columns()[logical].field : QString();
}

void DBGrid::followQuery()
{
    const int row = query() ? query()->currentRow() : -1;
    following_ = true;
    if (row < 0) {
        setCurrentIndex({});
    } else {
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        setCurrentIndex(model_->index(row, column));
        scrollTo(model_->index(row, column));
    }
    following_ = false;
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (following_ || !current.isValid() || !query() || current.row() == query()->currentRow())
        return;
    // Moving ends an edit of the row left; when saving it fails the
    // selection goes back to it.
    try {
        query()->moveTo(current.row());
    } catch (...) {
        followQuery();
        throw;
    }
}

bool DBGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (state() == EditingState || !QTableView::edit(index, trigger, event))
        return false;
    // A row that cannot be edited refuses the cell's value when it is committed.
    if (source_)
        source_->edit();
    return true;
}

void DBGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier)) {
        if (query() && query()->isActive() && !query()->isEmpty()
            && QMessageBox::question(this, QStringLiteral("Confirm"), QStringLiteral("Delete record?"),
                                     QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
                == QMessageBox::Ok)
            query()->remove();
        return;
    }
    if (event->key() == Qt::Key_Escape && query() && query()->isEditing() && state() != EditingState) {
        query()->cancel();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace vorlin::ui
