#include "db/Sqlite.h"

#include "common/FileContents.h"

#include "db/StorageClass.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>

#include <utility>

namespace vorlin::db {

QString databaseErrorText(const QString& file, int resultCode, const QString& engineText)
{
    QString what;
    switch (resultCode & 0xFF) {
    case SQLITE_CANTOPEN: {
        const QFileInfo info(file);
        if (info.isSymLink() && !info.exists())
            what = QStringLiteral("Soubor „%1“ je odkaz na soubor, který neexistuje");
        else if (!info.exists())
            what = QStringLiteral("Soubor „%1“ nebyl nalezen");
        else if (info.isDir())
            what = QStringLiteral("„%1“ je složka, ne databáze programu Vorlin");
        else
            what = QStringLiteral("Soubor „%1“ nelze otevřít");
        break;
    }
    case SQLITE_NOTADB:
        what = QStringLiteral("Soubor „%1“ není databáze programu Vorlin");
        break;
    case SQLITE_ERROR:
        what = engineText.startsWith(QStringLiteral("no such table"))
            ? QStringLiteral("Soubor „%1“ není databáze programu Vorlin")
            : QStringLiteral("Chyba v databázi „%1“");
        break;
    case SQLITE_READONLY:
        what = QStringLiteral("Soubor „%1“ je jen pro čtení");
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        what = QStringLiteral("Soubor „%1“ má zamčený jiný program");
        break;
    case SQLITE_CORRUPT:
        what = QStringLiteral("Soubor „%1“ je poškozený");
        break;
    case SQLITE_FULL:
        what = QStringLiteral("Na disku se souborem „%1“ není místo");
        break;
    case SQLITE_IOERR:
        what = QStringLiteral("Soubor „%1“ nelze číst ani do něj zapisovat");
        break;
    case SQLITE_PERM:
    case SQLITE_AUTH:
        what = QStringLiteral("Přístup k souboru „%1“ byl odepřen");
        break;
    default:
        what = QStringLiteral("Chyba v databázi „%1“");
        break;
    }
    return what.arg(file) + QStringLiteral(": ") + engineText;
}

Database::Database(const QString& path, Opening opening) : path_(path)
{
    const QByteArray name = path.toUtf8();
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX
        | (opening == Opening::CreateWhenMissing ? SQLITE_OPEN_CREATE : 0);
    const int result = sqlite3_open_v2(name.constData(), &handle_, flags, nullptr);
    if (result != SQLITE_OK) {
        const QString message = handle_ ? QString::fromUtf8(sqlite3_errmsg(handle_))
                                        : QString::fromUtf8(sqlite3_errstr(result));
        close();
        fail(result, message);
    }
    sqlite3_extended_result_codes(handle_, 0);
    sqlite3_busy_timeout(handle_, kBusyTimeoutMs);
    try {
        // Reading the schema checks the file's header.
        execute(QStringLiteral("SELECT count(*) FROM sqlite_schema"));
    } catch (...) {
        close();
        throw;
    }
}

Database::~Database()
{
    close();
}

Database::Database(Database&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), path_(std::move(other.path_))
{
}

Database& Database::operator=(Database&& other) noexcept
{
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

void Database::close() noexcept
{
    if (handle_)
        sqlite3_close_v2(handle_);
    handle_ = nullptr;
}

void Database::execute(const QString& sql)
{
    const QByteArray text = sql.toUtf8();
    char* message = nullptr;
    if (const int result = sqlite3_exec(handle_, text.constData(), nullptr, nullptr, &message); result != SQLITE_OK) {
        const QString error = QString::fromUtf8(message ? message : sqlite3_errmsg(handle_));
        sqlite3_free(message);
        fail(result, error);
    }
}

void Database::copyTo(const QString& file)
{
    Statement mode(*this, QStringLiteral("PRAGMA journal_mode"));
    const bool rollbackJournal = mode.step() && mode.column(0).toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) != 0;
    if (rollbackJournal && sqlite3_get_autocommit(handle_)) {
        // A read transaction holds a shared lock: no other writer can commit
        // while the bytes are copied.
        execute(QStringLiteral("BEGIN"));
        bool copied = false;
        try {
            execute(QStringLiteral("SELECT count(*) FROM sqlite_schema"));
            QFile in(path_);
            QFile out(file);
            copied = in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly)
                && copyFileContents(in.handle(), out.handle());
        } catch (...) {
            execute(QStringLiteral("ROLLBACK"));
            throw;
        }
        execute(QStringLiteral("ROLLBACK"));
        if (!copied)
            throw DatabaseError(databaseErrorText(file, SQLITE_IOERR, QStringLiteral("the copy could not be written")));
        return;
    }
    sqlite3* target = nullptr;
    const QByteArray name = file.toUtf8();
    int result = sqlite3_open_v2(name.constData(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (result == SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(target, "main", handle_, "main");
        if (backup) {
            result = sqlite3_backup_step(backup, -1);
            sqlite3_backup_finish(backup);
            result = result == SQLITE_DONE ? SQLITE_OK : result;
        } else {
            result = sqlite3_errcode(target);
        }
    }
    const QString message = QString::fromUtf8(target ? sqlite3_errmsg(target) : sqlite3_errstr(result));
    sqlite3_close_v2(target);
    if (result != SQLITE_OK)
        throw DatabaseError(databaseErrorText(file, result, message));
}

int Database::changes() const
{
    return sqlite3_changes(handle_);
}

qint64 Database::changeMark() const
{
    Statement version(*this, QStringLiteral("PRAGMA data_version"));
    const qint64 others = version.step() ? version.column(0).toLongLong() : 0;
    return (others << 32) ^ qint64(sqlite3_total_changes64(handle_));
}

void Database::fail() const
{
    fail(sqlite3_errcode(handle_), QString::fromUtf8(sqlite3_errmsg(handle_)));
}

void Database::fail(int resultCode, const QString& engineText) const
{
    throw DatabaseError(databaseErrorText(path_, resultCode, engineText));
}

Statement::Statement(const Database& database, const QString& sql) : database_(database)
{
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(database.handle(), text.constData(), int(text.size()), &handle_, nullptr) != SQLITE_OK)
        database.fail();
    if (!handle_)
        throw DatabaseError(QStringLiteral("The command text is empty"));  // nothing of the file's
}

Statement::~Statement()
{
    sqlite3_finalize(handle_);
}

void Statement::bind(int index, const QVariant& value)
{
    int result = SQLITE_OK;
    switch (storageClassOf(value)) {
    case StorageClass::Null:
        result = sqlite3_bind_null(handle_, index);
        break;
    case StorageClass::Integer:
        result = sqlite3_bind_int64(handle_, index, value.toLongLong());
        break;
    case StorageClass::Real:
        result = sqlite3_bind_double(handle_, index, value.toDouble());
        break;
    case StorageClass::Blob: {
        const QByteArray bytes = value.toByteArray();
        result = sqlite3_bind_blob64(handle_, index, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
        break;
    }
    case StorageClass::Text: {
        const QByteArray text = value.toString().toUtf8();
        result = sqlite3_bind_text64(handle_, index, text.constData(), sqlite3_uint64(text.size()), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
        break;
    }
    }
    if (result != SQLITE_OK)
        database_.fail();
}

bool Statement::step()
{
    const int result = sqlite3_step(handle_);
    switch (result) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        return false;
    default: {
        // The statement's own error, then the statement is ready again.
        const QString message = QString::fromUtf8(sqlite3_errmsg(database_.handle()));
        sqlite3_reset(handle_);
        database_.fail(result, message);
    }
    }
}

void Statement::reset()
{
    sqlite3_reset(handle_);
    sqlite3_clear_bindings(handle_);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(handle_);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(handle_, column));
}

QVariant Statement::column(int column) const
{
    switch (sqlite3_column_type(handle_, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(handle_, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(handle_, column));
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(handle_, column);
        return QVariant(QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(handle_, column)));
    }
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(handle_, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(handle_, column)));
    }
    default:
        return QVariant();
    }
}

Transaction::Transaction(Database& database) : database_(database)
{
    database_.execute(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction()
{
    if (!done_ && sqlite3_get_autocommit(database_.handle()) == 0)
        sqlite3_exec(database_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    database_.execute(QStringLiteral("COMMIT"));
    done_ = true;
}

}  // namespace vorlin::db
