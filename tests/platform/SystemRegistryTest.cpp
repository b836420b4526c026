// The system's registry, where there is one (Windows; under Wine in the cross build's tests):
// string values written and read back, keys made and found, and the program's registry store
// over it when no registry file is named.
#include "platform/SystemRegistry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace corvane::platform {
namespace {

class SystemRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!systemRegistryAvailable())
            GTEST_SKIP() << "this system keeps no registry of its own: the program's registry is a file";
        key_ = "Software\\Corvane Tests\\" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    void TearDown() override {
        if (!key_.empty()) {
            EXPECT_EQ(removeRegistryKey(RegistryHive::CurrentUser, key_), "");
        }
    }
    std::string key_;
};

TEST_F(SystemRegistryTest, StringValuesComeBackAsTheyWereWritten) {
    EXPECT_FALSE(registryKeyExists(RegistryHive::CurrentUser, key_));
    EXPECT_FALSE(readRegistryString(RegistryHive::CurrentUser, key_, "Path").has_value());

    ASSERT_EQ(writeRegistryString(RegistryHive::CurrentUser, key_ + "\\Options", "Path", "C:\\Hilfe – Übersicht"), "");
    EXPECT_TRUE(registryKeyExists(RegistryHive::CurrentUser, key_));
    EXPECT_EQ(readRegistryString(RegistryHive::CurrentUser, key_ + "\\Options", "Path"), "C:\\Hilfe – Übersicht");
    EXPECT_EQ(readRegistryString(RegistryHive::CurrentUser, key_ + "\\options", "path"), "C:\\Hilfe – Übersicht");
    EXPECT_FALSE(readRegistryString(RegistryHive::CurrentUser, key_ + "\\Options", "Other").has_value());

    ASSERT_EQ(writeRegistryString(RegistryHive::CurrentUser, key_ + "\\Options", "Path", ""), "");
    EXPECT_EQ(readRegistryString(RegistryHive::CurrentUser, key_ + "\\Options", "Path"), "");
    ASSERT_EQ(writeRegistryString(RegistryHive::CurrentUser, key_ + "\\Options", "", "default"), "");
    EXPECT_EQ(readRegistryString(RegistryHive::CurrentUser, key_ + "\\Options", ""), "default");
}

TEST_F(SystemRegistryTest, KeysAreMadeWithTheirParentsAndRemovedWithTheirChildren) {
    ASSERT_EQ(createRegistryKey(RegistryHive::CurrentUser, key_ + "\\A\\B\\C"), "");
    EXPECT_TRUE(registryKeyExists(RegistryHive::CurrentUser, key_ + "\\A\\B"));
    EXPECT_TRUE(registryKeyExists(RegistryHive::CurrentUser, key_ + "\\A\\B\\C"));
    EXPECT_EQ(removeRegistryKey(RegistryHive::CurrentUser, key_ + "\\A"), "");
    EXPECT_FALSE(registryKeyExists(RegistryHive::CurrentUser, key_ + "\\A\\B\\C"));
    EXPECT_EQ(removeRegistryKey(RegistryHive::CurrentUser, key_ + "\\A"), ""); // nothing left: no failure
}

} // namespace
} // namespace corvane::platform
