#include "db/Connection.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlResult>

#include "db/DatabaseFile.h"
#include "db/SqliteHandle.h"
#include "db/SqliteUri.h"

#include "db/OdbcHeaders.h"

namespace korvex {
namespace {

Connection::StatementObserver& statementObserver() {
    static Connection::StatementObserver observer;
    return observer;
}

QString nextConnectionName() {
    static QAtomicInt counter;
    return QStringLiteral("korvex-%1").arg(counter.fetchAndAddRelaxed(1));
}

}  // namespace

DbError::Kind sqliteErrorKind(int code) {
    // Qt reports extended result codes; the primary code is the low byte.
    switch (code & 0xFF) {
        case 5:  // SQLITE_BUSY
        case 6:  // SQLITE_LOCKED
            return DbError::Kind::Busy;
        case 8:  // SQLITE_READONLY
            return DbError::Kind::ReadOnly;
        case 11:  // SQLITE_CORRUPT
        case 26:  // SQLITE_NOTADB
            return DbError::Kind::Damaged;
        case 13:  // SQLITE_FULL
            return DbError::Kind::DiskFull;
        default:
            return DbError::Kind::Other;
    }
}

namespace {

// ODBC drivers report lock conflicts, read-only files and damaged files as
// general errors; their text is the only reliable sign.
DbError::Kind odbcKind(const QString& message) {
    const QString text = message.toLower();
    auto any = [&](std::initializer_list<const char*> signs) {
        for (const char* sign : signs)
            if (text.contains(QLatin1String(sign))) return true;
        return false;
    };
    if (any({"locked", "in use", "deadlock", "lock request time out", "opened exclusively"}))
        return DbError::Kind::Busy;
    if (any({"read-only", "readonly", "updateable query"})) return DbError::Kind::ReadOnly;
    if (any({"unrecognized database format", "not a database", "corrupt", "malformed"}))
        return DbError::Kind::Damaged;
    if (any({"disk full", "disk is full", "no space", "not enough space"}))
        return DbError::Kind::DiskFull;
    return DbError::Kind::Other;
}

DbError::Kind kindOf(SqlDialect dialect, const QSqlError& error) {
    if (reportsSqliteCodes(dialect)) {
        bool ok = false;
        const int code = error.nativeErrorCode().toInt(&ok);
        return ok ? sqliteErrorKind(code) : DbError::Kind::Other;
    }
    return odbcKind(error.text());
}

}  // namespace

Connection::Connection() : m_name(nextConnectionName()) {}

void Connection::setStatementObserver(StatementObserver observer) {
    statementObserver() = std::move(observer);
}

Connection::~Connection() { close(); }

QSqlDatabase Connection::database() const { return m_db; }

bool Connection::isOpen() const { return m_db.isOpen(); }

QString Connection::databaseName() const { return database().databaseName(); }

void Connection::close() {
    m_statements.clear();
    m_translations.clear();
    m_file.clear();
    m_inTransaction = false;
    if (!QSqlDatabase::contains(m_name)) return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

bool Connection::open(QSqlDatabase& db) {
    if (db.open()) return true;
    raiseFrom(db.lastError());
    return false;
}

bool Connection::reopen(Access access) {
    const OpenSpec spec = m_spec;
    close();
    if (spec.target.isEmpty()) {
        raise({QStringLiteral("資料庫未連結")});
        return false;
    }
    return spec.odbc ? openOdbc(spec.target, m_dialect, spec.file, access)
                     : openSqlite(spec.target, spec.readOnly, access);
}

bool Connection::takeSqliteLock(QSqlDatabase& db) {
    // In exclusive locking mode SQLite keeps every lock it takes until the
    // connection closes; a write transaction begun and ended now takes them
    // all (waiting at most the busy timeout), so that the open fails at once
    // when another program is using the file, rather than half-way through
    // an operation.
    QSqlQuery lock(db);
    if (lock.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")) &&
        lock.exec(QStringLiteral("BEGIN IMMEDIATE")) && lock.exec(QStringLiteral("COMMIT")))
        return true;
    raiseFrom(lock.lastError());
    return false;
}

bool Connection::openSqlite(const QString& file, bool readOnly, Access access) {
    close();
    m_dialect = SqlDialect::Sqlite;
    m_spec = {false, file, file, readOnly, access};
    if (!QFileInfo(file).isFile()) {
        raise({QStringLiteral("資料庫檔案不存在: %1").arg(file)});
        return false;
    }
    if (databaseFileKind(file) != DatabaseFileKind::Sqlite) {
        raise({QStringLiteral("不是 SQLite 資料庫檔案: %1").arg(file)});
        return false;
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db = db;
        bool uri = false;
        db.setDatabaseName(readOnly ? readOnlySqliteName(file, &uri) : file);
        // The steps of the opening below do not wait for a busy database: a
        // database another program holds still opens at once, and the first
        // real statement waits out the time-out and tells why.
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=0");
        if (readOnly) options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        if (uri) options += QStringLiteral(";QSQLITE_OPEN_URI");
        db.setConnectOptions(options);
        if (!open(db)) {
            db = QSqlDatabase();
            close();
            return false;
        }
        // Both are best effort: a database locked by another program right
        // now keeps its journal, and its statements wait or retry.
        QSqlQuery pragma(db);
        if (!readOnly) {
            pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
            pragma.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        }
        // SQLite reads the file only when asked to: a file that carries the
        // header but is damaged is found here rather than half-way through
        // an operation.
        if (!pragma.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
            const QSqlError error = pragma.lastError();
            if (kindOf(m_dialect, error) == DbError::Kind::Damaged) {
                raiseFrom(error);
                pragma = QSqlQuery();
                db = QSqlDatabase();
                close();
                return false;
            }
        }
        pragma.exec(busyTimeoutStatement(m_dialect, m_commandTimeout));
        pragma = QSqlQuery();
        if (access == Access::Exclusive && !takeSqliteLock(db)) {
            db = QSqlDatabase();
            close();
            return false;
        }
    }
    m_file = file;
    return true;
}

bool Connection::openOdbc(const QString& connectionString, SqlDialect dialect, const QString& file,
                          Access access) {
    close();
    m_dialect = dialect;
    m_spec = {true, connectionString, file, false, access};
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
    m_db = db;
    if (!db.isValid()) {
        raise({QStringLiteral("ODBC driver unavailable")});
        return false;
    }
    QString target = connectionString;
    if (access == Access::Exclusive) {
        if (!target.isEmpty() && !target.endsWith(u';')) target += u';';
        target += QStringLiteral("Exclusive=1;");
    }
    db.setDatabaseName(target);
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(m_commandTimeout));
    if (!open(db)) return false;
    m_file = file;
    return true;
}

void Connection::setCommandTimeout(int seconds) {
    m_commandTimeout = seconds;
    // Statements prepared so far carry the old time-out; they are prepared
    // again when next used.
    m_statements.clear();
    const QString busyTimeout = busyTimeoutStatement(m_dialect, seconds);
    if (isOpen() && !busyTimeout.isEmpty()) {
        QSqlQuery pragma(database());
        pragma.exec(busyTimeout);
    }
}

void Connection::raise(const DbError& error) { m_pending = error; }

void Connection::raiseFrom(const QSqlError& error) {
    // The engine's or driver's own words; Qt's generic text ("Unable to
    // fetch row") only when there are none.
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    raise({text, error.nativeErrorCode(), kindOf(m_dialect, error)});
}

void* odbcStatementHandle(const QSqlQuery& query) {
    if (!query.driver() || !query.result()) return nullptr;
    // QODBC hands the statement handle over as a SQLHANDLE, which the
    // meta-type system names "void*".
    const QVariant handle = query.result()->handle();
    if (!handle.isValid() || !handle.data()) return nullptr;
    if (qstrcmp(handle.typeName(), "void*") != 0 && qstrcmp(handle.typeName(), "SQLHANDLE") != 0)
        return nullptr;
    const QString driver = QString::fromLatin1(query.driver()->metaObject()->className());
    if (!driver.contains(QLatin1String("ODBC"))) return nullptr;
    return *static_cast<void* const*>(handle.data());
}

void Connection::applyCommandTimeout(QSqlQuery& query) const {
    // SQLite waits through its busy timeout, set on the connection; an ODBC
    // statement carries its own time-out, set once it has a handle.
#ifdef KORVEX_HAVE_ODBC_HEADERS
    if (void* stmt = odbcStatementHandle(query)) {
        // ODBC passes an integer attribute in the pointer argument.
        // NOLINTNEXTLINE(performance-no-int-to-ptr)
        const auto timeout = reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(m_commandTimeout));
        SQLSetStmtAttr(static_cast<SQLHANDLE>(stmt), SQL_ATTR_QUERY_TIMEOUT, timeout, 0);
    }
#else
    Q_UNUSED(query);
#endif
}

const std::vector<std::shared_ptr<QSqlQuery>>* Connection::prepared(const QString& sql) {
    // Prepared statements by the text as written: an operation runs the same
    // statement once per row, and preparing (and translating) it once saves
    // most of the cost.
    auto it = m_statements.constFind(sql);
    if (it != m_statements.constEnd()) return &*it;
    std::vector<std::shared_ptr<QSqlQuery>> queries;
    for (const QString& statement : translateStatement(sql, m_dialect)) {
        auto query = std::make_shared<QSqlQuery>(m_db);
        if (!query->prepare(statement)) {
            raiseFrom(query->lastError());
            return nullptr;
        }
        applyCommandTimeout(*query);
        queries.push_back(std::move(query));
    }
    // Statements built per row with different text are not worth keeping.
    if (m_statements.size() > 256) m_statements.clear();
    return &*m_statements.emplace(sql, std::move(queries));
}

QStringList Connection::translated(const QString& sql) {
    // An operation sends the same few statements over and over: each is
    // put in the engine's words once.
    auto it = m_translations.constFind(sql);
    if (it != m_translations.constEnd()) return *it;
    if (m_translations.size() > 256) m_translations.clear();
    return *m_translations.insert(sql, translateStatement(sql, m_dialect));
}

bool Connection::execute(const QString& sql, const QVariantList& params) {
    m_rowsAffected = -1;
    if (!isOpen()) {
        raise({QStringLiteral("資料庫未連結")});
        return false;
    }
    if (statementObserver()) statementObserver()(*this, sql);
    const auto* queries = prepared(sql);
    if (!queries) return false;
    for (const auto& query : *queries) {
        if (queries->size() == 1)
            for (int i = 0; i < params.size(); ++i) query->bindValue(i, params.at(i));
        const bool ok = query->exec();
        if (!ok) {
            raiseFrom(query->lastError());
            query->finish();
            return false;
        }
        m_rowsAffected = query->numRowsAffected();
        query->finish();
    }
    return true;
}

std::optional<QSqlQuery> Connection::select(const QString& sql, const QVariantList& params) {
    if (!isOpen()) {
        raise({QStringLiteral("資料庫未連結")});
        return std::nullopt;
    }
    if (statementObserver()) statementObserver()(*this, sql);
    const QStringList statements = translated(sql);
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.prepare(statements.value(0))) {
        raiseFrom(query.lastError());
        return std::nullopt;
    }
    // A result set waits for the server no longer than a statement does.
    applyCommandTimeout(query);
    for (int i = 0; i < params.size(); ++i) query.bindValue(i, params.at(i));
    if (!query.exec()) {
        raiseFrom(query.lastError());
        return std::nullopt;
    }
    return query;
}

bool Connection::beginTransaction() {
    if (!isOpen()) {
        raise({QStringLiteral("資料庫未連結")});
        return false;
    }
    QSqlDatabase db = database();
    if (const QString statement = beginWriteStatement(m_dialect); !statement.isEmpty()) {
        QSqlQuery begin(db);
        if (!begin.exec(statement)) {
            raiseFrom(begin.lastError());
            return false;
        }
    } else if (!db.transaction()) {
        raiseFrom(db.lastError());
        return false;
    }
    m_inTransaction = true;
    return true;
}

bool Connection::commitTransaction() {
    if (!m_inTransaction) {
        raise({QStringLiteral("沒有進行中的交易")});
        return false;
    }
    QSqlDatabase db = database();
    if (!db.commit()) {
        raiseFrom(db.lastError());
        return false;
    }
    m_inTransaction = false;
    return true;
}

bool Connection::rollbackTransaction() {
    if (!m_inTransaction) return false;
    QSqlDatabase db = database();
    m_inTransaction = false;
    if (!db.rollback()) {
        raiseFrom(db.lastError());
        return false;
    }
    return true;
}

bool Connection::endGuarded() {
    bool committed = false;
    if (!errorPending()) committed = commitTransaction();
    if (!committed) {
        rollbackTransaction();
        clearError();
    }
    return committed;
}

Connection::Contained Connection::executeContained(const QString& sql, const QVariantList& params) {
    // Every engine the program talks to undoes a failed statement by itself
    // and keeps the transaction; only a failure of the whole transaction (a
    // full disk, say) ends it, and then nothing of it is kept.
    if (execute(sql, params)) return Contained::Done;
    return transactionSurvived() ? Contained::Refused : Contained::Lost;
}

bool Connection::transactionSurvived() {
    if (!m_inTransaction) return false;
    switch (m_dialect) {
        case SqlDialect::Sqlite: {
            // SQLite leaves a transaction it had to give up in autocommit mode.
            sqlite3* handle = sqliteHandle(database());
            return handle && sqlite3_get_autocommit(handle) == 0;
        }
        case SqlDialect::SqlServer: {
            // The server ends the transaction on the gravest errors only; the
            // question costs a round trip, asked only after a failure.
            const std::optional<DbError> refusal = m_pending;
            QSqlQuery count(database());
            const bool alive = count.exec(QStringLiteral("SELECT @@TRANCOUNT")) && count.next() &&
                               count.value(0).toInt() > 0;
            m_pending = refusal;
            return alive;
        }
        case SqlDialect::Access:
            // Jet keeps the transaction after a failed statement.
            return true;
    }
    return true;
}

bool Connection::executeGuarded(const QString& sql, const QVariantList& params) {
    return guardedBatch([&] { execute(sql, params); });
}

}  // namespace korvex
