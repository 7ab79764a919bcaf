#include "host/simulate/Trajectory.h"

#include <algorithm>
#include <charconv>

namespace zor::host {

namespace {

// A run of 100,000 bodies writes millions of rows: a row's numbers are written into one buffer
// and go into the rows at once, the same text as numberText gives.
constexpr std::size_t kMostNumberText = 32;

char* numberInto(char* text, double value, bool singlePrecision) {
    *text++ = ',';
    return (singlePrecision ? std::to_chars(text, text + kMostNumberText, static_cast<float>(value))
                            : std::to_chars(text, text + kMostNumberText, value))
        .ptr;
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
    char numbers[9 * (kMostNumberText + 1) + 1];
    for (std::size_t body = 0; body < bodies.size(); ++body) {
        rows += start;
        rows += bodies[body];
        char* end = numbers;
        for (const double* values : {state[body].position, state[body].rotation, state[body].linearSpeed})
            for (int axis = 0; axis < 3; ++axis)
                end = numberInto(end, values[axis], singlePrecision);
        *end++ = '\n';
        rows.append(numbers, end);
    }
}

std::string contactCsvHeader() {
    return "step,time,first,second,normalX,normalY,normalZ,depth,x,y,z\n";
}

void appendContactCsvRows(std::string& rows, std::uint64_t step, double time,
                          std::span<const ContactEntry> contacts, std::span<const std::string> names,
                          bool singlePrecision) {
    const std::string start = rowStart(step, time);
    char numbers[7 * (kMostNumberText + 1) + 1];
    for (const ContactEntry& contact : contacts) {
        rows += start;
        rows += names[contact.first];
        rows += ',';
        rows += names[contact.second];
        char* end = numbers;
        for (double value : contact.normal)
            end = numberInto(end, value, singlePrecision);
        end = numberInto(end, contact.depth, singlePrecision);
        for (double value : contact.point)
            end = numberInto(end, value, singlePrecision);
        *end++ = '\n';
        rows.append(numbers, end);
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
