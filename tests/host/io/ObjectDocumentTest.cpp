#include "host/io/JsonObjectDocument.h"
#include "host/io/NumberText.h"
#include "host/io/XmlObjectDocument.h"

#include "common/object/ObjectFactory.h"
#include "host/core/HostFactory.h"
#include "host/project/HostPhysicsAttribute.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/HitTestAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"

#include "SampleObject.h"
#include "physics/attributes/AttributeMembers.h"
#include "support/Held.h"
#include "support/RecordingWriter.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <rapidjson/document.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>

namespace zor::host {
namespace {

using namespace zor::test;

/// A format and a mode: the four ways a document is written.
struct Format {
    DocumentFormat format;
    bool typedMode;
    const char* name;
};
const Format kFormats[] = {{DocumentFormat::Json, false, "JSON"},
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

std::string randomLabel(std::mt19937_64& random) {
    static const char* const kPieces[] = {"a",
                                          "Z",
                                          " ",
                                          "  ",
                                          "\t",
                                          "\n",
                                          "<",
                                          ">",
                                          "&",
                                          "\"",
                                          "'",
                                          "]]>",
                                          "\xC3\xA9",
                                          "\xE2\x82\xAC",
                                          "\xF0\x9F\x99\x82",
                                          "0",
                                          "-",
                                          "/"};
    std::string label;
    for (std::size_t count = random() % 8; count != 0; --count)
        label += kPieces[random() % (sizeof kPieces / sizeof *kPieces)];
    return label;
}

// The document passes a second, independent check of its format: RapidJSON for JSON, xmllint
// (where the build found it: ZOR_XMLLINT) for XML.
void expectWellFormed(DocumentFormat format, const std::string& text, std::size_t objectCount) {
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

SampleObject* newSample(Vector3<float> position, float scale, double mass, uint8 visible, uint32 mode,
                        uint32 count, const char* label) {
    auto* sample = new SampleObject();
    sample->position = position;
    sample->scale = scale;
    sample->mass = mass;
    sample->visible = visible;
    sample->mode = mode;
    sample->count = count;
    sample->label = String(label);
    return sample;
}

TEST(ObjectDocument, WritesTheDocumentLayoutOfEachFormat) {
    test::TestApplicationData record;
    Objects objects;
    IObject* parent = newSample({1.5f, -0.0f, 3}, 0.1f, 2.5, 1, 2, 7, "a <b> & \"c\"");
    IObject* child = newSample({}, 1, 1e-300, 0, 0, 4294967295u, "");
    parent->addChild(child);
    child->release();
    objects.list.pushBack(parent);

    // Each format's layout, in compact form (the documents are indented as their libraries do).
    const char* const expected[] = {
        R"({"objects":[{"type":"SampleObject","variables":{"position":{"x":1.5,"y":-0.0,"z":3.0},"scale":0.1,)"
        R"("mass":2.5,"visible":true,"mode":"AUTO","count":7,"label":"a <b> & \"c\""},"children":[{"type":)"
        R"("SampleObject","variables":{"position":{"x":0.0,"y":0.0,"z":0.0},"scale":1.0,"mass":1e-300,)"
        R"("visible":false,"mode":"OFF","count":4294967295,"label":""}}]}]})",
        R"("scale":{"type":"float","value":0.1},)",
        R"(<objects><object type="SampleObject"><position x="1.5" y="-0" z="3"/><scale>0.1</scale><mass>2.5)"
        R"(</mass><visible>true</visible><mode>AUTO</mode><count>7</count><label>a &lt;b&gt; &amp; "c")"
        R"(</label><object type="SampleObject"><position x="0" y="0" z="0"/><scale>1</scale><mass>1e-300)"
        R"(</mass><visible>false</visible><mode>OFF</mode><count>4294967295</count><label/></object></object></objects>)",
        R"(<objects><object type="SampleObject"><position type="Vector3{float}"><x type="float">1.5</x><y )"
        R"(type="float">-0</y><z type="float">3</z></position><scale type="float">0.1</scale><mass )"
        R"(type="double">2.5</mass><visible type="bool_t">true</visible><mode type="uint8_t">2</mode><count )"
        R"(type="uint32_t">7</count><label type="String">a &lt;b&gt; &amp; "c"</label><object )"
        R"(type="SampleObject"><position type="Vector3{float}"><x type="float">0</x><y type="float">0</y><z )"
        R"(type="float">0</z></position><scale type="float">1</scale><mass type="double">1e-300</mass><visible )"
        R"(type="bool_t">false</visible><mode type="uint8_t">0</mode><count type="uint32_t">4294967295</count>)"
        R"(<label type="String"/></object></object></objects>)"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(kFormats[i].name);
        std::string text;
        ASSERT_TRUE(
            writeObjects(kFormats[i].format, String("out"), objects.list, kFormats[i].typedMode, text));
        std::string compact;
        if (kFormats[i].format == DocumentFormat::Json) {
            compact = nlohmann::ordered_json::parse(text).dump();
        } else {
            EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<objects>\n  <object ", 0), 0u);
            pugi::xml_document document;
            ASSERT_TRUE(document.load_string(text.c_str()));
            std::ostringstream saved;
            document.save(saved, "", pugi::format_raw | pugi::format_no_declaration);
            compact = saved.str();
        }
        if (i == 1) // typed JSON: each value is {"type": ..., "value": ...}
            EXPECT_NE(compact.find(expected[i]), std::string::npos) << compact;
        else
            EXPECT_EQ(compact, expected[i]);
    }
    EXPECT_EQ("", record.writtenLog());
}

TEST(NumberText, FloatsTravelThroughJsonDoublesAsTheirShortestDigits) {
    EXPECT_EQ("0.1", numberText(0.1f));
    EXPECT_EQ("0.1", numberText(0.1));
    for (double value : {0.0, -2.4525, 1.0 / 3, 1e-300, 6.02214076e23})
        EXPECT_EQ(std::strtod(numberText(value).c_str(), nullptr), value) << numberText(value);
    EXPECT_EQ(0.1, jsonDoubleForFloat(0.1f));
    EXPECT_EQ(1e-45, jsonDoubleForFloat(std::numeric_limits<float>::denorm_min()));
    EXPECT_EQ(3.4028235e38, jsonDoubleForFloat(std::numeric_limits<float>::max()));
    EXPECT_TRUE(std::signbit(jsonDoubleForFloat(-0.0f)));
    float parsed = 0;
    EXPECT_EQ(NumberParse::Ok, parseNumber(" \n 2.5\t", parsed));
    EXPECT_EQ(2.5f, parsed);
    EXPECT_EQ(NumberParse::Malformed, parseNumber("", parsed));
    uint32 whole = 0;
    EXPECT_EQ(NumberParse::OutOfRange, parseNumber("4294967296", whole));
    EXPECT_EQ(2.5f, parsed);
}

template <typename T>
void randomize(RigidBody3DAttribute<T>& body, std::mt19937_64& random) {
    using Bits = std::conditional_t<std::is_same_v<T, float>, uint32, uint64>;
    test::setMembers(
        body, [&random] { return randomFinite<T, Bits>(random); }, [&random] { return random() % 2 != 0; },
        [&random] { return static_cast<uint32>(random() % 4); },
        [&random] { return static_cast<uint32>(random()); });
}

// Every variable of an attribute and of its host level, each number in its shortest exact text:
// equal lines mean equal bits.
std::vector<std::string> writtenLines(IObject* attribute) {
    test::Held<test::RecordingWriter> writer;
    EXPECT_TRUE(attribute->write(writer, false, 0));
    return writer->record().linesWithout("isSinglePass");
}

IObject* randomAttribute(const char* typeName, std::mt19937_64& random) {
    IObject* attribute = createObjectByTypeName(String(typeName));
    HostPhysicsAttribute& level = test::hostLevel(*static_cast<WObject*>(attribute));
    level.setName(String(randomLabel(random).c_str()));
    level.setEnabled(random() % 2);
    if (auto* body = dynamic_cast<RigidBody3DAttribute<float>*>(attribute))
        randomize(*body, random);
    else if (auto* body = dynamic_cast<RigidBody3DAttribute<double>*>(attribute))
        randomize(*body, random);
    else if (auto* event = dynamic_cast<EventAttribute*>(attribute)) {
        event->setEventParent(static_cast<uint32>(random()));
        event->setEventString(String(randomLabel(random).c_str()));
    }
    return attribute;
}

TEST(AttributeDocument, RandomAttributesOfEveryClassComeBackBitForBitInEveryFormat) {
    TestApplicationData record(&HostObject::create, &HostPhysicsAttribute::create);
    zor_addObjectAllocator<RigidBody3DAttribute<float>>();
    zor_addObjectAllocator<RigidBody3DAttribute<double>>();
    zor_addObjectAllocator<Collision3DAttribute<float>>();
    zor_addObjectAllocator<Collision3DAttribute<double>>();
    zor_addObjectAllocator<HitTestAttribute>();
    const char* const typeNames[] = {"RigidBody3DAttribute{float}", "RigidBody3DAttribute{double}",
                                     "Collision3DAttribute{float}", "Collision3DAttribute{double}",
                                     "HitTestAttribute"};
    std::mt19937_64 random(8);
    Objects written;
    for (int round = 0; round < 40; ++round)
        for (const char* typeName : typeNames)
            written.list.pushBack(randomAttribute(typeName, random));
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.name);
        std::string text;
        ASSERT_TRUE(writeObjects(format.format, String("attributes"), written.list, format.typedMode, text));
        expectWellFormed(format.format, text, written.list.size());
        Objects read;
        ASSERT_TRUE(
            readObjects(format.format, String("attributes"), text, &createObjectByTypeName, read.list));
        ASSERT_EQ(written.list.size(), read.list.size());
        auto it = read.list.begin();
        for (IObject* attribute : written.list) {
            EXPECT_EQ((*it)->getTypeName(), attribute->getTypeName());
            EXPECT_EQ(writtenLines(*it), writtenLines(attribute)) << attribute->getTypeName().c_str();
            ++it;
        }
    }
    EXPECT_EQ("", record.writtenLog());
}

} // namespace
} // namespace zor::host
