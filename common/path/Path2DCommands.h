#pragma once

#include "common/path/Path2DCommandOf.h"

// The path command classes. Each appends its members to Path2DCommand<T>, packed, and lists
// them by their variable names in the order they are read and written. T is float or double.

namespace zor {

#pragma pack(push, 1)

/// The one member of the commands that go to a point: "position".
template <typename Derived, typename T, uint8 CommandType>
class ToPositionPath2DCommand : public Path2DCommandOf<Derived, T, CommandType> {
public:
    static constexpr std::array<const char*, 1> kMemberNames{"position"};
    template <typename Self, typename Visit>
    static void forEachMember(Self& self, Visit&& visit) {
        visit(self.m_position);
    }

    ExtVector2<T> m_position;
};

/// Starts a new figure at "position".
template <typename T>
class MoveToPath2DCommand : public ToPositionPath2DCommand<MoveToPath2DCommand<T>, T, 1> {
public:
    static constexpr const char* kTypeName = "MoveToPath2DCommand";
};

/// A straight line to "position".
template <typename T>
class LineToPath2DCommand : public ToPositionPath2DCommand<LineToPath2DCommand<T>, T, 2> {
public:
    static constexpr const char* kTypeName = "LineToPath2DCommand";
};

/// A cubic curve: control points "p1" and "p2", end point "p3".
template <typename T>
class CurveToPath2DCommand : public Path2DCommandOf<CurveToPath2DCommand<T>, T, 3> {
public:
    static constexpr const char* kTypeName = "CurveToPath2DCommand";
    static constexpr std::array<const char*, 3> kMemberNames{"p1", "p2", "p3"};
    template <typename Self, typename Visit>
    static void forEachMember(Self& self, Visit&& visit) {
        visit(self.m_p1);
        visit(self.m_p2);
        visit(self.m_p3);
    }

    ExtVector2<T> m_p1;
    ExtVector2<T> m_p2;
    ExtVector2<T> m_p3;
};

/// A smooth cubic curve: its first control point follows from the previous command, so it
/// keeps only "p2" and "p3".
template <typename T>
class SmoothPath2DCommand : public Path2DCommandOf<SmoothPath2DCommand<T>, T, 4> {
public:
    static constexpr const char* kTypeName = "SmoothPath2DCommand";
    static constexpr std::array<const char*, 2> kMemberNames{"p2", "p3"};
    template <typename Self, typename Visit>
    static void forEachMember(Self& self, Visit&& visit) {
        visit(self.m_p2);
        visit(self.m_p3);
    }

    ExtVector2<T> m_p2;
    ExtVector2<T> m_p3;
};

/// A quadratic curve: control point "p1", end point "p2".
template <typename T>
class QuadCurveToPath2DCommand : public Path2DCommandOf<QuadCurveToPath2DCommand<T>, T, 5> {
public:
    static constexpr const char* kTypeName = "QuadCurveToPath2DCommand";
    static constexpr std::array<const char*, 2> kMemberNames{"p1", "p2"};
    template <typename Self, typename Visit>
    static void forEachMember(Self& self, Visit&& visit) {
        visit(self.m_p1);
        visit(self.m_p2);
    }

    ExtVector2<T> m_p1;
    ExtVector2<T> m_p2;
};

/// A smooth quadratic curve to "p2"; its control point follows from the previous command.
template <typename T>
class QuadSmoothPath2DCommand : public Path2DCommandOf<QuadSmoothPath2DCommand<T>, T, 6> {
public:
    static constexpr const char* kTypeName = "QuadSmoothPath2DCommand";
    static constexpr std::array<const char*, 1> kMemberNames{"p2"};
    template <typename Self, typename Visit>
    static void forEachMember(Self& self, Visit&& visit) {
        visit(self.m_p2);
    }

    ExtVector2<T> m_p2;
};

/// An elliptic arc to "endArc" with the radii "radius", the ellipse turned by "rotation", and
/// the flags (0 or 1) that choose among the four possible arcs.
template <typename T>
class ArcPath2DCommand : public Path2DCommandOf<ArcPath2DCommand<T>, T, 7> {
public:
    static constexpr const char* kTypeName = "ArcPath2DCommand";
    static constexpr std::array<const char*, 5> kMemberNames{"radius", "rotation", "largeArc", "clockwise",
                                                             "endArc"};
    template <typename Self, typename Visit>
    static void forEachMember(Self& self, Visit&& visit) {
        visit(self.m_radius);
        visit(self.m_rotation);
        visit(self.m_largeArc);
        visit(self.m_clockwise);
        visit(self.m_endArc);
    }

    Vector2<T> m_radius;
    T m_rotation = 0;
    uint8 m_largeArc = 0;
    uint8 m_clockwise = 0;
    ExtVector2<T> m_endArc;
};

/// Closes the figure back to its start.
template <typename T>
class ClosePath2DCommand : public Path2DCommandOf<ClosePath2DCommand<T>, T, 255> {
public:
    static constexpr const char* kTypeName = "ClosePath2DCommand";
    static constexpr std::array<const char*, 0> kMemberNames{};
    template <typename Self, typename Visit>
    static void forEachMember(Self&, Visit&&) {}
};

#pragma pack(pop)

// The framework's layouts: 24 bytes of counted root, then the members without padding.
static_assert(sizeof(MoveToPath2DCommand<float>) == 34 && sizeof(MoveToPath2DCommand<double>) == 42);
static_assert(sizeof(LineToPath2DCommand<float>) == 34 && sizeof(LineToPath2DCommand<double>) == 42);
static_assert(sizeof(CurveToPath2DCommand<float>) == 54 && sizeof(CurveToPath2DCommand<double>) == 78);
static_assert(sizeof(SmoothPath2DCommand<float>) == 44 && sizeof(SmoothPath2DCommand<double>) == 60);
static_assert(sizeof(QuadCurveToPath2DCommand<float>) == 44 &&
              sizeof(QuadCurveToPath2DCommand<double>) == 60);
static_assert(sizeof(QuadSmoothPath2DCommand<float>) == 34 && sizeof(QuadSmoothPath2DCommand<double>) == 42);
static_assert(sizeof(ArcPath2DCommand<float>) == 48 && sizeof(ArcPath2DCommand<double>) == 68);
static_assert(sizeof(ClosePath2DCommand<float>) == 24 && sizeof(ClosePath2DCommand<double>) == 24);

#define ZOR_PATH2D_COMMANDS(Macro, T)                                                                        \
    Macro(MoveToPath2DCommand<T>) Macro(LineToPath2DCommand<T>) Macro(CurveToPath2DCommand<T>)               \
        Macro(SmoothPath2DCommand<T>) Macro(QuadCurveToPath2DCommand<T>) Macro(QuadSmoothPath2DCommand<T>)   \
            Macro(ArcPath2DCommand<T>) Macro(ClosePath2DCommand<T>)

#define ZOR_EXTERN_PATH2D_COMMAND(Class) extern template class Class;
ZOR_PATH2D_COMMANDS(ZOR_EXTERN_PATH2D_COMMAND, float)
ZOR_PATH2D_COMMANDS(ZOR_EXTERN_PATH2D_COMMAND, double)
#undef ZOR_EXTERN_PATH2D_COMMAND

} // namespace zor
