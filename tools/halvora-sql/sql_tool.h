#pragma once
// The halvora-sql command: runs a statement, or a table's filter text, on a data
// directory and writes the rows as CSV. Kept apart from main() so that tests call it.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace halvora::sqltool {

// `args` are the command-line arguments after the program name. Returns the exit
// status: 0 on success, 2 for bad input (the error text goes to `err`).
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// One CSV field: quoted when it holds a comma, a quote or a line break, or begins or
// ends with a blank; inner quotes doubled.
std::string csvField(std::string_view text);

}  // namespace halvora::sqltool
