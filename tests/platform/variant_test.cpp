#include "platform/automation/variant.h"

#include <gtest/gtest.h>

namespace zendra {
namespace {

TEST(VariantTest, ConvertsToText) {
  const struct {
    Variant value;
    std::optional<Text> text;
  } cases[] = {
      {Variant(), Text()},
      {Variant(-5), Text("-5")},
      {Variant(1.5), Text("1.5")},
      {Variant(1.0 / 3), Text("0.3333333333333333")},
      {Variant(1e21), Text("1e+21")},
      {Variant(-0.0), Text("0")},
      {Variant(true), Text("-1")},
      {Variant(false), Text("0")},
      {Variant(Text("abc")), Text("abc")},
      {Variant(Bytes{'A', 0, 'B'}), Text("A")},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.TryText(), c.text);
}

TEST(VariantTest, ConvertsToNumber) {
  const struct {
    Variant value;
    std::optional<double> number;
  } cases[] = {
      {Variant(), 0.0},
      {Variant(7), 7.0},
      {Variant(true), -1.0},
      {Variant(Text(" 12.5 ")), 12.5},
      {Variant(Text("-3e2")), -300.0},
      {Variant(Text("")), std::nullopt},
      {Variant(Text("12ab")), std::nullopt},
      {Variant(Text("0x10")), std::nullopt},
      {Variant(Text("nan")), std::nullopt},
      {Variant(Bytes{'1'}), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.TryNumber(), c.number);
}

TEST(VariantTest, ConvertsToBool) {
  EXPECT_EQ(Variant(Text("True")).TryBool(), true);
  EXPECT_EQ(Variant(Text("false")).TryBool(), false);
  EXPECT_EQ(Variant(Text("0")).TryBool(), false);
  EXPECT_EQ(Variant(2.5).TryBool(), true);
  EXPECT_EQ(Variant(Text("maybe")).TryBool(), std::nullopt);
  EXPECT_FALSE(Variant(Text("maybe")).AsBool());
}

struct Thing : AutomationObject {
  int Answer() { return 42; }
  Text Fail() { throw 1; }
};

TEST(VariantTest, CarriesObjects) {
  ObjectRef<Thing> thing(std::make_shared<Thing>());
  const Variant value(thing);
  EXPECT_EQ(value.GetKind(), Variant::Kind::Object);
  EXPECT_EQ(value.AsObject<Thing>(), thing);
  EXPECT_EQ(value.TryText(), std::nullopt);
  EXPECT_TRUE(Variant(ObjectRef<Thing>()).IsEmpty());
}

TEST(ObjectRefTest, FailedCallsGiveEmptyValues) {
  ObjectRef<Thing> empty;
  EXPECT_EQ(empty.Call(&Thing::Answer), 0);
  ObjectRef<Thing> thing(std::make_shared<Thing>());
  EXPECT_EQ(thing.Call(&Thing::Answer), 42);
  EXPECT_EQ(thing.Call(&Thing::Fail), "");
  ObjectRef<Thing> copy = thing;
  EXPECT_EQ(copy.UseCount(), 2);
  copy.Clear();
  EXPECT_TRUE(copy.IsEmpty());
  EXPECT_EQ(thing.UseCount(), 1);
}

}  // namespace
}  // namespace zendra
