#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstdint>
#include <string>

namespace vx {

enum TVarType { varEmpty, varNull, varBoolean, varInteger, varDouble, varDate, varString };

// A value of one of a few kinds, for an application's own references. Kept to
// two words (strings live on the heap) because every data entity carries one.
class VX_API Variant {
public:
  Variant() noexcept {}
  Variant(bool theValue) noexcept : fType(varBoolean) { fData.b = theValue; }
  Variant(int theValue) noexcept : fType(varInteger) { fData.i = theValue; }
  Variant(std::int64_t theValue) noexcept : fType(varInteger) { fData.i = theValue; }
  Variant(double theValue) noexcept : fType(varDouble) { fData.d = theValue; }
  Variant(const char* theValue);
  Variant(std::string theValue);

  static Variant Null() noexcept;
  static Variant FromDate(double theDateTime) noexcept;

  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant() { Reset(); }

  TVarType VarType() const noexcept { return fType; }
  bool IsEmpty() const noexcept { return fType == varEmpty; }
  bool IsNull() const noexcept { return fType == varNull; }
  void Clear() noexcept { Reset(); }

  // Conversions between the kinds; a value that cannot be converted (an empty
  // or null value, a string that is not a number) raises
  // "Invalid variant type conversion".
  bool AsBoolean() const;
  std::int64_t AsInteger() const;
  double AsDouble() const;
  std::string AsString() const;

  // Same kind and same value (strings by content).
  friend VX_API bool operator==(const Variant& a, const Variant& b) noexcept;

private:
  void Reset() noexcept;

  TVarType fType = varEmpty;
  union {
    bool b;
    std::int64_t i;
    double d;
    std::string* s;
  } fData{};
};

}  // namespace vx
