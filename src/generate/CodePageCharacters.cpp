#include "generate/CodePageCharacters.h"

#include "platform/ThreadOwn.h"
#include "text/TextCodec.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

namespace corvane {

namespace {

uint64_t keyOf(char32_t character, int codePage) {
    return static_cast<uint64_t>(static_cast<uint32_t>(codePage)) << 32 | character;
}

} // namespace

const std::string& CodePageCharacters::bytesOf(char32_t character, int codePage) {
    // The answers, whose addresses stay put, and the last one asked per slot in front of them.
    struct Answers {};
    auto& answers = platform::threadOwn<Answers, std::unordered_map<uint64_t, std::string>>();
    struct Recent {
        uint64_t key = ~uint64_t{0};
        const std::string* bytes = nullptr;
    };
    thread_local std::array<Recent, 256> recent;
    const uint64_t key = keyOf(character, codePage);
    Recent& slot = recent[character & 0xFF];
    if (slot.key == key)
        return *slot.bytes;
    auto found = answers.find(key);
    if (found == answers.end()) {
        std::string utf8, bytes;
        appendUtf8(utf8, character);
        if (canEncode(utf8, codePage))
            bytes = encodeCodePage(utf8, codePage);
        found = answers.emplace(key, std::move(bytes)).first;
    }
    slot = {key, &found->second};
    return found->second;
}

void CodePageCharacters::checkKnown(int codePage) {
    thread_local int lastChecked = 0; // no code page is 0
    if (codePage == lastChecked)
        return;
    struct Known {};
    auto& known = platform::threadOwn<Known, std::unordered_set<int>>();
    if (!known.contains(codePage)) {
        encodeCodePage("", codePage); // fails for a code page the system lacks
        known.insert(codePage);
    }
    lastChecked = codePage;
}

} // namespace corvane
