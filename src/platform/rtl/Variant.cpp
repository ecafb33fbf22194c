#include <vxplan/platform/rtl/Variant.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <vxplan/platform/rtl/Exception.h>

namespace vx {

namespace {

[[noreturn]] void ConversionError() { throw Exception("Invalid variant type conversion"); }

std::string FormatDouble(double theValue) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", theValue);
  return buf;
}

}  // namespace

Variant::Variant(const char* theValue) : Variant(std::string(theValue ? theValue : "")) {}

Variant::Variant(std::string theValue) : fType(varString) {
  fData.s = new std::string(std::move(theValue));
}

Variant Variant::Null() noexcept {
  Variant v;
  v.fType = varNull;
  return v;
}

Variant Variant::FromDate(double theDateTime) noexcept {
  Variant v(theDateTime);
  v.fType = varDate;
  return v;
}

Variant::Variant(const Variant& other) : fType(other.fType), fData(other.fData) {
  if (fType == varString) fData.s = new std::string(*other.fData.s);
}

Variant::Variant(Variant&& other) noexcept : fType(other.fType), fData(other.fData) {
  other.fType = varEmpty;
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    Variant copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    Reset();
    fType = other.fType;
    fData = other.fData;
    other.fType = varEmpty;
  }
  return *this;
}

void Variant::Reset() noexcept {
  if (fType == varString) delete fData.s;
  fType = varEmpty;
  fData.i = 0;
}

bool Variant::AsBoolean() const {
  switch (fType) {
    case varBoolean: return fData.b;
    case varInteger: return fData.i != 0;
    case varDouble:
    case varDate: return fData.d != 0.0;
    case varString:
      if (*fData.s == "True" || *fData.s == "true") return true;
      if (*fData.s == "False" || *fData.s == "false") return false;
      return AsInteger() != 0;
    default: ConversionError();
  }
}

std::int64_t Variant::AsInteger() const {
  switch (fType) {
    case varBoolean: return fData.b ? -1 : 0;  // the classic True is all bits set
    case varInteger: return fData.i;
    case varDouble:
    case varDate: {
      if (!std::isfinite(fData.d) || std::fabs(fData.d) >= 9.2e18) ConversionError();
      return static_cast<std::int64_t>(std::nearbyint(fData.d));  // half to even
    }
    case varString: {
      const std::string& s = *fData.s;
      if (s.empty()) ConversionError();
      errno = 0;
      char* end = nullptr;
      long long v = std::strtoll(s.c_str(), &end, 10);
      if (errno == 0 && end && *end == '\0') return v;
      return Variant(AsDouble()).AsInteger();
    }
    default: ConversionError();
  }
}

double Variant::AsDouble() const {
  switch (fType) {
    case varBoolean: return fData.b ? -1.0 : 0.0;
    case varInteger: return static_cast<double>(fData.i);
    case varDouble:
    case varDate: return fData.d;
    case varString: {
      const std::string& s = *fData.s;
      if (s.empty()) ConversionError();
      errno = 0;
      char* end = nullptr;
      double v = std::strtod(s.c_str(), &end);
      if (errno != 0 || !end || *end != '\0') ConversionError();
      return v;
    }
    default: ConversionError();
  }
}

std::string Variant::AsString() const {
  switch (fType) {
    case varEmpty: return std::string();
    case varBoolean: return fData.b ? "True" : "False";
    case varInteger: return std::to_string(fData.i);
    case varDouble:
    case varDate: return FormatDouble(fData.d);
    case varString: return *fData.s;
    default: ConversionError();
  }
}

bool operator==(const Variant& a, const Variant& b) noexcept {
  if (a.fType != b.fType) return false;
  switch (a.fType) {
    case varEmpty:
    case varNull: return true;
    case varBoolean: return a.fData.b == b.fData.b;
    case varInteger: return a.fData.i == b.fData.i;
    case varDouble:
    case varDate: return a.fData.d == b.fData.d;
    case varString: return *a.fData.s == *b.fData.s;
  }
  return false;
}

}  // namespace vx
