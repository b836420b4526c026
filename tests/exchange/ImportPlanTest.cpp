// Planning an import and counting coverage on a small project's texts.
#include "exchange/ImportPlan.h"

#include "exchange/Coverage.h"
#include "exchange/TranslationExport.h"

#include "vbruntime/CaseFold.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace corvane::exchange {
namespace {

ProjectTexts smallProject() {
    ProjectTexts project;
    project.project = "Order.vbp";
    project.primaryLanguage = "English";
    project.languages = {"English", "German"};
    project.modules = {
        {"frmOrder",
         {{"cmdOK", "CommandButton", "OK", {{"English", "Accepts."}, {"German", "Nimmt an."}}},
          {"cmdCancel", "CommandButton", "Cancel", {{"English", "Drops."}}},
          {"lblNote", "Label", "Note", {{"English", "  "}, {"German", "Notiz"}}},
          {"txtNote", "TextBox", "", {}}}},
        {"frmEmpty", {}},
    };
    return project;
}

ExchangeDocument germanExport() {
    return exportLanguage(smallProject(), "German", "en-US", "de-DE");
}

TEST(ImportPlan, ExportHasOneUnitPerControlWithPrimaryText) {
    ExchangeDocument document = germanExport();
    ASSERT_EQ(document.units.size(), 2u);
    EXPECT_EQ(document.units[0].id, "frmOrder/cmdOK");
    EXPECT_EQ(document.units[0].target, "Nimmt an.");
    EXPECT_EQ(document.units[1].id, "frmOrder/cmdCancel");
    EXPECT_EQ(document.units[1].target, "");
    EXPECT_EQ(document.units[1].caption, "Cancel");
}

TEST(ImportPlan, ChangesOnlyTranslatedUnitsWhoseSourceIsUnchanged) {
    ExchangeDocument document = germanExport();
    ImportPlan unchanged = planImport(smallProject(), document, "de.po");
    EXPECT_TRUE(unchanged.changes.empty());
    EXPECT_TRUE(unchanged.skipped.empty());
    EXPECT_EQ(unchanged.unchanged, 2);

    document.units[0].target = "Bestätigt.";
    document.units[1].target = "Verwirft.";
    document.units[1].source = "Drops it.";
    ExchangeUnit unknown = document.units[0];
    unknown.id = "frmOrder/cmdGone";
    unknown.module = "frmOrder";
    unknown.controlKey = "cmdGone";
    ExchangeUnit noPrimary = document.units[0];
    noPrimary.id = "FRMORDER/lblnote";
    document.units.push_back(unknown);
    document.units.push_back(noPrimary);
    ImportPlan plan = planImport(smallProject(), document, "de.po");
    ASSERT_EQ(plan.changes.size(), 1u);
    EXPECT_EQ(plan.changes[0].controlKey, "cmdOK");
    EXPECT_EQ(plan.changes[0].before, "Nimmt an.");
    EXPECT_EQ(plan.changes[0].after, "Bestätigt.");
    ASSERT_EQ(plan.skipped.size(), 3u);
    EXPECT_EQ(plan.skipped[0].reason,
              "conflict: the English text changed since the export; the German text stays");
    EXPECT_EQ(plan.skipped[1].reason,
              "unknown unit: the project has no control 'cmdGone' in a module 'frmOrder'");
    EXPECT_EQ(plan.skipped[2].reason,
              "unknown unit: the control has no English text, so no unit is exported for it");

    document = germanExport();
    document.units[0].target = "";
    document.units[1].target = "Verwirft.";
    document.units[1].needsReview = true;
    plan = planImport(smallProject(), document, "de.po");
    EXPECT_TRUE(plan.changes.empty());
    ASSERT_EQ(plan.skipped.size(), 2u);
    EXPECT_EQ(plan.skipped[0].reason, "no translation in the file; the German text stays");
    EXPECT_EQ(plan.skipped[1].reason, "marked for review (fuzzy); the German text stays");
}

TEST(ImportPlan, UnitsInAnyOrderFindTheirControlsAndAUnitGivenTwiceAnywhereRefusesTheFile) {
    ProjectTexts project = smallProject();
    project.modules.clear();
    for (const char* form : {"frmA", "frmB", "frmC"}) {
        ModuleTexts module{form, {}, false};
        for (int i = 0; i < 40; ++i)
            module.controls.push_back({"txt" + std::to_string(i), "TextBox", "",
                                       {{"English", "Field " + std::to_string(i)}, {"German", "Feld"}}});
        project.modules.push_back(std::move(module));
    }
    ExchangeDocument document = exportLanguage(project, "German", "en-US", "de-DE");
    ASSERT_EQ(document.units.size(), 120u);
    std::mt19937 random(7);
    std::shuffle(document.units.begin(), document.units.end(), random);
    for (ExchangeUnit& unit : document.units) {
        unit.target = "Neu " + unit.id;
        if (random() % 2)
            unit.id = asciiUpper(unit.id); // letter case does not matter
    }
    ImportPlan plan = planImport(project, document, "de.po");
    ASSERT_EQ(plan.changes.size(), 120u);
    EXPECT_TRUE(plan.skipped.empty());
    for (const TextChange& change : plan.changes) {
        EXPECT_TRUE(equalsIgnoreCase(change.after, "Neu " + change.module + "/" + change.controlKey)) << change.after;
        EXPECT_EQ(change.before, "Feld");
    }

    document.units.insert(document.units.begin() + 90, document.units[3]);
    document.units[90].id = asciiLower(document.units[90].id);
    try {
        planImport(project, document, "de.po");
        FAIL() << "a unit given twice was planned";
    } catch (const ImportRefused& refused) {
        EXPECT_EQ(std::string(refused.what()), "de.po holds the unit '" + document.units[90].id +
                                                   "' twice; nothing was imported");
    }
}

TEST(ImportPlan, FilesOfAnotherProjectOrLanguageAreRefused) {
    auto refusal = [](ExchangeDocument document) {
        try {
            planImport(smallProject(), document, "de.po");
        } catch (const ImportRefused& error) {
            return std::string(error.what());
        }
        return std::string("planned");
    };
    ExchangeDocument document = germanExport();
    document.project = "Billing.vbp";
    EXPECT_EQ(refusal(document), "de.po was exported from the project 'Billing.vbp', not from "
                                 "'Order.vbp'; nothing was imported");
    document = germanExport();
    document.project = "ORDER.VBP";
    document.targetLanguage = "german";
    EXPECT_EQ(refusal(document), "planned");
    document.targetLanguage = "French";
    EXPECT_EQ(refusal(document),
              "de.po holds text in 'French', which is not a language of Order.vbp (English, "
              "German); nothing was imported");
    document = germanExport();
    document.sourceLanguage = "German";
    EXPECT_EQ(refusal(document),
              "de.po was exported with 'German' as source, but the primary language of "
              "Order.vbp is 'English'; export the file again; nothing was imported");
    document = germanExport();
    document.units.push_back(document.units[0]);
    document.units.back().id = "frmorder/CMDOK";
    EXPECT_EQ(refusal(document),
              "de.po holds the unit 'frmorder/CMDOK' twice; nothing was imported");
}

TEST(Coverage, CountsControlsWithMoreThanSpacesPerModuleAndLanguage) {
    CoverageReport report = computeCoverage(smallProject(), {"English", "German"});
    ASSERT_EQ(report.languages.size(), 2u);
    EXPECT_EQ(report.languages[0].controls, 4);
    EXPECT_EQ(report.languages[0].withText, 2);
    EXPECT_EQ(report.languages[1].withText, 2);
    EXPECT_DOUBLE_EQ(report.languages[1].percent(), 50.0);
    ASSERT_EQ(report.modules.size(), 4u);
    EXPECT_EQ(report.modules[0].module, "frmOrder");
    EXPECT_EQ(report.modules[0].missing, (std::vector<std::string>{"lblNote", "txtNote"}));
    EXPECT_EQ(report.modules[1].missing, (std::vector<std::string>{"cmdCancel", "txtNote"}));
    EXPECT_EQ(report.modules[3].controls, 0);
    EXPECT_DOUBLE_EQ((LanguageCoverage{"German", 0, 0}.percent()), 100.0);
}

} // namespace
} // namespace corvane::exchange
