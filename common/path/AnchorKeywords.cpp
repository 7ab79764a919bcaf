#include "common/path/AnchorKeywords.h"

#include "common/containers/HashMap.h"
#include "common/platform/ReadWriteLock.h"

#include <atomic>

namespace zor {

namespace {

constexpr uint32 kNamedAnchors = 16;
constexpr uint32 kSeparators = 16;
constexpr uint8 kFirstSeparator = 128;

const char* const kHorizontalKeywords[kNamedAnchors] = {"LEFT",
                                                        "RIGHT",
                                                        "CENTER",
                                                        "PARENT_WIDTH_PERCENT",
                                                        "ABSOLUTE",
                                                        "PREV_LEFT",
                                                        "PREV_RIGHT",
                                                        "PREV_CENTER",
                                                        "PREV_LEFT_PLUS_WIDTH_PERCENT",
                                                        "NEXT_LEFT",
                                                        "NEXT_RIGHT",
                                                        "NEXT_CENTER",
                                                        "NEXT_LEFT_PLUS_WIDTH_PERCENT",
                                                        "RIGHT_MINUS_SIZE",
                                                        "PARENT_WIDTH_PERCENT_MINUS_WIDTH",
                                                        "PARENT_WIDTH_PERCENT_WITHOUT_WIDTH"};

const char* const kVerticalKeywords[kNamedAnchors] = {"TOP",
                                                      "BOTTOM",
                                                      "CENTER",
                                                      "PARENT_HEIGHT_PERCENT",
                                                      "ABSOLUTE",
                                                      "PREV_TOP",
                                                      "PREV_BOTTOM",
                                                      "PREV_CENTER",
                                                      "PREV_TOP_PLUS_HEIGHT_PERCENT",
                                                      "NEXT_TOP",
                                                      "NEXT_BOTTOM",
                                                      "NEXT_CENTER",
                                                      "NEXT_TOP_PLUS_HEIGHT_PERCENT",
                                                      "BOTTOM_MINUS_HEIGHT",
                                                      "PARENT_HEIGHT_PERCENT_MINUS_HEIGHT",
                                                      "PARENT_HEIGHT_PERCENT_WITHOUT_HEIGHT"};

/// One axis's keyword maps in both directions, each under its own lock, filled once.
class AnchorKeywordMaps {
public:
    AnchorKeywordMaps(const char* const (&keywords)[kNamedAnchors], const char* separatorPrefix)
        : m_keywords(keywords), m_separatorPrefix(separatorPrefix) {}

    bool convert(String& keyword, uint8& code, bool toCode) {
        fillOnce();
        if (toCode) {
            ScopedReadWriteLock lock(m_codesLock, ScopedReadWriteLock::Shared);
            const auto found = m_codes.find(keyword);
            if (found == m_codes.end())
                return false;
            code = found->m_second;
            return true;
        }
        ScopedReadWriteLock lock(m_keywordsLock, ScopedReadWriteLock::Shared);
        const auto found = m_keywordsByCode.find(code);
        if (found == m_keywordsByCode.end())
            return false;
        keyword = found->m_second;
        return true;
    }

private:
    // Two threads may both find the maps empty; the second filling adds nothing, as an
    // insertion keeps an existing entry.
    void fillOnce() {
        if (m_filled.load(std::memory_order_acquire))
            return;
        m_codesLock.acquireExclusive();
        m_keywordsLock.acquireExclusive();
        for (uint32 code = 0; code < kNamedAnchors; ++code)
            insert(String(m_keywords[code]), static_cast<uint8>(code));
        for (uint32 number = 1; number <= kSeparators; ++number)
            insert(String::formatted("%s%u", m_separatorPrefix, number),
                   static_cast<uint8>(kFirstSeparator - 1 + number));
        m_filled.store(true, std::memory_order_release);
        m_keywordsLock.release();
        m_codesLock.release();
    }

    void insert(const String& keyword, uint8 code) {
        m_codes.insertBack(keyword, code);
        m_keywordsByCode.insertBack(code, keyword);
    }

    const char* const (&m_keywords)[kNamedAnchors];
    const char* m_separatorPrefix;
    HashMap<String, uint8> m_codes;
    HashMap<uint8, String> m_keywordsByCode;
    ReadWriteLock m_codesLock;
    ReadWriteLock m_keywordsLock;
    std::atomic<bool> m_filled{false};
};

} // namespace

bool convertHorizontalAnchor(String& keyword, uint8& code, bool toCode) {
    static AnchorKeywordMaps maps(kHorizontalKeywords, "V_SEPARATOR_");
    return maps.convert(keyword, code, toCode);
}

bool convertVerticalAnchor(String& keyword, uint8& code, bool toCode) {
    static AnchorKeywordMaps maps(kVerticalKeywords, "H_SEPARATOR_");
    return maps.convert(keyword, code, toCode);
}

} // namespace zor
