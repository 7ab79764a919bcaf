#include "common/path/Path2DCommand.h"

#include "common/containers/String.h"
#include "common/framework/IVariableWriter.h"

#include <type_traits>

namespace zor {

template <typename T>
RefCountedData* Path2DCommand<T>::create() const {
    return new Path2DCommand();
}

template <typename T>
void Path2DCommand<T>::reset() {}

template <typename T>
const String& Path2DCommand<T>::getTypeName() const {
    static const String name(std::is_same_v<T, float> ? "Path2DCommand{float}" : "Path2DCommand{double}");
    return name;
}

template <typename T>
uint8 Path2DCommand<T>::getCommandType() const {
    return 0;
}

template <typename T>
VariableReference* Path2DCommand<T>::getVariableReference(const String&) {
    return nullptr;
}

template <typename T>
bool Path2DCommand<T>::read(IVariableReader*) {
    return true;
}

template <typename T>
bool Path2DCommand<T>::write(IVariableWriter* writer, bool, uint64) {
    writer->isSinglePass();
    return true;
}

template class Path2DCommand<float>;
template class Path2DCommand<double>;

} // namespace zor
