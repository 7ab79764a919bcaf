#include "host/simulate/RunRecords.h"

#include "common/containers/String.h"
#include "common/platform/Platform.h"
#include "host/io/MarkupText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

namespace zor::host {

namespace {

// A path from UTF-8 text, whatever the system's code page.
std::filesystem::path pathOf(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::FILE* openForWriting(const std::string& path, std::string& error) {
    errno = 0;
    std::FILE* file = platform::openFile(String(path.c_str()), "wb");
    if (file == nullptr)
        error = "cannot write " + path + ": " + std::strerror(errno != 0 ? errno : EIO);
    return file;
}

// Writes and closes `file`; false with the system's reason.
bool closeWritten(std::FILE*& file, const std::string& path, std::string& error) {
    const bool failed = std::ferror(file) != 0;
    errno = 0;
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    if (!failed && closed)
        return true;
    error = "cannot write " + path + ": " + std::strerror(errno != 0 ? errno : EIO);
    return false;
}

// A step's rows go out a slice at a time through one buffer, so that a step of a million
// contacts needs no more than a megabyte of text at once.
constexpr std::size_t kRowsPerSlice = 8192;

template <typename Item, typename Append>
void writeRows(std::FILE* file, std::string& buffer, std::span<const Item> items, Append append) {
    for (std::size_t first = 0; first < items.size(); first += kRowsPerSlice) {
        buffer.clear();
        append(buffer, first, items.subspan(first, std::min(kRowsPerSlice, items.size() - first)));
        std::fwrite(buffer.data(), 1, buffer.size(), file);
    }
}

bool writeFile(const std::string& path, const std::string& text, std::string& error) {
    std::FILE* file = openForWriting(path, error);
    if (file == nullptr)
        return false;
    std::fwrite(text.data(), 1, text.size(), file);
    return closeWritten(file, path, error);
}

} // namespace

RunRecords::RunRecords(std::string folder, const RecordSettings& settings)
    : m_folder(std::move(folder)), m_settings(settings) {
    if (m_folder.empty() || (m_folder.back() != '/' && m_folder.back() != '\\'))
        m_folder += '/';
    m_trajectory.mostFrames = settings.mostFrames;
}

RunRecords::~RunRecords() {
    waitForWriter();
    for (std::FILE* file : {m_csv, m_contacts, m_summary})
        if (file != nullptr)
            std::fclose(file);
}

bool RunRecords::open(std::string& error) {
    const std::string folder = m_folder.substr(0, m_folder.size() - 1);
    std::error_code status;
    if (std::filesystem::exists(pathOf(folder), status) &&
        !std::filesystem::is_directory(pathOf(folder), status)) {
        error = folder + " is a file, not a folder";
        return false;
    }
    std::error_code created;
    std::filesystem::create_directories(pathOf(folder), created);
    if (created) {
        error = "cannot create the folder " + folder + ": " + created.message();
        return false;
    }
    m_summary = openForWriting(m_folder + "summary.json", error);
    if (m_summary != nullptr && m_settings.csv)
        m_csv = openForWriting(m_folder + "trajectories.csv", error);
    if (m_csv != nullptr)
        m_contacts = openForWriting(m_folder + "contacts.csv", error);
    return m_summary != nullptr && ((m_csv != nullptr && m_contacts != nullptr) || !m_settings.csv);
}

void RunRecords::start(const RunStart& start) {
    // The pictures' copies of the bodies' names and shapes are made only for pictures.
    if (m_settings.svg || m_settings.replay)
        startTrajectory(start, m_trajectory);
    m_trajectory.singlePrecision = start.singlePrecision;
    m_bodyCount = start.bodies.size();
    m_csvNames.clear();
    for (const std::string& name : start.bodies)
        m_csvNames.push_back(csvText(name));
    if (m_csv != nullptr)
        std::fputs(trajectoryCsvHeader().c_str(), m_csv);
    if (m_contacts != nullptr)
        std::fputs(contactCsvHeader().c_str(), m_contacts);
}

void RunRecords::writeBodyRows(uint64 step, double time, const std::vector<BodySample>& bodies) {
    writeRows(m_csv, m_rows, std::span(bodies),
              [&](std::string& rows, std::size_t first, std::span<const BodySample> slice) {
                  appendTrajectoryCsvRows(rows, step, time,
                                          std::span(m_csvNames).subspan(first, slice.size()), slice,
                                          m_trajectory.singlePrecision);
              });
}

void RunRecords::writeRecorded() {
    writeBodyRows(m_writtenStep, m_writtenTime, m_writtenBodies);
    const std::size_t count = m_writtenContacts->size();
    for (std::size_t first = 0; first < count; first += kRowsPerSlice) {
        m_slice.clear();
        m_writtenContacts->entries(first, std::min(kRowsPerSlice, count - first), m_slice);
        m_rows.clear();
        appendContactCsvRows(m_rows, m_writtenStep, m_writtenTime, m_slice, m_csvNames,
                             m_trajectory.singlePrecision);
        std::fwrite(m_rows.data(), 1, m_rows.size(), m_contacts);
    }
    m_writtenContacts = nullptr;
}

void RunRecords::waitForWriter() {
    if (m_writer.joinable())
        m_writer.join();
}

void RunRecords::gathering() {
    waitForWriter();
}

void RunRecords::step(const StepRecord& record) {
    m_lastStep = record.step;
    m_lastTime = record.time;
    m_lastRecorded = record.contactList != nullptr;
    if (!m_lastRecorded)
        return;
    if (m_settings.svg || m_settings.replay) {
        std::vector<ContactRecord> contacts =
            namedContacts(record, m_trajectory.bodies, kMostContactsPerFrame);
        m_trajectory.offer(record.step, record.time, record.bodies, &contacts);
        m_lastContacts = std::move(contacts);
    }
    if (m_csv == nullptr)
        return;
    // The writer has the names, the state and the contacts to itself until it is done.
    waitForWriter();
    for (std::size_t other = m_csvNames.size() - m_bodyCount; other < record.otherNames->size(); ++other)
        m_csvNames.push_back(csvText((*record.otherNames)[other]));
    m_writtenStep = record.step;
    m_writtenTime = record.time;
    m_writtenBodies.assign(record.bodies.begin(), record.bodies.end());
    m_writtenContacts = record.contactList;
    // A thread of its own pays for itself only when there are many rows; without one (the
    // system has none to give) the rows are written here.
    if (m_writtenBodies.size() + m_writtenContacts->size() >= kRowsPerSlice) {
        try {
            m_writer = std::thread([this] { writeRecorded(); });
            return;
        } catch (const std::system_error&) {
        }
    }
    writeRecorded();
}

void RunRecords::finish(const RunEnd& end) {
    waitForWriter();
    if (m_settings.svg || m_settings.replay)
        m_trajectory.scenery = end.scenery;
    if (end.bodies.empty())
        return;
    if (!m_lastRecorded) {
        m_lastContacts.clear();
        if (m_csv != nullptr)
            writeBodyRows(m_lastStep, m_lastTime, end.bodies);
    }
    // The pictures end where the run ended, whatever the thinning kept.
    if (m_settings.svg || m_settings.replay)
        m_trajectory.keep(m_lastStep, m_lastTime, end.bodies, &m_lastContacts);
}

bool RunRecords::write(const std::string& title, const std::string& note, const std::string& summary,
                       std::vector<std::string>& written, std::string& error) {
    waitForWriter();
    m_trajectory.note = note;
    if (m_csv != nullptr) {
        if (!closeWritten(m_csv, m_folder + "trajectories.csv", error))
            return false;
        written.push_back(m_folder + "trajectories.csv");
        if (!closeWritten(m_contacts, m_folder + "contacts.csv", error))
            return false;
        written.push_back(m_folder + "contacts.csv");
    }
    if (m_settings.svg) {
        if (!writeFile(m_folder + "picture.svg", trajectorySvg(m_trajectory, title), error))
            return false;
        written.push_back(m_folder + "picture.svg");
    }
    if (m_settings.replay) {
        if (!writeFile(m_folder + "replay.html", replayPage(m_trajectory, title), error))
            return false;
        written.push_back(m_folder + "replay.html");
    }
    if (m_summary == nullptr)
        return true;
    std::fwrite(summary.data(), 1, summary.size(), m_summary);
    if (!closeWritten(m_summary, m_folder + "summary.json", error))
        return false;
    written.push_back(m_folder + "summary.json");
    return true;
}

} // namespace zor::host
