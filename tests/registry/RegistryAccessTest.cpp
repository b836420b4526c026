#include "platform/AppFolders.h"
#include "registry/RegFile.h"
#include "registry/RegistryAccess.h"
#include "testsupport/TempDir.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace corvane {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

namespace fs = std::filesystem;
constexpr auto CU = RegistryRoot::CurrentUser;
constexpr auto LM = RegistryRoot::LocalMachine;

// Runs `body` in a child process; the child exits 0 when it returns, 1 when it throws.
template <typename Body>
pid_t spawn(Body body) {
    pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL); // never outlive a test that failed half-way
        int code = 0;
        try {
            body();
        } catch (...) {
            code = 1;
        }
        ::_exit(code);
    }
    return pid;
}

// A child process that is killed and reaped at the latest when the object goes, so that a
// test ending early (an exception, a failed ASSERT) leaves no writer behind.
class Child {
public:
    explicit Child(pid_t pid) : pid_(pid) {}
    ~Child() {
        if (pid_ > 0)
            killNow();
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Kills the child with SIGKILL and returns its wait status.
    int killNow() {
        int status = 0;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

private:
    pid_t pid_;
};

int exitCodeOf(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RegistryAccess, StoresValuesKeysAndDefaultsInTheFile) {
    TempDir dir;
    RegistryAccess store(dir / "config" / "registry.reg");
    EXPECT_EQ(store.GetValue(CU, "Software\\Halvex", "CorvaneSplitMain"), "");
    EXPECT_FALSE(store.KeyExists(CU, "Software"));
    EXPECT_TRUE(store.KeyExists(LM, ""));
    EXPECT_FALSE(std::filesystem::exists(store.file())); // reading never creates the file

    store.SetValue(CU, "Software\\Halvex\\Corvane", "SpellType", "2");
    store.SetValue(LM, "SOFTWARE\\Classes\\hhp.file\\shell\\open\\command", "", "hhc.exe %1");
    EXPECT_EQ(store.GetValue(CU, "software\\HALVEX\\corvane", "spelltype"), "2");
    EXPECT_EQ(store.GetValue(LM, "SOFTWARE\\Classes\\hhp.file\\shell\\open\\command", ""), "hhc.exe %1");
    EXPECT_EQ(store.GetValue(LM, "SOFTWARE\\Classes\\hhp.file\\shell\\open\\command", "x"), "");
    EXPECT_EQ(store.GetValue(CU, "SOFTWARE\\Classes\\hhp.file\\shell\\open\\command", ""), "");
    EXPECT_TRUE(store.KeyExists(CU, "Software\\Halvex"));
    EXPECT_TRUE(store.KeyExists(CU, ""));
    EXPECT_FALSE(store.KeyExists(LM, "Software\\Halvex"));

    // CreateKey keeps an existing key's values and does not rewrite the file.
    auto before = std::filesystem::last_write_time(store.file());
    store.CreateKey(CU, "SOFTWARE\\halvex\\CORVANE");
    EXPECT_EQ(std::filesystem::last_write_time(store.file()), before);
    EXPECT_EQ(store.GetValue(CU, "Software\\Halvex\\Corvane", "SpellType"), "2");
    store.CreateKey(LM, "SOFTWARE\\Classes\\hpjfiletype\\shell");
    EXPECT_TRUE(store.KeyExists(LM, "software\\classes\\HPJFILETYPE"));

    // A second object on the same file sees everything (nothing lives only in memory).
    RegistryAccess other(store.file());
    EXPECT_EQ(other.GetValue(CU, "Software\\Halvex\\Corvane", "SpellType"), "2");
    other.SetValue(CU, "Software\\Halvex\\Corvane", "SPELLTYPE", "3");
    EXPECT_EQ(store.GetValue(CU, "Software\\Halvex\\Corvane", "SpellType"), "3");
    EXPECT_EQ(readFile(store.file()),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Halvex]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Halvex\\Corvane]\r\n\"SpellType\"=\"3\"\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\hhp.file]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\hhp.file\\shell]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\hhp.file\\shell\\open]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\hhp.file\\shell\\open\\command]\r\n"
              "@=\"hhc.exe %1\"\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\hpjfiletype]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\hpjfiletype\\shell]\r\n\r\n");

    const std::string awkward = "C:\\dir\\\"x\"\r\n\ttab ü [k] ; = @";
    store.SetValue(CU, "Software\\Halvex", "=\"@\\", awkward);
    EXPECT_EQ(RegistryAccess(store.file()).GetValue(CU, "Software\\Halvex", "=\"@\\"), awkward);

    EXPECT_THROW(store.SetValue(CU, "Software", "n", "v", 4), VbError);
    EXPECT_THROW(store.SetValue(CU, "\\Software", "n", "v"), VbError);
}

TEST(RegistryAccess, AMalformedFileIsReadAsFarAsItIsSoundReportedOnceAndNeverReplaced) {
    TempDir dir;
    const std::string bad = "Windows Registry Editor Version 5.00\r\n\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Halvex]\r\n"
                            "\"CorvaneSplitMain\"=\"2400\r\n"
                            "\"CorvaneSplitRight\"=\"1200\"\r\n";
    writeFile(dir / "registry.reg", bad);
    RegistryAccess store(dir / "registry.reg");
    const std::string message = "Malformed registry file '" + (dir / "registry.reg").string() +
                                "', line 4: unterminated quote";
    // Reads take the sound lines; the problem is handed out once.
    EXPECT_EQ(store.GetValue(CU, "Software\\Halvex", "CorvaneSplitRight"), "1200");
    EXPECT_EQ(store.GetValue(CU, "Software\\Halvex", "CorvaneSplitMain"), "");
    EXPECT_TRUE(store.KeyExists(CU, "Software"));
    EXPECT_EQ(store.problem(), message);
    EXPECT_EQ(store.takeProblem(), message);
    EXPECT_EQ(store.takeProblem(), "");
    EXPECT_EQ(store.problem(), message);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            store.SetValue(CU, "Software\\Halvex", "CorvaneSplitRight", "10");
            ADD_FAILURE() << "SetValue succeeded on a malformed file";
        } catch (const VbError& error) {
            EXPECT_EQ(error.number(), 75);
            EXPECT_NE(error.description().find(message), std::string::npos) << error.description();
        }
        EXPECT_THROW(store.CreateKey(CU, "Software\\Other"), VbError);
        // Even the value the sound part holds: storing it would drop the rest.
        EXPECT_THROW(store.SetValue(CU, "Software\\Halvex", "CorvaneSplitRight", "1200"), VbError);
        EXPECT_EQ(readFile(dir / "registry.reg"), bad);
    }
    // Another malformed content is reported again; once the user repairs the file, it is sound.
    writeFile(dir / "registry.reg", bad + "\"x\"=\"y\"\r\nno value\r\n");
    EXPECT_EQ(store.GetValue(CU, "Software\\Halvex", "x"), "y");
    EXPECT_NE(store.takeProblem().find("line 7: unexpected text"), std::string::npos);
    writeFile(dir / "registry.reg", "Windows Registry Editor Version 5.00\r\n\r\n"
                                    "[HKEY_CURRENT_USER\\Software\\Halvex]\r\n\"x\"=\"y\"\r\n");
    EXPECT_EQ(store.GetValue(CU, "Software\\Halvex", "X"), "y");
    EXPECT_EQ(store.problem(), "");
    store.SetValue(CU, "Software\\Halvex", "CorvaneSplitMain", "900");
    EXPECT_EQ(store.GetValue(CU, "Software\\Halvex", "CorvaneSplitMain"), "900");
}

// Storing what the file already holds takes no lock and writes nothing; anything else is stored.
TEST(RegistryAccess, AValueAlreadyStoredLeavesTheFileAndTakesNoLock) {
    TempDir dir;
    const fs::path file = dir / "registry.reg";
    writeFile(file, "Windows Registry Editor Version 5.00\r\n\r\n"
                    "[HKEY_CURRENT_USER\\Software\\Halvex]\r\n"
                    "\"CorvaneSplitMain\"=\"2400\"\r\n"
                    "\"Count\"=dword:00000010\r\n"
                    "\"Raw\"=dword:00000001\r\n");
    const std::string bytes = readFile(file);
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(file, old);
    RegistryAccess store(file);
    store.SetValue(CU, "Software\\Halvex", "corvanesplitmain", "2400");
    EXPECT_FALSE(fs::exists(dir / "registry.reg.lock"));
    EXPECT_EQ(fs::last_write_time(file), old);
    EXPECT_EQ(readFile(file), bytes);

    // A raw value with that text, a missing empty value, a missing key, another text: stored.
    store.SetValue(CU, "Software\\Halvex", "Count", "16");
    EXPECT_NE(readFile(file).find("\"Count\"=\"16\"\r\n"), std::string::npos) << readFile(file);
    store.SetValue(CU, "Software\\Halvex", "Raw", "dword:00000001"); // the raw text, as a string
    EXPECT_NE(readFile(file).find("\"Raw\"=\"dword:00000001\"\r\n"), std::string::npos) << readFile(file);
    store.SetValue(CU, "Software\\Halvex", "Empty", "");
    store.SetValue(CU, "Software\\Halvex\\Corvane", "spelltype", "All");
    store.SetValue(CU, "Software\\Halvex", "CorvaneSplitMain", "900");
    const std::string after = readFile(file);
    EXPECT_NE(after.find("\"Empty\"=\"\"\r\n"), std::string::npos) << after;
    EXPECT_NE(after.find("[HKEY_CURRENT_USER\\Software\\Halvex\\Corvane]\r\n\"spelltype\"=\"All\"\r\n"),
              std::string::npos)
        << after;
    EXPECT_NE(after.find("\"CorvaneSplitMain\"=\"900\"\r\n"), std::string::npos) << after;
}

TEST(RegistryAccess, ProgramStoreFollowsTheEnvironment) {
    TempDir dir;
    const char* saved = std::getenv("CORVANE_REGISTRY");
    std::string savedValue = saved ? saved : "";
    platform::setEnvironmentVariable("CORVANE_REGISTRY", (dir / "a.reg").string().c_str());
    registry().SetValue(CU, "Software\\Halvex", "Which", "a");
    RegistryAccess& first = registry();
    platform::setEnvironmentVariable("CORVANE_REGISTRY", (dir / "b.reg").string().c_str());
    EXPECT_EQ(registry().file(), dir / "b.reg");
    EXPECT_EQ(registry().GetValue(CU, "Software\\Halvex", "Which"), "");
    EXPECT_EQ(first.GetValue(CU, "Software\\Halvex", "Which"), "a"); // still usable
    if (saved)
        platform::setEnvironmentVariable("CORVANE_REGISTRY", savedValue.c_str());
    else
        platform::setEnvironmentVariable("CORVANE_REGISTRY", nullptr);
}

TEST(RegistryAccess, TwoProcessesWritingAtOnceLoseNothing) {
    TempDir dir;
    const auto file = dir / "registry.reg";
    constexpr int Writes = 200;
    auto writer = [&](char name) {
        return [&file, name] {
            RegistryAccess store(file);
            for (int i = 0; i < Writes; ++i) {
                store.SetValue(CU, "Software\\Halvex", std::string(1, name) + std::to_string(i),
                               std::to_string(i * 7));
                if (i % 10 == 0) // reads in between exercise the cache against the other writer
                    (void)store.GetValue(CU, "Software\\Halvex", "a0");
            }
        };
    };
    pid_t a = spawn(writer('a'));
    pid_t b = spawn(writer('b'));
    ASSERT_EQ(exitCodeOf(a), 0);
    ASSERT_EQ(exitCodeOf(b), 0);
    RegistryAccess store(file);
    for (char name : {'a', 'b'})
        for (int i = 0; i < Writes; ++i)
            EXPECT_EQ(store.GetValue(CU, "Software\\Halvex", std::string(1, name) + std::to_string(i)),
                      std::to_string(i * 7));
    EXPECT_EQ(readRegistryFile(file).findKey("HKEY_CURRENT_USER\\Software\\Halvex")->values().Count(),
              2 * Writes);
}

TEST(RegistryAccess, KilledWriterLeavesTheOldOrTheNewContent) {
    TempDir dir;
    const auto file = dir / "registry.reg";
    const std::string payload(20000, 'p'); // makes each write take a while
    RegistryAccess store(file);
    store.SetValue(CU, "Software\\Halvex", "Payload", payload);
    store.SetValue(CU, "Software\\Halvex", "Counter", "0");
    auto expectedText = [&](long counter) {
        RegistryModel model;
        model.setString("HKEY_CURRENT_USER\\Software\\Halvex", "Payload", payload);
        model.setString("HKEY_CURRENT_USER\\Software\\Halvex", "Counter", std::to_string(counter));
        return registryText(model);
    };
    std::mt19937 random(12345);
    long last = 0;
    for (int round = 0; round < 20; ++round) {
        long start = last;
        Child child(spawn([&file, start] {
            RegistryAccess writer(file);
            for (long i = start + 1;; ++i)
                writer.SetValue(CU, "Software\\Halvex", "Counter", std::to_string(i));
        }));
        // Wait until the writer is under way, then kill it at a random moment of its loop.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::strtol(store.GetValue(CU, "Software\\Halvex", "Counter").c_str(), nullptr, 10) <= start &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 10000));
        int status = child.killNow();
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself in round " << round;
        std::string counter = store.GetValue(CU, "Software\\Halvex", "Counter");
        long now = std::strtol(counter.c_str(), nullptr, 10);
        EXPECT_GT(now, last) << "round " << round;
        EXPECT_EQ(readFile(file), expectedText(now)) << "round " << round;
        last = now;
    }
    store.SetValue(CU, "Software\\Halvex", "Counter", "done"); // the lock was released
    EXPECT_EQ(store.GetValue(CU, "Software\\Halvex", "Counter"), "done");
}

} // namespace
} // namespace corvane
