#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <vector>

namespace zor::host {

/// Builds one value from a parser's events, as the parser's own builder does (a repeated key
/// keeps its first place and takes the last value), but makes each object and array only once
/// its members are all known, with room for exactly them: an ordered object grown member by
/// member copies every member before, deeply. Its scratch room is kept from value to value.
class JsonValueBuilder {
public:
    using Json = nlohmann::ordered_json;

    /// Starts a value that will be left in `root`.
    void start(Json& root) {
        m_root = &root;
        m_open.clear();
        m_keys.clear();
        m_values.clear();
    }

    bool null() { return put(Json()); }
    bool boolean(bool value) { return put(Json(value)); }
    bool number_integer(Json::number_integer_t value) { return put(Json(value)); }
    bool number_unsigned(Json::number_unsigned_t value) { return put(Json(value)); }
    bool number_float(Json::number_float_t value, const Json::string_t&) { return put(Json(value)); }
    bool string(Json::string_t& value) { return put(Json(value)); }
    bool binary(Json::binary_t& value) { return put(Json::binary(std::move(value))); }
    bool start_object(std::size_t) { return open(true); }
    bool start_array(std::size_t) { return open(false); }
    bool key(Json::string_t& key) {
        m_keys.push_back(key);
        return true;
    }
    bool end_object() {
        const Open open = m_open.back();
        m_open.pop_back();
        Json object(Json::value_t::object);
        auto& members = *object.get_ptr<Json::object_t*>();
        members.reserve(m_values.size() - open.firstValue);
        for (std::size_t i = 0; open.firstValue + i < m_values.size(); ++i)
            members[m_keys[open.firstKey + i]] = std::move(m_values[open.firstValue + i]);
        m_keys.resize(open.firstKey);
        m_values.resize(open.firstValue);
        return put(std::move(object));
    }
    bool end_array() {
        const Open open = m_open.back();
        m_open.pop_back();
        Json array(Json::value_t::array);
        auto& items = *array.get_ptr<Json::array_t*>();
        items.reserve(m_values.size() - open.firstValue);
        for (std::size_t i = open.firstValue; i < m_values.size(); ++i)
            items.push_back(std::move(m_values[i]));
        m_values.resize(open.firstValue);
        return put(std::move(array));
    }

private:
    struct Open {
        std::size_t firstKey;
        std::size_t firstValue;
    };

    bool open(bool object) {
        m_open.push_back({object ? m_keys.size() : 0, m_values.size()});
        return true;
    }
    bool put(Json&& value) {
        if (m_open.empty())
            *m_root = std::move(value);
        else
            m_values.push_back(std::move(value));
        return true;
    }

    Json* m_root = nullptr;
    std::vector<Open> m_open;
    std::vector<std::string> m_keys;
    std::vector<Json> m_values;
};

} // namespace zor::host
