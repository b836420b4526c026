#include "addin/ComponentRegistry.h"
#include "addin/ErrorReport.h"
#include "addin/ErrorScope.h"
#include "addin/HeadlessErrorComponent.h"
#include "testsupport/ScopedEnvironment.h"
#include "testsupport/TempDir.h"
#include "testsupport/addin/ErrorReportTestComponent.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvane {
namespace {

using test::readFile;
using test::ScopedEnvironment;
using test::TempDir;

// The headless component registered with its own settings while the fixture lives.
class HeadlessErrorComponentTest : public ::testing::Test {
protected:
    HeadlessErrorComponentTest() : keep_(ErrorComponentId, ComponentRegistry::instance().factory(ErrorComponentId)) {
        settings_ = registerHeadlessErrorComponent();
        settings_->notices = &notices_;
        settings_->logFile = dir_ / "logs" / "errors.log";
    }

    // Reports a failure of GetResString at line 12 and returns the answer.
    std::string report(int32_t number = 326) {
        int32_t line = 12;
        return ReportError(number, "modWizard", "GetResString", "Resource with identifier '9' not found", line,
                           "<sTmp></sTmp>\r\n", "", "<nRes>9</nRes>\r\n");
    }

    TempDir dir_;
    std::ostringstream notices_;
    std::shared_ptr<HeadlessErrorSettings> settings_;
    ScopedEnvironment noAction_{"CORVANE_ERROR_ACTION", std::nullopt};
    ScopedEnvironment noLog_{"CORVANE_ERROR_LOG", std::nullopt};

private:
    ScopedComponentRegistration keep_; // restores the registry afterwards
};

TEST_F(HeadlessErrorComponentTest, LogsEveryReportAndWritesOneNoticeLine) {
    EXPECT_EQ(report(), "");
    EXPECT_EQ(notices_.str(), "corvane: error 326 in modWizard.GetResString: Resource with identifier '9' not found\n");
    std::string log = readFile(dir_ / "logs" / "errors.log");
    ASSERT_TRUE(log.starts_with("==== "));
    std::string afterTime = log.substr(log.find('\n') + 1);
    EXPECT_EQ(afterTime, "Application: Corvane 1.0.0\n"
                         "Procedure: modWizard.GetResString\n"
                         "Number: 326\n"
                         "Description: Resource with identifier '9' not found\n"
                         "Line: 12\n"
                         "Action: \n"
                         "Variables:\n"
                         "<Variables>\r\n<LocalVariables>\r\n<sTmp></sTmp>\r\n</LocalVariables>\r\n<ModuleVariables>\r\n"
                         "</ModuleVariables>\r\n</Variables>\r\n<Parameters>\r\n<nRes>9</nRes>\r\n\r\n</Parameters>\n\n");
    report(53);
    std::string both = readFile(dir_ / "logs" / "errors.log");
    EXPECT_TRUE(both.starts_with(log));
    EXPECT_NE(both.find("Number: 53\n", log.size()), std::string::npos);
}

TEST_F(HeadlessErrorComponentTest, AMultiLineDescriptionStillGivesOneNoticeLine) {
    int32_t number = 75;
    int32_t line = 0;
    ReportError(number, "HelpItem", "Load", "Path/File access error\r\n'/tmp/x'", line, "", "", "");
    EXPECT_EQ(notices_.str(), "corvane: error 75 in HelpItem.Load: Path/File access error  '/tmp/x'\n");
}

TEST_F(HeadlessErrorComponentTest, AnswersScriptFirstThenTheConfiguredAnswerThenTheEnvironment) {
    settings_->scriptedAnswers = {"RetryNext", "Cancel"};
    EXPECT_EQ(report(), "RetryNext");
    EXPECT_EQ(report(), "Cancel");
    EXPECT_EQ(report(), "");
    {
        ScopedEnvironment action("CORVANE_ERROR_ACTION", "RetryNext");
        EXPECT_EQ(report(), "RetryNext");
        settings_->answer = "";
        EXPECT_EQ(report(), "");
    }
    EXPECT_NE(readFile(dir_ / "logs" / "errors.log").find("Action: RetryNext\n"), std::string::npos);
}

TEST_F(HeadlessErrorComponentTest, AConfiguredRetryIsGivenOnlyAFewTimesInARow) {
    settings_->answer = "Retry";
    settings_->retryLimit = 2;
    EXPECT_EQ(report(), "Retry");
    EXPECT_EQ(report(), "Retry");
    EXPECT_EQ(report(), ""); // a third Retry of the same failure would likely loop
    EXPECT_EQ(report(), "Retry");
    EXPECT_EQ(report(53), "Retry"); // another failure starts counting again
}

TEST_F(HeadlessErrorComponentTest, AConfiguredRetryEndsAProcedureThatAlwaysFails) {
    settings_->answer = "Retry";
    int attempts = 0;
    ErrorScope scope("modTest", "Stubborn");
    EXPECT_THROW(scope.step([&] {
        ++attempts;
        throw VbError(vberr::PathFileAccess);
    }),
                 VbError);
    EXPECT_EQ(attempts, 4);
}

TEST_F(HeadlessErrorComponentTest, TheLogFileComesFromTheEnvironmentOrTheUserDataFolder) {
    settings_->logFile.clear();
    {
        ScopedEnvironment log("CORVANE_ERROR_LOG", (dir_ / "env" / "my.log").string());
        report();
        EXPECT_NE(readFile(dir_ / "env" / "my.log").find("Number: 326"), std::string::npos);
    }
    ScopedEnvironment data("XDG_DATA_HOME", (dir_ / "data").string());
    ScopedEnvironment windowsData("LOCALAPPDATA", (dir_ / "data").string()); // the same folder on Windows
    report();
    EXPECT_NE(readFile(dir_ / "data" / "corvane" / "errors.log").find("Number: 326"), std::string::npos);
}

TEST_F(HeadlessErrorComponentTest, ALogThatCannotBeWrittenIsNotedAndTheReportStillAnswers) {
    test::writeFile(dir_ / "file", "x");
    settings_->logFile = dir_ / "file" / "errors.log"; // its folder is a file
    settings_->answer = "RetryNext";
    EXPECT_EQ(report(), "RetryNext");
    std::string notices = notices_.str();
    EXPECT_TRUE(notices.starts_with("corvane: error 326 in modWizard.GetResString:"));
    EXPECT_NE(notices.find("\ncorvane: cannot write the error log '" + (dir_ / "file" / "errors.log").string() + "'"),
              std::string::npos);
}

} // namespace
} // namespace corvane
