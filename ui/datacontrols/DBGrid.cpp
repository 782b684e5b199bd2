#include "ui/datacontrols/DBGrid.h"

#include "ui/shell/ErrorBox.h"
#include "ui/shell/MessageBox.h"

#include <QApplication>

#include <QHeaderView>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>
#include <QKeyEvent>
#include <QLineEdit>

#include <utility>

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
    // Tab leaves the list for the next control instead of walking its cells
    // for ever; the arrows move within it.
    setTabKeyNavigation(false);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Fitting a column measures this many rows at most, whatever the list holds.
    horizontalHeader()->setResizeContentsPrecision(200);
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
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, &DBGrid::keepOpenCell);
    connect(model_, &QAbstractItemModel::modelReset, this, &DBGrid::followQuery);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &DBGrid::followQuery);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &DBGrid::followQuery);
    connect(model_, &QAbstractItemModel::modelReset, this, &DBGrid::fitColumns);
    connect(model_, &QAbstractItemModel::modelReset, this, &DBGrid::reopenKeptCell);
    // A cell being typed into is written into the row before the row is
    // saved, as the other controls' edits are ("Uložit" takes no focus).
    source->addEditWriter(this, [this] { commitOpenCell(); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (!fitting_)
            sizedByUser_ = true;
    });
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
    if (following_ || model_->changingRows() || !current.isValid() || !query()
        || current.row() == query()->currentRow())
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

DBGrid::~DBGrid()
{
    if (source_)
        source_->removeEditWriters(this);
}

QWidget* DBGrid::openCellOfCurrentRow() const
{
    if (state() != EditingState || !query() || currentIndex().row() != query()->currentRow())
        return nullptr;
    return indexWidget(currentIndex());
}

void DBGrid::commitOpenCell()
{
    if (QWidget* editor = openCellOfCurrentRow())
        commitData(editor);
}

void DBGrid::keepOpenCell()
{
    // The list is read again under a cell being typed into (the row is
    // edited, so not moved): the cell opens again where it was, with what
    // was typed and the caret where it was; the row takes it when saved.
    // A new row's reading (its insertion) closes any cell: the row the cell
    // was on took its text before the insertion.
    keptCell_.reset();
    if (!query() || query()->state() != db::Query::State::Edit)
        return;
    const auto* line = qobject_cast<const QLineEdit*>(openCellOfCurrentRow());
    if (line)
        keptCell_ = KeptCell{query()->currentRow(), currentIndex().column(), line->text(), line->cursorPosition()};
}

void DBGrid::reopenKeptCell()
{
    const std::optional<KeptCell> kept = std::exchange(keptCell_, std::nullopt);
    if (!kept || !query() || query()->state() != db::Query::State::Edit || query()->currentRow() != kept->row)
        return;
    const QModelIndex cell = model_->index(kept->row, kept->column);
    setCurrentIndex(cell);
    QTableView::edit(cell, AllEditTriggers, nullptr);
    if (auto* line = qobject_cast<QLineEdit*>(indexWidget(cell))) {
        line->setText(kept->text);
        line->setCursorPosition(kept->caret);
    }
}

void DBGrid::fitColumns()
{
    if (sizedByUser_ || model_->columnCount() == 0)
        return;
    fitting_ = true;
    int others = 0;
    for (int column = 1; column < model_->columnCount(); ++column) {
        const int width = std::max(horizontalHeader()->sectionSizeHint(column), sizeHintForColumn(column)) + 8;
        setColumnWidth(column, width);
        others += width;
    }
    setColumnWidth(0, std::max(60, viewport()->width() - others));
    fitting_ = false;
}

void DBGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    fitColumns();
}

bool DBGrid::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QTableView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.data().toString();
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    if (index.isValid() && fontMetrics().horizontalAdvance(text) + margins > columnWidth(index.column()))
        QToolTip::showText(help->globalPos(), text, viewport(), visualRect(index));
    else
        QToolTip::hideText();
    return true;
}

bool DBGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // The first click of a double click on the current row would open its
    // cell a moment later: a double click opens the preview, never an edit.
    const bool afterDoubleClick = lastDoubleClick_.isValid()
        && !lastDoubleClick_.hasExpired(2 * QApplication::doubleClickInterval());
    if (afterDoubleClick && (trigger == SelectedClicked || (trigger == AllEditTriggers && !event)))
        return false;
    // The cell that a click on the current row sets off opens a moment
    // later: not once the user went on into another control, whose keys it
    // would take.
    const bool delayedOpening = trigger == AllEditTriggers && !event && std::exchange(clickedOpenPending_, false);
    if (trigger == SelectedClicked)
        clickedOpenPending_ = true;
    if (delayedOpening && !hasFocus())
        return false;
    if (state() == EditingState || !QTableView::edit(index, trigger, event))
        return false;
    if (QWidget* cell = indexWidget(index))
        cell->installEventFilter(this);
    // A row that cannot be edited refuses the cell's value when it is
    // committed. A click on the current cell only sets off the cell's
    // opening a moment later (unless a double click follows): the row is
    // edited once the cell opens.
    if (source_ && trigger != SelectedClicked)
        runShowingErrors([this] { source_->edit(); });
    return true;
}

bool DBGrid::isDeleteRecordKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier);
}

void DBGrid::askAndDeleteRow(QWidget* openCell)
{
    if (!query() || !query()->isActive() || query()->isEmpty()
        || MessageBox::ask(this, MessageBox::Question, QStringLiteral("Confirm"), QStringLiteral("Delete record?"),
                           MessageBox::Ok | MessageBox::Cancel, MessageBox::Cancel)
            != MessageBox::Ok)
        return;
    // The cell's text goes with the row: never written into it.
    if (openCell)
        closeEditor(openCell, QAbstractItemDelegate::RevertModelCache);
    runShowingErrors([this] { query()->remove(); });
}

bool DBGrid::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+Delete in an open cell deletes the row as it does in the list,
    // not the word after the caret.
    if (event->type() == QEvent::KeyPress && isDeleteRecordKey(static_cast<QKeyEvent*>(event))
        && watched == indexWidget(currentIndex())) {
        askAndDeleteRow(static_cast<QWidget*>(watched));
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    lastDoubleClick_.start();
    QTableView::mouseDoubleClickEvent(event);
}

void DBGrid::keyPressEvent(QKeyEvent* event)
{
    if (isDeleteRecordKey(event)) {
        askAndDeleteRow(nullptr);
        return;
    }
    if (event->key() == Qt::Key_Escape && query() && query()->isEditing() && state() != EditingState) {
        query()->cancel();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace vorlin::ui
