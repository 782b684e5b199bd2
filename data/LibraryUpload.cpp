#include "data/LibraryUpload.h"

#include "db/Sqlite.h"

namespace vorlin {

db::Store::Upload uploadLocalLibrary(const QString& localFile, db::Store& server)
{
    std::vector<QVariantList> snippets;
    {
        const db::Database file(localFile);
        db::Statement rows(file, QStringLiteral("SELECT nazev, druh, obsah, tag FROM vorlin ORDER BY ID"));
        while (rows.step())
            snippets.push_back({rows.column(0), rows.column(1), rows.column(2), rows.column(3)});
    }
    return server.upload(snippets);
}

}  // namespace vorlin
