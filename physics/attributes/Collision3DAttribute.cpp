#include "physics/attributes/Collision3DAttribute.h"

#include "common/log/Log.h"
#include "common/object/Identifiers.h"

namespace zor {

template <typename T>
Collision3DAttribute<T>::Collision3DAttribute() {
    this->initObjectInterface();
    m_reserved = new Collision3DAttributeReserved<T>(this);
}

template <typename T>
Collision3DAttribute<T>::~Collision3DAttribute() {
    this->resetObjects();
    m_reserved->destroy();
}

template <typename T>
void Collision3DAttribute<T>::copy(const IObject* p_src) {
    this->copyLevels(m_reserved, p_src);
}

template <typename T>
IObject* Collision3DAttribute<T>::clone() const {
    auto* copied = new Collision3DAttribute();
    copied->copy(this);
    return copied;
}

template <typename T>
void Collision3DAttribute<T>::reset() {
    this->resetEventAttribute();
}

template <typename T>
const String& Collision3DAttribute<T>::getTypeName() const {
    static const String typeName(std::is_same_v<T, float> ? "Collision3DAttribute{float}"
                                                          : "Collision3DAttribute{double}");
    return typeName;
}

template <typename T>
const GUID_t* Collision3DAttribute<T>::getGUID() const {
    return &guids::kCollision3DAttribute;
}

template <typename T>
bool Collision3DAttribute<T>::isTypeOf(const GUID_t& guid) const {
    return this->isTypeOfClass(guid, guids::kCollision3DAttribute);
}

template <typename T>
IObject* Collision3DAttribute<T>::castTo(const GUID_t& guid) {
    return this->castToClass(guid, guids::kCollision3DAttribute);
}

template <typename T>
bool Collision3DAttribute<T>::read(IObject* reader) {
    return this->readLevels(m_reserved, reader);
}

template <typename T>
bool Collision3DAttribute<T>::write(IObject* writer, uint8 typedMode, uint64 context) {
    return this->writeLevels(m_reserved, writer, typedMode, context);
}

template <typename T>
Collision3DAttributeReserved<T>* Collision3DAttribute<T>::getCollision3DAttributeReserved() {
    return m_reserved;
}

template <typename T>
void Collision3DAttribute<T>::copy_Backwards(const IObject* p_src) {
    zor_assert(p_src != NULL);
    this->copyEventLevel(p_src);
}

template class Collision3DAttribute<float>;
template class Collision3DAttribute<double>;

} // namespace zor
