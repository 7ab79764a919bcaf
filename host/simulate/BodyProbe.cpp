#include "host/simulate/BodyProbe.h"

#include "host/io/JsonVariableWriter.h"

namespace zor::host {

bool readLinearSpeed(IObject* rigidBody, double (&speed)[3]) {
    auto* writer = new JsonVariableWriter(String("linearSpeed"));
    nlohmann::ordered_json variables = nlohmann::ordered_json::object();
    writer->setRoot(variables, "");
    const bool written = rigidBody->write(writer, 0, 0);
    writer->release();
    if (!written)
        return false;
    const auto node = variables.find("linearSpeed");
    if (node == variables.end() || !node->is_object())
        return false;
    const char* const names[] = {"x", "y", "z"};
    for (int i = 0; i < 3; ++i) {
        const auto component = node->find(names[i]);
        if (component == node->end() || !component->is_number())
            return false;
        speed[i] = component->get<double>();
    }
    return true;
}

} // namespace zor::host
