// The keystroke notation against a table of scripts and the keys they type,
// including every script the map postings use.
#include "posting/KeystrokeScript.h"
#include "core/Failure.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(KeystrokeScript, ReadsEveryFormTheMapScriptsUse) {
    struct Case {
        const char* script;
        const char* keys;
    } cases[] = {
        {"%mi", "[ALT m ALT] i"},
        {"%fmm", "[ALT f ALT] m m"},
        {"%FL", "[ALT F ALT] L"},
        {"%SL", "[ALT S ALT] L"},
        {"+%(T)", "[SHIFT [ALT T ALT] SHIFT]"},
        {"%(w)", "[ALT w ALT]"},
        {"^+({TAB 2})", "[CTRL [SHIFT {TAB} {TAB} SHIFT] CTRL]"},
        {"+({TAB 4}) ", "[SHIFT {TAB} {TAB} {TAB} {TAB} SHIFT] ' '"},
        {"{TAB}aaa", "{TAB} a a a"},
        {"%(ONN)", "[ALT O N N ALT]"},
        {"{RIGHT 2}", "{RIGHT} {RIGHT}"},
        {"{ENTER}", "{ENTER}"},
        {"{F3}", "{F3}"},
        {"{F1}", "{F1}"},
        {"{f12}", "{F12}"},
        {"^n", "[CTRL n CTRL]"},
        {" ", "' '"},
        {"~", "{ENTER}"},
        {"{enter 0}", ""},
        {"", ""},
        {"{%}{+}{^}{~}", "% + ^ ~"},
        {"{{}{}}{(}{)}", "{ } ( )"},
        {"{} 2}", "} }"},
        {"{ }", "' '"},
        {"{a 3}", "a a a"},
        {"{BS}{DEL}{PGDN}", "{BACKSPACE} {DELETE} {PGDN}"},
        {"%{TAB}", "[ALT {TAB} ALT]"},
        {"%%a", "[ALT a ALT]"},
        {"a(bc)d", "a b c d"},
        {"%(a^(b)c)", "[ALT a [CTRL b CTRL] c ALT]"},
        {"[x]", "[ x ]"},
        {"\xc3\xa9t\xc3\xa9", "\xc3\xa9 t \xc3\xa9"},
    };
    for (const auto& c : cases) {
        try {
            EXPECT_EQ(keys::describe(keys::parse(c.script)), c.keys) << c.script;
        } catch (const Failure& f) {
            ADD_FAILURE() << "refused: " << c.script;
        }
    }
}

TEST(KeystrokeScript, UnreadableScriptsFailWithErrorFiveAndTypeNothing) {
    const char* cases[] = {
        "%",     "abc+",        "^%",          "(abc",    "abc)",     "%(a",       "{",    "{TAB",
        "{}",    "}",           "{NOSUCHKEY}", "{TAB x}", "{TAB 2x}", "{TAB }",    "{F0}", "{F17}",
        "{F01}", "a{TAB 1001}", "a}",          "abc%",    "{TAB -1}", "ok{bad}ok", "+)",
    };
    for (const char* s : cases) {
        try {
            auto events = keys::parse(s);
            ADD_FAILURE() << "accepted: " << s << " -> " << keys::describe(events);
        } catch (const Failure& f) {
            EXPECT_EQ(f.number(), 5) << s;
        }
    }
}

TEST(KeystrokeScript, LiteralTypesTextExactlyAsWritten) {
    const char* texts[] = {
        "/home/op/quorvel files (copy)/quorvelSA5now.txt",
        "C:\\Program Files\\quorvel\\100%+^~{x}[y].mxf",
        "",
        "plain",
    };
    for (const char* t : texts) {
        std::string typed;
        for (const auto& e : keys::parse(keys::literal(t))) {
            ASSERT_TRUE(e.name.empty()) << t; // no modifier, no named key
            if (e.down) typed += static_cast<char>(e.ch);
        }
        EXPECT_EQ(typed, t);
    }
}
