// The pure parts of the requester and of starting programs: splitting a command line into
// words, reading the filter text, and the chooser's command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/command_words.h"
#include "frame/requester_filter.h"
#include "platform/file_chooser.h"

using Words = std::vector<std::string>;

TEST(CommandWords, SplitAsAShellSplitsWordsAndQuotes) {
    struct Case {
        std::string line;
        bool ok;
        Words words;
    } cases[] = {
        {"prog a  b\tc", true, {"prog", "a", "b", "c"}},
        {"  prog  ", true, {"prog"}},
        {"", true, {}},
        {"prog 'a b' \"c d\"", true, {"prog", "a b", "c d"}},
        {"prog 'it''s' x\"y\"z", true, {"prog", "its", "xyz"}},
        {"prog \"say \\\"hi\\\" \\\\ \\n\"", true, {"prog", "say \"hi\" \\ \\n"}},
        {"prog a\\ b \\'q", true, {"prog", "a b", "'q"}},
        {"prog '$HOME;rm -rf /' `x`", true, {"prog", "$HOME;rm -rf /", "`x`"}},
        {"prog ''", true, {"prog", ""}},
        {"prog 'open", false, {}},
        {"prog \"open", false, {}},
        {"prog end\\", false, {}},
    };
    for (const Case& c : cases) {
        Words w{"stale"};
        EXPECT_EQ(CommandWordsSplit(c.line, w), c.ok) << c.line;
        if (c.ok) {
            EXPECT_EQ(w, c.words) << c.line;
        }
    }
}

TEST(RequesterFilter, PairsPatternsAndTheLengthCut) {
    auto f = RequesterFilterParse("Pictures|*.png;*.bmp|All files|*.*");
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].description, "Pictures");
    EXPECT_EQ(f[0].patterns, (Words{"*.png", "*.bmp"}));
    EXPECT_EQ(f[1].patterns, (Words{"*"}));
    EXPECT_TRUE(RequesterFilterParse("").empty());
    EXPECT_EQ(RequesterFilterParse("Text|*.txt|Dangling").size(), 1u);
    EXPECT_EQ(RequesterFilterParse("Text|*.txt||*.png|More|*.x").size(), 1u)
        << "the list ends at its first empty field";
    // A pattern cut by the 1,022-byte limit is cut, and nothing past it is read.
    const std::string longDescription(kRequesterFilterMax - 5, 'd');
    f = RequesterFilterParse(longDescription + "|*.txt;*.png|Next|*.x");
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].patterns, (Words{"*.tx"}));
}

TEST(FileChooserCommand, ZenityAndKdialogFilterSyntax) {
    const std::vector<platform::FileFilter> filters = {{"Pictures", {"*.png", "*.bmp"}},
                                                       {"All", {"*"}}};
    EXPECT_EQ(platform::FileChooserCommand("zenity", true, filters),
              (Words{"zenity", "--file-selection", "--file-filter=Pictures | *.png *.bmp",
                     "--file-filter=All | *"}));
    EXPECT_EQ(platform::FileChooserCommand("zenity", false, {}),
              (Words{"zenity", "--file-selection", "--save", "--confirm-overwrite"}));
    EXPECT_EQ(platform::FileChooserCommand("kdialog", false, filters),
              (Words{"kdialog", "--getsavefilename", ".", "*.png *.bmp|Pictures\n*|All"}));
}
