#pragma once

#include "host/simulate/Simulation.h"

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace zor::host {

/// What a run writes besides its summary (the steps it records are SimulationSettings').
struct RecordSettings {
    bool csv = true;
    bool svg = true;
    bool replay = true;
    /// The frames the pictures keep at most (see Trajectory).
    std::size_t mostFrames = 1000;
};

/// The records of a run in its output folder, written as the run goes: the CSV files stream
/// the rows of the steps recorded in full to disk on a thread of their own while the run goes
/// on (a step's rows are written before the next recorded step's), the pictures keep a bounded
/// number of their frames, and summary.json is opened before the first step so that a folder
/// that cannot be written is found out at once. A run that stops after a step not recorded in full ends its
/// trajectories (and pictures) with that step, without its contacts, which were only counted.
class RunRecords final : public RunObserver {
public:
    RunRecords(std::string folder, const RecordSettings& settings);
    ~RunRecords();
    RunRecords(const RunRecords&) = delete;
    RunRecords& operator=(const RunRecords&) = delete;

    /// Creates the folder and opens its files for writing, before any step. False with the
    /// reason (the system's own) in `error`; a folder path naming an existing file is refused.
    bool open(std::string& error);

    void start(const RunStart& start) override;
    void gathering() override;
    void step(const StepRecord& record) override;
    void finish(const RunEnd& end) override;

    /// Writes the pictures that were asked for, under `title`, with `note` (why a run stopped
    /// early, or empty) shown under it, then `summary` as summary.json, and closes the CSV.
    /// Each path written is appended to `written`; false with `error` at the first failure.
    bool write(const std::string& title, const std::string& note, const std::string& summary,
               std::vector<std::string>& written, std::string& error);

    /// The folder's path with a separator, for the files written beside these.
    const std::string& folder() const { return m_folder; }

private:
    void writeBodyRows(uint64 step, double time, const std::vector<BodySample>& bodies);
    /// Writes the rows of the step handed to the writer.
    void writeRecorded();
    /// Waits until the writer has written the step handed to it.
    void waitForWriter();

    std::string m_folder;
    RecordSettings m_settings;
    std::FILE* m_csv = nullptr;
    std::FILE* m_contacts = nullptr;
    std::FILE* m_summary = nullptr;
    /// The CSV text on its way to a file.
    std::string m_rows;
    /// The bodies' names, then the other parties' names, as the CSV files hold them.
    std::vector<std::string> m_csvNames;
    std::size_t m_bodyCount = 0;
    /// The step the writer writes, with its state and its contacts.
    std::thread m_writer;
    uint64 m_writtenStep = 0;
    double m_writtenTime = 0;
    std::vector<BodySample> m_writtenBodies;
    const StepContacts* m_writtenContacts = nullptr;
    /// The records of one slice of its contacts.
    std::vector<ContactEntry> m_slice;
    /// Kept for the pictures only.
    Trajectory m_trajectory;
    /// The last step seen: the pictures and the CSV end with it.
    uint64 m_lastStep = 0;
    double m_lastTime = 0;
    bool m_lastRecorded = true;
    /// The contacts the pictures keep of the last step, when it was recorded in full.
    std::vector<ContactRecord> m_lastContacts;
};

} // namespace zor::host
