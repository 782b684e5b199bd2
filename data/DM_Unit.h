#pragma once

#include "data/Font.h"
#include "data/Library.h"
#include "db/Command.h"
#include "db/Connection.h"
#include "db/DataSource.h"
#include "db/Query.h"

#include <QObject>
#include <QStringList>

#include <functional>

namespace vorlin {

// What the insert hooks need of the main window's body editor.
class BodyEditorAccess {
public:
    virtual ~BodyEditorAccess() = default;

    // Gives the keyboard focus to the body editor, activating its window;
    // focuses nothing while the window is hidden or disabled.
    virtual void focusBodyEditor() = 0;

    // The font the body typed into a new row starts in.
    virtual void setBodyEditorFont(const Font& font) = 0;
};

// The data module: the one connection to the snippet database, the one
// snippet query every window shows and edits, its data source, and a command
// for statements without results.
class TDM : public QObject {
    Q_OBJECT
public:
    explicit TDM(QObject* parent = nullptr);
    ~TDM() override;

    db::Connection ADOConnection1;
    // The snippets held in memory: what the list shows and searches, and
    // what the quick-insert pop-up searches while it is current.
    db::TableCopy snippetTable;
    db::Query Vorlin_ADOQuery;
    db::DataSource Vorlin_DataSource;
    db::Command ADOCommand1;

    // Connects to the library (DataDir's vorlin.mdb unless a server is
    // chosen) and opens the snippet query.
    void DataModuleCreate();

    // Goes over to another library: an edit in progress is saved first;
    // when the other cannot be opened, the one before is opened again and
    // the error raised.
    void switchLibrary(const LibraryAddress& to);

    // Why the open library cannot be written; empty when it can.
    QString libraryRestriction();
    // Whether the office server is away and its last copy here is shown.
    bool libraryIsAway();

    // One snippet's body as the library holds it now (RTF or plain text);
    // null when the snippet is gone. Raises db::DatabaseError.
    QString bodyOf(qint64 id);

    // Where DataModuleCreate connects; this computer's file by default.
    LibraryAddress library;
    // Asked when the server wants a password libpq's own means did not
    // give, with the server's words; empty gives up. Kept for the run.
    std::function<QString(const QString& why)> askPassword;

    void Vorlin_ADOQueryBeforeInsert();
    void Vorlin_ADOQueryAfterInsert();

    // The font new snippets start with, as the settings hold it: what an
    // unreadable setting gives before its error, on the platform's default.
    static Font defaultFont();

    // Set by the main window once it exists.
    void setBodyEditor(BodyEditorAccess* editor) { bodyEditor_ = editor; }

    static QString connectionStringFor(const QString& dataDir);
    static QString connectionStringFor(const LibraryAddress& server);

private:
    void ensureSearchIndex();

    BodyEditorAccess* bodyEditor_ = nullptr;
};

}  // namespace vorlin
