#include "host/io/JsonObjectStream.h"

#include "host/io/DocumentFailure.h"
#include "host/io/DocumentLimits.h"
#include "host/io/DocumentObjects.h"
#include "host/io/DocumentShape.h"
#include "host/io/JsonEntryReader.h"
#include "host/io/JsonObjectDocument.h"
#include "host/io/JsonValueBuilder.h"
#include "host/io/PlainJson.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace zor::host {

using nlohmann::ordered_json;

namespace {

// An entry that is not streamed: parsed whole, it and the entries inside it (`inside`).
struct WholeEntry {
    uint64 index;
    uint64 inside;
};

// The value types the parser hands its event handlers.
struct SaxTypes {
    static constexpr bool kReadsNumbers = true;
    using number_integer_t = ordered_json::number_integer_t;
    using number_unsigned_t = ordered_json::number_unsigned_t;
    using number_float_t = ordered_json::number_float_t;
    using string_t = ordered_json::string_t;
    using binary_t = ordered_json::binary_t;
};

// The events of a parse that only tell where the parser stands; Walk's subclasses act on them.
// An entry is an element of the array "objects" of the document or of the array "children" of
// an entry, counted in the order they start.
class Walk : public SaxTypes {
protected:
    enum class Kind { Root, Document, Entries, Entry, Other };
    struct Frame {
        Kind kind;
        uint64 entry = 0;
        // Entry: the members seen, and the one whose value comes next.
        unsigned seen = 0;
        int next = -1;
        bool whole = false;
    };
    static int memberOf(const string_t& key) {
        return key == "type" ? 0 : key == "variables" ? 1 : key == "children" ? 2 : -1;
    }
    std::vector<Frame> m_frames{{Kind::Root}};
    uint64 m_entries = 0;
};

// The first pass: the document is JSON (else the parser's own line is logged), of the shape
// {"objects": [...]}, and which entries are streamed: those whose members are type, variables
// and children, each once, children last and an array.
class Survey : public Walk {
public:
    static constexpr bool kReadsNumbers = false;

    explicit Survey(const String& fileName, std::string_view text) : m_fileName(fileName), m_text(text) {}

    bool regular = true;
    std::vector<WholeEntry> whole;

    bool null() { return value(false); }
    bool boolean(bool) { return value(false); }
    bool number_integer(number_integer_t) { return value(false); }
    bool number_unsigned(number_unsigned_t) { return value(false); }
    bool number_float(number_float_t, const string_t&) { return value(false); }
    bool string(string_t&) { return value(false); }
    bool binary(binary_t&) { return value(false); }
    bool start_object(std::size_t) { return value(true, Kind::Entry); }
    bool start_array(std::size_t) { return value(true, Kind::Entries); }
    bool end_object() { return end(); }
    bool end_array() { return end(); }
    bool key(string_t& key) {
        Frame& frame = m_frames.back();
        if (frame.kind == Kind::Document) {
            regular = regular && frame.seen == 0 && key == "objects";
            frame.seen = 1;
        } else if (frame.kind == Kind::Entry) {
            const int member = memberOf(key);
            frame.whole =
                frame.whole || member < 0 || (frame.seen & (1u << member)) != 0 || (frame.seen & 4u) != 0;
            frame.seen |= member < 0 ? 0u : 1u << member;
            frame.next = member;
        }
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) {
        logNotJson(m_fileName, m_text, error.what());
        return false;
    }

private:
    // A value starts (`opens`: an object or array, of the kind it is where it stands).
    bool value(bool opens, Kind kind = Kind::Other) {
        Frame& frame = m_frames.back();
        Kind inner = Kind::Other;
        if (frame.kind == Kind::Root) {
            regular = regular && kind == Kind::Entry;
            inner = Kind::Document;
        } else if (frame.kind == Kind::Document) {
            regular = regular && kind == Kind::Entries;
            inner = Kind::Entries;
        } else if (frame.kind == Kind::Entries) {
            const uint64 entry = m_entries++;
            if (kind != Kind::Entry)
                whole.push_back({entry, 0});
            inner = kind == Kind::Entry ? Kind::Entry : Kind::Other;
            if (opens)
                m_frames.push_back({inner, entry});
            return true;
        } else if (frame.kind == Kind::Entry && frame.next == 2) {
            frame.whole = frame.whole || kind != Kind::Entries;
            inner = kind == Kind::Entries ? Kind::Entries : Kind::Other;
        }
        if (opens)
            m_frames.push_back({inner});
        return true;
    }
    bool end() {
        const Frame frame = m_frames.back();
        m_frames.pop_back();
        regular = regular && (frame.kind != Kind::Document || frame.seen == 1);
        if (frame.kind == Kind::Entry && (frame.whole || (frame.seen & 1u) == 0))
            whole.push_back({frame.entry, m_entries - frame.entry - 1});
        return true;
    }

    const String& m_fileName;
    std::string_view m_text;
};

// The second pass, over a document the survey found regular: makes the objects.
class Stream : public SaxTypes {
public:
    Stream(JsonEntryReader& reader, const String& fileName, std::vector<WholeEntry> whole)
        : m_reader(reader), m_fileName(fileName), m_whole(std::move(whole)) {
        // The survey lists an entry when it ends; here they are met where they start.
        std::sort(m_whole.begin(), m_whole.end(),
                  [](const WholeEntry& a, const WholeEntry& b) { return a.index < b.index; });
        // Frames are not moved as the stack grows: a frame's list of children would be copied.
        m_frames.reserve(kMostObjectNesting * 2 + 4);
    }
    ~Stream() {
        // After a refusal: every object made so far goes, the children with their parents.
        for (auto frame = m_frames.rbegin(); frame != m_frames.rend(); ++frame) {
            if (frame->object != nullptr) {
                adoptChildren(frame->object, frame->children);
                frame->object->release();
            }
            releaseObjects(frame->children);
        }
    }

    /// The objects of the document's entries, once the parse went through.
    List<IObject*>& objects() { return m_frames.front().children; }

    bool null() {
        return scalar([](Builder& b) { return b.null(); });
    }
    bool boolean(bool v) {
        return scalar([v](Builder& b) { return b.boolean(v); });
    }
    bool number_integer(number_integer_t v) {
        return scalar([v](Builder& b) { return b.number_integer(v); });
    }
    bool number_unsigned(number_unsigned_t v) {
        return scalar([v](Builder& b) { return b.number_unsigned(v); });
    }
    bool number_float(number_float_t v, const string_t& s) {
        return scalar([v, &s](Builder& b) { return b.number_float(v, s); });
    }
    bool string(string_t& v) {
        return scalar([&v](Builder& b) { return b.string(v); });
    }
    bool binary(binary_t& v) {
        return scalar([&v](Builder& b) { return b.binary(v); });
    }
    bool key(string_t& key) {
        if (m_builder)
            return m_builder->key(key);
        m_key = key;
        return true;
    }
    bool start_object(std::size_t size) {
        if (m_builder)
            return count() && ++m_depth && m_builder->start_object(size);
        Frame& frame = m_frames.back();
        if (frame.kind == Kind::Document)
            return true;
        if (frame.kind == Kind::Entries && !isWhole()) {
            const int depth = frame.depth;
            m_frames.emplace_back(Kind::Entry, pointerOfNext(frame), depth);
            return true;
        }
        return startFragment() && ++m_depth && m_builder->start_object(size);
    }
    bool start_array(std::size_t size) {
        if (m_builder)
            return count() && ++m_depth && m_builder->start_array(size);
        Frame& frame = m_frames.back();
        if (frame.kind == Kind::Document) {
            m_frames.emplace_back(Kind::Entries, "/objects", 0);
            return true;
        }
        if (frame.kind == Kind::Entry && m_key == "children") {
            // The entry's own members are all read: its object takes the children as they come.
            frame.object = m_reader.begin(frame.entry, frame.pointer);
            frame.hasChildren = true;
            if (frame.object == nullptr)
                return false;
            std::string children = frame.pointer + "/children";
            if (!m_reader.checkDepth(children, frame.depth + 1))
                return false;
            m_frames.emplace_back(Kind::Entries, std::move(children), frame.depth + 1);
            return true;
        }
        return startFragment() && ++m_depth && m_builder->start_array(size);
    }
    bool end_object() {
        if (m_builder)
            return m_builder->end_object() && (--m_depth > 0 || endFragment());
        if (m_frames.back().kind != Kind::Entry)
            return true;
        // The frame is used in place (a frame's list of children is copied, not moved) and goes
        // once its object is made or refused.
        Frame& entry = m_frames.back();
        IObject* object = entry.object != nullptr ? entry.object : m_reader.begin(entry.entry, entry.pointer);
        entry.object = nullptr;
        if (object != nullptr)
            object = m_reader.finish(object, entry.children, entry.hasChildren, entry.entry, entry.pointer);
        m_frames.pop_back();
        if (object == nullptr)
            return false;
        m_frames.back().children.pushBack(object);
        return true;
    }
    bool end_array() {
        if (m_builder)
            return m_builder->end_array() && (--m_depth > 0 || endFragment());
        Frame& entries = m_frames.back();
        Frame& outer = m_frames[m_frames.size() - 2];
        List<IObject*>& to = outer.kind == Kind::Entry ? outer.children : m_frames.front().children;
        if (to.isEmpty())
            to.swap(entries.children);
        else
            appendObjects(entries.children, to);
        m_frames.pop_back();
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

private:
    enum class Kind { Document, Entries, Entry };
    struct Frame {
        Frame(Kind kind_, std::string pointer_, int depth_)
            : kind(kind_), pointer(std::move(pointer_)), depth(depth_) {
            // Room for the members type and variables: growing would copy the first.
            if (kind == Kind::Entry) {
                entry = ordered_json::object();
                entry.get_ptr<ordered_json::object_t*>()->reserve(2);
            }
        }
        Kind kind;
        std::string pointer;
        int depth;
        // Entries: how many have started. Entry: its members but children, then its object.
        uint64 started = 0;
        ordered_json entry;
        IObject* object = nullptr;
        bool hasChildren = false;
        List<IObject*> children;
    };

    std::string pointerOfNext(Frame& entries) {
        ++m_entryIndex;
        const std::string number = std::to_string(entries.started++);
        std::string pointer;
        pointer.reserve(entries.pointer.size() + 1 + number.size());
        pointer.append(entries.pointer).append(1, '/').append(number);
        return pointer;
    }
    // Whether the entry starting now is read whole; the entries inside it are then skipped.
    bool isWhole() { return m_next < m_whole.size() && m_whole[m_next].index == m_entryIndex; }

    using Builder = JsonValueBuilder;

    template <typename Event>
    bool scalar(Event event) {
        if (m_builder)
            return count() && event(*m_builder);
        return startFragment() && event(*m_builder) && endFragment();
    }

    // A value that stands parsed whole: an entry's member, or an entry that is not streamed.
    bool startFragment() {
        Frame& frame = m_frames.back();
        m_fragment = ordered_json();
        m_fragmentWhole = frame.kind == Kind::Entries;
        // A member's place is made only when it is refused: the frames stay while it is parsed.
        m_fragmentPointer.clear();
        if (m_fragmentWhole) {
            m_fragmentPointer = pointerOfNext(frame);
            const uint64 last = m_entryIndex + m_whole[m_next].inside;
            m_entryIndex = last;
            while (m_next < m_whole.size() && m_whole[m_next].index < last)
                ++m_next;
        }
        m_builderRoom.start(m_fragment);
        m_builder = &m_builderRoom;
        m_values = 0;
        m_depth = 0;
        return count();
    }
    bool count() {
        if (++m_values <= kMostValues)
            return true;
        if (!m_fragmentWhole)
            m_fragmentPointer = m_frames.back().pointer + "/" + m_key;
        logDocumentFailure("zor::host::readJsonObjects", m_fileName, m_fragmentPointer,
                           "expected %llu values at most, found more",
                           static_cast<unsigned long long>(kMostValues));
        return false;
    }
    bool endFragment() {
        m_builder = nullptr;
        Frame& frame = m_frames.back();
        if (!m_fragmentWhole) {
            frame.entry[m_key] = std::move(m_fragment);
            return true;
        }
        IObject* object = m_reader.readEntry(m_fragment, m_fragmentPointer, frame.depth);
        if (object == nullptr)
            return false;
        frame.children.pushBack(object);
        return true;
    }

    JsonEntryReader& m_reader;
    const String& m_fileName;
    std::vector<WholeEntry> m_whole;
    std::size_t m_next = 0;
    uint64 m_entryIndex = 0;
    std::vector<Frame> m_frames{Frame(Kind::Document, "", 0)};
    std::string m_key;
    /// The builder of the value being parsed whole, or null.
    Builder* m_builder = nullptr;
    Builder m_builderRoom;
    ordered_json m_fragment;
    std::string m_fragmentPointer;
    bool m_fragmentWhole = false;
    int m_depth = 0;
    uint64 m_values = 0;
};

} // namespace

bool streamJsonObjects(const String& fileName, std::string_view text, ObjectCreator create,
                       List<IObject*>& objects, const ObjectCheck& check) {
    // A plain text within the limits is read by readPlainJson, which checks them as it goes;
    // anything else is checked first, then read by the parser (its faults too).
    const PlainJsonLimits limits{kMostNesting, kMostStreamedValues, kMostNameBytes, kMostTextBytes};
    std::optional<Survey> survey(std::in_place, fileName, text);
    const bool plain = readPlainJson(text, *survey, limits) == PlainJsonResult::Read;
    if (!plain) {
        if (!checkDocumentShape(DocumentFormat::Json, fileName, text, kMostStreamedValues))
            return false;
        survey.emplace(fileName, text);
        if (!ordered_json::sax_parse(text.begin(), text.end(), &*survey))
            return false;
    }
    if (!survey->regular) {
        // Another shape is read whole, as any document is.
        if (text.size() > kMostDocumentBytes) {
            logDocumentFailure("zor::host::readDocumentText", fileName, "the file",
                               "expected %llu bytes at most, found more",
                               static_cast<unsigned long long>(kMostDocumentBytes));
            return false;
        }
        return checkDocumentShape(DocumentFormat::Json, fileName, text) &&
               readJsonObjects(fileName, text, create, objects, check);
    }
    JsonEntryReader reader(fileName, create, check, kMostStreamedObjects);
    Stream stream(reader, fileName, std::move(survey->whole));
    if (plain ? readPlainJson(text, stream) != PlainJsonResult::Read
              : !ordered_json::sax_parse(text.begin(), text.end(), &stream))
        return false;
    appendObjects(stream.objects(), objects);
    return true;
}

} // namespace zor::host
