#include "host/simulate/RunProgress.h"

namespace zor::host {

void RunProgress::step(const StepRecord& record) {
    // The clock is read every 256 steps: a step can take well under a microsecond.
    if (record.step % 256 != 0)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_began < std::chrono::seconds(1) || now - m_shown < std::chrono::milliseconds(250))
        return;
    m_shown = now;
    m_showing = true;
    const double seconds = std::chrono::duration<double>(now - m_began).count();
    const double rate = static_cast<double>(record.step) / seconds;
    const double left = static_cast<double>(m_steps - record.step) / rate;
    std::fprintf(m_stream, "\r  step %llu of %llu, %.0f steps/s, %.0f s left   ",
                 static_cast<unsigned long long>(record.step), static_cast<unsigned long long>(m_steps), rate,
                 left);
    std::fflush(m_stream);
}

void RunProgress::finish(const RunEnd&) {
    if (m_showing)
        std::fprintf(m_stream, "\r%70s\r", "");
}

} // namespace zor::host
