#pragma once

#include "physics/engine3d/ContactTally.h"
#include "physics/engine3d/ICollisionReport.h"

namespace zor {

/// The engine's ICollisionReport: reads the tallies its collision stages leave, which outlive it.
class CollisionReport final : public ICollisionReport {
public:
    /// A report on `floats` and `doubles`, one owner.
    static CollisionReport* create(const ContactTally<float>& floats, const ContactTally<double>& doubles);

    ZOR_DELETING_DESTRUCTOR(CollisionReport)
    const GUID_t* getGUID() const override;
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;
    uint64 getContactCountFloat() const override;
    float getDeepestContactFloat() const override;
    uint64 getContactCountDouble() const override;
    double getDeepestContactDouble() const override;

private:
    CollisionReport(const ContactTally<float>& floats, const ContactTally<double>& doubles);
    ~CollisionReport() = default;

    const ContactTally<float>& m_floats;
    const ContactTally<double>& m_doubles;
};

} // namespace zor
