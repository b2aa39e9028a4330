#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zendra::cli {

enum class OutputFormat { Text, Tsv, Json };

// What one subcommand prints: column titles and rows of cells, all UTF-8.
struct Table {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
};

// text: a title line and the rows in columns aligned for a terminal (CJK characters
// take two columns); nothing at all for a table without rows.
// tsv: the rows only, cells separated by tabs; backslash, tab, CR and LF inside a cell
// are written as \\, \t, \r and \n, so one line is always one row.
// json: one array with an object per row, keyed by the column titles.
void WriteTable(std::ostream& out, const Table& table, OutputFormat format);

// One value: text and tsv print it on its own line, json as {"column": value}.
void WriteValue(std::ostream& out, const std::string& column, const std::string& value,
                OutputFormat format);

}  // namespace zendra::cli
