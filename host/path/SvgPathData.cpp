#include "host/path/SvgPathData.h"

#include "host/io/DocumentLimits.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zor::host {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

const char* const kTooManyCommands = "32768 commands at most";
static_assert(kMostPathCommands == 32768);

// Reads path data left to right, keeping the current point and the start of the figure so that
// relative commands come out absolute.
class SvgPathReader {
public:
    explicit SvgPathReader(std::string_view data) : m_data(data) {}

    bool read(PathSteps& steps) {
        skipSpace();
        if (atEnd())
            return true;
        if (m_data[m_at] != 'M' && m_data[m_at] != 'm')
            return fail("a moveto command (M or m) to begin with");
        while (true) {
            skipSpace();
            if (atEnd())
                return true;
            const char letter = m_data[m_at];
            ++m_at;
            if (!readCommand(letter, steps)) {
                if (m_error.empty()) {
                    --m_at;
                    return fail("a command letter (M, L, H, V, C, S, Q, T, A or Z)");
                }
                return false;
            }
        }
    }

    const std::string& error() const { return m_error; }

private:
    using Point = Vector2<double>;
    using Kind = PathStep::Kind;

    bool atEnd() const { return m_at >= m_data.size(); }

    void skipSpace() {
        while (!atEnd() && isSpace(m_data[m_at]))
            ++m_at;
    }

    // Optional separator between numbers: blanks, at most one comma, blanks. True when a comma
    // was passed, so that a number must follow.
    bool skipSeparator() {
        skipSpace();
        if (atEnd() || m_data[m_at] != ',')
            return false;
        ++m_at;
        skipSpace();
        return true;
    }

    bool atNumber() const {
        if (atEnd())
            return false;
        const char c = m_data[m_at];
        return isDigit(c) || c == '+' || c == '-' || c == '.';
    }

    std::string found() const {
        if (atEnd())
            return "the end";
        const unsigned char c = static_cast<unsigned char>(m_data[m_at]);
        char text[16];
        if (c >= 0x20 && c < 0x7F)
            std::snprintf(text, sizeof text, "'%c'", c);
        else
            std::snprintf(text, sizeof text, "byte 0x%02X", c);
        return text;
    }

    bool fail(const char* expected) {
        m_error = "column " + std::to_string(m_at + 1) + ": expected " + expected + ", found " + found();
        return false;
    }

    // sign? (digits ("." digits?)? | "." digits) (("e" | "E") sign? digits)?
    bool number(double& out) {
        const std::size_t start = m_at;
        std::size_t at = m_at;
        const auto digits = [&] {
            const std::size_t first = at;
            while (at < m_data.size() && isDigit(m_data[at]))
                ++at;
            return at > first;
        };
        if (at < m_data.size() && (m_data[at] == '+' || m_data[at] == '-'))
            ++at;
        bool mantissa = digits();
        if (at < m_data.size() && m_data[at] == '.') {
            ++at;
            mantissa = digits() || mantissa;
        }
        if (!mantissa)
            return fail("a number");
        if (at < m_data.size() && (m_data[at] == 'e' || m_data[at] == 'E')) {
            ++at;
            if (at < m_data.size() && (m_data[at] == '+' || m_data[at] == '-'))
                ++at;
            if (!digits()) {
                m_at = at;
                return fail("the digits of an exponent");
            }
        }
        const std::string text(m_data.substr(start, at - start));
        const double value = std::strtod(text.c_str(), nullptr);
        if (!std::isfinite(value))
            return fail("a number within the range of double");
        out = value;
        m_at = at;
        return true;
    }

    bool separatedNumber(double& out) {
        skipSeparator();
        return number(out);
    }

    bool flag(uint8& out) {
        skipSeparator();
        if (atEnd() || (m_data[m_at] != '0' && m_data[m_at] != '1'))
            return fail("an arc flag (0 or 1)");
        out = static_cast<uint8>(m_data[m_at] - '0');
        ++m_at;
        return true;
    }

    // A coordinate pair, made absolute when the command is relative.
    bool point(bool relative, ExtVector2<double>& out) {
        double x = 0;
        double y = 0;
        if (!separatedNumber(x) || !separatedNumber(y))
            return false;
        if (relative) {
            x = m_current.x + x;
            y = m_current.y + y;
            if (!std::isfinite(x) || !std::isfinite(y))
                return fail("a relative point that stays within the range of double");
        }
        out = {x, y, 0, 0};
        return true;
    }

    // After one argument group: another one follows when a number comes (a comma demands one).
    bool repeats() {
        const std::size_t before = m_at;
        const bool comma = skipSeparator();
        if (comma || atNumber())
            return true;
        m_at = before;
        return false;
    }

    bool readCommand(char letter, PathSteps& steps) {
        const bool relative = letter >= 'a' && letter <= 'z';
        const char command = relative ? static_cast<char>(letter - 'a' + 'A') : letter;
        if (steps.size() >= kMostPathCommands) {
            --m_at;
            return fail(kTooManyCommands);
        }
        if (command == 'Z') {
            PathStep step;
            step.kind = Kind::Close;
            steps.push_back(step);
            m_current = m_subpathStart;
            return true;
        }
        Kind kind;
        switch (command) {
        case 'M':
            kind = Kind::MoveTo;
            break;
        case 'L':
        case 'H':
        case 'V':
            kind = Kind::LineTo;
            break;
        case 'C':
            kind = Kind::CurveTo;
            break;
        case 'S':
            kind = Kind::Smooth;
            break;
        case 'Q':
            kind = Kind::QuadCurveTo;
            break;
        case 'T':
            kind = Kind::QuadSmooth;
            break;
        case 'A':
            kind = Kind::Arc;
            break;
        default:
            return false;
        }
        skipSpace();
        do {
            if (steps.size() >= kMostPathCommands)
                return fail(kTooManyCommands);
            PathStep step;
            step.kind = kind;
            if (!arguments(command, relative, step))
                return false;
            const ExtVector2<double>& end = step.points[pointCount(kind) - 1];
            m_current = {end.x, end.y};
            if (kind == Kind::MoveTo)
                m_subpathStart = m_current;
            steps.push_back(step);
            // Pairs after a moveto are lines.
            if (kind == Kind::MoveTo)
                kind = Kind::LineTo;
        } while (repeats());
        return true;
    }

    bool arguments(char command, bool relative, PathStep& step) {
        switch (command) {
        case 'H':
        case 'V': {
            double value = 0;
            if (!separatedNumber(value))
                return false;
            const bool horizontal = command == 'H';
            const double x = horizontal ? (relative ? m_current.x + value : value) : m_current.x;
            const double y = horizontal ? m_current.y : (relative ? m_current.y + value : value);
            if (!std::isfinite(x) || !std::isfinite(y))
                return fail("a relative point that stays within the range of double");
            step.points[0] = {x, y, 0, 0};
            return true;
        }
        case 'A':
            return separatedNumber(step.radius.x) && separatedNumber(step.radius.y) &&
                   separatedNumber(step.rotation) && flag(step.largeArc) && flag(step.clockwise) &&
                   point(relative, step.points[0]);
        default:
            for (int i = 0; i < pointCount(step.kind); ++i)
                if (!point(relative, step.points[i]))
                    return false;
            return true;
        }
    }

    std::string_view m_data;
    std::size_t m_at = 0;
    std::string m_error;
    Point m_current;
    Point m_subpathStart;
};

void appendNumber(std::string& text, double value) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
}

char letterOf(PathStep::Kind kind) {
    switch (kind) {
    case PathStep::Kind::MoveTo:
        return 'M';
    case PathStep::Kind::LineTo:
        return 'L';
    case PathStep::Kind::CurveTo:
        return 'C';
    case PathStep::Kind::Smooth:
        return 'S';
    case PathStep::Kind::QuadCurveTo:
        return 'Q';
    case PathStep::Kind::QuadSmooth:
        return 'T';
    case PathStep::Kind::Arc:
        return 'A';
    default:
        return 'Z';
    }
}

} // namespace

bool parseSvgPathData(std::string_view data, PathSteps& steps, std::string& error) {
    if (data.size() > kMostPathDataBytes) {
        error = "column 1: expected path data of " + std::to_string(kMostPathDataBytes) +
                " bytes at most, found " + std::to_string(data.size()) + " bytes";
        return false;
    }
    SvgPathReader reader(data);
    PathSteps read;
    if (!reader.read(read)) {
        error = reader.error();
        return false;
    }
    steps = std::move(read);
    return true;
}

std::string formatSvgPathData(const PathSteps& steps) {
    std::string text;
    for (const PathStep& step : steps) {
        std::vector<double> numbers;
        if (step.kind == PathStep::Kind::Arc)
            numbers = {step.radius.x, step.radius.y, step.rotation, double(step.largeArc != 0),
                       double(step.clockwise != 0)};
        for (int i = 0; i < pointCount(step.kind); ++i) {
            const ExtVector2<double> point = step.points[i]; // packed: copied, never bound
            numbers.insert(numbers.end(), {point.x, point.y});
        }
        if (!text.empty())
            text += ' ';
        text += letterOf(step.kind);
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            if (i > 0)
                text += ' ';
            appendNumber(text, numbers[i]);
        }
    }
    return text;
}

} // namespace zor::host
