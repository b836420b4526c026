#include "addin/ErrorScope.h"
#include "testsupport/addin/ErrorReportTestComponent.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace corvane {
namespace {

using test::ScriptedReports;

// A procedure of module "modTest": opens a file that is missing on the first attempt.
struct Opener {
    int attempts = 0;
    int failures = 1; // attempts that fail
    std::vector<std::string> done;
    int openLine = 0;

    void OpenAll(const std::string& sPath) {
        std::string sName = "first";
        ErrorScope scope("modTest", "OpenAll");
        scope.parameters({watch("sPath", sPath)}).locals({watch("sName", sName)});
        scope.run([&] {
            done.push_back("before");
            sName = "second"; // reported with the value it holds at the failure
            openLine = __LINE__; scope.step([&] { open(); });
            done.push_back("after");
        });
    }

    void open() {
        if (++attempts <= failures)
            throw VbError(vberr::FileNotFound);
        done.push_back("opened");
    }
};

TEST(ErrorScope, RetryRunsTheFailingStepAgain) {
    ScriptedReports script({"Retry"});
    Opener opener;
    opener.OpenAll("C:\\p");
    EXPECT_EQ(opener.attempts, 2);
    EXPECT_EQ(opener.done, (std::vector<std::string>{"before", "opened", "after"}));
    ASSERT_EQ(script.reports().size(), 1u);
}

TEST(ErrorScope, RetryNextGoesOnAfterTheFailingStep) {
    ScriptedReports script({"RetryNext"});
    Opener opener;
    opener.failures = 5;
    opener.OpenAll("C:\\p");
    EXPECT_EQ(opener.attempts, 1);
    EXPECT_EQ(opener.done, (std::vector<std::string>{"before", "after"}));
    EXPECT_EQ(script.reports().size(), 1u);
}

TEST(ErrorScope, TheReportCarriesTheFailureThePlaceAndTheVariablesAtTheFailure) {
    ScriptedReports script({"RetryNext"});
    Opener opener;
    opener.OpenAll("C:\\p");
    ASSERT_EQ(script.reports().size(), 1u);
    const auto& report = script.reports()[0];
    EXPECT_EQ(report.number.toLong(), 53);
    EXPECT_EQ(report.application.toText(), "Corvane");
    EXPECT_EQ(report.module.toText(), "modTest");
    EXPECT_EQ(report.procedure.toText(), "OpenAll");
    EXPECT_EQ(report.description.toText(), "File not found");
    EXPECT_EQ(report.line.toLong(), opener.openLine);
    EXPECT_GT(opener.openLine, 0);
    EXPECT_EQ(report.variables.toText(),
              "<Variables>\r\n<LocalVariables>\r\n<sName>second</sName>\r\n</LocalVariables>\r\n<ModuleVariables>\r\n"
              "</ModuleVariables>\r\n</Variables>\r\n<Parameters>\r\n<sPath>C:\\p</sPath>\r\n\r\n</Parameters>");
    EXPECT_EQ(report.version.toText(), "1.0.0");
}

TEST(ErrorScope, ListsGivenAsProvidersAreMadeOnlyForAReport) {
    ScriptedReports script({"RetryNext"});
    int made = 0;
    const std::string sPath = "C:\\p";
    std::string sName;
    auto procedure = [&](bool fail) {
        sName = "first";
        ErrorScope scope("modTest", "OpenAll");
        scope.parameters([&] { ++made; return NamedValues{watch("sPath", sPath)}; })
            .locals([&] { ++made; return NamedValues{watch("sName", sName)}; });
        scope.run([&] {
            sName = "second";
            scope.step([&] {
                if (fail)
                    throw VbError(vberr::FileNotFound);
            });
        });
    };
    procedure(false);
    EXPECT_EQ(made, 0);
    procedure(true);
    EXPECT_EQ(made, 2);
    ASSERT_EQ(script.reports().size(), 1u);
    EXPECT_EQ(script.reports()[0].variables.toText(),
              "<Variables>\r\n<LocalVariables>\r\n<sName>second</sName>\r\n</LocalVariables>\r\n<ModuleVariables>\r\n"
              "</ModuleVariables>\r\n</Variables>\r\n<Parameters>\r\n<sPath>C:\\p</sPath>\r\n\r\n</Parameters>");
}

// The caller of Opener::OpenAll, with a scope of its own.
void OpenProject(Opener& opener, int& afterCall) {
    ErrorScope scope("frmTest", "OpenProject");
    scope.run([&] {
        scope.step([&] { opener.OpenAll("x"); });
        ++afterCall;
    });
}

TEST(ErrorScope, AnyOtherAnswerRaises65535WhichTheCallerReportsInItsTurn) {
    ScriptedReports script({"retry", "Cancel"}); // letter case counts: "retry" is not "Retry"
    Opener opener;
    opener.failures = 5;
    int afterCall = 0;
    try {
        OpenProject(opener, afterCall);
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 65535);
        // The cause reaches the caller's text: no report shows an empty one.
        EXPECT_EQ(error.description(), "error 53 in modTest.OpenAll: File not found");
        EXPECT_EQ(error.source(), "");
    }
    EXPECT_EQ(opener.attempts, 1);
    EXPECT_EQ(opener.done, std::vector<std::string>{"before"});
    EXPECT_EQ(afterCall, 0);
    // Each procedure reports once: the 65535 its own step raised is not reported again by run().
    ASSERT_EQ(script.reports().size(), 2u);
    EXPECT_EQ(script.reports()[0].procedure.toText(), "OpenAll");
    EXPECT_EQ(script.reports()[1].module.toText(), "frmTest");
    EXPECT_EQ(script.reports()[1].procedure.toText(), "OpenProject");
    EXPECT_EQ(script.reports()[1].number.toLong(), 65535);
    EXPECT_EQ(script.reports()[1].description.toText(), "error 53 in modTest.OpenAll: File not found");
}

TEST(ErrorScope, TheCallerMayRetryTheCallThatPassedAFailureOn) {
    ScriptedReports script({"", "Retry"});
    Opener opener;
    int afterCall = 0;
    OpenProject(opener, afterCall); // fails once inside, the caller retries the whole call
    EXPECT_EQ(opener.attempts, 2);
    EXPECT_EQ(afterCall, 1);
    EXPECT_EQ(script.reports().size(), 2u);
}

TEST(ErrorScope, AFailureOfTheReportLeavesTheProcedureUnreported) {
    int made = 0;
    ScopedComponentRegistration failing(ErrorComponentId, [&made]() -> std::unique_ptr<ErrorReportComponent> {
        ++made;
        throw std::runtime_error("no display");
    });
    Opener opener;
    try {
        opener.OpenAll("x");
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 429);
        EXPECT_NE(error.description().find("no display"), std::string::npos);
    }
    EXPECT_EQ(made, 1); // run() did not try to report the failed report
    EXPECT_EQ(opener.done, std::vector<std::string>{"before"});
}

// A window whose fields every report renders.
class frmFields : public ReportsVariables {
public:
    std::string mCaption = "start";
    int16_t mCount = 0;

    NamedValues moduleVariables() const override { return {watch("mCaption", mCaption), watch("mCount", mCount)}; }

    int32_t Divide(int32_t divisor) {
        ErrorScope scope("frmFields", "Divide");
        scope.moduleVariables(*this).parameters({watch("divisor", divisor)});
        return scope.run([&] {
            mCount = 3;
            if (divisor == 0)
                throw VbError(11, "Division by zero");
            return 12 / divisor;
        });
    }
};

TEST(ErrorScope, AFailureOutsideAStepIsReportedWithLineZeroAndTheFields) {
    ScriptedReports script({"RetryNext"});
    frmFields window;
    EXPECT_EQ(window.Divide(0), 0); // the procedure ends normally with an empty result
    ASSERT_EQ(script.reports().size(), 1u);
    const auto& report = script.reports()[0];
    EXPECT_EQ(report.number.toLong(), 11);
    EXPECT_EQ(report.line.toLong(), 0);
    EXPECT_EQ(report.variables.toText(),
              "<Variables>\r\n<LocalVariables>\r\n</LocalVariables>\r\n<ModuleVariables>\r\n"
              "<mCaption>start</mCaption>\r\n<mCount>3</mCount>\r\n</ModuleVariables>\r\n</Variables>\r\n"
              "<Parameters>\r\n<divisor>0</divisor>\r\n\r\n</Parameters>");
    EXPECT_EQ(window.Divide(4), 3);
    EXPECT_EQ(script.reports().size(), 1u);
}

TEST(ErrorScope, RetryOutsideAStepRunsTheBodyAgain) {
    ScriptedReports script({"Retry"});
    int runs = 0;
    ErrorScope scope("modTest", "Twice");
    std::string result = scope.run([&] {
        if (++runs == 1)
            throw std::runtime_error("first time");
        return std::string("done");
    });
    EXPECT_EQ(result, "done");
    EXPECT_EQ(runs, 2);
    ASSERT_EQ(script.reports().size(), 1u);
    EXPECT_EQ(script.reports()[0].number.toLong(), 51); // a failure that is not a VbError
    EXPECT_EQ(script.reports()[0].description.toText(), "first time");
}

TEST(ErrorScope, ACalledProcedures65535OutsideAStepIsReportedAgain) {
    ScriptedReports script({"", "RetryNext"});
    Opener opener;
    ErrorScope scope("modTest", "Outer");
    bool after = false;
    scope.run([&] {
        opener.OpenAll("x");
        after = true;
    });
    EXPECT_FALSE(after);
    ASSERT_EQ(script.reports().size(), 2u);
    EXPECT_EQ(script.reports()[1].procedure.toText(), "Outer");
    EXPECT_EQ(script.reports()[1].number.toLong(), 65535);
}

TEST(ErrorScope, ValueGivesAnEmptyResultWhenSkipped) {
    ScriptedReports script({"RetryNext", "RetryNext", "Retry"});
    ErrorScope scope("modTest", "Values");
    int16_t n = scope.value([]() -> int16_t { throw VbError(vberr::Overflow); });
    std::string s = scope.value([]() -> std::string { throw VbError(vberr::TypeMismatch); });
    int calls = 0;
    int32_t retried = scope.value([&] {
        if (++calls == 1)
            throw VbError(vberr::SubscriptOutOfRange);
        return int32_t{42};
    });
    EXPECT_EQ(n, 0);
    EXPECT_EQ(s, "");
    EXPECT_EQ(retried, 42);
    ASSERT_EQ(script.reports().size(), 3u);
    EXPECT_EQ(script.reports()[0].number.toLong(), 6);
    EXPECT_EQ(script.reports()[1].number.toLong(), 13);
    EXPECT_EQ(script.reports()[2].number.toLong(), 9);
}

TEST(ErrorScope, IgnoredFailuresAreNotReported) {
    ScriptedReports script;
    bool after = false;
    ErrorScope::ignoringFailures([] { throw VbError(vberr::PathFileAccess); });
    ErrorScope::ignoringFailures([] { throw std::out_of_range("x"); });
    after = true;
    EXPECT_TRUE(after);
    EXPECT_TRUE(script.reports().empty());
}

TEST(ErrorScope, AVariableThatCannotBeReadRendersAsAnErrorValue) {
    ScriptedReports script({"RetryNext"});
    ErrorScope scope("modTest", "Broken");
    scope.locals({{"ctl", []() -> Variant { throw VbError(vberr::ObjectNotSet); }}, {"n", nullptr}});
    scope.step([] { throw VbError(vberr::InvalidCall); });
    ASSERT_EQ(script.reports().size(), 1u);
    EXPECT_NE(script.reports()[0].variables.toText().find("<LocalVariables>\r\n<ctl></ctl><n></n></LocalVariables>"),
              std::string::npos);
}

TEST(ErrorScope, PlainModuleVariablesComeFromAProvider) {
    ScriptedReports script({"RetryNext"});
    std::vector<std::string> mNames{"a", "b"};
    ErrorScope scope("modMain", "Start");
    scope.moduleVariables([&] { return NamedValues{watch("mNames", mNames)}; });
    mNames.push_back("c");
    scope.step([] { throw VbError(vberr::InvalidCall); });
    ASSERT_EQ(script.reports().size(), 1u);
    EXPECT_NE(script.reports()[0].variables.toText().find(
                  "<ModuleVariables>\r\n<mNames>\r\n<mNames[0]>a</mNames[0]>\r\n<mNames[1]>b</mNames[1]>\r\n"
                  "<mNames[2]>c</mNames[2]>\r\n</mNames>\r\n</ModuleVariables>"),
              std::string::npos);
}

} // namespace
} // namespace corvane
