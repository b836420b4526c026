#include "VbideTestFiles.h"
#include "testsupport/TempDir.h"
#include "vbide/VBE.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::vbide;

TEST(VBETest, ProjectsActiveProjectAndItemRemoved) {
    VBE vbe;
    EXPECT_EQ(vbe.ActiveVBProject(), nullptr);
    EXPECT_EQ(vbe.Version(), "6.0");
    vbe.setVersion("5.0");
    EXPECT_EQ(vbe.Version(), "5.0");

    std::vector<std::string> removed;
    auto events = vbe.Events().VBProjectsEvents();
    events->ItemRemoved().connect([&](VBProject& project) { removed.push_back(project.Name()); });

    auto tricky = vbe.openProject(testfiles::trickyFolder() / "Tricky.vbp");
    auto unsaved = vbe.newUnsavedProject();
    EXPECT_EQ(vbe.ActiveVBProject(), unsaved);
    EXPECT_EQ(vbe.ActiveVBProject()->FileName(), "");
    EXPECT_EQ(vbe.VBProjects().Count(), 2);
    vbe.setActiveProject(tricky);
    EXPECT_EQ(vbe.ActiveVBProject(), tricky);

    vbe.removeProject(unsaved); // not the active one: the active project stays
    EXPECT_EQ(removed, std::vector<std::string>{"Project1"});
    EXPECT_EQ(vbe.ActiveVBProject(), tricky);
    EXPECT_THROW(vbe.removeProject(unsaved), VbError);
    EXPECT_THROW(vbe.setActiveProject(unsaved), VbError);
    vbe.removeProject(tricky);
    EXPECT_EQ(removed.back(), "TrickyProject");
    EXPECT_EQ(vbe.ActiveVBProject(), nullptr);
    EXPECT_EQ(vbe.VBProjects().Count(), 0);
}

TEST(VBETest, AddInsMenuEntriesPasteFaceAndClick) {
    VBE vbe;
    EXPECT_EQ(vbe.CommandBars("Standard"), nullptr);
    auto menu = vbe.CommandBars("add-ins");
    ASSERT_NE(menu, nullptr);
    auto& controls = menu->Controls();
    ASSERT_EQ(controls.Count(), 2);
    EXPECT_EQ(controls.Item(1)->Caption(), "Add-In Manager...");
    EXPECT_FALSE(controls.Item(1)->BeginGroup());
    EXPECT_TRUE(controls.Item(2)->BeginGroup());
    EXPECT_THROW(controls.Item(0), VbError);

    auto entry = controls.Add(1);
    EXPECT_EQ(controls.Count(), 3);
    entry->SetCaption("Corvane ...");
    entry->SetOnAction("hello");
    EXPECT_THROW(entry->PasteFace(), VbError); // nothing on the clipboard yet
    vbe.Clipboard().SetText("earlier");
    auto icon = std::make_shared<Picture>(Picture{"bmp", "BM..."});
    vbe.Clipboard().SetData(icon);
    EXPECT_EQ(vbe.Clipboard().GetText(), "");
    entry->PasteFace();
    EXPECT_EQ(entry->Face(), icon);

    int clicks = 0;
    auto source = vbe.Events().CommandBarEvents(entry);
    source->Click().connect([&](CommandBarControl& clicked, bool& handled, bool& cancel) {
        EXPECT_EQ(&clicked, entry.get());
        EXPECT_FALSE(handled);
        EXPECT_FALSE(cancel);
        ++clicks;
    });
    entry->click();
    controls.Item(1)->click(); // another entry: no click for this source
    EXPECT_EQ(clicks, 1);
    source.reset();
    entry->click(); // the released source hears nothing
    EXPECT_EQ(clicks, 1);

    entry->Delete();
    EXPECT_EQ(controls.Count(), 2);
    EXPECT_THROW(entry->Delete(), VbError);
    EXPECT_THROW(vbe.Events().CommandBarEvents(nullptr), VbError);
}

TEST(VBETest, CustomMenuForTests) {
    VBE vbe({{"One", true}});
    EXPECT_EQ(vbe.CommandBars("Add-Ins")->Controls().Count(), 1);
    VBE empty(std::vector<MenuEntry>{});
    EXPECT_EQ(empty.CommandBars("Add-Ins")->Controls().Count(), 0);
}
