// The line classifier: normalises one received line, finds the station, picks
// the report kind, runs one decoder and either drops the report or sends it
// down the pipeline of slot, colour, time, records, coordinates and files.
#pragma once

#include "core/Colour.h"

#include <string>
#include <string_view>

namespace qv {

struct Context;

inline constexpr const char* kGpwgtScratch = "quorvelGPWGT.txt";
inline constexpr const char* kGpwplScratch = "quorvelGPWPL.txt";
inline constexpr const char* kMessagesFile = "quorvelmessages.txt";
inline constexpr const char* kCompressedFile = "quorvelAPRScompressed.txt";

class Classifier {
public:
    explicit Classifier(Context& ctx) : ctx_(ctx) {}

    void inspectdataline();

    // Whether the line is an APRS message: its information field is ":", a
    // nine-character addressee and ":".
    static bool isAprsMessage(std::string_view dataline);

private:
    void normalise();
    bool stationIdentifier(); // false: the line is ignored
    bool sentenceField(std::size_t count, std::string& field);
    bool writeScratch(const char* file);
    void badStation(bool fieldsRead);
    void reportKind();
    void indicator(std::string_view caption, std::uint32_t rrggbb);
    void clearPosition();
    void objectOrItem(const std::string& info, const std::string& payload80);
    void message();
    void postDecode();
    void drop();
    void bell();
    void bellIfSoundOn();
    bool guard(auto&& step);

    Context& ctx_;
    bool gpwplWritten_ = false; // quorvelGPWPL.txt holds the current line
};

} // namespace qv
