#include "addin/ComponentRegistry.h"
#include "addin/ErrorReport.h"
#include "files/AppPaths.h"
#include "testsupport/addin/ErrorReportTestComponent.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::ScriptedReports;

// A component that answers nothing.
class SilentComponent : public ErrorReportComponent {
public:
    void ErrorHandler(Variant&, const Variant&, const Variant&, const Variant&, const Variant&, Variant&, const Variant&,
                      const Variant&) override {}
    std::string Action() const override { return {}; }
};

TEST(ReportError, HandsEveryArgumentToTheComponentAndReturnsItsAction) {
    ScriptedReports script({"RetryNext"});
    int32_t number = 53;
    int32_t line = 17;
    std::string action = ReportError(number, "modWizard", "GetResString", "File not found", line,
                                     "<sTmp></sTmp>\r\n", "<mX>1</mX>\r\n", "<nRes>5</nRes>\r\n");
    EXPECT_EQ(action, "RetryNext");
    ASSERT_EQ(script.reports().size(), 1u);
    const auto& report = script.reports()[0];
    EXPECT_EQ(report.number.kind(), Variant::Kind::Long);
    EXPECT_EQ(report.number.toLong(), 53);
    EXPECT_EQ(report.application.toText(), "Corvane");
    EXPECT_EQ(report.module.toText(), "modWizard");
    EXPECT_EQ(report.procedure.toText(), "GetResString");
    EXPECT_EQ(report.description.toText(), "File not found");
    EXPECT_EQ(report.line.toLong(), 17);
    EXPECT_EQ(report.variables.toText(),
              "<Variables>\r\n<LocalVariables>\r\n<sTmp></sTmp>\r\n</LocalVariables>\r\n<ModuleVariables>\r\n"
              "<mX>1</mX>\r\n</ModuleVariables>\r\n</Variables>\r\n<Parameters>\r\n<nRes>5</nRes>\r\n\r\n"
              "</Parameters>");
    EXPECT_EQ(report.version.toText(), "1.0.0");
    EXPECT_EQ(report.version.toText(), programVersion());
}

TEST(ReportError, NumberAndLineComeBackAsTheComponentLeftThem) {
    ScriptedReports script({"Retry"});
    script.changeArguments(Variant(int32_t{91}), Variant(int16_t{4}));
    int32_t number = 5;
    int32_t line = 0;
    EXPECT_EQ(ReportError(number, "m", "p", "d", line, "", "", ""), "Retry");
    EXPECT_EQ(number, 91);
    EXPECT_EQ(line, 4);
}

TEST(ReportError, AComponentThatCannotBeCreatedRaises429) {
    int32_t number = 5;
    int32_t line = 0;
    {
        ScopedComponentRegistration none(ErrorComponentId, nullptr);
        try {
            ReportError(number, "m", "p", "d", line, "", "", "");
            FAIL() << "no error";
        } catch (const VbError& error) {
            EXPECT_EQ(error.number(), 429);
            EXPECT_NE(error.description().find("HalvexError.Error"), std::string::npos);
        }
    }
    ScopedComponentRegistration failing(ErrorComponentId, []() -> std::unique_ptr<ErrorReportComponent> {
        throw VbError(vberr::FileNotFound, "dialog library missing");
    });
    try {
        ReportError(number, "m", "p", "d", line, "", "", "");
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 429);
        EXPECT_NE(error.description().find("dialog library missing"), std::string::npos);
    }
    ScopedComponentRegistration empty(ErrorComponentId, [] { return std::unique_ptr<ErrorReportComponent>(); });
    EXPECT_THROW(ReportError(number, "m", "p", "d", line, "", "", ""), VbError);
}

TEST(ComponentRegistry, IdentifiersIgnoreCaseAndRegistrationsAreRestored) {
    auto& registry = ComponentRegistry::instance();
    int made = 0;
    {
        ScopedComponentRegistration outer("Test.Component", [&made] {
            ++made;
            return std::make_unique<SilentComponent>();
        });
        EXPECT_TRUE(registry.isRegistered("test.COMPONENT"));
        {
            ScopedComponentRegistration inner("TEST.component", nullptr);
            EXPECT_FALSE(registry.isRegistered("Test.Component"));
            EXPECT_THROW(registry.create("Test.Component"), VbError);
        }
        auto first = registry.create("Test.Component");
        auto second = registry.create("Test.Component");
        EXPECT_NE(first.get(), second.get());
        EXPECT_EQ(made, 2);
    }
    EXPECT_FALSE(registry.isRegistered("Test.Component"));
}

} // namespace
} // namespace corvane
