#include "orb_ado/ado.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <unordered_map>

#include "files.h"

namespace orb::ado {

namespace {

constexpr const char* kEngineSource = "SQLite";
constexpr const char* kCatalogSource = "orb.ado.Catalog";
constexpr const char* kConnectionSource = "orb.ado.Connection";
constexpr const char* kRecordsetSource = "orb.ado.Recordset";
constexpr HResult kTypeMismatch = static_cast<HResult>(0x80020005);     // DISP_E_TYPEMISMATCH
constexpr HResult kNoCurrentRecord = static_cast<HResult>(0x800A0BCD);  // no current record

HResult FromSqlite(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_NOMEM: return hr::kOutOfMemory;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH: return hr::kPermissionDenied;
    case SQLITE_CONSTRAINT: return hr::kIntegrityViolation;
    case SQLITE_ERROR: return hr::kErrorsInCommand;
    case SQLITE_FULL: return hr::kDiskFull;
    case SQLITE_CANTOPEN: return hr::kPathNotFound;
    default: return hr::kFail;
  }
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// An identifier as SQL: bare when it is a plain name and no keyword, quoted
// otherwise.
std::string Quote(std::string_view name) {
  bool plain = !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0]));
  for (char c : name)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) plain = false;
  if (plain && !sqlite3_keyword_check(name.data(), static_cast<int>(name.size()))) return std::string(name);
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string QuoteList(const Columns& columns, bool related) {
  std::string text;
  for (const Column& c : columns.items()) {
    if (!text.empty()) text += ", ";
    text += Quote(related ? c.RelatedColumn() : c.Name());
  }
  return text;
}

}  // namespace

// One open SQLite database with its cache of prepared statements.
class Database {
 public:
  explicit Database(const char* source) : source_(source) {}
  ~Database() { Close(); }

  // Opens an existing file (read and write).
  void Open(const std::string& path) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
      std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
      sqlite3_close(db);
      throw ProviderError(FromSqlite(rc), message + ": " + path, kEngineSource);
    }
    db_ = db;
    sqlite3_extended_result_codes(db_, 1);
    // Reads the header now, so that a file that is no database fails here.
    Exec("PRAGMA foreign_keys = ON");
    Exec("SELECT count(*) FROM sqlite_master");
  }

  void Close() noexcept {
    for (auto& [sql, stmt] : cache_) sqlite3_finalize(stmt);
    cache_.clear();
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
    inTransaction_ = false;
  }

  bool IsOpen() const { return db_ != nullptr; }
  sqlite3* handle() const { return db_; }
  const char* source() const { return source_; }

  [[noreturn]] void Raise(int rc) const {
    throw ProviderError(FromSqlite(rc), db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc), kEngineSource);
  }

  void Exec(const std::string& sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
      std::string message = error ? error : sqlite3_errstr(rc);
      sqlite3_free(error);
      throw ProviderError(FromSqlite(rc), message, kEngineSource);
    }
  }

  // A prepared statement kept for the life of the connection, reset and with
  // no bindings.
  sqlite3_stmt* Prepared(const std::string& sql) {
    auto it = cache_.find(sql);
    if (it != cache_.end()) return it->second;
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                      &stmt, nullptr);
    if (rc != SQLITE_OK) Raise(rc);
    cache_.emplace(sql, stmt);
    return stmt;
  }

  bool TableExists(const std::string& name) {
    if (knownTables_.count(name)) return true;
    sqlite3_stmt* stmt = Prepared("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    sqlite3_bind_text(stmt, 1, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (rc == SQLITE_ROW) {
      knownTables_.insert(name);
      return true;
    }
    if (rc != SQLITE_DONE) Raise(rc);
    return false;
  }

  void Begin() {
    if (inTransaction_)
      throw ProviderError(hr::kFail, "A transaction is already open on this connection", source_);
    Exec("BEGIN IMMEDIATE");
    inTransaction_ = true;
  }
  void Commit() {
    if (!inTransaction_) throw ProviderError(hr::kFail, "No transaction is open on this connection", source_);
    Exec("COMMIT");
    inTransaction_ = false;
  }
  void Rollback() noexcept {
    if (!inTransaction_) return;
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    inTransaction_ = false;
  }
  bool InTransaction() const { return inTransaction_; }

 private:
  const char* source_;
  sqlite3* db_ = nullptr;
  bool inTransaction_ = false;
  std::unordered_map<std::string, sqlite3_stmt*> cache_;
  std::set<std::string> knownTables_;
};

// ---- values ----

std::int32_t Variant::AsInteger() const {
  if (kind_ != Kind::Integer) throw ProviderError(kTypeMismatch, "The value is not an integer", kRecordsetSource);
  return integer_;
}

std::string DataSourceOf(const std::string& connection) {
  static constexpr std::string_view kKey = "data source=";
  std::string lower = connection;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const size_t at = lower.find(kKey);
  const std::string head = at == std::string::npos ? lower : lower.substr(0, at);
  const size_t provider = head.find("provider=");
  if (provider != std::string::npos) {
    std::string name = head.substr(provider + 9);
    name = name.substr(0, name.find(';'));
    name.erase(std::remove(name.begin(), name.end(), '\''), name.end());
    name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
    if (name != "sqlite")
      throw ProviderError(hr::kProviderNotFound, "Provider cannot be found: " + name, kConnectionSource);
  }
  if (at == std::string::npos) return std::string();
  return connection.substr(at + kKey.size());
}

// ---- columns and keys ----

void Column::SetProperty(std::string_view name, bool value) {
  if (!catalog_)
    throw ProviderError(hr::kPointer, "The column has no parent catalog for provider properties", kCatalogSource);
  if (!EqualNoCase(name, "Autoincrement"))
    throw ProviderError(hr::kItemNotFound, "Unknown provider property: " + std::string(name), kCatalogSource);
  autoincrement_ = value;
}

Column& Columns::Append(std::string name, DataType type, int definedSize) {
  return Append(Column(std::move(name), type, definedSize));
}

Column& Columns::Append(const Column& column) {
  if (column.Name().empty()) throw ProviderError(hr::kInvalidArg, "A column needs a name", kCatalogSource);
  for (const Column& c : items_)
    if (EqualNoCase(c.Name(), column.Name()))
      throw ProviderError(hr::kInvalidArg, "Duplicate column name: " + column.Name(), kCatalogSource);
  if (column.Type() != adInteger && column.Type() != adVarWChar)
    throw ProviderError(hr::kInvalidArg, "Unsupported column type for " + column.Name(), kCatalogSource);
  items_.push_back(column);
  return items_.back();
}

Column& Columns::Item(std::string_view name) {
  for (Column& c : items_)
    if (EqualNoCase(c.Name(), name)) return c;
  throw ProviderError(hr::kItemNotFound, "Item cannot be found in the collection: " + std::string(name),
                      kCatalogSource);
}

const Column& Columns::Item(std::string_view name) const { return const_cast<Columns*>(this)->Item(name); }

void Keys::Append(std::string name, KeyType type, std::string column, std::string relatedTable,
                  std::string relatedColumn) {
  Key key;
  key.SetName(std::move(name));
  key.SetType(type);
  key.SetRelatedTable(std::move(relatedTable));
  Column& c = key.GetColumns().Append(std::move(column), adInteger, 0);
  c.SetRelatedColumn(std::move(relatedColumn));
  Append(key);
}

void Keys::Append(const Key& key) {
  if (key.Name().empty()) throw ProviderError(hr::kInvalidArg, "A key needs a name", kCatalogSource);
  if (key.GetColumns().Count() == 0)
    throw ProviderError(hr::kInvalidArg, "Key " + key.Name() + " has no column", kCatalogSource);
  for (const Key& k : items_) {
    if (EqualNoCase(k.Name(), key.Name()))
      throw ProviderError(hr::kInvalidArg, "Duplicate key name: " + key.Name(), kCatalogSource);
    if (k.Type() == adKeyPrimary && key.Type() == adKeyPrimary)
      throw ProviderError(hr::kInvalidArg, "A table has one primary key: " + key.Name(), kCatalogSource);
  }
  if (owner_)
    for (const Column& c : key.GetColumns().items()) owner_->GetColumns().Item(c.Name());  // raises when absent
  if (key.Type() == adKeyForeign) {
    if (key.RelatedTable().empty())
      throw ProviderError(hr::kInvalidArg, "Foreign key " + key.Name() + " has no related table", kCatalogSource);
    for (const Column& c : key.GetColumns().items())
      if (c.RelatedColumn().empty())
        throw ProviderError(hr::kInvalidArg, "Foreign key " + key.Name() + " has no related column",
                            kCatalogSource);
  }
  items_.push_back(key);
  if (owner_) {
    try {
      owner_->KeyAppended(items_.back());
    } catch (...) {
      items_.pop_back();
      throw;
    }
  }
}

// ---- tables ----

Table::Table(const Table& other) : name_(other.name_), columns_(other.columns_), keys_(other.keys_) {
  keys_.owner_ = this;
}

Table& Table::operator=(const Table& other) {
  name_ = other.name_;
  columns_ = other.columns_;
  keys_.items_ = other.keys_.items_;
  keys_.owner_ = this;
  catalog_ = nullptr;
  return *this;
}

std::vector<std::string> Table::Definition() const {
  const Key* primary = nullptr;
  for (const Key& k : keys_.items())
    if (k.Type() == adKeyPrimary) primary = &k;
  auto inPrimary = [&](const Column& c) {
    if (!primary) return false;
    for (const Column& p : primary->GetColumns().items())
      if (EqualNoCase(p.Name(), c.Name())) return true;
    return false;
  };
  // The column that is the whole primary key and counts by itself becomes
  // the table's rowid.
  const Column* rowidColumn = nullptr;
  if (primary && primary->GetColumns().Count() == 1) {
    const Column& c = columns_.Item(primary->GetColumns().items().front().Name());
    if (c.Autoincrement()) rowidColumn = &c;
  }

  std::string sql = "CREATE TABLE " + Quote(name_) + " (";
  bool first = true;
  auto add = [&](const std::string& part) {
    sql += first ? "\n  " : ",\n  ";
    sql += part;
    first = false;
  };
  for (const Column& c : columns_.items()) {
    if (c.Autoincrement() && c.Type() != adInteger)
      throw ProviderError(hr::kInvalidArg, "Only an integer column counts by itself: " + c.Name(), kCatalogSource);
    std::string def = Quote(c.Name());
    def += c.Type() == adInteger ? " INTEGER" : " VARCHAR(" + std::to_string(c.DefinedSize()) + ")";
    if (&c == rowidColumn)
      def += " CONSTRAINT " + Quote(primary->Name()) + " PRIMARY KEY AUTOINCREMENT";
    else if (inPrimary(c))
      def += " NOT NULL";
    add(def);
  }
  for (const Key& k : keys_.items()) {
    if (rowidColumn && &k == primary) continue;
    std::string def = "CONSTRAINT " + Quote(k.Name());
    switch (k.Type()) {
      case adKeyPrimary: def += " PRIMARY KEY (" + QuoteList(k.GetColumns(), false) + ")"; break;
      case adKeyUnique: def += " UNIQUE (" + QuoteList(k.GetColumns(), false) + ")"; break;
      case adKeyForeign:
        def += " FOREIGN KEY (" + QuoteList(k.GetColumns(), false) + ") REFERENCES " + Quote(k.RelatedTable()) +
               " (" + QuoteList(k.GetColumns(), true) + ")";
        break;
    }
    add(def);
  }
  sql += "\n)";

  std::vector<std::string> statements{sql};
  // Every foreign key gets an index on its columns, unless a primary or
  // unique key starts with them: the database looks rows up by them whenever
  // a row of the related table changes its key (as an autoincrement id does
  // when it is given), and the views join over them.
  auto indexed = [&](const Key& foreign) {
    for (const Key& k : keys_.items()) {
      if (k.Type() == adKeyForeign || k.GetColumns().Count() < foreign.GetColumns().Count()) continue;
      auto a = k.GetColumns().items().begin();
      bool prefix = true;
      for (const Column& c : foreign.GetColumns().items()) prefix = prefix && EqualNoCase((a++)->Name(), c.Name());
      if (prefix) return true;
    }
    return false;
  };
  for (const Key& k : keys_.items()) {
    if (k.Type() != adKeyForeign || indexed(k)) continue;
    statements.push_back("CREATE INDEX " + Quote(name_ + "_" + k.Name()) + " ON " + Quote(name_) + " (" +
                         QuoteList(k.GetColumns(), false) + ")");
  }
  for (const Column& c : columns_.items()) {
    if (!c.Autoincrement() || &c == rowidColumn) continue;
    const std::string t = Quote(name_);
    const std::string col = Quote(c.Name());
    statements.push_back("CREATE TRIGGER " + Quote(name_ + "_" + c.Name() + "_autoincrement") + " AFTER INSERT ON " +
                         t + " FOR EACH ROW WHEN NEW." + col + " IS NULL BEGIN UPDATE " + t + " SET " + col +
                         " = (SELECT ifnull(max(" + col + "), 0) + 1 FROM " + t +
                         ") WHERE rowid = NEW.rowid; END");
  }
  return statements;
}

void Table::KeyAppended(const Key&) {
  if (!catalog_) return;
  // SQLite takes keys only with the table itself: an empty table is written
  // again with its new key.
  Database& db = catalog_->db();
  sqlite3_stmt* stmt = db.Prepared("SELECT 1 FROM " + Quote(name_) + " LIMIT 1");
  const int rc = sqlite3_step(stmt);
  sqlite3_reset(stmt);
  if (rc == SQLITE_ROW)
    throw ProviderError(hr::kFail, "Keys can be added only to an empty table: " + name_, kCatalogSource);
  if (rc != SQLITE_DONE) db.Raise(rc);
  const std::vector<std::string> statements = Definition();
  db.Exec("DROP TABLE " + Quote(name_));
  for (const std::string& s : statements) db.Exec(s);
}

void Tables::Append(const Table& table) {
  if (!catalog_) throw ProviderError(hr::kPointer, "The tables belong to no catalog", kCatalogSource);
  Database& db = catalog_->db();
  if (table.Name().empty()) throw ProviderError(hr::kInvalidArg, "A table needs a name", kCatalogSource);
  if (table.GetColumns().Count() == 0)
    throw ProviderError(hr::kInvalidArg, "Table " + table.Name() + " has no column", kCatalogSource);
  for (const Table& t : items_)
    if (EqualNoCase(t.Name(), table.Name()))
      throw ProviderError(hr::kInvalidArg, "Table " + table.Name() + " already exists", kCatalogSource);
  for (const std::string& s : table.Definition()) db.Exec(s);
  items_.push_back(table);
  items_.back().catalog_ = catalog_;
}

Table& Tables::Item(std::string_view name) {
  for (Table& t : items_)
    if (EqualNoCase(t.Name(), name)) return t;
  throw ProviderError(hr::kItemNotFound, "Item cannot be found in the collection: " + std::string(name),
                      kCatalogSource);
}

void Views::Append(const std::string& name, const Command& command) {
  if (!catalog_) throw ProviderError(hr::kPointer, "The views belong to no catalog", kCatalogSource);
  std::string text = command.CommandText();
  while (!text.empty() && (text.back() == ';' || std::isspace(static_cast<unsigned char>(text.back()))))
    text.pop_back();
  if (name.empty() || text.empty())
    throw ProviderError(hr::kInvalidArg, "A view needs a name and a command", kCatalogSource);
  catalog_->db().Exec("CREATE VIEW " + Quote(name) + " AS " + text);
  ++count_;
}

// ---- catalog ----

Catalog::Catalog() {
  tables_.catalog_ = this;
  views_.catalog_ = this;
}

Catalog::~Catalog() {
  if (db_) db_->Rollback();
}

Database& Catalog::db() {
  if (!db_) throw ProviderError(hr::kObjectClosed, "The catalog has no open database", kCatalogSource);
  return *db_;
}

bool Catalog::IsOpen() const { return db_ != nullptr; }

void Catalog::Create(const std::string& connection) {
  if (db_) throw ProviderError(hr::kObjectOpen, "The catalog already has a database", kCatalogSource);
  const std::string path = DataSourceOf(connection);
  if (path.empty()) throw ProviderError(hr::kInvalidArg, "No database file was given (empty data source)", kCatalogSource);
  CreateNewFile(path, kCatalogSource);
  auto db = std::make_unique<Database>(kCatalogSource);
  try {
    db->Open(path);
    db->Begin();
  } catch (...) {
    db.reset();
    RemoveDatabaseFile(path);
    throw;
  }
  db_ = std::move(db);
}

void Catalog::Close() {
  if (!db_) return;
  db_->Commit();
  db_.reset();
}

// ---- connection ----

Connection::Connection() = default;

Connection::~Connection() {
  if (db_) db_->Rollback();
}

Database& Connection::db() {
  if (!db_) throw ProviderError(hr::kObjectClosed, "The connection is closed", kConnectionSource);
  return *db_;
}

bool Connection::IsOpen() const { return db_ != nullptr; }

void Connection::Open(const std::string& connection, const std::string&, const std::string&, int) {
  if (db_) throw ProviderError(hr::kObjectOpen, "The connection is already open", kConnectionSource);
  const std::string path = DataSourceOf(connection);
  if (path.empty())
    throw ProviderError(hr::kInvalidArg, "No database file was given (empty data source)", kConnectionSource);
  if (!FileExists(path)) throw ProviderError(hr::kPathNotFound, "Could not find file " + path, kConnectionSource);
  auto db = std::make_unique<Database>(kConnectionSource);
  db->Open(path);
  db_ = std::move(db);
}

void Connection::Close() {
  if (!db_) return;
  db_->Rollback();
  db_.reset();
}

void Connection::BeginTrans() { db().Begin(); }
void Connection::CommitTrans() { db().Commit(); }
void Connection::RollbackTrans() { db().Rollback(); }

// ---- recordset ----

void Recordset::Open(const std::string& table, Connection& connection, CursorType cursor, LockType lock,
                     CommandType options) {
  if (db_) throw ProviderError(hr::kObjectOpen, "The recordset is already open", kRecordsetSource);
  if (cursor != adOpenKeyset || lock != adLockOptimistic || options != adCmdTable)
    throw ProviderError(hr::kInvalidArg, "Only a keyset cursor with optimistic locks on a table is offered",
                        kRecordsetSource);
  Database& db = connection.db();
  if (!db.TableExists(table))
    throw ProviderError(hr::kNoTable, "The table '" + table + "' does not exist", kRecordsetSource);
  db_ = &db;
  table_ = table;
  hasRow_ = false;
}

void Recordset::AddNew(std::span<const std::string_view> fields, std::span<const Variant> values) {
  if (!db_) throw ProviderError(hr::kObjectClosed, "The recordset is closed", kRecordsetSource);
  if (fields.size() != values.size() || fields.empty())
    throw ProviderError(hr::kInvalidArg, "AddNew needs one value per field", kRecordsetSource);
  std::string sql = "INSERT INTO " + Quote(table_) + " (";
  for (size_t i = 0; i < fields.size(); ++i) sql += (i ? ", " : "") + Quote(fields[i]);
  sql += ") VALUES (";
  for (size_t i = 0; i < fields.size(); ++i) sql += i ? ", ?" : "?";
  sql += ")";
  sqlite3_stmt* stmt = db_->Prepared(sql);
  for (size_t i = 0; i < values.size(); ++i) {
    const int at = static_cast<int>(i + 1);
    switch (values[i].kind()) {
      case Variant::Kind::Null: sqlite3_bind_null(stmt, at); break;
      case Variant::Kind::Integer: sqlite3_bind_int(stmt, at, values[i].AsInteger()); break;
      case Variant::Kind::Text:
        sqlite3_bind_text(stmt, at, values[i].text().data(), static_cast<int>(values[i].text().size()),
                          SQLITE_STATIC);
        break;
    }
  }
  const int rc = sqlite3_step(stmt);
  if (rc != SQLITE_DONE) {
    const ProviderError error(FromSqlite(rc), sqlite3_errmsg(db_->handle()), kEngineSource);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    throw error;
  }
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  rowid_ = sqlite3_last_insert_rowid(db_->handle());
  hasRow_ = true;
  fieldNames_.assign(fields.begin(), fields.end());
  fieldValues_.assign(values.begin(), values.end());
}

Variant Recordset::Field(std::string_view name) {
  if (!db_) throw ProviderError(hr::kObjectClosed, "The recordset is closed", kRecordsetSource);
  if (!hasRow_) throw ProviderError(kNoCurrentRecord, "There is no current record", kRecordsetSource);
  for (size_t i = 0; i < fieldNames_.size(); ++i)
    if (EqualNoCase(fieldNames_[i], name)) return fieldValues_[i];
  // A value the database gave the row (an autoincrement id): read it back.
  sqlite3_stmt* stmt = db_->Prepared("SELECT " + Quote(name) + " FROM " + Quote(table_) + " WHERE rowid = ?1");
  sqlite3_bind_int64(stmt, 1, rowid_);
  const int rc = sqlite3_step(stmt);
  Variant value;
  if (rc == SQLITE_ROW) {
    switch (sqlite3_column_type(stmt, 0)) {
      case SQLITE_NULL: break;
      case SQLITE_INTEGER: value = Variant(static_cast<std::int32_t>(sqlite3_column_int64(stmt, 0))); break;
      default: {
        const unsigned char* text = sqlite3_column_text(stmt, 0);
        value = Variant(std::string(text ? reinterpret_cast<const char*>(text) : "",
                                    static_cast<size_t>(sqlite3_column_bytes(stmt, 0))));
      }
    }
  }
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  if (rc == SQLITE_DONE) throw ProviderError(kNoCurrentRecord, "The current record is gone", kRecordsetSource);
  if (rc != SQLITE_ROW) db_->Raise(rc);
  return value;
}

void Recordset::Close() {
  db_ = nullptr;
  hasRow_ = false;
  fieldNames_.clear();
  fieldValues_.clear();
}

}  // namespace orb::ado
