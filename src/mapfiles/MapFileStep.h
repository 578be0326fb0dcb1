// What every family of the file-writing pass shares: the context, the status
// field and the guard that logs a failed statement and lets the pass go on.
#pragma once

#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "mapfiles/MapFileNames.h"
#include "platform/Ui.h"

#include <string>

namespace qv::mapfile {

class MapFileStep {
public:
    explicit MapFileStep(Context& ctx) : ctx_(ctx) {}

protected:
    // Shows the step in progress and lets pending window events run.
    void show(const std::string& text) {
        ctx_.st.marks.PGMmessage = text;
        ctx_.ui.refresh();
    }
    template <class Fn> bool guarded(Fn&& fn) { return ctx_.log.guard(kSavefilesMarker, std::forward<Fn>(fn)); }

    Station& st() { return ctx_.st; }
    const WorkDir& dir() { return ctx_.dir; }

    Context& ctx_;
};

} // namespace qv::mapfile
