// halvora-report: fills a report template headless (see --help).
#include <iostream>

#include "report_tool.h"

int main(int argc, char** argv) {
    return halvora::reporttool::run(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                    std::cerr);
}
