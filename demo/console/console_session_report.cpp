#include "demo/console/console_session_report.h"

#include "demo/console/console_run.h"

#include <cstdio>

bool StartSessionReport(PollSession& session, CDemoCore& core, const PollbenchArgs& args) {
    std::string error;
    if (!args.reportDir.empty() && !session.OpenReport(args.reportDir, error)) {
        std::fprintf(stderr, "pollbench: %s\n", error.c_str());
        return false;
    }
    core.hooks.eventsRead = [&session](const PollCounts& counts) { session.OnEventsRead(counts); };
    return true;
}

int EndSessionReport(PollSession& session, CDemoCore& core, const PollbenchArgs& args) {
    core.hooks.eventsRead = nullptr;
    return FinishSessionReport(session, args);
}

int FinishSessionReport(PollSession& session, const PollbenchArgs& args) {
    Print("session:\n" + session.SummaryTable());
    std::string error;
    if (!session.FinishReport(error)) {
        std::fprintf(stderr, "pollbench: %s\n", error.c_str());
        return 1;
    }
    if (!args.reportDir.empty()) Print("report in " + args.reportDir + "\n");
    return 0;
}
