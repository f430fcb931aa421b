#pragma once
// Shared by the export tests: a scratch folder per test and the sqlite3
// command-line shell as the oracle that reads the files back.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace export_test {

namespace fs = std::filesystem;

// A fresh, empty folder for one test, removed afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = fs::path(::testing::TempDir()) /
            ("orb_export_" + std::string(info->test_suite_name()) + "_" + info->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const fs::path& path() const { return path_; }
  // The names of the files in the folder, sorted, one per line.
  std::string Listing() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string text;
    for (const auto& n : names) text += n + "\n";
    return text;
  }

 private:
  fs::path path_;
};

// Runs the sqlite3 shell on `db` with `sql` (list mode, '|' between columns)
// and returns what it printed; the exit status goes to *status.
inline std::string Sql(const std::string& db, const std::string& sql, int* status = nullptr) {
  const std::string script = db + ".sql";
  {
    std::ofstream out(script);
    out << sql << "\n";
  }
  const std::string command = std::string(ORB_SQLITE3_CLI) + " -batch -bail '" + db + "' < '" + script + "' 2>&1";
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) output.append(buf.data(), n);
    const int rc = pclose(pipe);
    if (status) *status = rc;
  }
  std::remove(script.c_str());
  return output;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace export_test
