#include "physics/engine3d/CollisionReport.h"

namespace zor {

CollisionReport* CollisionReport::create(const ContactTally<float>& floats,
                                         const ContactTally<double>& doubles) {
    auto* report = new CollisionReport(floats, doubles);
    report->initObjectInterface();
    return report;
}

CollisionReport::CollisionReport(const ContactTally<float>& floats, const ContactTally<double>& doubles)
    : m_floats(floats), m_doubles(doubles) {}

const GUID_t* CollisionReport::getGUID() const {
    return &guids::kCollisionReport;
}

bool CollisionReport::isTypeOf(const GUID_t& guid) const {
    return isTypeOfClass(guid, guids::kCollisionReport);
}

IObject* CollisionReport::castTo(const GUID_t& guid) {
    return castToClass(guid, guids::kCollisionReport);
}

uint64 CollisionReport::getContactCountFloat() const {
    return m_floats.count;
}

float CollisionReport::getDeepestContactFloat() const {
    return m_floats.deepest;
}

uint64 CollisionReport::getContactCountDouble() const {
    return m_doubles.count;
}

double CollisionReport::getDeepestContactDouble() const {
    return m_doubles.deepest;
}

} // namespace zor
