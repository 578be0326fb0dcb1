// The shared decoder failure ending.
#include "decoders/DecoderFailure.h"

#include "core/DateText.h"
#include "core/Station.h"
#include "core/WorkDir.h"
#include "platform/Clock.h"

namespace qv {

void decoderFailed(Context& ctx, const Failure& f, std::string_view marker) {
    ctx.log.entry(f, marker);
    if (f.number() == err::TypeMismatch) {
        try {
            ctx.dir.appendLines(kErrorFile,
                                {kNonCriticalNote + generalDate(ctx.clock.now()), ctx.st.report.incomingdata});
        } catch (...) {
            // The entry above already tells what went wrong; the mark below still drops the report.
        }
    }
    ctx.st.report.rawgpsdata.insert(0, "ERROR ");
}

} // namespace qv
