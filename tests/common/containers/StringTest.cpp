#include "common/containers/String.h"

#include "common/containers/Array.h"
#include "common/containers/List.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace zor {
namespace {

std::string text(const String& string) {
    return std::string(string.c_str(), string.length());
}

// Counts the calls of the three allocation slots.
class CountingString : public String {
public:
    using String::String;
    ZOR_DELETING_DESTRUCTOR(CountingString)

    void* allocate(uint64 n) override { return counted(String::allocate(n)); }
    void* reallocate(void* p, uint64 n) override { return counted(String::reallocate(p, n)); }
    void deallocate(void* p) override { String::deallocate(counted(p)); }
    void* counted(void* p) {
        calls += p != nullptr;
        return p;
    }
    int calls = 0;
};

TEST(String, StorageGrowsThroughTheAllocationSlots) {
    CountingString string(std::string(63, 'a').c_str());
    EXPECT_TRUE(string.isInline());
    string.pushBackUTF8String("b");
    EXPECT_EQ(memoryBlockSize(string.c_str()), 136u); // 2 x 65, rounded up to a multiple of 8
    while (string.length() < 1000)
        string.pushBackUTF8SubString("z", 1);
    // 65 -> 130, 131 -> 262, 263 -> 526, 527 -> 1054: growth doubles the requested size.
    EXPECT_EQ(string.capacity(), 1054u);
    EXPECT_EQ(string.calls, 4);
    string.format("%0300d", 7); // a temporary block; the string's own block is reused
    EXPECT_EQ(string.calls, 6);
    const char* cleared = string.clear();
    EXPECT_EQ(cleared, string.c_str());
    EXPECT_EQ(string.calls, 7);
    EXPECT_EQ(string.capacity(), 64u);
    EXPECT_EQ(string.byteSize(), 1u);
}

TEST(String, AssignmentPicksTheStorageBySize) {
    // Back inline up to 64 bytes, a new block when the capacity is short, else the same storage.
    // Characters before, characters after, capacity after.
    const uint64 cases[][3] = {{200, 63, 64}, {5, 64, 130}, {200, 150, 402}, {200, 0, 64}};
    for (const auto& [before, characters, capacity] : cases) {
        const std::string after(characters, 'y');
        String string(std::string(before, 'x').c_str());
        string.assign(after.c_str(), after.size());
        EXPECT_EQ(string.capacity(), capacity) << characters;
        EXPECT_EQ(string.isInline(), capacity == 64u) << characters;
        EXPECT_EQ(text(string), after) << characters;
    }
}

TEST(String, OnlyTheConstructorReadsToTheTerminatorWhenTheLengthIsZero) {
    EXPECT_EQ(text(String("abc", 0)), "abc");
    EXPECT_TRUE(String(nullptr, 5).isEmpty());
    // assign takes the length as given: 0 (or a null text) clears, from the inline buffer and
    // from a heap block alike.
    for (const std::size_t before : {3u, 100u}) {
        String string(std::string(before, 'x').c_str());
        string.assign("abc", 0);
        EXPECT_TRUE(string.isEmpty() && string.isInline()) << before;
        string.assign("abc", 2);
        EXPECT_EQ(text(string), "ab") << before;
        string.assign(nullptr, 2);
        EXPECT_TRUE(string.isEmpty()) << before;
    }
}

TEST(String, ConstructionAssignmentMoveAndEquality) {
    EXPECT_EQ(text(String("hello world", 5)), "hello");
    const String embedded("ab\0cd", 5);
    EXPECT_EQ(text(String(embedded)), std::string("ab\0cd", 5));
    EXPECT_FALSE(embedded == String("ab\0ce", 5));
    EXPECT_FALSE(String("abc") == "abcd");
    EXPECT_TRUE(String() == static_cast<const char*>(nullptr));

    // A move takes the heap block and leaves an empty string.
    String string(std::string(100, 'h').c_str());
    const char* block = string.c_str();
    String moved(static_cast<String&&>(string));
    EXPECT_EQ(moved.c_str(), block);
    EXPECT_TRUE(string.isEmpty() && string.isInline());
    string.assign("abc", 3);
    string.assign(string.c_str() + 1, 2); // overlapping source
    EXPECT_EQ(text(string), "bc");
    // A string with its own allocation slots never takes over another string's block.
    CountingString counting;
    static_cast<String&>(counting) = static_cast<String&&>(moved);
    EXPECT_EQ(counting.calls, 1);
    EXPECT_EQ(counting.length(), 100u);
}

TEST(String, AppendForms) {
    String string("a");
    const WideChar none[] = {0}, hi[] = {'h', 'i', 0};
    string.pushBackUTF8String(nullptr);
    string.pushBackUTF8SubString("xyz", 0);
    string.pushBack(static_cast<const WideChar*>(nullptr));
    string.pushBack(none);
    string.pushBackUTF8String("bc");
    string.pushBackUTF8SubString("defgh", 2);
    string.pushBack(String("fg"));
    string.pushBack(hi);
    EXPECT_EQ(text(string + String("!")), "abcdefghi!");

    // The string's own text, whole or from a pointer into it, across a move to a bigger block.
    for (std::size_t characters : {1u, 40u, 63u, 100u}) {
        std::string expected;
        for (std::size_t i = 0; i < characters; ++i)
            expected += static_cast<char>('a' + i % 26);
        String self(expected.c_str()), tail(expected.c_str());
        self.pushBack(self);
        EXPECT_EQ(text(self), expected + expected) << characters;
        tail.pushBackUTF8String(tail.c_str() + characters / 2);
        EXPECT_EQ(text(tail), expected + expected.substr(characters / 2)) << characters;
    }
}

TEST(StringDeathTest, AppendingToAStringOfSizeZeroEndsTheProcess) {
    String broken;
    broken.resize(0);
    EXPECT_EXIT(broken.pushBackUTF8String("x"), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(broken.pushBack(String("x")), testing::ExitedWithCode(0), "");
    // Empty sources do nothing, before any check; the UTF-16 form starts from an empty text.
    broken.pushBackUTF8String("");
    broken.pushBack(String());
    const WideChar x[] = {'x', 0};
    broken.pushBack(x);
    EXPECT_EQ(text(broken), "x");
    EXPECT_EQ(broken.byteSize(), 2u);
}

/// The UTF-16 conversion, into an array that held other content before.
std::vector<WideChar> utf16(const String& string) {
    Array<WideChar> out;
    out.resize(50);
    const WideChar* units = string.toUTF16(out);
    EXPECT_EQ(units, out.data());
    return std::vector<WideChar>(out.begin(), out.end());
}

TEST(String, Utf16ConversionsTakeOneUnitPerCharacter) {
    struct Case {
        const char* utf8;
        std::vector<WideChar> units; // terminator included
        bool encodes;                // the units also give these bytes
    };
    // clang-format off
    const Case cases[] = {
        {"", {0}, true}, {"A\x7F\xC2\x80", {'A', 0x7F, 0x80, 0}, true},
        {"\xDF\xBF\xE0\xA0\x80", {0x7FF, 0x800, 0}, true},
        {"\xC3\xA9\xE2\x82\xAC\xEF\xBF\xBF", {0xE9, 0x20AC, 0xFFFF, 0}, true},
        {"\xED\xA0\xBD\xED\xB8\x80", {0xD83D, 0xDE00, 0}, true}, // a surrogate pair stays two sequences
        {"\xF0\x9F\x98\x80", {0xF600, 0}, false},                // low 16 bits, no surrogate pair
        // Malformed input: each offending byte stands for itself and the scan stops at the end.
        {"\x80x\xFF\xF8", {0x80, 'x', 0xFF, 0xF8, 0}, false}, {"\xC3\x41", {0xC3, 'A', 0}, false},
        {"x\xE2\x82", {'x', 0xE2, 0x82, 0}, false}, {"\xF0\x9F\x98", {0xF0, 0x9F, 0x98, 0}, false}};
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(utf16(String(c.utf8)), c.units) << c.utf8;
        if (!c.encodes)
            continue;
        String encoded(">");
        encoded.pushBack(c.units.data());
        EXPECT_EQ(text(encoded), ">" + std::string(c.utf8)) << c.utf8;
    }
    // An external buffer cannot grow: nothing is written.
    WideChar buffer[2] = {'#', '#'};
    Array<WideChar> external;
    external.attach(buffer, 2);
    EXPECT_EQ(String("long").toUTF16(external), nullptr);
    EXPECT_EQ(buffer[0], WideChar('#'));
}

/// The list `split` gives, in brackets, after an element that was there before.
std::string pieces(const char* source) {
    List<String> out;
    out.pushBack(String("kept"));
    String(source).split(out);
    std::string joined;
    for (const String& piece : out)
        joined += "[" + text(piece) + "]";
    return joined;
}

TEST(String, SplitAtCommas) {
    EXPECT_EQ(pieces("a, b,,c"), "[kept][a][b][c]");
    EXPECT_EQ(pieces(""), "[kept][]");
    EXPECT_EQ(pieces("a,  b"), "[kept][a][ b]"); // only one blank is skipped
    EXPECT_EQ(pieces(" a ,b "), "[kept][ a ][b ]");
    EXPECT_EQ(pieces("a, "), "[kept][a]");
    EXPECT_EQ(pieces(", ,"), "[kept]");
}

TEST(String, FormatReplacesTheContentUnlessItFails) {
    String string("old text");
    string.format("%s=%d", "value", 42);
    EXPECT_EQ(text(string), "value=42");
    // C99 conversions, with the same output on every platform.
    EXPECT_EQ(text(String::formatted("%05.1f|%zu|%lld|%hhx|%llu", 3.14159, std::size_t{5}, -(1LL << 40),
                                     0x1FF, ~0ULL)),
              "003.1|5|-1099511627776|ff|18446744073709551615");
    // The arguments may be the string's own text.
    string.format("%s-%s", string.c_str(), string.c_str());
    EXPECT_EQ(text(string), "value=42-value=42");

    // A formatting error leaves the string as it was. In the "C" locale a wide character outside
    // ASCII cannot be converted: an encoding error.
    const wchar_t unconvertible[] = {0xE9, 0};
    char probe[1];
    if (std::snprintf(probe, 0, "%ls", unconvertible) >= 0)
        GTEST_SKIP() << "this C library converts the character instead of failing";
    string.format("%ls", unconvertible);
    EXPECT_EQ(text(string), "value=42-value=42");
    EXPECT_EQ(String::formatted("x%lsy", unconvertible).byteSize(), 1u);
}

TEST(String, SplitPathFindsTheFileName) {
    // Path, file name, directory (null: left as it was). Backslashes are looked for first.
    // clang-format off
    const char* const cases[][3] = {
        {"C:\\lib\\zor_core.dll", "zor_core.dll", "C:\\lib\\"}, {"a/b\\c/d", "c/d", "a/b\\"},
        {"\\root.txt", "root.txt", "\\"}, {"folder/", "", "folder/"},
        {"zor_core.dll", "zor_core.dll", nullptr}, {"", "", nullptr}};
    // clang-format on
    for (const auto& [path, name, folder] : cases) {
        String directory("previous");
        EXPECT_EQ(text(String(path).splitPath(&directory)), name) << path;
        EXPECT_EQ(text(directory), folder != nullptr ? folder : "previous") << path;
        EXPECT_EQ(text(String(path).splitPath()), name) << path;
    }
    String path("C:\\lib\\zor_core.dll");
    EXPECT_EQ(text(path.splitPath(&path)), "zor_core.dll");
    EXPECT_EQ(text(path), "C:\\lib\\");
}

} // namespace
} // namespace zor
