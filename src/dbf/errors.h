#pragma once
// Errors of the table engine. Every error carries the text the user sees.
#include <stdexcept>
#include <string>

namespace dbf {

// Any failure of the engine: a missing table, a broken file, a bad statement.
class DbfError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A value read as a type it cannot be turned into ("Could not convert variant ...",
// "'x' is not a valid integer value").
class ConversionError : public DbfError {
  public:
    using DbfError::DbfError;
};

}  // namespace dbf
