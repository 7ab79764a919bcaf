#include "host/io/DocumentFile.h"

#include "common/platform/LargeBlock.h"
#include "common/platform/Platform.h"
#include "host/io/DocumentFailure.h"
#include "host/io/DocumentLimits.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace zor::host {

namespace {

// Paths are UTF-8 whatever the system's code page.
std::filesystem::path pathOf(const String& path) {
    const std::string name = path.c_str();
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

} // namespace

bool readDocumentText(const String& path, std::string& text, std::uint64_t mostBytes) {
    constexpr const char* kFunction = "zor::host::readDocumentText";
    text.clear();
    errno = 0;
    std::FILE* file = platform::openFile(path, "rb");
    if (file == nullptr) {
        logDocumentFailure(kFunction, path, "the file", "expected a readable file, found: %s",
                           std::strerror(errno));
        return false;
    }
    // The text grows once to the file's size, not by doubling (a scene of 100,000 bodies is
    // 35 MB).
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(pathOf(path), sizeError);
    if (!sizeError && size <= mostBytes) {
        text.reserve(static_cast<std::size_t>(size));
        // Filled at once: a scene of 100,000 bodies otherwise takes 8,000 page faults.
        platform::adviseLargePages(text.data(), text.capacity());
    }
    char buffer[65536];
    std::size_t count = 0;
    bool tooLarge = false;
    while (!tooLarge && (count = std::fread(buffer, 1, sizeof buffer, file)) != 0) {
        tooLarge = text.size() + count > mostBytes;
        if (!tooLarge)
            text.append(buffer, count);
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (tooLarge) {
        logDocumentFailure(kFunction, path, "the file", "expected %llu bytes at most, found more",
                           static_cast<unsigned long long>(mostBytes));
        text.clear();
        return false;
    }
    if (failed) {
        logDocumentFailure(kFunction, path, "the file", "expected a readable file, found: %s",
                           std::strerror(error));
        text.clear();
        return false;
    }
    return true;
}

std::FILE* openDocumentPart(const String& path) {
    errno = 0;
    std::FILE* file = platform::openFile(path + String(".part"), "wb");
    if (file == nullptr)
        logDocumentFailure("zor::host::writeDocumentText", path, "the file",
                           "expected a writable file, found: %s", std::strerror(errno));
    return file;
}

bool finishDocumentPart(std::FILE* file, const String& path) {
    const bool written = std::ferror(file) == 0;
    int error = errno;
    const bool closed = std::fclose(file) == 0;
    // Buffered text meets a full disk only when it is flushed.
    if (written && !closed)
        error = errno;
    const std::filesystem::path from = pathOf(path + String(".part"));
    const std::filesystem::path to = pathOf(path);
    std::error_code renamed;
    if (written && closed)
        std::filesystem::rename(from, to, renamed);
    if (!written || !closed || renamed) {
        std::error_code ignored;
        std::filesystem::remove(from, ignored);
        logDocumentFailure("zor::host::writeDocumentText", path, "the file",
                           "expected a writable file, found: %s",
                           renamed ? renamed.message().c_str() : std::strerror(error));
        return false;
    }
    return true;
}

bool writeDocumentText(const String& path, const std::string& text) {
    std::FILE* file = openDocumentPart(path);
    if (file == nullptr)
        return false;
    std::fwrite(text.data(), 1, text.size(), file);
    return finishDocumentPart(file, path);
}

} // namespace zor::host
