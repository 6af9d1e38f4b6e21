// halvora-sql: runs a statement or a filter text on a data directory (see --help).
#include <iostream>

#include "sql_tool.h"

int main(int argc, char** argv) {
    return halvora::sqltool::run(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                 std::cerr);
}
