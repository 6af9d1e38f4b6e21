#pragma once
// Errors of the word processor. Every error carries the text the user sees.
#include <stdexcept>
#include <string>

namespace wordproc {

class WordprocError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A member asked of a collection that does not hold it, as
// "Rows(7): the table has 4 rows".
[[noreturn]] inline void throwNoMember(const std::string& collection, int index,
                                       const std::string& owner, int count,
                                       const std::string& thing, std::string things = {}) {
    if (things.empty()) things = thing + "s";
    std::string what = std::to_string(count) + " " + (count == 1 ? thing : things);
    throw WordprocError(collection + "(" + std::to_string(index) + "): the " + owner + " has " +
                        what);
}

}  // namespace wordproc
