#include "host/simulate/ContactRecorder.h"

#include "host/scene3d/Transform3D.h"
#include "host/simulate/Scenery.h"

#include <algorithm>
#include <cmath>

namespace zor::host {

namespace {

template <typename T>
Point3 pointOf(const Vector3<T>& v) {
    return {double(v.x), double(v.y), double(v.z)};
}

double distance(const Point3& p, const Point3& q) {
    return std::sqrt((p[0] - q[0]) * (p[0] - q[0]) + (p[1] - q[1]) * (p[1] - q[1]) +
                     (p[2] - q[2]) * (p[2] - q[2]));
}

template <typename T>
Point3 normalOf(const Vector3<T>& n, double sign) {
    // + 0.0: a component of 0 negated reads 0, not -0.
    return {sign * double(n.x) + 0.0, sign * double(n.y) + 0.0, sign * double(n.z) + 0.0};
}

const char* const kSegments[] = {"", "lower ", "", "upper "};

} // namespace

template <typename T>
ContactRecorder<T>::ContactRecorder(const std::vector<Element3D<T>*>& bodies,
                                    const std::vector<std::string>& names)
    : m_bodies(bodies), m_names(names), m_before(bodies.size()), m_unmoved(bodies.size()) {
    std::vector<std::uintptr_t> addresses;
    addresses.reserve(bodies.size());
    for (const IElement* body : bodies)
        addresses.push_back(reinterpret_cast<std::uintptr_t>(body));
    std::sort(addresses.begin(), addresses.end());
    addresses.erase(std::unique(addresses.begin(), addresses.end()), addresses.end());
    std::uintptr_t least = UINTPTR_MAX;
    for (std::size_t at = 1; at < addresses.size(); ++at)
        least = std::min(least, addresses[at] - addresses[at - 1]);
    // Steps no larger than the least distance between two bodies: one body a step at most.
    while (m_shift < 20 && (std::uintptr_t{2} << m_shift) <= least)
        ++m_shift;
    for (std::size_t at = 0; at < addresses.size(); ++at) {
        if (at == 0 || ((addresses[at] - addresses[at - 1]) >> m_shift) > kMostStepsBetween)
            m_runs.push_back({addresses[at], addresses[at], m_byAddress.size()});
        m_runs.back().last = addresses[at];
        m_byAddress.resize(m_runs.back().offset + ((addresses[at] - m_runs.back().first) >> m_shift) + 1,
                           kNoEntry);
    }
    // A body listed twice is found at its last place, as before.
    for (std::size_t body = 0; body < bodies.size(); ++body)
        m_byAddress[entryOf(bodies[body])] = static_cast<uint32>(body);
}

template <typename T>
std::size_t ContactRecorder<T>::entryOf(const IElement* element) const {
    const auto address = reinterpret_cast<std::uintptr_t>(element);
    auto run = std::upper_bound(m_runs.begin(), m_runs.end(), address,
                                [](std::uintptr_t at, const AddressRun& run) { return at < run.first; });
    if (run == m_runs.begin() || address > (--run)->last)
        return SIZE_MAX;
    return run->offset + ((address - run->first) >> m_shift);
}

template <typename T>
void ContactRecorder<T>::beforeCollisions() {
    m_capsuleEnds.clear();
    for (std::size_t body = 0; body < m_bodies.size(); ++body) {
        m_before[body] = m_bodies[body]->transform().position;
        const Unmoved points = unmoved(*m_bodies[body]);
        m_unmoved[body] = {points.kind, 0, points.centre, points.rim};
        if (points.kind == ElementKind::Capsule) {
            m_unmoved[body].ends = static_cast<uint32>(m_capsuleEnds.size());
            m_capsuleEnds.push_back({points.a, points.b});
        }
    }
}

template <typename T>
std::size_t ContactRecorder<T>::indexOf(IElement* body) const {
    if (body == m_last.first)
        return m_last.second;
    m_last = {body, bodyIndex(body)};
    return m_last.second;
}

template <typename T>
std::size_t ContactRecorder<T>::bodyIndex(const IElement* body) const {
    const std::size_t entry = entryOf(body);
    const uint32 index = entry != SIZE_MAX ? m_byAddress[entry] : kNoEntry;
    return index != kNoEntry && m_bodies[index] == body ? index : kNoBody;
}

template <typename T>
typename ContactRecorder<T>::Unmoved ContactRecorder<T>::unmoved(Element3D<T>& shaped) {
    const auto at = [&](T x, T y, T z) {
        return pointOf(transformPoint(Vector3<T>{x, y, z}, shaped.world()));
    };
    Unmoved points{shaped.kind(), at(0, 0, 0), {}, {}, {}};
    const T radius = shaped.shape().radius;
    if (shaped.kind() == ElementKind::Sphere) {
        points.rim = at(radius, 0, 0);
    } else if (shaped.kind() == ElementKind::Capsule) {
        const T half = shaped.shape().height / 2;
        points.a = at(0, -half, 0);
        points.b = at(0, half, 0);
        points.rim = at(radius, half, 0);
    }
    return points;
}

template <typename T>
typename ContactRecorder<T>::Placed ContactRecorder<T>::place(std::size_t index, IElement* body,
                                                              IElement* element, const Vector3<T>* at) const {
    Placed placed{false, {}, {}};
    Unmoved found;
    // The element is most often the body itself, whose points were found as the stage began.
    if (index != kNoBody && element == body) {
        const Noted& noted = m_unmoved[index];
        found = {noted.kind, noted.centre, {}, {}, noted.rim};
        if (noted.kind == ElementKind::Capsule) {
            found.a = m_capsuleEnds[noted.ends][0];
            found.b = m_capsuleEnds[noted.ends][1];
        }
    } else {
        auto* shaped = dynamic_cast<Element3D<T>*>(element);
        if (shaped == nullptr)
            return placed;
        found = unmoved(*shaped);
    }
    const Unmoved* points = &found;
    Point3 moved{};
    if (index != kNoBody) {
        const Vector3<T>& now = at != nullptr ? *at : m_bodies[index]->transform().position;
        const Vector3<T>& before = m_before[index];
        moved = {double(now.x) - double(before.x), double(now.y) - double(before.y),
                 double(now.z) - double(before.z)};
    }
    const auto shifted = [&](Point3 p) {
        for (int axis = 0; axis < 3; ++axis)
            p[axis] += moved[axis];
        return p;
    };
    placed.centre = shifted(points->centre);
    if (points->kind == ElementKind::Sphere) {
        placed.round = true;
        placed.shape = {placed.centre, placed.centre, distance(shifted(points->rim), placed.centre)};
    } else if (points->kind == ElementKind::Capsule) {
        placed.round = true;
        placed.shape = {shifted(points->a), shifted(points->b), 0};
        placed.shape.radius = distance(shifted(points->rim), placed.shape.b);
    }
    return placed;
}

template <typename T>
uint32 ContactRecorder<T>::otherName(std::string name) {
    m_otherNames.push_back(std::move(name));
    return static_cast<uint32>(m_bodies.size() + m_otherNames.size() - 1);
}

template <typename T>
uint32 ContactRecorder<T>::nameOf(std::size_t index, IElement* element) {
    if (index != kNoBody)
        return static_cast<uint32>(index);
    if (const auto found = m_elementNames.find(element); found != m_elementNames.end())
        return found->second;
    auto* shaped = dynamic_cast<Element3D<T>*>(element);
    const uint32 number =
        otherName(shaped != nullptr && !shaped->getName().isEmpty() ? shaped->getName().c_str()
                                                                    : "an element without a name");
    m_elementNames.emplace(element, number);
    return number;
}

template <typename T>
ContactEntry ContactRecorder<T>::pairPoint(std::size_t index1, IElement* body1, IElement* element1,
                                           std::size_t index2, IElement* body2, IElement* element2,
                                           const Vector3<T>& normal, T depth, const Vector3<T>* at1,
                                           const Vector3<T>* at2) const {
    const Placed first = place(index1, body1, element1, at1), second = place(index2, body2, element2, at2);
    const Point3 n = normalOf(normal, 1);
    Point3 point;
    if (first.round)
        point = contactPoint(first.shape, n, double(depth), second.round ? &second.shape : nullptr,
                             second.centre);
    else if (second.round)
        point = contactPoint(second.shape, normalOf(normal, -1), double(depth), nullptr, first.centre);
    else
        point = {(first.centre[0] + second.centre[0]) / 2, (first.centre[1] + second.centre[1]) / 2,
                 (first.centre[2] + second.centre[2]) / 2};
    return {0, 0, n, double(depth), point};
}

template <typename T>
ContactEntry ContactRecorder<T>::pairEntry(IElement* body1, IElement* element1, IElement* body2,
                                           IElement* element2, const Vector3<T>& normal, T depth,
                                           const Vector3<T>* at1, const Vector3<T>* at2) {
    const std::size_t index1 = indexOf(body1), index2 = indexOf(body2);
    ContactEntry entry = pairPoint(index1, body1, element1, index2, body2, element2, normal, depth, at1, at2);
    entry.first = nameOf(index1, element1);
    entry.second = nameOf(index2, element2);
    return entry;
}

template <typename T>
void ContactRecorder<T>::pair(IElement* body1, IElement* element1, IElement* body2, IElement* element2,
                              const Vector3<T>& normal, T depth) {
    m_contacts.push_back(pairEntry(body1, element1, body2, element2, normal, depth, nullptr, nullptr));
}

template <typename T>
uint32 ContactRecorder<T>::faceName(IObject* stage, uint32 cell, uint32 faceKind, uint32 segment) {
    const std::tuple<const IObject*, uint32, uint32, uint32> key{stage, cell, faceKind, segment};
    if (const auto found = m_faceNames.find(key); found != m_faceNames.end())
        return found->second;
    const auto* grid = dynamic_cast<const GridStage<T>*>(stage);
    std::string name = grid != nullptr && !grid->getName().isEmpty() ? grid->getName().c_str() : "grid stage";
    name += faceKind == 0   ? ": floor"
            : faceKind == 1 ? ": ceiling"
                            : ": " + std::string(kSegments[segment & 3]) + "wall";
    if (faceKind >= 2)
        name += " on side " + std::to_string(faceKind - 2);
    name += " of cell " + std::to_string(cell);
    const uint32 number = otherName(std::move(name));
    m_faceNames.emplace(key, number);
    return number;
}

template <typename T>
ContactEntry ContactRecorder<T>::facePoint(std::size_t index, IElement* body, IElement* element,
                                           IObject* stage, uint32 cell, uint32 faceKind, uint32 segment,
                                           const Vector3<T>& normal, T depth, const Vector3<T>* at) const {
    const Placed placed = place(index, body, element, at);
    // The face's centre stands for the face where a capsule lies along it (faces may move).
    Point3 centre{};
    SceneryFace found{};
    if (placed.round && placed.shape.a != placed.shape.b)
        if (const auto* grid = dynamic_cast<const GridStage<T>*>(stage);
            grid != nullptr && gridStageFace(*grid, cell, faceKind, segment, found))
            for (const auto& corner : found.corners)
                for (int axis = 0; axis < 3; ++axis)
                    centre[axis] += corner[axis] / double(found.corners.size());
    const Point3 towardsFace = normalOf(normal, -1);
    const Point3 point = placed.round
                             ? contactPoint(placed.shape, towardsFace, double(depth), nullptr, centre)
                             : placed.centre;
    return {0, 0, towardsFace, double(depth), point};
}

template <typename T>
ContactEntry ContactRecorder<T>::faceEntry(IElement* body, IElement* element, IObject* stage, uint32 cell,
                                           uint32 faceKind, uint32 segment, const Vector3<T>& normal, T depth,
                                           const Vector3<T>* at) {
    const std::size_t index = indexOf(body);
    ContactEntry entry = facePoint(index, body, element, stage, cell, faceKind, segment, normal, depth, at);
    entry.first = nameOf(index, element);
    entry.second = faceName(stage, cell, faceKind, segment);
    return entry;
}

template <typename T>
void ContactRecorder<T>::face(IElement* body, IElement* element, IObject* stage, uint32 cell, uint32 faceKind,
                              uint32 segment, const Vector3<T>& normal, T depth) {
    m_contacts.push_back(faceEntry(body, element, stage, cell, faceKind, segment, normal, depth, nullptr));
}

template <typename T>
void ContactRecorder<T>::clear(uint64 expected) {
    m_contacts.clear();
    // Room for as many contacts as expected and half as many more, made only when the room is
    // short (room that is not touched costs no memory): a list made again copies into new memory
    // beside the old.
    if (m_contacts.capacity() < expected)
        m_contacts.reserve(expected + expected / 2);
    m_listed = nullptr;
    m_listedCount = 0;
    m_seconds.clear();
    m_madeAtOnce.clear();
}

template <typename T>
void ContactRecorder<T>::listed(const ListedContact<T>* contacts, uint64 count) {
    m_listed = contacts;
    m_listedCount = count;
    if (m_seconds.capacity() < count)
        m_seconds.reserve(count + count / 2);
    // Most contacts are between rigid bodies that are their own shapes, or of a sphere on a face:
    // their points need only the bodies' points noted as the stage began and the list itself.
    // The others read host objects that the next steps change, so they are made now.
    const auto madeAtOnce = [&](const ContactEntry& entry) {
        m_seconds.push_back(kMadeAtOnce + static_cast<uint32>(m_madeAtOnce.size()));
        m_madeAtOnce.push_back(entry);
    };
    for (const ListedContact<T>* contact = contacts; contact != contacts + count; ++contact) {
        const std::size_t index1 = indexOf(contact->body1);
        const bool own1 = index1 != kNoBody && contact->element1 == contact->body1;
        if (contact->gridStage != nullptr) {
            if (own1 && m_unmoved[index1].kind != ElementKind::Capsule)
                m_seconds.push_back(
                    faceName(contact->gridStage, contact->cell, contact->faceKind, contact->segment));
            else
                madeAtOnce(faceEntry(contact->body1, contact->element1, contact->gridStage, contact->cell,
                                     contact->faceKind, contact->segment, contact->normal, contact->depth,
                                     &contact->position1));
            continue;
        }
        const std::size_t index2 = indexOf(contact->body2);
        if (own1 && index2 != kNoBody && contact->element2 == contact->body2)
            m_seconds.push_back(static_cast<uint32>(index2));
        else
            madeAtOnce(pairEntry(contact->body1, contact->element1, contact->body2, contact->element2,
                                 contact->normal, contact->depth, &contact->position1, &contact->position2));
    }
}

template <typename T>
std::size_t ContactRecorder<T>::size() const {
    return m_listed != nullptr ? m_listedCount : m_contacts.size();
}

template <typename T>
void ContactRecorder<T>::entries(std::size_t first, std::size_t count,
                                 std::vector<ContactEntry>& records) const {
    if (m_listed == nullptr) {
        records.insert(records.end(), m_contacts.begin() + first, m_contacts.begin() + first + count);
        return;
    }
    // A body's contacts come one after another.
    std::pair<const IElement*, std::size_t> last{nullptr, kNoBody};
    for (std::size_t at = first; at != first + count; ++at) {
        const uint32 number2 = m_seconds[at];
        if (number2 >= kMadeAtOnce) {
            records.push_back(m_madeAtOnce[number2 - kMadeAtOnce]);
            continue;
        }
        const ListedContact<T>& contact = m_listed[at];
        if (contact.body1 != last.first)
            last = {contact.body1, bodyIndex(contact.body1)};
        const std::size_t number1 = last.second;
        ContactEntry entry = contact.gridStage != nullptr
                                 ? facePoint(number1, contact.body1, contact.element1, contact.gridStage,
                                             contact.cell, contact.faceKind, contact.segment, contact.normal,
                                             contact.depth, &contact.position1)
                                 : pairPoint(number1, contact.body1, contact.element1, number2, contact.body2,
                                             contact.element2, contact.normal, contact.depth,
                                             &contact.position1, &contact.position2);
        entry.first = static_cast<uint32>(number1);
        entry.second = number2;
        records.push_back(entry);
    }
}

template class ContactRecorder<float>;
template class ContactRecorder<double>;

} // namespace zor::host
