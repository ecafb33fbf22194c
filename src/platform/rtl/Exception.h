#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <exception>
#include <string>

namespace vx {

// Every error the library raises: carries a fixed, documented message text.
class VX_API Exception : public std::exception {
public:
  explicit Exception(std::string theMessage) : fMessage(std::move(theMessage)) {}
  const char* what() const noexcept override { return fMessage.c_str(); }
  const std::string& Message() const noexcept { return fMessage; }

private:
  std::string fMessage;
};

// An index outside a holder list: "List index out of bounds (<index>)".
class VX_API EListError : public Exception {
public:
  explicit EListError(int theIndex);
  explicit EListError(std::string theMessage) : Exception(std::move(theMessage)) {}
};

// An object used as a class it is not an instance of.
class VX_API EInvalidCast : public Exception {
public:
  EInvalidCast() : Exception("Invalid class typecast") {}
};

// A text that does not convert to the value asked for.
class VX_API EConvertError : public Exception {
public:
  using Exception::Exception;
};

}  // namespace vx
