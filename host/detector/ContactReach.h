#pragma once

#include "common/framework/ICollisionReach.h"
#include "common/object/Identifiers.h"
#include "host/core/HostObject.h"

namespace zor {

/// The reach a collision detector declares (see ICollisionReach), handed out by the detector's
/// castTo for guids::kCollisionReach and owned by the detector.
class ContactReach final : public HostObjectOf<ICollisionReach> {
public:
    explicit ContactReach(double reach) : m_reach(reach) {}
    ZOR_DELETING_DESTRUCTOR(ContactReach)
    bool isTypeOf(const GUID_t& guid) const override {
        return guid == guids::kCollisionReach || HostObjectOf<ICollisionReach>::isTypeOf(guid);
    }
    double getContactReach() const override { return m_reach; }

private:
    double m_reach;
};

} // namespace zor
