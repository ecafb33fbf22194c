#include <gtest/gtest.h>

#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/rtl/Object.h>
#include <vxplan/platform/rtl/Variant.h>

using namespace vx;

namespace {

struct Animal : TObject {};
struct Dog : Animal {};
struct Puppy : Dog {};

}  // namespace

TEST(Rtl, ClassReferenceCreatesAndRecognisesDescendants) {
  auto dogClass = TMetaClass<Animal>::Of<Dog>();
  Animal* made = dogClass.Create();
  ASSERT_NE(made, nullptr);
  EXPECT_NE(dynamic_cast<Dog*>(made), nullptr);

  Puppy puppy;
  Animal animal;
  EXPECT_TRUE(dogClass.IsInstance(made));
  EXPECT_TRUE(dogClass.IsInstance(&puppy));
  EXPECT_FALSE(dogClass.IsInstance(&animal));
  EXPECT_FALSE(dogClass.IsInstance(nullptr));
  delete made;

  TMetaClass<Animal> none;
  EXPECT_FALSE(none);
  EXPECT_EQ(none.Create(), nullptr);
  EXPECT_FALSE(none.IsInstance(&puppy));
  EXPECT_TRUE(dogClass == TMetaClass<Animal>::Of<Dog>());
  EXPECT_FALSE(dogClass == TMetaClass<Animal>::Of<Puppy>());
}

TEST(Rtl, VariantCopiesOwnStringsAndConverts) {
  Variant s("42");
  Variant copy = s;
  s = Variant("changed");
  EXPECT_EQ(copy.AsString(), "42");
  EXPECT_EQ(copy.AsInteger(), 42);
  EXPECT_DOUBLE_EQ(Variant("2.5").AsDouble(), 2.5);
  EXPECT_EQ(Variant(2.5).AsInteger(), 2);  // halves go to the even neighbour
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant(7).AsString(), "7");
  EXPECT_TRUE(Variant("true").AsBoolean());
  EXPECT_EQ(Variant::FromDate(45000.5).VarType(), varDate);

  Variant moved = std::move(copy);
  EXPECT_EQ(moved.AsString(), "42");
  EXPECT_TRUE(copy.IsEmpty());  // NOLINT(bugprone-use-after-move): moved-from is defined as empty
  moved = moved;                // self-assignment keeps the value
  EXPECT_EQ(moved.AsString(), "42");

  EXPECT_TRUE(Variant(1) == Variant(1));
  EXPECT_FALSE(Variant(1) == Variant(1.0));
  EXPECT_TRUE(Variant("a") == Variant(std::string("a")));
  EXPECT_EQ(Variant().AsString(), "");
}

TEST(Rtl, VariantRefusesImpossibleConversions) {
  for (const Variant& bad : {Variant(), Variant::Null(), Variant("abc"), Variant("")}) {
    try {
      (void)bad.AsInteger();
      FAIL() << "converted " << bad.AsString();
    } catch (const Exception& e) {
      EXPECT_STREQ(e.what(), "Invalid variant type conversion");
    }
  }
  EXPECT_THROW((void)Variant(1e300).AsInteger(), Exception);
  EXPECT_THROW((void)Variant::Null().AsString(), Exception);
  EXPECT_STREQ(EListError(7).what(), "List index out of bounds (7)");
}
