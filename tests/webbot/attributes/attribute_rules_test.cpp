// The rules behind the attribute dialogs, without widgets: the value's quote
// repair and inner quotes, the name's characters, and how dialog integer
// fields read their text.
#include <gtest/gtest.h>

#include <QString>

#include <climits>
#include <optional>
#include <string>

#include "widgets/dialog_integer.h"
#include "webbot/attributes/tag_attribute_rules.h"

namespace zv {
namespace {

struct QuoteCase {
  const char* value;
  bool needsRepair;
  const char* repaired;  // what the repair makes of it
  bool innerQuote;       // after the repair
};

TEST(TagAttributeRules, QuoteRepairAndInnerQuotes) {
  const QuoteCase cases[] = {
      {"two words", true, "\"two words\"", false},
      {"\"two words", true, "\"two words\"", false},
      {"two words\"", true, "\"two words\"", false},
      {"\"two words\"", false, "\"two words\"", false},
      {"plain", false, "\"plain\"", false},
      {"a\"b", false, "\"a\"b\"", true},
      {"\"a\"b\"", false, "\"a\"b\"", true},
      {"a \"b", true, "\"a \"b\"", true},
      {"\"", false, "\"", false},
      {"\" ", true, "\" \"", false},
  };
  for (const QuoteCase& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(valueNeedsQuoteRepair(c.value), c.needsRepair);
    const std::string repaired = repairValueQuotes(c.value);
    if (c.needsRepair) {
      EXPECT_EQ(repaired, c.repaired);
    }
    const std::string accepted = c.needsRepair ? repaired : std::string(c.value);
    EXPECT_EQ(hasInnerQuote(accepted), c.innerQuote);
  }
}

TEST(TagAttributeRules, InnerValue) {
  EXPECT_EQ(innerValue("\"a b\""), "a b");
  EXPECT_EQ(innerValue("\"x\""), "x");
  EXPECT_EQ(innerValue("x"), "x");
  EXPECT_EQ(innerValue("\""), "");
  EXPECT_EQ(innerValue("\"x"), "\"x");
}

TEST(TagAttributeRules, NameCharacters) {
  EXPECT_EQ(firstBadNameCharacter(QStringLiteral("data-src")), std::nullopt);
  EXPECT_EQ(firstBadNameCharacter(QStringLiteral("H2")), std::nullopt);
  EXPECT_EQ(firstBadNameCharacter(QString()), std::nullopt);
  EXPECT_EQ(firstBadNameCharacter(QStringLiteral("my attr")), std::optional<char32_t>(U' '));
  EXPECT_EQ(firstBadNameCharacter(QStringLiteral("a_b")), std::optional<char32_t>(U'_'));
  EXPECT_EQ(firstBadNameCharacter(QStringLiteral("x=y z")), std::optional<char32_t>(U'='));
}

struct IntegerCase {
  const char* text;
  std::optional<int> value;
};

TEST(DialogInteger, AcceptsBlanksSignAndDigitsOnly) {
  const IntegerCase cases[] = {
      {"5", 5},        {" 5", 5},      {"5 ", 5},      {"\t-12\t", -12}, {"+7", 7},
      {"0", 0},        {"40000", 40000}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
      {"", std::nullopt}, {" ", std::nullopt}, {"-", std::nullopt}, {"5x", std::nullopt},
      {"x5", std::nullopt}, {"5 5", std::nullopt}, {"1,000", std::nullopt},
      {"2147483648", std::nullopt}, {"99999999999999999999", std::nullopt},
  };
  for (const IntegerCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parseDialogInteger(c.text), c.value);
  }
}

TEST(DialogInteger, LeadingIntegerReadsLikeAtoi) {
  EXPECT_EQ(leadingInteger("20"), 20);
  EXPECT_EQ(leadingInteger("  15px"), 15);
  EXPECT_EQ(leadingInteger("-3"), -3);
  EXPECT_EQ(leadingInteger("abc"), 0);
  EXPECT_EQ(leadingInteger(""), 0);
  EXPECT_EQ(leadingInteger("99999999999"), INT_MAX);
}

TEST(DialogInteger, Messages) {
  EXPECT_EQ(integerMessage(), "Please enter an integer.");
  EXPECT_EQ(integerRangeMessage(10, 32767), "Please enter an integer between 10 and 32767.");
}

}  // namespace
}  // namespace zv
