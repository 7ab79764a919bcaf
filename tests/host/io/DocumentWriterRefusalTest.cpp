#include "host/io/JsonVariableWriter.h"
#include "host/io/ObjectDocument.h"
#include "host/io/XmlVariableWriter.h"

#include "SampleObject.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <limits>

namespace zor::host {
namespace {

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
    EXPECT_NE(std::string::npos, lines[0].find("out.json: /objects/0/variables/a: the variable is written twice"));
    EXPECT_NE(std::string::npos, lines[2].find("out.xml: /object/a: the attribute is written twice"));
    EXPECT_NE(std::string::npos, lines[5].find("out.xml: /object/1st: the name is not one that XML accepts"));
}

} // namespace
} // namespace zor::host
