#include "host/app/GeneratedScene.h"

#include "host/io/NumberText.h"
#include "host/scene3d/PileLayout.h"

#include <algorithm>
#include <vector>

namespace zor::host {

namespace {

// Writes objects and their variables in either format, straight to the file. The structure
// mirrors the readers': an object has a type, variables (numbers, vectors, texts and nodes
// holding more) and children.
class ObjectText {
public:
    ObjectText(DocumentFormat format, std::FILE* out) : m_json(format == DocumentFormat::Json), m_out(out) {}

    void beginDocument() {
        put(m_json ? "{\"objects\": [" : "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<objects>");
    }
    void endDocument() { put(m_json ? "\n]}\n" : "\n</objects>\n"); }

    void beginObject(const char* type) {
        if (m_json) {
            put(m_firstChild.back() ? "\n" : ",\n");
            m_firstChild.back() = false;
            put("{\"type\": \"");
            put(type);
            put("\", \"variables\": {");
        } else {
            put("\n<object type=\"");
            put(type);
            put("\">");
        }
        m_firstVariable.push_back(true);
        m_firstChild.push_back(true);
    }
    void endObject() {
        if (m_json)
            put(m_firstChild.back() ? "}}" : "]}");
        else
            put("</object>");
        m_firstVariable.pop_back();
        m_firstChild.pop_back();
    }
    // Children follow the object's variables.
    void beginChildren() {
        if (m_json)
            put("}, \"children\": [");
    }

    void number(const char* name, double value) { scalar(name, numberText(value)); }
    void text(const char* name, const std::string& value) {
        // The texts written here (names, cell lists) hold no character that needs escaping.
        scalar(name, m_json ? "\"" + value + "\"" : value);
    }
    void flag(const char* name, bool value) { scalar(name, value ? "true" : "false"); }
    void vector(const char* name, double x, double y, double z) {
        if (m_json) {
            beginVariable(name);
            put("{\"x\": " + numberText(x) + ", \"y\": " + numberText(y) + ", \"z\": " + numberText(z) + "}");
        } else {
            put("<" + std::string(name) + " x=\"" + numberText(x) + "\" y=\"" + numberText(y) + "\" z=\"" +
                numberText(z) + "\"/>");
        }
    }
    void beginNode(const char* name) {
        if (m_json) {
            beginVariable(name);
            put("{");
        } else {
            put("<" + std::string(name) + ">");
        }
        m_firstVariable.push_back(true);
        m_nodes.push_back(name);
    }
    void endNode() {
        put(m_json ? std::string("}") : "</" + m_nodes.back() + ">");
        m_firstVariable.pop_back();
        m_nodes.pop_back();
    }

    bool failed() const { return std::ferror(m_out) != 0; }

private:
    void put(const std::string& text) { std::fwrite(text.data(), 1, text.size(), m_out); }
    void put(const char* text) { std::fputs(text, m_out); }
    void beginVariable(const char* name) {
        put(m_firstVariable.back() ? "\"" : ", \"");
        m_firstVariable.back() = false;
        put(name);
        put("\": ");
    }
    void scalar(const char* name, const std::string& value) {
        if (m_json) {
            beginVariable(name);
            put(value);
        } else {
            put("<" + std::string(name) + ">" + value + "</" + name + ">");
        }
    }

    bool m_json;
    std::FILE* m_out;
    std::vector<bool> m_firstVariable;
    std::vector<bool> m_firstChild{true};
    std::vector<std::string> m_nodes;
};

void rigidBody(ObjectText& out, bool infiniteMass) {
    out.beginObject("RigidBody3DAttribute{double}");
    if (infiniteMass)
        out.flag("infiniteMass", true);
    out.number("restitutionFactor", kPileRestitution);
    out.number("frictionCoefficient", kPileFriction);
    out.endObject();
}

// The walled box: a grid stage inside + 2 cells across whose border cells carry walls facing
// inward, all of one rigid body of infinite mass.
void box(ObjectText& out, int inside) {
    const int across = inside + 2;
    std::string cells;
    cells.reserve(std::size_t(across) * across * 3);
    for (int row = 0; row < across; ++row)
        for (int column = 0; column < across; ++column) {
            cells += std::to_string(pileCell(column, row, inside));
            cells += ' ';
        }
    cells.pop_back();
    out.beginObject("GridStage3D{double}");
    out.text("name", "box");
    out.number("columns", across);
    out.number("rows", across);
    out.number("cellWidth", 1);
    out.number("cellDepth", 1);
    out.text("cells", cells);
    for (int walls = 0; walls < 16; ++walls) {
        out.beginNode(("tile" + std::to_string(walls + 1)).c_str());
        out.number("floorHeight", 0);
        out.number("ceilingHeight", kPileWallHeight);
        out.beginNode("floor");
        out.number("rigidBody", 0);
        out.endNode();
        for (int side = 0; side < 4; ++side) {
            if (((walls >> side) & 1) == 0)
                continue;
            out.beginNode(("side" + std::to_string(side)).c_str());
            out.beginNode("middle");
            out.number("rigidBody", 0);
            out.endNode();
            out.endNode();
        }
        out.endNode();
    }
    out.beginChildren();
    rigidBody(out, true);
    out.endObject();
}

void sphere(ObjectText& out, uint64 index, double x, double y, double z) {
    out.beginObject("Sphere3D{double}");
    out.text("name", "ball " + std::to_string(index + 1));
    out.vector("position", x, y, z);
    out.number("radius", kPileRadius);
    out.beginChildren();
    rigidBody(out, false);
    out.beginObject("Collision3DAttribute{double}");
    out.number("eventParent", 0);
    out.endObject();
    out.endObject();
}

} // namespace

bool generatedKindOf(const std::string& word, GeneratedKind& kind) {
    if (word == "pile")
        kind = GeneratedKind::Pile;
    else if (word == "wide-pile")
        kind = GeneratedKind::WidePile;
    else if (word == "rain")
        kind = GeneratedKind::Rain;
    else
        return false;
    return true;
}

bool writeGeneratedScene(GeneratedKind kind, uint64 count, DocumentFormat format, std::FILE* out) {
    const int inside = pileInside(std::int64_t(count), kind != GeneratedKind::Pile);
    const bool rain = kind == GeneratedKind::Rain;
    // Rain falls from four units apart, each sphere up to a unit off its layer's height.
    const double layerHeight = rain ? 4 : 1.1;
    const double layers = std::ceil(double(count) / (double(inside) * inside));
    const double top = layerHeight * layers + (rain ? 5 : 1);
    ObjectText text(format, out);
    text.beginDocument();
    text.beginObject("Scene3D{double}");
    text.number("gravity", 9.81);
    // The box from the front, the pile's height and the box's width in view.
    const double across = inside + 2;
    const double height = std::max(across, top) + 2;
    text.beginNode("camera");
    text.text("projection", "ORTHOGRAPHIC");
    text.number("width", std::max(across + 2, height));
    text.number("height", height);
    text.number("far", across + 20);
    text.vector("eye", across / 2, height / 2 - 1, 10);
    text.vector("target", across / 2, height / 2 - 1, 0);
    text.endNode();
    text.beginChildren();
    box(text, inside);
    for (uint64 i = 0; i < count; ++i) {
        double x, y, z;
        pileStart(std::int64_t(i), inside, x, y, z, layerHeight);
        if (rain)
            y += 4 + double((i * 104729) % 2001) / 1000 - 1;
        sphere(text, i, x, y, z);
    }
    text.endObject();
    text.endDocument();
    return !text.failed();
}

} // namespace zor::host
