#pragma once

#include "common/containers/List.h"
#include "common/object/IObject.h"
#include "host/io/ObjectDocument.h"

#include <rapidjson/document.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

namespace zor::test {

using host::DocumentFormat;

/// A format and a mode: the four ways a document is written.
struct Format {
    DocumentFormat format;
    bool typedMode;
    const char* name;
};
inline const Format kFormats[] = {{DocumentFormat::Json, false, "JSON"},
                           {DocumentFormat::Json, true, "typed JSON"},
                           {DocumentFormat::Xml, false, "XML"},
                           {DocumentFormat::Xml, true, "typed XML"}};

// The objects of one document, released at the end of a test.
struct Objects {
    List<IObject*> list;
    ~Objects() {
        for (IObject* object : list)
            object->release();
    }
};

// Any finite number, drawn from the bit patterns so that subnormals and extremes come often.
template <typename Number, typename Bits>
Number randomFinite(std::mt19937_64& random) {
    for (;;) {
        const Bits bits = static_cast<Bits>(random());
        Number number;
        std::memcpy(&number, &bits, sizeof number);
        if (std::isfinite(number))
            return number;
    }
}

inline std::string randomLabel(std::mt19937_64& random) {
    static const char* const kPieces[] = {"a", "Z", " ", "  ", "\t", "\n", "<", ">", "&", "\"", "'", "]]>",
                                          "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x99\x82", "0", "-", "/"};
    std::string label;
    for (std::size_t count = random() % 8; count != 0; --count)
        label += kPieces[random() % (sizeof kPieces / sizeof *kPieces)];
    return label;
}

// The document passes a second, independent check of its format: RapidJSON for JSON, xmllint
// (where the build found it: ZOR_XMLLINT) for XML.
inline void expectWellFormed(DocumentFormat format, const std::string& text, std::size_t objectCount) {
    if (format == DocumentFormat::Json) {
        rapidjson::Document document;
        document.Parse(text.c_str(), text.size());
        ASSERT_FALSE(document.HasParseError()) << document.GetErrorOffset();
        ASSERT_TRUE(document.IsObject() && document.HasMember("objects") && document["objects"].IsArray());
        EXPECT_EQ(objectCount, document["objects"].Size());
        return;
    }
#ifdef ZOR_XMLLINT
    const std::string path = testing::TempDir() + "zor_round_trip.xml";
    std::ofstream(path, std::ios::binary) << text;
    EXPECT_EQ(0, std::system((std::string(ZOR_XMLLINT) + " --noout " + path).c_str())) << text;
    std::remove(path.c_str());
#endif // the Windows build writes the same text, which the Linux builds check
}

} // namespace zor::test
