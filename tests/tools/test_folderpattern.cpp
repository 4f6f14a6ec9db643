#include "tools/folderpattern.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(FolderPattern, SubFolderOfASong) {
    struct Case {
        const char* pattern;
        std::map<char, std::string> fields;
        const char* expected;
    } cases[] = {
        {"", {{'A', "Nirvana"}}, ""},
        {"A", {{'A', "Nirvana"}}, "Nirvana/"},
        {"A/B", {{'A', "Nirvana"}, {'B', "Nevermind"}}, "Nirvana/Nevermind/"},
        {"A\\B", {{'A', "Nirvana"}, {'B', "Nevermind"}}, "Nirvana/Nevermind/"}, // stored "\"
        {"A/B", {{'A', "Nirvana"}}, "Nirvana/"},
        {"A/B", {{'B', "Nevermind"}}, "Nevermind/"},
        {"A/B", {}, "/"},
        {"G/A/B", {{'G', "Rock"}, {'B', "Nevermind"}}, "Rock/Nevermind/"},
        {"A", {{'A', "AC/DC"}}, "ACDC/"},
        {"A", {{'A', "AC\\DC"}}, "ACDC/"},
        {"Y - A", {{'A', "Nirvana"}, {'Y', "1991"}}, "1991 - Nirvana/"},
        {"a-A", {{'A', "Nirvana"}}, "a-Nirvana/"}, // lower-case letters are literal
        {"A", {{'A', "BAY"}}, "BAY/"},             // values are not scanned again
        {"A ", {{'A', "Who?* \"<x>|"}}, "Who x/"},
        {"A/", {{'A', "X  "}}, "X/"},
        // Nothing leads out of the target folder.
        {"A/B", {{'A', ".."}, {'B', "Nevermind"}}, "Nevermind/"},
        {"A/B", {{'A', "."}, {'B', ".."}}, "/"},
        {"A", {{'A', "../../etc"}}, "....etc/"},
        {"../A", {{'A', "x"}}, "x/"},
        {"A/B", {{'A', ".?."}, {'B', "y"}}, "y/"},
        {"/A", {{'A', "x"}}, "x/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        const auto lookup = [&](char letter) {
            const auto it = c.fields.find(letter);
            return it == c.fields.end() ? std::string() : it->second;
        };
        EXPECT_EQ(BuildSubFolder(c.pattern, lookup), c.expected);
    }
}

} // namespace
