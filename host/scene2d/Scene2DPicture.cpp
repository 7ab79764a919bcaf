#include "host/scene2d/Scene2DPicture.h"

#include "host/io/MarkupText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zor {
namespace {

// A picture's number; a value that is not finite would make the picture unreadable.
std::string number(double value) {
    if (!std::isfinite(value))
        value = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

std::string escaped(const char* text) {
    return host::xmlText(text);
}

const char* fillOf(ElementKind2D kind) {
    switch (kind) {
    case ElementKind2D::Panel:
        return "#e3eaf2";
    case ElementKind2D::Button:
        return "#8fbce6";
    case ElementKind2D::Image:
        return "#d9c9a0";
    case ElementKind2D::DockingLayout:
        return "#f0f0f0";
    default:
        return "none";
    }
}

template <typename T>
class Picture {
public:
    Picture(Scene2D<T>& scene, const std::vector<HitMark>& marks) {
        for (const UnfoldedElement2D& record : scene.unfoldedElements())
            include(*static_cast<const Element2D<T>*>(record.m_element));
        for (const HitMark& mark : marks) {
            include(mark.x, mark.y);
            // Room for the number above its right.
            include(mark.x + 24, mark.y - 18);
        }
        if (m_minX > m_maxX)
            m_minX = m_minY = 0, m_maxX = m_maxY = 100;
        const double margin = 10;
        // Below the scene, a line per point says what it hit.
        const double legend = marks.empty() ? 0 : kLine * static_cast<double>(marks.size()) + margin;
        m_svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" + number(m_minX - margin) + " " +
                number(m_minY - margin) + " " + number(m_maxX - m_minX + 2 * margin) + " " +
                number(m_maxY - m_minY + 2 * margin + legend) + "\">\n";
        m_svg += "<title>" + escaped(scene.getName().c_str()) + "</title>\n";
        for (uint32 i = 0; i < scene.root().getChildCount(); ++i)
            drawTree(*scene.root().childElement(i));
        for (const HitMark& mark : marks)
            outlineHit(mark);
        for (std::size_t i = 0; i < marks.size(); ++i)
            drawMark(marks[i], i + 1);
        for (std::size_t i = 0; i < marks.size(); ++i)
            describe(marks[i], i + 1, m_maxY + margin + kLine * static_cast<double>(i + 1));
        m_svg += "</svg>\n";
    }

    std::string text() const { return m_svg; }

private:
    static std::string matrixOf(const Element2D<T>& element) {
        const Matrix3x3<T>& m = element.geometry.sceneMatrix;
        return "matrix(" + number(m[0]) + " " + number(m[1]) + " " + number(m[3]) + " " + number(m[4]) + " " +
               number(m[6]) + " " + number(m[7]) + ")";
    }
    static std::string rect(const Rect<T>& r, const std::string& transform, const std::string& style) {
        return "<rect x=\"" + number(r.x) + "\" y=\"" + number(r.y) + "\" width=\"" + number(r.width) +
               "\" height=\"" + number(r.height) + "\" transform=\"" + transform + "\" " + style + "/>";
    }

    void include(double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y))
            return;
        m_minX = std::min(m_minX, x), m_maxX = std::max(m_maxX, x);
        m_minY = std::min(m_minY, y), m_maxY = std::max(m_maxY, y);
    }
    void include(const Element2D<T>& element) {
        const Matrix3x3<T>& m = element.geometry.sceneMatrix;
        const Rect<T>& r = element.geometry.rectangle;
        for (const T& cx : {r.x, static_cast<T>(r.x + r.width)})
            for (const T& cy : {r.y, static_cast<T>(r.y + r.height)})
                include(cx * m[0] + cy * m[3] + m[6], cx * m[1] + cy * m[4] + m[7]);
    }

    struct Bar {
        Rect<T> rectangle;
        bool horizontal;
        uint32 index;
        bool active;
    };

    // The separators' bars in the layout's own coordinates, as the hit tests place them.
    static std::vector<Bar> bars(const Element2D<T>& element) {
        std::vector<Bar> result;
        const DockingLayout<T>& layout = *element.separators();
        const T s = element.geometry.contentScale;
        const T t = s * layout.thickness;
        const T half = t * static_cast<T>(0.5);
        const Rect<T>& corner = element.geometry.rectangle;
        for (const bool horizontal : {true, false}) {
            const Array<T>& positions = horizontal ? layout.rows : layout.columns;
            for (const DockingSeparator<T>& separator : horizontal ? layout.horizontal : layout.vertical) {
                const uint32 index = separator.packed & kDockingSeparatorIndexMask;
                if (index >= positions.size())
                    continue;
                const T across = s * positions[index] - half;
                const T along = s * separator.start;
                const Rect<T> bar =
                    horizontal ? Rect<T>{along + corner.x, across + corner.y, s * separator.length, t}
                               : Rect<T>{across + corner.x, along + corner.y, t, s * separator.length};
                const bool active =
                    (separator.packed & kDockingSeparatorActiveBits) == kDockingSeparatorActiveBits;
                result.push_back(Bar{bar, horizontal, index, active});
            }
        }
        return result;
    }

    void drawTree(Element2D<T>& element) {
        const std::string transform = matrixOf(element);
        std::string style =
            std::string("fill=\"") + fillOf(element.kind()) + "\" stroke=\"#4a5a6a\" stroke-width=\"1\"";
        if (element.kind() == ElementKind2D::ClipRegion)
            style += " stroke-dasharray=\"6 3\"";
        if (element.kind() == ElementKind2D::Decorator)
            style += " stroke-dasharray=\"2 2\"";
        if (!element.state.hitTestVisible)
            style += " opacity=\"0.35\"";
        else if (!element.state.pointerActive && !element.state.keyboardActive)
            style += " fill-opacity=\"0.5\"";
        m_svg += "<g><title>" + escaped(element.getName().c_str()) + "</title>" +
                 rect(element.geometry.rectangle, transform, style) + "</g>\n";
        if (element.kind() == ElementKind2D::DockingLayout)
            for (const Bar& bar : bars(element))
                m_svg +=
                    rect(bar.rectangle, transform, bar.active ? "fill=\"#7a7a7a\"" : "fill=\"#c8c8c8\"") +
                    "\n";

        const bool clips = element.kind() == ElementKind2D::ClipRegion && element.getChildCount() != 0;
        if (clips) {
            const std::string id = "clip" + std::to_string(m_clipCount++);
            m_svg += "<clipPath id=\"" + id + "\">" + rect(element.geometry.rectangle, transform, "") +
                     "</clipPath>\n<g clip-path=\"url(#" + id + ")\">\n";
        }
        for (uint32 i = 0; i < element.getChildCount(); ++i)
            drawTree(*element.childElement(i));
        if (clips)
            m_svg += "</g>\n";
    }

    void outlineHit(const HitMark& mark) {
        if (mark.element == nullptr)
            return;
        const auto& element = *static_cast<const Element2D<T>*>(mark.element);
        const std::string style = "fill=\"none\" stroke=\"#d0202a\" stroke-width=\"3\"";
        if (!mark.separatorHit) {
            m_svg += rect(element.geometry.rectangle, matrixOf(element), style) + "\n";
            return;
        }
        for (const Bar& bar : bars(element))
            if (bar.active && bar.horizontal == mark.horizontalSeparator && bar.index == mark.separatorIndex)
                m_svg += rect(bar.rectangle, matrixOf(element), style) + "\n";
    }

    // A cross in a circle, with the point's number beside it.
    void drawMark(const HitMark& mark, std::size_t index) {
        const char* colour = mark.element != nullptr ? "#d0202a" : "#202020";
        const std::string x = number(mark.x);
        const std::string y = number(mark.y);
        m_svg += "<circle cx=\"" + x + "\" cy=\"" + y + "\" r=\"4\" fill=\"none\" stroke=\"" + colour +
                 "\" stroke-width=\"1.5\"/>\n<path d=\"M" + number(mark.x - 7) + " " + y + "H" +
                 number(mark.x + 7) + "M" + x + " " + number(mark.y - 7) + "V" + number(mark.y + 7) +
                 "\" stroke=\"" + colour + "\" stroke-width=\"1\"/>\n";
        // Outlined in white, so that it reads over any element.
        m_svg += "<text x=\"" + number(mark.x + 6) + "\" y=\"" + number(mark.y - 6) + "\" " + kFont +
                 " fill=\"" + colour + "\" stroke=\"white\" stroke-width=\"3\" paint-order=\"stroke\">" +
                 std::to_string(index) + "</text>\n";
    }

    // The legend's line for a point: its number, where it is and what it hit.
    void describe(const HitMark& mark, std::size_t index, double y) {
        std::string line = std::to_string(index) + " (" + number(mark.x) + ", " + number(mark.y) + "): ";
        if (mark.element == nullptr)
            line += "no hit";
        else if (mark.separatorHit)
            line += std::string(mark.horizontalSeparator ? "horizontal" : "vertical") + " separator " +
                    std::to_string(mark.separatorIndex) + " of " + mark.element->getName().c_str();
        else
            line += mark.element->getName().c_str();
        m_svg += "<text x=\"" + number(m_minX) + "\" y=\"" + number(y) + "\" " + kFont + " fill=\"" +
                 (mark.element != nullptr ? "#d0202a" : "#202020") + "\">" + escaped(line.c_str()) +
                 "</text>\n";
    }

    static constexpr double kLine = 15;
    static constexpr const char* kFont = "font-family=\"sans-serif\" font-size=\"11\"";

    std::string m_svg;
    double m_minX = INFINITY, m_minY = INFINITY, m_maxX = -INFINITY, m_maxY = -INFINITY;
    uint32 m_clipCount = 0;
};

} // namespace

template <typename T>
std::string drawScene2D(Scene2D<T>& scene, const std::vector<HitMark>& marks) {
    return Picture<T>(scene, marks).text();
}

template std::string drawScene2D(Scene2D<float>&, const std::vector<HitMark>&);
template std::string drawScene2D(Scene2D<double>&, const std::vector<HitMark>&);

} // namespace zor
