#pragma once
// A small database layer in the shape of ADO and ADOX (catalog, tables,
// columns, keys, views; connection, transactions, recordsets), written over
// SQLite.  The files it makes are ordinary SQLite databases: every table with
// its declared column types and sizes, primary and unique keys, foreign keys
// with REFERENCES, autoincrement ids and views.  Portable: no Windows header.
//
// Every failure raises ProviderError (result code, description, source), as a
// provider's error reaches an ADO caller; nothing is retried.  Texts are
// UTF-8 throughout, paths included.
//
//   Catalog catalog;
//   catalog.Create("Provider='SQLite';Data source=" + path);
//   Table table;
//   table.SetName("tb_thing");
//   table.Columns().Append("ID", adInteger, 0);
//   table.Columns().Item("ID").PutParentCatalog(&catalog);
//   table.Columns().Item("ID").SetProperty("Autoincrement", true);
//   catalog.Tables().Append(table);
//   catalog.Tables().Item("tb_thing").Keys().Append("ID", adKeyPrimary, "ID");
//   catalog.Close();
//
// Autoincrement columns: a column that is the whole primary key of its table
// becomes INTEGER PRIMARY KEY AUTOINCREMENT; any other gets its value from a
// trigger (the largest value of the column plus one) when a row is added
// without it, so that every client of the file sees the same numbering.
#include <cstdint>
#include <exception>
#include <list>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace orb::ado {

using HResult = std::int32_t;

// Result codes raised by the layer (COM's values, so that callers can show
// them as any other HRESULT).
namespace hr {
constexpr HResult kFail = static_cast<HResult>(0x80004005);            // E_FAIL
constexpr HResult kPointer = static_cast<HResult>(0x80004003);         // E_POINTER
constexpr HResult kOutOfMemory = static_cast<HResult>(0x8007000E);     // E_OUTOFMEMORY
constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057);      // E_INVALIDARG
constexpr HResult kAccessDenied = static_cast<HResult>(0x80070005);    // E_ACCESSDENIED
constexpr HResult kPathNotFound = static_cast<HResult>(0x80070003);    // ERROR_PATH_NOT_FOUND
constexpr HResult kFileExists = static_cast<HResult>(0x80070050);      // ERROR_FILE_EXISTS
constexpr HResult kDiskFull = static_cast<HResult>(0x80070070);        // ERROR_DISK_FULL
constexpr HResult kErrorsInCommand = static_cast<HResult>(0x80040E14); // DB_E_ERRORSINCOMMAND
constexpr HResult kPermissionDenied = static_cast<HResult>(0x80040E09);// DB_SEC_E_PERMISSIONDENIED
constexpr HResult kIntegrityViolation = static_cast<HResult>(0x80040E2F);  // DB_E_INTEGRITYVIOLATION
constexpr HResult kNoTable = static_cast<HResult>(0x80040E37);         // DB_E_NOTABLE
constexpr HResult kItemNotFound = static_cast<HResult>(0x800A0CC1);    // item not in the collection
constexpr HResult kObjectClosed = static_cast<HResult>(0x800A0E78);    // operation on a closed object
constexpr HResult kObjectOpen = static_cast<HResult>(0x800A0E79);      // operation on an open object
constexpr HResult kProviderNotFound = static_cast<HResult>(0x800A0E7A);
}  // namespace hr

class ProviderError : public std::exception {
 public:
  ProviderError(HResult code, std::string description, std::string source)
      : code_(code), description_(std::move(description)), source_(std::move(source)) {}
  HResult Error() const noexcept { return code_; }
  const std::string& Description() const noexcept { return description_; }
  const std::string& Source() const noexcept { return source_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  HResult code_;
  std::string description_;
  std::string source_;
};

// Column types (the ADO codes).
enum DataType { adInteger = 3, adVarWChar = 202 };
// Key kinds (the ADOX codes).
enum KeyType { adKeyPrimary = 1, adKeyForeign = 2, adKeyUnique = 3 };
// Recordset options: only a keyset cursor with optimistic locking on a table
// is offered.
enum CursorType { adOpenKeyset = 1 };
enum LockType { adLockOptimistic = 3 };
enum CommandType { adCmdTable = 2 };
enum ConnectOption { adOptionUnspecified = -1 };

// A field value: null, a 32-bit integer or a text.
class Variant {
 public:
  enum class Kind { Null, Integer, Text };
  Variant() = default;
  Variant(std::int32_t v) : kind_(Kind::Integer), integer_(v) {}
  Variant(std::string v) : kind_(Kind::Text), text_(std::move(v)) {}
  Variant(const char* v) : kind_(Kind::Text), text_(v ? v : "") {}
  static Variant Null() { return Variant(); }

  Kind kind() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::Null; }
  // The integer; raises for null or text.
  std::int32_t AsInteger() const;
  const std::string& text() const { return text_; }

 private:
  Kind kind_ = Kind::Null;
  std::int32_t integer_ = 0;
  std::string text_;
};

class Catalog;

class Column {
 public:
  Column() = default;
  Column(std::string name, DataType type, int definedSize)
      : name_(std::move(name)), type_(type), definedSize_(definedSize) {}

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  DataType Type() const { return type_; }
  void SetType(DataType type) { type_ = type; }
  int DefinedSize() const { return definedSize_; }
  void SetDefinedSize(int size) { definedSize_ = size; }
  // Provider properties need the column to know its catalog first.
  void PutParentCatalog(Catalog* catalog) { catalog_ = catalog; }
  // The one provider property: "Autoincrement" (an integer column).
  void SetProperty(std::string_view name, bool value);
  bool Autoincrement() const { return autoincrement_; }
  // For a key's column: the column of the related table it refers to.
  const std::string& RelatedColumn() const { return relatedColumn_; }
  void SetRelatedColumn(std::string name) { relatedColumn_ = std::move(name); }

 private:
  std::string name_;
  DataType type_ = adInteger;
  int definedSize_ = 0;
  Catalog* catalog_ = nullptr;
  bool autoincrement_ = false;
  std::string relatedColumn_;
};

class Columns {
 public:
  Column& Append(std::string name, DataType type, int definedSize);
  Column& Append(const Column& column);
  // Raises kItemNotFound for an unknown name.
  Column& Item(std::string_view name);
  const Column& Item(std::string_view name) const;
  int Count() const { return static_cast<int>(items_.size()); }
  const std::list<Column>& items() const { return items_; }

 private:
  std::list<Column> items_;  // stable addresses for Item()
};

class Key {
 public:
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  KeyType Type() const { return type_; }
  void SetType(KeyType type) { type_ = type; }
  const std::string& RelatedTable() const { return relatedTable_; }
  void SetRelatedTable(std::string table) { relatedTable_ = std::move(table); }
  Columns& GetColumns() { return columns_; }
  const Columns& GetColumns() const { return columns_; }

 private:
  std::string name_;
  KeyType type_ = adKeyPrimary;
  std::string relatedTable_;
  Columns columns_;
};

class Table;

class Keys {
 public:
  // A key over one column (for a foreign key, with its related table and
  // column).
  void Append(std::string name, KeyType type, std::string column, std::string relatedTable = {},
              std::string relatedColumn = {});
  void Append(const Key& key);
  int Count() const { return static_cast<int>(items_.size()); }
  const std::vector<Key>& items() const { return items_; }

 private:
  friend class Table;
  Table* owner_ = nullptr;
  std::vector<Key> items_;
};

class Table {
 public:
  Table() { keys_.owner_ = this; }
  Table(const Table& other);
  Table& operator=(const Table& other);

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  Columns& GetColumns() { return columns_; }
  const Columns& GetColumns() const { return columns_; }
  Keys& GetKeys() { return keys_; }
  const Keys& GetKeys() const { return keys_; }

  // CREATE TABLE and the autoincrement triggers of this table, as written.
  std::vector<std::string> Definition() const;

 private:
  friend class Keys;
  friend class Tables;
  // A key was appended: a table of a catalog is written again.
  void KeyAppended(const Key& key);

  std::string name_;
  Columns columns_;
  Keys keys_;
  Catalog* catalog_ = nullptr;  // set once the table is in a catalog
};

class Tables {
 public:
  // Writes the table into the database; raises on a duplicate name.
  void Append(const Table& table);
  Table& Item(std::string_view name);
  int Count() const { return static_cast<int>(items_.size()); }

 private:
  friend class Catalog;
  Catalog* catalog_ = nullptr;
  std::list<Table> items_;
};

// A saved query: its SELECT.
class Command {
 public:
  const std::string& CommandText() const { return text_; }
  void SetCommandText(std::string text) { text_ = std::move(text); }

 private:
  std::string text_;
};

class Views {
 public:
  void Append(const std::string& name, const Command& command);
  int Count() const { return count_; }

 private:
  friend class Catalog;
  Catalog* catalog_ = nullptr;
  int count_ = 0;
};

class Database;

// The schema of a new database file.  Create makes the file (an existing file
// is refused) and opens one transaction; everything appended is written in
// it; Close commits and closes the file.  A catalog dropped without Close
// writes nothing more (the transaction is rolled back, the file stays empty).
class Catalog {
 public:
  Catalog();
  ~Catalog();
  Catalog(const Catalog&) = delete;
  Catalog& operator=(const Catalog&) = delete;

  void Create(const std::string& connection);
  void Close();
  bool IsOpen() const;

  Tables& GetTables() { return tables_; }
  Views& GetViews() { return views_; }

 private:
  friend class Tables;
  friend class Table;
  friend class Views;
  Database& db();  // raises when not open

  std::unique_ptr<Database> db_;
  Tables tables_;
  Views views_;
};

// A connection to an existing database file.
class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void Open(const std::string& connection, const std::string& user, const std::string& password,
            int options);
  // Ends an open transaction by rolling it back.
  void Close();
  bool IsOpen() const;
  void BeginTrans();
  void CommitTrans();
  void RollbackTrans();

 private:
  friend class Recordset;
  Database& db();

  std::unique_ptr<Database> db_;
};

// Adds rows to one table.  After AddNew the new row is the current row:
// Field reads its values, those the database assigned included.
class Recordset {
 public:
  Recordset() = default;
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  void Open(const std::string& table, Connection& connection, CursorType cursor, LockType lock,
            CommandType options);
  void AddNew(std::span<const std::string_view> fields, std::span<const Variant> values);
  Variant Field(std::string_view name);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }

 private:
  Database* db_ = nullptr;
  std::string table_;
  std::int64_t rowid_ = 0;
  bool hasRow_ = false;
  std::vector<std::string> fieldNames_;
  std::vector<Variant> fieldValues_;
};

// The data source of a connection text ("...;Data source=<path>"): every
// character after "Data source=" (no quoting, so a path may hold ';').  An
// unknown provider raises kProviderNotFound.
std::string DataSourceOf(const std::string& connection);

// The provider part of a connection text for this layer.
inline constexpr const char* kProviderText = "Provider='SQLite';Data source=";

// Files, by UTF-8 path.
// Removes a database file and the journals SQLite may leave beside it;
// false when the file itself could not be removed (a missing file counts as
// removed).
bool RemoveDatabaseFile(const std::string& path);
// Moves `from` over `to`, replacing a file there; raises on failure, leaving
// both as they were.
void ReplaceDatabaseFile(const std::string& from, const std::string& to);
bool FileExists(const std::string& path);

}  // namespace orb::ado
