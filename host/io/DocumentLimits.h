#pragma once

#include <cstdint>

namespace zor::host {

// What the host reads of any one file: every document (scenes, attribute files, path files, 2D
// scenes, points files, SVG pictures) is refused beyond these, with the place and the limit,
// before it can exhaust the stack or the memory. Together they keep a command reading the
// largest document they allow under 512 MB.

/// Bytes of a file the host reads. 16 MiB holds a scene of many thousands of bodies or a tile
/// map of a million cells; a parsed JSON document takes up to about ten times its text.
constexpr std::uint64_t kMostDocumentBytes = std::uint64_t(16) << 20;

/// Levels of JSON objects and arrays, or of XML elements, counted while parsing. Each level of
/// objects takes two in JSON (an entry and its children) and a vector inside a typed value two
/// more: 256 leaves room for objects nested kMostObjectNesting deep, far from the recursion that
/// would overflow the stack.
constexpr int kMostNesting = 256;

/// Levels of objects (entries holding children) in a document; the readers and writers walk
/// them by recursion.
constexpr int kMostObjectNesting = 64;

/// JSON values, or XML elements and attributes, of one document: a million values of a 16 MiB
/// document parse into about 100 MB.
constexpr std::uint64_t kMostValues = 1000000;

/// Objects (entries) of one document: each becomes a host object or one of the module's, a few
/// hundred bytes to a few kilobytes each, and printing or converting them builds the document
/// once more. 50,000 objects (some 20,000 bodies, more than the all-pairs collision stage steps
/// in good time) stay near 100 MB.
constexpr std::uint64_t kMostObjects = 50000;

/// A scene streamed from a JSON file (see streamObjectFile) never stands whole in a parsed
/// document: one entry's variables at a time do, each within kMostValues. Its text is held
/// once, and its objects are the scene itself: a million spheres with two attributes each take
/// about 1.5 GB. These limits let such a scene through and stop what is ten times larger.
constexpr std::uint64_t kMostStreamedDocumentBytes = std::uint64_t(1) << 30;
constexpr std::uint64_t kMostStreamedValues = 64000000;
constexpr std::uint64_t kMostStreamedObjects = 4000000;

/// Bytes of a name: a JSON member's name, an XML element's or attribute's name. Variable and
/// type names are short words; anything longer is not one of them.
constexpr std::uint64_t kMostNameBytes = 1024;

/// Bytes of a text value. Element names and labels are short, but a mesh's vertex list or a
/// tile map's cells are texts of numbers: 4 MiB holds a map of a thousand by a thousand cells.
constexpr std::uint64_t kMostTextBytes = std::uint64_t(4) << 20;

/// Bytes of SVG path data, alone or in one <path> element of a picture, and the commands read
/// from all of a picture's paths: each command becomes an object of the module and an entry of
/// the path file, about 2 kB on the way. A drawing of thousands of commands is a large one.
constexpr std::uint64_t kMostPathDataBytes = std::uint64_t(1) << 20;
constexpr std::uint64_t kMostPathCommands = 32768;

/// Points of a points file: each one is tested, printed and drawn.
constexpr std::uint64_t kMostPoints = 100000;

} // namespace zor::host
