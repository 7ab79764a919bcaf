#include "host/simulate/Trajectory.h"

#include "host/io/MarkupText.h"

#include <algorithm>
#include <charconv>

namespace zor::host {

namespace {

// A run of 100,000 bodies writes millions of rows: numbers and names go straight into the rows,
// the same text as numberText and csvText give.
void appendNumber(std::string& rows, double value, bool singlePrecision) {
    char buffer[64];
    const std::to_chars_result written =
        singlePrecision ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value))
                        : std::to_chars(buffer, buffer + sizeof buffer, value);
    rows += ',';
    rows.append(buffer, written.ptr);
}

void appendName(std::string& rows, const std::string& name) {
    const bool plain = std::all_of(name.begin(), name.end(),
                                   [](char c) { return c >= 0x20 && c < 0x7F && c != ',' && c != '"'; });
    if (plain)
        rows += name;
    else
        rows += csvText(name);
}

std::string rowStart(std::uint64_t step, double time) {
    return std::to_string(step) + "," + numberText(time) + ",";
}

} // namespace

std::string trajectoryCsvHeader() {
    return "step,time,element,x,y,z,rotationX,rotationY,rotationZ,speedX,speedY,speedZ\n";
}

void appendTrajectoryCsvRows(std::string& rows, std::uint64_t step, double time,
                             std::span<const std::string> bodies, std::span<const BodySample> state,
                             bool singlePrecision) {
    const std::string start = rowStart(step, time);
    for (std::size_t body = 0; body < bodies.size(); ++body) {
        rows += start;
        appendName(rows, bodies[body]);
        for (const double* values : {state[body].position, state[body].rotation, state[body].linearSpeed})
            for (int axis = 0; axis < 3; ++axis)
                appendNumber(rows, values[axis], singlePrecision);
        rows += '\n';
    }
}

std::string contactCsvHeader() {
    return "step,time,first,second,normalX,normalY,normalZ,depth,x,y,z\n";
}

void appendContactCsvRows(std::string& rows, std::uint64_t step, double time,
                          std::span<const ContactRecord> contacts, bool singlePrecision) {
    const std::string start = rowStart(step, time);
    for (const ContactRecord& contact : contacts) {
        rows += start;
        appendName(rows, contact.first);
        rows += ',';
        appendName(rows, contact.second);
        for (double value : contact.normal)
            appendNumber(rows, value, singlePrecision);
        appendNumber(rows, contact.depth, singlePrecision);
        for (double value : contact.point)
            appendNumber(rows, value, singlePrecision);
        rows += '\n';
    }
}

void Trajectory::offer(std::uint64_t step, double time, const std::vector<BodySample>& state,
                       const std::vector<ContactRecord>* stepContacts) {
    if (offered++ % stride == 0)
        keep(step, time, state, stepContacts);
}

void Trajectory::keep(std::uint64_t step, double time, const std::vector<BodySample>& state,
                      const std::vector<ContactRecord>* stepContacts) {
    if (!steps.empty() && steps.back() == step)
        return;
    if (times.size() >= mostFrames && mostFrames > 1) {
        // Every other frame goes, the first one stays.
        std::size_t kept = 0;
        for (std::size_t frame = 0; frame < times.size(); frame += 2, ++kept) {
            steps[kept] = steps[frame];
            times[kept] = times[frame];
            if (kept != frame)
                contacts[kept] = std::move(contacts[frame]);
            for (std::size_t body = 0; body < bodies.size(); ++body)
                samples[kept * bodies.size() + body] = samples[frame * bodies.size() + body];
        }
        steps.resize(kept);
        times.resize(kept);
        contacts.resize(kept);
        samples.resize(kept * bodies.size());
        stride *= 2;
    }
    steps.push_back(step);
    times.push_back(time);
    // A pile can touch in thousands of places per step: the pictures keep the first ones.
    std::vector<ContactRecord>& kept = contacts.emplace_back();
    if (stepContacts != nullptr)
        kept.assign(stepContacts->begin(),
                    stepContacts->begin() + std::min(stepContacts->size(), kMostContactsPerFrame));
    samples.insert(samples.end(), state.begin(), state.end());
}

} // namespace zor::host
