#include "cli/SessionEnd.h"

#include "cli/HeadlessSession.h"

namespace corvane::cli {

namespace {
bool processEndsAfterCommand = false;
} // namespace

void endProcessAfterCommand() { processEndsAfterCommand = true; }

void finishSession(std::unique_ptr<HeadlessSession> session) {
    if (processEndsAfterCommand)
        static_cast<void>(session.release()); // the memory goes back with the process
    else
        session.reset();
}

} // namespace corvane::cli
