// "Check for Quorvel Updates": asks the updater program in the working
// directory whether a newer version is posted and offers to end the program
// so the updater can install it. The updater does the network work and
// leaves its answer in a text file; we start it, give it ten seconds, read.
#pragma once

#include <string>

namespace qv {

struct Context;
struct DateTime;

inline constexpr const char* kUpdater = "trenvox.exe";
inline constexpr const char* kUpdaterNewCopy = "trenvoxXX.exe";
inline constexpr const char* kUpdaterAnswer = "trenvoxinstructions.txt";
inline constexpr const char* kUpdaterCheckOnly = "quorvelupdatecheckonly";
inline constexpr const char* kVersionMarker = ";QUORVEL VERSION:";

inline constexpr const char* kUpdateNoVersion =
    "Quorvel could not obtain the Version information of any updates. The web site may not contain this information "
    "at this time. Try again later.";
inline constexpr const char* kUpdateAvailableTitle = "UPDATE AVAILABLE   PROGRAM EXIT NOTICE";
inline constexpr const char* kUpdateAvailable =
    "UPDATE AVAILABLE: Choosing OK will END the Quorvel program session so it can be updated. You must also have a "
    "connection to the internet!   Continue?";
inline constexpr const char* kUpdateFailedTitle = "UPDATE FAILED";
inline constexpr const char* kUpdateFailedTail =
    ": Quorvel cannot access the update information. You must be connected to the internet to perform this "
    "function. If it continues to fail, contact us.";

class UpdateCheck {
public:
    static constexpr int kWaitSeconds = 10;
    static constexpr int kTickMs = 250;

    explicit UpdateCheck(Context& ctx) : ctx_(ctx) {}

    // Starts the check; with a countdown timer in the context the wait runs
    // from its ticks and the program keeps handling events meanwhile.
    void checkforupdates_Click();
    // "Force an Update NOW (even if I have new version)": not offered yet.
    void forceupdates_Click() {}

    bool checking() const { return checking_; }

    // Seconds since the start of year 1, so a wait across midnight ends on time.
    static long long secondsOf(const DateTime& t);

private:
    void tick();
    bool countdown(); // false once the wait is over
    void answer();
    void fail(int number);
    void enlargeStatus(bool on);

    Context& ctx_;
    bool checking_ = false;
    long long waitEnd_ = 0;
};

} // namespace qv
