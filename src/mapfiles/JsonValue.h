// A small JSON reader (RFC 8259) for reading the GeoJSON document back at
// start: the whole text must be one value, strings come back as UTF-8, and
// nesting deeper than a GeoJSON file ever needs is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::mapfile {

struct JsonMember;

struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<JsonValue> items;    // Array
    std::vector<JsonMember> members; // Object, in file order

    // The member of an object by name (the first of that name); nullptr when
    // absent or when this is no object.
    const JsonValue* get(std::string_view key) const;
    // The string of member `key`, "" when it is absent or no string.
    std::string text(std::string_view key) const;
};

struct JsonMember {
    std::string key;
    JsonValue value;
};

std::optional<JsonValue> parseJson(std::string_view doc);

} // namespace qv::mapfile
