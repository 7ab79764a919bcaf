// A short walk through the foundation's text type and containers, printing what each step does.

#include "common/containers/Array.h"
#include "common/containers/HashMap.h"
#include "common/containers/List.h"
#include "common/containers/String.h"

#include <cstdio>

namespace {

using zor::Array;
using zor::HashMap;
using zor::int32;
using zor::List;
using zor::String;
using zor::uint64;
using zor::WideChar;

const char* storage(const String& string) {
    return string.isInline() ? "inline" : "heap";
}

void printArray(const char* label, const Array<int32>& array) {
    String line;
    for (int32 value : array)
        line.pushBack(String::formatted(line.isEmpty() ? "%d" : " %d", value));
    std::printf("  %-26s [%s] (size %llu, capacity %llu)\n", label, line.c_str(),
                static_cast<unsigned long long>(array.size()),
                static_cast<unsigned long long>(array.capacity()));
}

void printList(const char* label, const List<String>& list) {
    String line;
    for (const String& item : list) {
        if (!line.isEmpty())
            line.pushBackUTF8String(" | ");
        line.pushBack(item);
    }
    std::printf("  %-26s %s (%llu elements)\n", label, line.c_str(),
                static_cast<unsigned long long>(list.size()));
}

void stringTour() {
    std::printf("String\n");
    String greeting("Hello");
    greeting.pushBackUTF8String(", ");
    const WideChar world[] = {'w', 'o', 'r', 'l', 'd', ' ', 0x00E9, 0x20AC, 0};
    greeting.pushBack(world);
    std::printf("  %-26s \"%s\" (%llu bytes, %s)\n", "appended UTF-8 and UTF-16", greeting.c_str(),
                static_cast<unsigned long long>(greeting.length()), storage(greeting));

    Array<WideChar> utf16;
    greeting.toUTF16(utf16);
    std::printf("  %-26s %llu units, the last two 0x%04X 0x%04X\n", "back to UTF-16",
                static_cast<unsigned long long>(utf16.size() - 1),
                static_cast<unsigned>(utf16[utf16.size() - 3]),
                static_cast<unsigned>(utf16[utf16.size() - 2]));

    String grown(greeting);
    while (grown.isInline())
        grown.pushBack(grown);
    std::printf("  %-26s %llu bytes in a %llu-byte block\n", "doubled until it moved",
                static_cast<unsigned long long>(grown.length()),
                static_cast<unsigned long long>(grown.capacity()));
    grown.assign("short again", 11);
    std::printf("  %-26s \"%s\" (%s, capacity %llu)\n", "assigned a short text", grown.c_str(),
                storage(grown), static_cast<unsigned long long>(grown.capacity()));

    String formatted;
    formatted.format("%s has %d sides and %.2f degrees in each corner", "a hexagon", 6, 120.0);
    std::printf("  %-26s \"%s\"\n", "formatted", formatted.c_str());

    String directory;
    const String name = String("C:\\lib\\zor_core.dll").splitPath(&directory);
    std::printf("  %-26s file \"%s\", directory \"%s\"\n", "split a path", name.c_str(), directory.c_str());
}

void arrayTour() {
    std::printf("Array<int32>\n");
    Array<int32> numbers;
    for (int32 i = 1; i <= 6; ++i)
        numbers.pushBack(i * i);
    printArray("six squares", numbers);
    const int32 inserted[] = {-1, -2};
    numbers.insert(inserted, 2, 2, false);
    printArray("inserted two at 2", numbers);
    numbers.remove(3, 3, true);
    printArray("removed the last three", numbers);
    const int32 last = numbers.popBack();
    std::printf("  %-26s %d\n", "popped", last);
    printArray("what is left", numbers);
}

void listTour() {
    std::printf("List<String>\n");
    List<String> items;
    String("apples, pears,,plums, ").split(items);
    printList("split at commas", items);
    items.pushFront(String("figs"));
    items.popBack();
    printList("pushed figs, popped back", items);
    std::printf("  %-26s front \"%s\", back \"%s\"\n", "ends", items.front().c_str(), items.back().c_str());
}

void hashMapTour() {
    std::printf("HashMap<String, int32>\n");
    HashMap<String, int32> counts;
    const char* words[] = {"red", "green", "red", "blue", "green", "red", "violet", "cyan", "red"};
    for (const char* word : words) {
        int32* existing = nullptr;
        if (!counts.insertBack(String(word), 1, &existing))
            ++*existing;
    }
    String line;
    for (const auto& entry : counts)
        line.pushBack(
            String::formatted("%s%s=%d", line.isEmpty() ? "" : " ", entry.m_first.c_str(), entry.m_second));
    std::printf("  %-26s %s\n", "words counted", line.c_str());
    std::printf("  %-26s %llu entries in %llu buckets\n", "size",
                static_cast<unsigned long long>(counts.size()),
                static_cast<unsigned long long>(counts.bucketCount()));
    const auto green = counts.find(String("green"));
    std::printf("  %-26s %d\n", "green", green != counts.end() ? green->m_second : 0);
    counts.remove(String("red"));
    std::printf("  %-26s %s, %llu entries left\n", "removed red",
                counts.contains(String("red")) ? "still there" : "gone",
                static_cast<unsigned long long>(counts.size()));
}

} // namespace

int main() {
    stringTour();
    arrayTour();
    listTour();
    hashMapTour();
    return 0;
}
