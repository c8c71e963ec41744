#pragma once

// Runs a test of this binary in a child process, on every platform: the
// test binary is started again with a filter naming that one test and
// arguments that the child test reads with ChildArgs(). A child test
// returns at once (skipped) when it runs without them, as in a normal run.

#include <cstdint>
#include <string>
#include <vector>

namespace knitcfg::test {

using ChildId = std::intptr_t;
constexpr ChildId kNoChild = -1;

// Starts the test `suiteAndName` ("Suite.Name") of this binary in a new
// process with `args`. kNoChild when it could not be started.
ChildId StartChildTest(const std::string& suiteAndName, const std::vector<std::string>& args);

// Whether StartChildTestAs can work here: false, with the reason, unless
// this process runs as root, setpriv is at hand and other users may run this
// binary (never on Windows).
bool CanStartChildAsUser(std::string* whyNot);

// As StartChildTest, the child running as user and group `uid` (numeric,
// no account needed) without supplementary groups, through setpriv.
ChildId StartChildTestAs(unsigned uid, const std::string& suiteAndName,
                         const std::vector<std::string>& args);

// Waits for a started child: 0 when its test passed, non-zero otherwise.
int WaitChildTest(ChildId child);

// Ends a started child at once, as a crash or power loss would (SIGKILL,
// TerminateProcess), and reaps it.
void KillChildTest(ChildId child);

// The arguments given to StartChildTest; empty when this process is not such
// a child.
std::vector<std::string> ChildArgs();

}  // namespace knitcfg::test
