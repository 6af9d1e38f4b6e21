// halvora-mkdata: builds the bundled data directory from the food composition sources.
#include <exception>
#include <iostream>
#include <string>

#include "database_builder.h"
#include "errors.h"

#ifndef HALVORA_MKDATA_INPUT
#define HALVORA_MKDATA_INPUT "data"
#endif

namespace {

const char* const kUsage =
    "Usage: halvora-mkdata [--demo] [--require-names] [--input DIR] OUT_DIR\n"
    "\n"
    "Writes the nine tables of a Halvora data directory into OUT_DIR (created when missing):\n"
    "nutrients.DBF with the 113 nutrient columns, Foods.DBF with every food of USDA SR21 and\n"
    "IFCT 2017 (English and Farsi names, amounts per 100 g, empty where the source gives no\n"
    "value), and the user tables Recipe, CONTENTS, WEEKLY, LIST, KORAM, RECAL and SUBJECTS\n"
    "(with its index SUBJECTS.CDX), empty. FoxPro tables, memos in .FPT, code page 1256.\n"
    "An existing table is never overwritten: the run stops before writing anything.\n"
    "\n"
    "  --demo           fill the user tables with a small demonstration: Iranian dishes as\n"
    "                   recipes, favourite foods, three subjects, two recalls, a weekly plan\n"
    "  --require-names  a food without a Farsi name is an error (without it the English name\n"
    "                   stands in, with one warning)\n"
    "  --input DIR      the folder with sources/, nutrients.tsv and demo/ (default: the\n"
    "                   project's data folder)\n"
    "  --help           this text\n"
    "\n"
    "Exit status: 0 done, 1 an error (told on standard error), 2 a wrong command line.\n";

int usageError(const std::string& message) {
    std::cerr << "halvora-mkdata: " << message << "\n(halvora-mkdata --help tells more)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    mkdata::BuildOptions options;
    options.inputDir = HALVORA_MKDATA_INPUT;
    bool haveOut = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--demo") {
            options.demo = true;
        } else if (arg == "--require-names") {
            options.requireNames = true;
        } else if (arg == "--input") {
            if (++i == argc) return usageError("--input needs a directory");
            options.inputDir = argv[i];
        } else if (arg.rfind("--", 0) == 0) {
            return usageError("unknown option " + arg);
        } else if (haveOut) {
            return usageError("one output directory only");
        } else {
            options.outDir = arg;
            haveOut = true;
        }
    }
    if (!haveOut) return usageError("no output directory given");

    try {
        const mkdata::BuildResult result = mkdata::buildDataDirectory(options);
        if (result.foodsWithoutFarsiName > 0)
            std::cerr << "halvora-mkdata: warning: " << result.foodsWithoutFarsiName
                      << " foods have no Farsi name yet; their English name stands in\n";
        std::cout << "halvora-mkdata: " << options.outDir.string() << ": "
                  << result.usdaFoods + result.ifctFoods << " foods (" << result.usdaFoods
                  << " USDA SR21, " << result.ifctFoods << " IFCT 2017), 113 nutrients"
                  << (options.demo ? ", demonstration data" : "") << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "halvora-mkdata: " << e.what() << "\n";
        return 1;
    }
}
