// A small pull reader for the XML the GPX and KML documents are made of, used
// to read them back at start: elements, attributes and text with the five
// named entities and character references. Namespace prefixes are dropped
// (a reader that saved the file may have chosen others); comments,
// processing instructions and a DOCTYPE without internal subset are skipped.
// Anything malformed, including tags that do not nest, ends the reading with
// Error.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::mapfile {

class XmlScanner {
public:
    enum class Event { Start, End, Text, Done, Error };

    explicit XmlScanner(std::string_view doc) : doc_(doc) {}

    Event next();

    // Local name of the element of the last Start or End.
    const std::string& name() const { return name_; }
    // Attribute of the last Start by local name; "" when absent.
    std::string attribute(std::string_view local) const;
    // Decoded text of the last Text (CDATA included).
    const std::string& text() const { return text_; }
    std::size_t depth() const { return open_.size(); }

private:
    Event fail() { return state_ = Event::Error; }
    bool decode(std::string_view raw, std::string& out) const;
    Event startTag();
    Event endTag();

    std::string_view doc_;
    std::size_t pos_ = 0;
    Event state_ = Event::Text;
    bool rootSeen_ = false;
    bool pendingEnd_ = false; // an empty-element tag still owes its End
    std::string name_, text_;
    std::vector<std::pair<std::string, std::string>> attrs_;
    std::vector<std::string> open_;
};

// The local part of a qualified name.
std::string_view localName(std::string_view qname);

} // namespace qv::mapfile
