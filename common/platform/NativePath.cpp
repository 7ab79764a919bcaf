#include "common/platform/NativePath.h"

#include "common/platform/Platform.h"

namespace zor::platform {

String splitNativePath(const String& path, String* directory) {
    // Separators are ASCII, and no byte of a multi-byte UTF-8 sequence is, so the bytes can be
    // searched whatever the text holds.
    const char* text = path.c_str();
    uint64 nameStart = path.length();
    while (nameStart > 0 &&
           !isPathSeparator(static_cast<WideChar>(static_cast<unsigned char>(text[nameStart - 1]))))
        --nameStart;
    if (directory != nullptr)
        directory->assign(text, nameStart);
    return String(text + nameStart, path.length() - nameStart);
}

} // namespace zor::platform
