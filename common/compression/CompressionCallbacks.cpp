#include "common/compression/CompressionCallbacks.h"

#include "common/application/ApplicationData.h"
#include "common/log/Log.h"

namespace zor {
namespace {

template <typename Callback>
void addCallback(HashMap<String, List<Callback>*>& lists, ReadWriteLock& lock, const String& formats,
                 Callback callback) {
    List<String> names;
    formats.split(names);
    ScopedReadWriteLock guard(lock, ScopedReadWriteLock::Exclusive);
    for (const String& name : names) {
        List<Callback>* list;
        if (auto found = lists.find(name); found.entry() != nullptr) {
            list = found->m_second;
        } else {
            list = new List<Callback>();
            if (!lists.insertFront(name, list)) {
                list->release();
                continue;
            }
        }
        list->pushFront(callback);
    }
}

template <typename Callback>
void releaseLists(HashMap<String, List<Callback>*>& lists) {
    for (auto& entry : lists)
        entry.m_second->release();
    lists.clear();
}

} // namespace

void releaseCompressionCallbacks(ApplicationData& record) {
    ScopedReadWriteLock guard(record.m_compressionLock, ScopedReadWriteLock::Exclusive);
    releaseLists(record.m_compressDataCallbacks);
    releaseLists(record.m_decompressDataCallbacks);
}

} // namespace zor

void zor_addCompressDataCallback(const zor::String& formats, zor::CompressDataCallback callback) {
    zor::ApplicationData* record = zor::applicationData();
    if (record == nullptr) {
        zor_log(ZOR_LOG_MODULE, false, zor::LogLevelWarn, "zor_addCompressDataCallback",
                "Application data is NULL, cannot add compressData callback for formats: %s",
                formats.c_str());
        return;
    }
    zor::addCallback(record->m_compressDataCallbacks, record->m_compressionLock, formats, callback);
}

void zor_addDecompressDataCallback(const zor::String& formats, zor::DecompressDataCallback callback) {
    zor::ApplicationData* record = zor::applicationData();
    if (record == nullptr) {
        zor_log(ZOR_LOG_MODULE, false, zor::LogLevelWarn, "zor_addDecompressDataCallback",
                "Application data is NULL, cannot add decompressData callback for formats: %s",
                formats.c_str());
        return;
    }
    zor::addCallback(record->m_decompressDataCallbacks, record->m_compressionLock, formats, callback);
}
