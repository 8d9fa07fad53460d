#include "keys/cbsr.h"

#include <gtest/gtest.h>

#include <vector>

namespace kx90 {
namespace {

struct SplitCase {
  std::string input;
  std::vector<std::string> fields;  // successive results
  std::string rest;                 // what is left after the last call
};

TEST(Splittab, TakesFieldsOneAfterAnother) {
  const std::vector<SplitCase> cases = {
      {"key\t3\t17", {"key", "3", "17", ""}, ""},
      {" a \tb", {"a"}, "b"},
      {"abc ", {"abc "}, ""},
      {"\tafter tab", {""}, "after tab"},
      {"  field \t", {"field"}, ""},
      {"a\t\tb", {"a", ""}, "b"},
      {"x\t  last  ", {"x", "  last  "}, ""},
  };
  for (const auto& c : cases) {
    std::string s = c.input;
    for (const auto& want : c.fields) EXPECT_EQ(cbsr::splittab(s), want) << c.input;
    EXPECT_EQ(s, c.rest) << c.input;
  }
}

TEST(Splitspace, SplitsAtTheFirstBlankOnly) {
  const std::vector<SplitCase> cases = {
      {"two words", {"two"}, "words"},
      {"oneword", {""}, "oneword"},
      {" lead", {""}, "lead"},
      {"two  blanks", {"two"}, " blanks"},
      {"", {""}, ""},
  };
  for (const auto& c : cases) {
    std::string s = c.input;
    EXPECT_EQ(cbsr::splitspace(s), c.fields[0]) << c.input;
    EXPECT_EQ(s, c.rest) << c.input;
  }
}

TEST(Byte2hex, AlwaysTwoUpperCaseDigits) {
  const std::vector<std::pair<int, std::string>> cases = {
      {0, "00"}, {5, "05"}, {15, "0F"}, {178, "B2"}, {255, "FF"}};
  for (const auto& [b, hex] : cases) EXPECT_EQ(cbsr::byte2hex(static_cast<uint8_t>(b)), hex);
}

}  // namespace
}  // namespace kx90
