#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <type_traits>

namespace vx {

// Root of the library's class tree: polymorphic, so that a class reference can
// test an object's class, and not copyable, because objects have identity.
class VX_API TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

// A class reference: names a class derived from Base, creates instances of it
// with its default ("base") constructor, and tells whether an object is an
// instance of that class or of a descendant. An empty reference names no class.
template <class Base>
class TMetaClass {
public:
  constexpr TMetaClass() noexcept = default;

  template <class T>
  static constexpr TMetaClass Of() noexcept {
    static_assert(std::is_base_of_v<Base, T>, "class reference to an unrelated class");
    return TMetaClass(&CreateOf<T>, &IsInstanceOf<T>);
  }

  // Nil for an empty reference.
  Base* Create() const { return fCreate ? fCreate() : nullptr; }

  bool IsInstance(const TObject* theObject) const noexcept {
    return fIsInstance && theObject && fIsInstance(theObject);
  }

  bool IsAssigned() const noexcept { return fCreate != nullptr; }
  explicit operator bool() const noexcept { return IsAssigned(); }

  friend bool operator==(const TMetaClass& a, const TMetaClass& b) noexcept {
    return a.fIsInstance == b.fIsInstance;
  }

private:
  using CreateFn = Base* (*)();
  using IsInstanceFn = bool (*)(const TObject*);

  constexpr TMetaClass(CreateFn theCreate, IsInstanceFn theIs) noexcept
      : fCreate(theCreate), fIsInstance(theIs) {}

  template <class T>
  static Base* CreateOf() { return new T(); }
  template <class T>
  static bool IsInstanceOf(const TObject* theObject) noexcept {
    return dynamic_cast<const T*>(theObject) != nullptr;
  }

  CreateFn fCreate = nullptr;
  IsInstanceFn fIsInstance = nullptr;
};

}  // namespace vx
