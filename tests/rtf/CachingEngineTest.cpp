// The program's rich-text engine keeps what it rendered: it must answer exactly as the plain
// engine does, follow a body whose bytes changed, and stay within its capacity.

#include "richtext/CachingRichTextEngine.h"
#include "richtext/QtRichTextEngine.h"

#include <gtest/gtest.h>

namespace bp::rtf {
namespace {

const std::string kBodies[] = {
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard Notes on \\b the\\b0  trip\\par}",
    "{\\rtf1\\ansi\\deff0\\pard The Note of the day\\par\\par second line\\par}",
    "plain text body with noteworthy words",
    "",
};

TEST(CachingRichTextEngine, AnswersAsThePlainEngineWhetherRenderedBeforeOrNot) {
    QtRichTextEngine plain;
    CachingRichTextEngine caching;
    struct Query {
        std::string needle;
        bool caseSensitive;
        bool wholeWord;
    };
    const Query queries[] = {{"note", false, false},     {"Note", true, true},
                             {"the trip", false, false}, {"\\b", false, false},
                             {"second", false, true},    {"", false, false}};
    for (int pass = 0; pass < 2; ++pass) {
        for (const std::string& body : kBodies) {
            EXPECT_EQ(caching.plainText(body), plain.plainText(body)) << body;
            for (const bool title : {false, true}) {
                for (const Query& q : queries) {
                    EXPECT_EQ(caching.find(body, title, q.needle, q.caseSensitive, q.wholeWord),
                              plain.find(body, title, q.needle, q.caseSensitive, q.wholeWord))
                        << "pass " << pass << " title " << title << " '" << q.needle << "' in "
                        << body;
                }
            }
        }
    }
}

TEST(CachingRichTextEngine, AnEditedBodyIsSearchedByItsNewText) {
    CachingRichTextEngine caching;
    std::string body = "{\\rtf1\\ansi\\pard buy apples\\par}";
    EXPECT_GT(caching.find(body, false, "apples", false, false), 0);
    body.replace(body.find("apples"), 6, "pears!");
    EXPECT_EQ(caching.find(body, false, "apples", false, false), -1);
    EXPECT_GT(caching.find(body, false, "pears", false, false), 0);
    EXPECT_EQ(caching.plainText(body), "buy pears!");
}

TEST(CachingRichTextEngine, KeepsNoMoreThanItsCapacity) {
    constexpr std::size_t kCapacity = 16 * 1024;
    CachingRichTextEngine caching(kCapacity);
    for (int i = 0; i < 200; ++i) {
        const std::string body = "{\\rtf1\\ansi\\pard note number " + std::to_string(i) +
                                 std::string(300, 'x') + "\\par}";
        ASSERT_GT(caching.find(body, false, "number " + std::to_string(i), false, false), 0);
        EXPECT_LE(caching.heldBytes(), kCapacity);
    }
    // A body larger than the whole capacity is still answered.
    const std::string huge = "{\\rtf1\\ansi\\pard " + std::string(64 * 1024, 'y') + " end\\par}";
    EXPECT_GT(caching.find(huge, false, "end", false, true), 0);
    EXPECT_GT(caching.find(huge, false, "end", false, true), 0);
}

}  // namespace
}  // namespace bp::rtf
