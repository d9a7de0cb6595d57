// Sets an environment variable for the life of a scope (a test, a fixture)
// and puts back what was there before: its old value, or its absence.
#ifndef ZV_TESTS_SUPPORT_SCOPED_ENVIRONMENT_H
#define ZV_TESTS_SUPPORT_SCOPED_ENVIRONMENT_H

#include <stdlib.h>

#include <optional>
#include <string>

namespace zv::test {

class ScopedEnvironment {
 public:
  // value: the new value; nothing unsets the variable.
  ScopedEnvironment(std::string name, const std::optional<std::string>& value)
      : name_(std::move(name)) {
    if (const char* old = ::getenv(name_.c_str())) old_ = old;
    if (value)
      ::setenv(name_.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }
  ~ScopedEnvironment() {
    if (old_)
      ::setenv(name_.c_str(), old_->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace zv::test

#endif  // ZV_TESTS_SUPPORT_SCOPED_ENVIRONMENT_H
