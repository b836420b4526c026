#include "files/Notice.h"

#include <iostream>
#include <mutex>
#include <utility>

namespace corvane {

namespace {

struct Sink {
    std::mutex mutex;
    NoticeSink function;
};

Sink& sink() {
    static Sink instance;
    return instance;
}

} // namespace

void notice(const std::string& text) {
    Sink& current = sink();
    std::lock_guard lock(current.mutex);
    if (current.function)
        current.function(text);
    else
        std::cerr << "corvane: note: " << text << "\n" << std::flush;
}

NoticeSink setNoticeSink(NoticeSink function) {
    Sink& current = sink();
    std::lock_guard lock(current.mutex);
    std::swap(current.function, function);
    return function;
}

} // namespace corvane
