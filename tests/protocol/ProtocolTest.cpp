// Escaping and parsing of the agent's lines: whatever bytes a field holds
// cross as data, and lines no Format made are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <ostream>
#include <string>
#include <tuple>

#include "AgentProtocol.h"

namespace jotwell::agent_protocol {
namespace {

struct RoundTrip {
  const char* name;
  Message message;
};

// Names each case in the test's name, where its bytes would be unreadable.
void PrintTo(const RoundTrip& trip, std::ostream* out) { *out << trip.name; }

std::string EveryByte(size_t times) {
  std::string bytes;
  for (size_t i = 0; i < 256 * times; ++i) bytes += static_cast<char>(i);
  return bytes;
}

class FormatThenParse : public testing::TestWithParam<RoundTrip> {};

TEST_P(FormatThenParse, GivesTheMessageBackFromOnePrintableLine) {
  const Message& sent = GetParam().message;
  const std::string line = Format(sent);
  ASSERT_TRUE(line.ends_with('\n'));
  const auto unprintable = [](unsigned char byte) { return byte < ' ' || byte >= 0x7F; };
  EXPECT_EQ(std::count_if(line.begin(), line.end(), unprintable), 1);  // the line end
  std::optional<Message> received = Parse(std::string_view(line).substr(0, line.size() - 1));
  ASSERT_TRUE(received);
  EXPECT_EQ(std::tie(received->request, received->verb, received->arguments),
            std::tie(sent.request, sent.verb, sent.arguments));
}

INSTANTIATE_TEST_SUITE_P(
    AwkwardFields, FormatThenParse,
    testing::Values(
        RoundTrip{"NoArguments", {0, std::string(kVerbReady), {}}},
        RoundTrip{"LargestRequest", {std::numeric_limits<long>::max(), std::string(kVerbEnd), {}}},
        RoundTrip{"EmptyFields", {1, std::string(kVerbAbout), {"", "kind", "", "", "", ""}}},
        RoundTrip{"Blanks", {2, std::string(kVerbText), {" ", "a b  c ", "  "}}},
        RoundTrip{"Percent", {3, std::string(kVerbText), {"100% sure, %41 %%20"}}},
        RoundTrip{"OnlyPercent", {4, std::string(kVerbText), {"%", "%%%"}}},
        RoundTrip{"LineBreaks", {5, std::string(kVerbReport), {"one\ntwo\r\nthree\r", "\n"}}},
        RoundTrip{"Nul", {6, std::string(kVerbClipboard), {std::string("a\0b\0", 4)}}},
        RoundTrip{"HighBytesAndInvalidUtf8",
                  {7, std::string(kVerbBox),
                   {"t\xC3\xA9", std::string(kIconCritical), "\x80\xFF\xC3", "\xED\xA0\x80"}}},
        RoundTrip{"LongFieldOfEveryByte", {8, std::string(kVerbClipboard), {EveryByte(400)}}}));

// Each line as the readers hand it over: a view into a buffer that goes on,
// here with hex digits a truncated escape must not borrow.
TEST(Parse, RefusesALineNoFormatMade) {
  for (const std::string line : {"", "7", " 1 box", "x box", "1x box", "1 text %", "1 text %4",
                                 "1 text a%4 more", "1 text %G1", "1 text %-1", "1 %4 x"}) {
    const std::string buffer = line + "41\n";
    EXPECT_FALSE(Parse(std::string_view(buffer).substr(0, line.size()))) << line;
  }
}

}  // namespace
}  // namespace jotwell::agent_protocol
