// Documents the readers refuse and values the writers cannot carry: one log line each, naming
// the place.

#include "host/io/JsonVariableWriter.h"
#include "host/io/ObjectDocument.h"
#include "host/io/XmlVariableWriter.h"

#include "SampleObject.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <limits>

namespace zor::host {
namespace {

struct BadDocument {
    DocumentFormat format;
    const char* text;
    // What the one log line says after the file name.
    const char* message;
};

#define SAMPLE_JSON(variables) "{\"objects\": [{\"type\": \"SampleObject\", \"variables\": {" variables "}}]}"
#define SAMPLE_XML(content) "<objects><object type=\"SampleObject\">" content "</object></objects>"

const BadDocument kBadDocuments[] = {
    // Malformed and truncated.
    {DocumentFormat::Json, "{\"objects\": [{\"type\": \"SampleObject\", \"variables\": {\"mass\": 1.5}}",
     "line 1, column 66: not JSON: syntax error while parsing array - unexpected end of input; expected ']'"},
    {DocumentFormat::Json, "{\n  \"objects\": [\n    {\"type\": \"SampleObject\",, }]}",
     "line 3, column 29: not JSON: syntax error while parsing object key - unexpected ','; expected string "
     "literal"},
    {DocumentFormat::Xml, "", "line 1, column 1: not well-formed XML: No document element found"},
    {DocumentFormat::Xml, SAMPLE_XML("<mass>1</mass"),
     "line 1, column 51: not well-formed XML: Error parsing end element tag"},
    {DocumentFormat::Xml, "<objects>\n  <object type=\"SampleObject\">\n    <mass>1</masss>\n</objects>",
     "line 3, column 14: not well-formed XML: Start-end tags mismatch"},
    // The document's own layout.
    {DocumentFormat::Json, "[]", "/: expected a document {\"objects\": [...]}, found an array"},
    {DocumentFormat::Json, "{\"objects\": {}}", "/objects: expected an array of objects, found an object"},
    {DocumentFormat::Json, "{\"objects\": [{\"variables\": {}}]}",
     "/objects/0/type: expected the type name of the object, found null"},
    {DocumentFormat::Json, "{\"objects\": [{\"type\": \"SampleObject\", \"name\": 1}]}",
     "/objects/0/name: expected only the members type, variables and children, found 1"},
    {DocumentFormat::Json, "{\"objects\": [{\"type\": \"SampleObject\", \"children\": {}}]}",
     "/objects/0/children: expected an array of objects, found an object"},
    {DocumentFormat::Xml, "<things/>", "line 1, column 1: <things>: expected the document element <objects>"},
    {DocumentFormat::Xml, "<objects>\n <object/></objects>",
     "line 2, column 2: <object>: expected the attribute type with the object's type name"},
    {DocumentFormat::Xml, "<objects><object type=\"Nothing\"/></objects>",
     "line 1, column 10: <object>: no class is registered as \"Nothing\""},
    // Wrong kinds, numbers out of range, non-finite numbers, unknown names.
    {DocumentFormat::Json, SAMPLE_JSON("\"count\": -1"),
     "/objects/0/variables/count: expected a whole number from 0 to 4294967295, found -1"},
    {DocumentFormat::Json, SAMPLE_JSON("\"count\": 4294967296"),
     "/objects/0/variables/count: expected a whole number from 0 to 4294967295, found 4294967296"},
    // Objects read before the refusal are released: the sanitizer build reports any left behind.
    {DocumentFormat::Json,
     "{\"objects\": [{\"type\": \"SampleObject\"}, {\"type\": \"SampleObject\", \"children\": ["
     "{\"type\": \"SampleObject\", \"variables\": {\"count\": 1.5}}]}]}",
     "/objects/1/children/0/variables/count: expected a whole number from 0 to 4294967295, found 1.5"},
    {DocumentFormat::Json, SAMPLE_JSON("\"visible\": 1"),
     "/objects/0/variables/visible: expected true or false, found 1"},
    {DocumentFormat::Json, SAMPLE_JSON("\"mode\": \"MAYBE\""),
     "/objects/0/variables/mode: expected a name of the enumeration, found \"MAYBE\""},
    {DocumentFormat::Json, SAMPLE_JSON("\"mode\": {\"type\": \"uint8_t\", \"value\": 3}"),
     "/objects/0/variables/mode: expected a value of the enumeration, found 3"},
    {DocumentFormat::Json, SAMPLE_JSON("\"label\": [\"a\"]"),
     "/objects/0/variables/label: expected a string, found an array"},
    {DocumentFormat::Json, SAMPLE_JSON("\"position\": [1, 2, 3]"),
     "/objects/0/variables/position: expected an object, found an array"},
    {DocumentFormat::Json, SAMPLE_JSON("\"position\": {\"x\": 1, \"y\": true}"),
     "/objects/0/variables/position/y: expected a finite number within the range of a float, found true"},
    {DocumentFormat::Xml, SAMPLE_XML("<mass>heavy</mass>"),
     "line 1, column 38: <mass>: expected a finite number within the range of a double, found \"heavy\""},
    {DocumentFormat::Xml, SAMPLE_XML("<scale>1e39</scale>"),
     "<scale>: expected a finite number within the range of a float, found \"1e39\""},
    {DocumentFormat::Xml, SAMPLE_XML("<count>-1</count>"),
     "<count>: expected a whole number from 0 to 4294967295, found \"-1\""},
    {DocumentFormat::Xml, SAMPLE_XML("<visible>yes</visible>"),
     "<visible>: expected true or false, found \"yes\""},
    {DocumentFormat::Xml, SAMPLE_XML("<mode>MAYBE</mode>"),
     "<mode>: expected a name of the enumeration, found \"MAYBE\""},
    {DocumentFormat::Xml, SAMPLE_XML("<mass><value>1</value></mass>"),
     "<mass>: expected text, found child elements"},
    {DocumentFormat::Xml, SAMPLE_XML("<mass type=\"float\">1</mass>"),
     "<mass>: expected a value of type double, found \"float\""},
    {DocumentFormat::Xml,
     "<objects>\n<object type=\"SampleObject\">\n  <position x=\"1\" y=\"a\"/></object></objects>",
     "line 3, column 3: attribute y of <position>: expected a finite number within the range of a float, "
     "found \"a\""},
    {DocumentFormat::Xml,
     "<objects><object type=\"SampleObject\" scale=\"1\"><scale>2</scale></object></objects>",
     "attribute scale of <object>: expected one value, not an attribute and an element of that name, found "
     "\"1\""},
    {DocumentFormat::Xml, "<objects><object type=\"SampleObject\" position=\"1\"/></objects>",
     "attribute position of <object>: expected an element, found \"1\""},
};

TEST(DocumentBadInput, EachRefusalLeavesOneLineNamingThePlaceAndWhatWasExpected) {
    for (const BadDocument& bad : kBadDocuments) {
        SCOPED_TRACE(bad.text);
        test::TestApplicationData record;
        const String fileName(bad.format == DocumentFormat::Json ? "bad.json" : "bad.xml");
        List<IObject*> objects;
        EXPECT_FALSE(readObjects(bad.format, fileName, bad.text, &test::SampleObject::create, objects));
        EXPECT_TRUE(objects.isEmpty());
        const std::vector<std::string> lines = record.writtenTexts();
        ASSERT_EQ(1u, lines.size());
        EXPECT_NE(std::string::npos, lines[0].find(std::string(" - ") + fileName.c_str() + ": ")) << lines[0];
        EXPECT_NE(std::string::npos, lines[0].find(bad.message)) << lines[0];
        EXPECT_NE(std::string::npos, lines[0].find("ERROR")) << lines[0];
    }
}

struct Refusal {
    const char* what;
    void (*spoil)(test::SampleObject&);
    // The one log line of the JSON writer and of the XML writer (null: the format takes it).
    const char* jsonMessage;
    const char* xmlMessage;
};

const Refusal kRefusals[] = {
    {"nan", [](test::SampleObject& o) { o.scale = std::numeric_limits<float>::quiet_NaN(); },
     "/objects/0/variables/scale: nan cannot be written: the files hold finite numbers only",
     "/objects/object/scale: nan cannot be written: the files hold finite numbers only"},
    {"infinity", [](test::SampleObject& o) { o.position.y = -std::numeric_limits<float>::infinity(); },
     "/objects/0/variables/position/y: an infinite number cannot be written",
     "/objects/object/position/y: an infinite number cannot be written"},
    {"unnamed enumeration value", [](test::SampleObject& o) { o.mode = 7; },
     "/objects/0/variables/mode: the value 7 has no name in its enumeration",
     "/objects/object/mode: the value 7 has no name in its enumeration"},
    {"not UTF-8", [](test::SampleObject& o) { o.label.assign("caf\xE9", 4); },
     "/objects/0/variables/label: the text is not UTF-8",
     "/objects/object/label: the text is not UTF-8 or holds control characters other than tab and line feed"},
    {"control character", [](test::SampleObject& o) { o.label.assign("a\rb", 3); }, nullptr,
     "/objects/object/label: the text is not UTF-8 or holds control characters other than tab and line feed"},
};

TEST(DocumentWriterRefusal, ValuesTheFormatCannotCarryAreRefusedWithOneLine) {
    for (const Refusal& refusal : kRefusals) {
        SCOPED_TRACE(refusal.what);
        auto* sample = new test::SampleObject();
        refusal.spoil(*sample);
        List<IObject*> objects;
        objects.pushBack(sample);
        for (DocumentFormat format : {DocumentFormat::Json, DocumentFormat::Xml}) {
            const char* message = format == DocumentFormat::Json ? refusal.jsonMessage : refusal.xmlMessage;
            test::TestApplicationData record;
            std::string text;
            EXPECT_EQ(message == nullptr, writeObjects(format, String("out"), objects, false, text));
            const std::vector<std::string> lines = record.writtenTexts();
            if (message == nullptr) {
                EXPECT_TRUE(lines.empty());
                continue;
            }
            ASSERT_EQ(1u, lines.size());
            EXPECT_NE(std::string::npos, lines[0].find(std::string("out: ") + message)) << lines[0];
        }
        sample->release();
    }
}

TEST(DocumentWriterRefusal, ANameWrittenTwiceIsRefusedButATypedValueOfTheSecondPassReplacesTheFirst) {
    test::TestApplicationData record;
    const String name("a");
    const float one = 1;
    const float two = 2;

    auto* json = new JsonVariableWriter(String("out.json"));
    nlohmann::ordered_json variables = nlohmann::ordered_json::object();
    json->setRoot(variables, "/objects/0/variables");
    EXPECT_TRUE(json->writeFloat(name, &one, 0, 0));
    EXPECT_FALSE(json->writeFloat(name, &two, 0, 0));
    EXPECT_FALSE(json->beginNode(name, 0));
    EXPECT_EQ(R"({"a":1.0})", variables.dump());
    json->release();

    auto* xml = new XmlVariableWriter(String("out.xml"));
    pugi::xml_document document;
    xml->setRoot(document.append_child("object"));
    EXPECT_TRUE(xml->writeFloat(name, &one, 1, 0));
    EXPECT_FALSE(xml->writeFloat(name, &two, 1, 0));
    EXPECT_TRUE(xml->writeFloat(name, &one, 0, 0)); // an element beside the attribute of that name
    EXPECT_FALSE(xml->writeFloat(name, &two, 0, 0));
    EXPECT_TRUE(xml->writeFloatTyped(String("b"), &one, 0));
    EXPECT_TRUE(xml->writeFloatTyped(String("b"), &two, 0));
    EXPECT_FALSE(xml->writeDoubleTyped(String("b"), nullptr, 0));
    EXPECT_FALSE(xml->beginNode(String("1st"), 0));
    std::ostringstream saved;
    document.save(saved, "", pugi::format_raw | pugi::format_no_declaration);
    EXPECT_EQ(R"(<object a="1"><a>1</a><b type="float">2</b></object>)", saved.str());
    xml->release();

    const std::vector<std::string> lines = record.writtenTexts();
    ASSERT_EQ(6u, lines.size());
    EXPECT_NE(std::string::npos,
              lines[0].find("out.json: /objects/0/variables/a: the variable is written twice"));
    EXPECT_NE(std::string::npos, lines[2].find("out.xml: /object/a: the attribute is written twice"));
    EXPECT_NE(std::string::npos, lines[5].find("out.xml: /object/1st: the name is not one that XML accepts"));
}

} // namespace
} // namespace zor::host
