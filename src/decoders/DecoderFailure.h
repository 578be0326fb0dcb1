// The ending every position decoder shares when a step of it fails: the error
// entry, the note with the incoming line when a number did not read, and the
// "ERROR " mark that makes the classifier drop the report.
#pragma once

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Failure.h"

#include <exception>
#include <new>
#include <string_view>

namespace qv {

// Writes the entry for `f` with `marker`; for code 13 also the non-critical
// note and the incoming-data text. Marks `rawgpsdata` whatever the code: a
// decoder stopped half-way may have left the previous report's position in
// some fields, and such a report must never be accepted.
void decoderFailed(Context& ctx, const Failure& f, std::string_view marker);

// Runs a decoder body and ends in decoderFailed() on any failure inside it.
template <class Body> void runDecoder(Context& ctx, std::string_view marker, Body&& body) {
    try {
        body();
    } catch (const Failure& f) {
        decoderFailed(ctx, f, marker);
    } catch (const std::bad_alloc&) {
        decoderFailed(ctx, Failure(7), marker);
    } catch (const std::exception&) {
        decoderFailed(ctx, Failure(err::InvalidCall), marker);
    }
}

inline constexpr const char* kNonCriticalNote = "Non-Critical Quorvel error 13 in rawgpsdata string below...";

} // namespace qv
