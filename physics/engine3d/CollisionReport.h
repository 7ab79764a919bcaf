#pragma once

#include "physics/engine3d/ContactList.h"
#include "physics/engine3d/ContactTally.h"
#include "physics/engine3d/ICollisionReport.h"

namespace zor {

/// What the collision stages of one engine leave for its report, which it outlives.
struct StagesSeen {
    ContactTally<float> floatContacts;
    ContactTally<double> doubleContacts;
    /// The stages from the next one on list their contacts into the lists.
    bool listing = false;
    /// The stages that do not list leave the lists as the last listed stage left them.
    bool listKept = false;
    ContactList<float> floatListed;
    ContactList<double> doubleListed;
};

/// The engine's ICollisionReport: reads what its collision stages leave.
class CollisionReport final : public ICollisionReport {
public:
    /// A report on `seen`, one owner.
    static CollisionReport* create(StagesSeen& seen);

    ZOR_DELETING_DESTRUCTOR(CollisionReport)
    const GUID_t* getGUID() const override;
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;
    uint64 getContactCountFloat() const override;
    float getDeepestContactFloat() const override;
    uint64 getContactCountDouble() const override;
    double getDeepestContactDouble() const override;
    void setContactListing(bool listing) override;
    uint64 getListedContactCountFloat() const override;
    const ListedContact<float>* getListedContactsFloat() const override;
    uint64 getListedContactCountDouble() const override;
    const ListedContact<double>* getListedContactsDouble() const override;
    void setContactListKept(bool kept) override;

private:
    explicit CollisionReport(StagesSeen& seen) : m_seen(seen) {}
    ~CollisionReport() = default;

    StagesSeen& m_seen;
};

} // namespace zor
