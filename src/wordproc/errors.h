#pragma once
// Errors of the word processor. Every error carries the text the user sees.
#include <stdexcept>

namespace wordproc {

class WordprocError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace wordproc
