#include "ui/WordWrap.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

using namespace std::literals;

TEST(WordWrap, BreaksBetweenWordsAndDropsWhatCannotFit) {
    const struct {
        std::string_view text;
        int width;
        const char* wrapped; // null: no text results
    } cases[] = {
        {"aaa bbb ccc", 10, "aaa bbb\rccc"},
        {"aaa bbb ccc", 7, "aaa bbb\rccc"},
        {"aaa bbb ccc", 6, "aaa\rbbb\rccc"},
        {"   ", 10, nullptr},
        {"", 10, nullptr},
        {"  aaa    bbb  ", 10, "aaa bbb"},    // runs of spaces collapse, leading and trailing ones go
        {"aaa\rbbb ccc", 7, "aaa \rbbb ccc"}, // a carriage return always breaks and restarts the count
        {"aaaaaa\r\rbb", 6, "aaaaaa \r\rbb"}, // two returns make an empty line
        {"aa bbbbbbbbbbbb cc", 5, "aa"},      // a word wider than the line ends the text
        {"bbbbbbbbbbbb cc", 5, nullptr},
        {"aa\0bb"sv, 10, "aa"}, // the text ends at its first NUL
        {"\r", 0, ""},          // a return fits any line
        {"a", 0, nullptr},
        {"a", -1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << std::string(c.text) << "\" width " << c.width);
        std::optional<std::string> wrapped = WrapText(c.text, c.width);
        ASSERT_EQ(wrapped.has_value(), c.wrapped != nullptr);
        if (c.wrapped) {
            EXPECT_EQ(*wrapped, c.wrapped);
            EXPECT_EQ(WrappedSize(c.text, c.width), wrapped->size() + 1);
        }
    }
}

} // namespace
