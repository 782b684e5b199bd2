#pragma once

#include "data/QuickSearch.h"
#include "data/RecentInsertions.h"
#include "output/QuickInsertion.h"
#include "output/SnippetInsertion.h"
#include "platform/GlobalShortcut.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace vorlin {

class KindsList;
class TDM;
namespace ui {
class QuickInsertPopup;
}

// The quick insertion put together: the global shortcut (or a request from
// the command line) remembers the window the user writes in and opens the
// pop-up; the chosen snippet goes into that window and to the front of the
// lately inserted. The pop-up searches the main list's copy of the table
// while it is current; when it is not (another program changed the
// database), the snippets are read again in the background, so the pop-up
// opens at once all the same.
class QuickInsert : public QObject {
    Q_OBJECT
public:
    struct Services {
        QuickInsertion::Services insertion;
        platform::GlobalShortcut& shortcut;
    };

    QuickInsert(TDM& data, KindsList& kinds, Services services, const QString& dataDir, QObject* parent = nullptr);
    ~QuickInsert() override;

    // Binds the shortcut the settings name and reads the snippets; after the
    // database has been opened.
    void start();

    // The pop-up for the window that has the focus now.
    void open();

    ui::QuickInsertPopup& popup() { return *popup_; }

Q_SIGNALS:
    // Empty when the snippet arrived, else the message shown to the user.
    void finished(const QString& failure);
    // The snippets the pop-up searches are current again: read anew, or
    // the main list's copy of the table.
    void snippetsRead();

private:
    // The main list's copy of the table when it is current, else the
    // snippets read here.
    std::shared_ptr<const search::QuickSearch> snippetsNow();
    void readIfChanged();
    void took(std::shared_ptr<const search::QuickSearch> snippets, qint64 mark, const QString& error);
    void insert(qint64 id, bool formatted);
    void report(const QString& failure);

    TDM& data_;
    KindsList& kinds_;
    Services services_;
    RecentInsertions recent_;
    ui::QuickInsertPopup* popup_;
    SnippetInsertion insertion_;
    std::shared_ptr<const search::QuickSearch> snippets_;
    qint64 readMark_ = -1;
    // One reading of the snippets at a time, away from the window's thread;
    // a change while it runs reads them again after it.
    bool reading_ = false;
    bool readAgain_ = false;
    QTimer changed_;  // a quiet moment after the database changed
    QString dataDir_;
};

}  // namespace vorlin
