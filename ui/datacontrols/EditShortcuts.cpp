#include "ui/datacontrols/EditShortcuts.h"

#include "db/DataSource.h"
#include "db/Query.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/MessageBox.h"

#include <QShortcut>
#include <QWidget>

namespace vorlin::ui {

void addEditShortcuts(QWidget* window, db::DataSource* source)
{
    const auto whileEditing = [source](void (db::Query::*step)()) {
        return [source, step] {
            db::Query* query = source->dataSet();
            if (query && query->isEditing())
                (query->*step)();
        };
    };
    auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), window);
    QObject::connect(save, &QShortcut::activated, window, guarded(whileEditing(&db::Query::post)));
    auto* drop = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    QObject::connect(drop, &QShortcut::activated, window, guarded([source, window] {
        db::Query* query = source->dataSet();
        if (!query || !query->isEditing())
            return;
        // A dropped edit of a stored row comes back with Ctrl+Z in its
        // box; a new row has no place to come back to, so its typed text
        // is dropped only when the user says so.
        if (query->state() == db::Query::State::Insert) {
            if (query->writePendingEdits)
                query->writePendingEdits();
            if (query->isModified()
                && !MessageBox::askYesNo(window, MessageBox::Question, QStringLiteral("Confirm"),
                                         QStringLiteral("Zahodit nový vorlin i s napsaným textem?"), MessageBox::No))
                return;
        }
        query->cancel();
    }));
}

}  // namespace vorlin::ui
