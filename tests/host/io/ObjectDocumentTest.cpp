#include "host/io/JsonObjectDocument.h"
#include "host/io/NumberText.h"
#include "host/io/XmlObjectDocument.h"

#include "DocumentTesting.h"
#include "SampleObject.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zor::host {
namespace {

using test::SampleObject;
using namespace zor::test;

SampleObject* newSample(Vector3<float> position, float scale, double mass, uint8 visible, uint32 mode, uint32 count,
                        const char* label) {
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

    const char* const expected[] = {
        R"({
  "objects": [
    {
      "type": "SampleObject",
      "variables": {
        "position": {
          "x": 1.5,
          "y": -0.0,
          "z": 3.0
        },
        "scale": 0.1,
        "mass": 2.5,
        "visible": true,
        "mode": "AUTO",
        "count": 7,
        "label": "a <b> & \"c\""
      },
      "children": [
        {
          "type": "SampleObject",
          "variables": {
            "position": {
              "x": 0.0,
              "y": 0.0,
              "z": 0.0
            },
            "scale": 1.0,
            "mass": 1e-300,
            "visible": false,
            "mode": "OFF",
            "count": 4294967295,
            "label": ""
          }
        }
      ]
    }
  ]
}
)",
        "",
        R"(<?xml version="1.0" encoding="UTF-8"?>
<objects>
  <object type="SampleObject">
    <position x="1.5" y="-0" z="3" />
    <scale>0.1</scale>
    <mass>2.5</mass>
    <visible>true</visible>
    <mode>AUTO</mode>
    <count>7</count>
    <label>a &lt;b&gt; &amp; "c"</label>
    <object type="SampleObject">
      <position x="0" y="0" z="0" />
      <scale>1</scale>
      <mass>1e-300</mass>
      <visible>false</visible>
      <mode>OFF</mode>
      <count>4294967295</count>
      <label></label>
    </object>
  </object>
</objects>
)",
        R"(<?xml version="1.0" encoding="UTF-8"?>
<objects>
  <object type="SampleObject">
    <position type="Vector3{float}">
      <x type="float">1.5</x>
      <y type="float">-0</y>
      <z type="float">3</z>
    </position>
    <scale type="float">0.1</scale>
    <mass type="double">2.5</mass>
    <visible type="bool_t">true</visible>
    <mode type="uint8_t">2</mode>
    <count type="uint32_t">7</count>
    <label type="String">a &lt;b&gt; &amp; "c"</label>
    <object type="SampleObject">
      <position type="Vector3{float}">
        <x type="float">0</x>
        <y type="float">0</y>
        <z type="float">0</z>
      </position>
      <scale type="float">1</scale>
      <mass type="double">1e-300</mass>
      <visible type="bool_t">false</visible>
      <mode type="uint8_t">0</mode>
      <count type="uint32_t">4294967295</count>
      <label type="String"></label>
    </object>
  </object>
</objects>
)"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(kFormats[i].name);
        std::string text;
        ASSERT_TRUE(writeObjects(kFormats[i].format, String("out"), objects.list, kFormats[i].typedMode, text));
        if (*expected[i] != '\0')
            EXPECT_EQ(expected[i], text);
        else // typed JSON: each value is {"type": ..., "value": ...}
            EXPECT_NE(std::string::npos, text.find(R"("scale": {
          "type": "float",
          "value": 0.1
        },)"));
    }
    EXPECT_EQ("", record.writtenLog());
}

TEST(NumberText, FloatsTravelThroughJsonDoublesAsTheirShortestDigits) {
    EXPECT_EQ("0.1", numberText(0.1f));
    EXPECT_EQ("0.1", numberText(0.1));
    EXPECT_EQ(0.1, jsonDoubleForFloat(0.1f));
    EXPECT_EQ(1e-45, jsonDoubleForFloat(std::numeric_limits<float>::denorm_min()));
    EXPECT_EQ(3.4028235e38, jsonDoubleForFloat(std::numeric_limits<float>::max()));
    EXPECT_TRUE(std::signbit(jsonDoubleForFloat(-0.0f)));
    float parsed = 0;
    EXPECT_EQ(NumberParse::Ok, parseNumber(" \n 2.5\t", parsed));
    EXPECT_EQ(2.5f, parsed);
    EXPECT_EQ(NumberParse::OutOfRange, parseNumber("1e39", parsed));
    EXPECT_EQ(NumberParse::NotFinite, parseNumber("inf", parsed));
    EXPECT_EQ(NumberParse::Malformed, parseNumber("2.5x", parsed));
    EXPECT_EQ(NumberParse::Malformed, parseNumber("", parsed));
    uint32 whole = 0;
    EXPECT_EQ(NumberParse::Malformed, parseNumber("-1", whole));
    EXPECT_EQ(NumberParse::OutOfRange, parseNumber("4294967296", whole));
    EXPECT_EQ(2.5f, parsed);
}

} // namespace
} // namespace zor::host
