// The database layer on its own: what it refuses, how ids count, and that a
// connection closed inside a transaction writes nothing.
#include <gtest/gtest.h>

#include <functional>

#include "export_test_support.h"
#include "orb_ado/ado.h"

namespace {

using namespace export_test;
using namespace orb::ado;

std::string Conn(const std::string& path) { return std::string(kProviderText) + path; }

HResult CodeOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const ProviderError& e) {
    return e.Error();
  }
  return 0;
}

// A catalog with one table: ID (autoincrement, unique), K (primary), T (text).
void MakeThings(const std::string& path) {
  Catalog catalog;
  catalog.Create(Conn(path));
  Table table;
  table.SetName("things");
  table.GetColumns().Append("ID", adInteger, 0);
  table.GetColumns().Append("K", adInteger, 0);
  table.GetColumns().Append("T", adVarWChar, 20);
  Column& id = table.GetColumns().Item("ID");
  EXPECT_EQ(CodeOf([&] { id.SetProperty("Autoincrement", true); }), hr::kPointer);  // no parent catalog yet
  id.PutParentCatalog(&catalog);
  id.SetProperty("Autoincrement", true);
  catalog.GetTables().Append(table);
  catalog.GetTables().Item("things").GetKeys().Append("PK", adKeyPrimary, "K");
  catalog.GetTables().Item("things").GetKeys().Append("UQ", adKeyUnique, "ID");
  catalog.Close();
}

TEST(AdoLayer, CatalogRefusesWhatItCannotMake) {
  ScratchDir dir;
  const std::string path = dir.File("a.db");
  MakeThings(path);
  Catalog again;
  EXPECT_EQ(CodeOf([&] { again.Create(Conn(path)); }), hr::kFileExists);
  EXPECT_EQ(CodeOf([&] { again.Create("Provider='Other';Data source=" + dir.File("b.db")); }),
            hr::kProviderNotFound);
  EXPECT_EQ(CodeOf([&] { again.Create(Conn("")); }), hr::kInvalidArg);
  EXPECT_EQ(CodeOf([&] { again.GetTables().Item("x"); }), hr::kItemNotFound);

  Catalog c;
  c.Create(Conn(dir.File("c.db")));
  Table t;
  t.SetName("t");
  t.GetColumns().Append("A", adInteger, 0);
  EXPECT_EQ(CodeOf([&] { t.GetColumns().Append("a", adInteger, 0); }), hr::kInvalidArg);  // names ignore case
  c.GetTables().Append(t);
  EXPECT_EQ(CodeOf([&] { c.GetTables().Append(t); }), hr::kInvalidArg);
  Keys& keys = c.GetTables().Item("t").GetKeys();
  EXPECT_EQ(CodeOf([&] { keys.Append("K1", adKeyPrimary, "NOPE"); }), hr::kItemNotFound);
  EXPECT_EQ(CodeOf([&] { keys.Append("K2", adKeyForeign, "A"); }), hr::kInvalidArg);  // no related table
  keys.Append("K3", adKeyPrimary, "A");
  EXPECT_EQ(CodeOf([&] { keys.Append("K4", adKeyPrimary, "A"); }), hr::kInvalidArg);  // one primary key
  Command bad;
  bad.SetCommandText("SELECT nothing FROM nowhere");
  EXPECT_EQ(CodeOf([&] { c.GetViews().Append("v", bad); }), hr::kErrorsInCommand);
  // Dropped without Close: nothing of it is kept.
}

TEST(AdoLayer, RowsCountTheirIdsAndReadThemBack) {
  ScratchDir dir;
  const std::string path = dir.File("rows.db");
  MakeThings(path);
  Connection connection;
  EXPECT_EQ(CodeOf([&] { connection.BeginTrans(); }), hr::kObjectClosed);
  EXPECT_EQ(CodeOf([&] { connection.Open(Conn(dir.File("none.db")), "", "", adOptionUnspecified); }),
            hr::kPathNotFound);
  connection.Open(Conn(path), "", "", adOptionUnspecified);
  connection.BeginTrans();
  Recordset rs;
  EXPECT_EQ(CodeOf([&] { rs.Open("nothing", connection, adOpenKeyset, adLockOptimistic, adCmdTable); }), hr::kNoTable);
  const std::string_view fields[] = {"K", "T"};
  for (int k = 10; k < 13; ++k) {
    rs.Open("things", connection, adOpenKeyset, adLockOptimistic, adCmdTable);
    const Variant values[] = {k, "text " + std::to_string(k)};
    rs.AddNew(fields, values);
    EXPECT_EQ(rs.Field("ID").AsInteger(), k - 9);
    EXPECT_EQ(rs.Field("t").text(), "text " + std::to_string(k));
    rs.Close();
  }
  rs.Open("things", connection, adOpenKeyset, adLockOptimistic, adCmdTable);
  const Variant duplicate[] = {10, Variant::Null()};
  EXPECT_EQ(CodeOf([&] { rs.AddNew(fields, duplicate); }), hr::kIntegrityViolation);
  EXPECT_EQ(CodeOf([&] { rs.Field("ID"); }), static_cast<HResult>(0x800A0BCD));  // no current record
  rs.Close();
  connection.CommitTrans();

  // A transaction left open is rolled back by Close.
  connection.BeginTrans();
  rs.Open("things", connection, adOpenKeyset, adLockOptimistic, adCmdTable);
  const Variant more[] = {20, "lost"};
  rs.AddNew(fields, more);
  rs.Close();
  connection.Close();

  EXPECT_EQ(Sql(path, "SELECT ID, K, T FROM things ORDER BY ID;"), "1|10|text 10\n2|11|text 11\n3|12|text 12\n");
  // Any client that adds a row without an id gets the next one.
  EXPECT_EQ(Sql(path, "INSERT INTO things (K) VALUES (99); SELECT ID FROM things WHERE K = 99;"), "4\n");
}

TEST(AdoLayer, ConnectionRefusesAFileThatIsNoDatabase) {
  ScratchDir dir;
  const std::string path = dir.File("text.db");
  std::ofstream(path) << "this is plain text, long enough to be read as a header.............................."
                         "......................................................................";
  Connection connection;
  EXPECT_NE(CodeOf([&] { connection.Open(Conn(path), "", "", adOptionUnspecified); }), 0);
  EXPECT_FALSE(connection.IsOpen());
}

}  // namespace
