#include "spelling/HunspellHandle.h"

#include <hunspell/hunspell.hxx>

#include <mutex>

namespace corvane {

namespace {

std::mutex& lifetimeMutex() {
    static std::mutex mutex;
    return mutex;
}

} // namespace

void HunspellCloser::operator()(Hunspell* dictionary) const noexcept {
    std::lock_guard lock(lifetimeMutex());
    delete dictionary;
}

HunspellHandle openHunspellFiles(const std::filesystem::path& aff, const std::filesystem::path& dic) {
    std::lock_guard lock(lifetimeMutex());
    return HunspellHandle(new Hunspell(aff.string().c_str(), dic.string().c_str()));
}

} // namespace corvane
