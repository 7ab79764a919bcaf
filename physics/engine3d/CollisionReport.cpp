#include "physics/engine3d/CollisionReport.h"

namespace zor {

CollisionReport* CollisionReport::create(StagesSeen& seen) {
    auto* report = new CollisionReport(seen);
    report->initObjectInterface();
    return report;
}

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
    return m_seen.floatContacts.count;
}

float CollisionReport::getDeepestContactFloat() const {
    return m_seen.floatContacts.deepest;
}

uint64 CollisionReport::getContactCountDouble() const {
    return m_seen.doubleContacts.count;
}

double CollisionReport::getDeepestContactDouble() const {
    return m_seen.doubleContacts.deepest;
}

void CollisionReport::setContactListing(bool listing) {
    m_seen.listing = listing;
}

uint64 CollisionReport::getListedContactCountFloat() const {
    return m_seen.floatListed.size();
}

const ListedContact<float>* CollisionReport::getListedContactsFloat() const {
    return m_seen.floatListed.empty() ? nullptr : m_seen.floatListed.data();
}

uint64 CollisionReport::getListedContactCountDouble() const {
    return m_seen.doubleListed.size();
}

const ListedContact<double>* CollisionReport::getListedContactsDouble() const {
    return m_seen.doubleListed.empty() ? nullptr : m_seen.doubleListed.data();
}

void CollisionReport::setContactListKept(bool kept) {
    m_seen.listKept = kept;
}

} // namespace zor
