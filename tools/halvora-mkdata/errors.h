#pragma once
// The one error of the data builder: its text is what the user reads on standard error.
#include <stdexcept>

namespace mkdata {

class MkdataError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace mkdata
