#pragma once
// Errors of the report component. Every error carries the text the user sees.
#include <stdexcept>

namespace report {

class ReportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace report
