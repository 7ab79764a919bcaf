#include "host/simulate/Trajectory.h"

#include "host/io/MarkupText.h"

#include <algorithm>

namespace zor::host {

namespace {

void appendTriple(std::string& row, const double (&values)[3], bool singlePrecision) {
    for (double value : values)
        row += "," + (singlePrecision ? numberText(static_cast<float>(value)) : numberText(value));
}

} // namespace

std::string trajectoryCsvHeader() {
    return "step,time,element,x,y,z,rotationX,rotationY,rotationZ,speedX,speedY,speedZ\n";
}

std::string trajectoryCsvRows(std::uint64_t step, double time, const std::vector<std::string>& bodies,
                              const std::vector<BodySample>& state, bool singlePrecision) {
    std::string rows;
    const std::string start = std::to_string(step) + "," + numberText(time) + ",";
    for (std::size_t body = 0; body < bodies.size(); ++body) {
        rows += start + csvText(bodies[body]);
        appendTriple(rows, state[body].position, singlePrecision);
        appendTriple(rows, state[body].rotation, singlePrecision);
        appendTriple(rows, state[body].linearSpeed, singlePrecision);
        rows += "\n";
    }
    return rows;
}

std::string contactCsvHeader() {
    return "step,time,first,second,normalX,normalY,normalZ,depth,x,y,z\n";
}

std::string contactCsvRows(std::uint64_t step, double time, const std::vector<ContactRecord>& contacts,
                           bool singlePrecision) {
    std::string rows;
    const std::string start = std::to_string(step) + "," + numberText(time) + ",";
    const auto text = [&](double value) {
        return "," + (singlePrecision ? numberText(static_cast<float>(value)) : numberText(value));
    };
    for (const ContactRecord& contact : contacts) {
        rows += start + csvText(contact.first) + "," + csvText(contact.second);
        for (double value : contact.normal)
            rows += text(value);
        rows += text(contact.depth);
        for (double value : contact.point)
            rows += text(value);
        rows += "\n";
    }
    return rows;
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
