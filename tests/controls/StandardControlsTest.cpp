#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/CommandButton.h"
#include "controls/Frame.h"
#include "controls/Image.h"
#include "controls/Label.h"
#include "controls/ListBox.h"
#include "controls/Menu.h"
#include "controls/PictureBox.h"
#include "controls/TextBox.h"
#include "controls/Timer.h"
#include "testsupport/VbErrors.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace corvane::controls {
namespace {

using corvane::test::errorNumberOf;

// Counts how often an event was raised.
struct Counter {
    int count = 0;
    void operator()() { ++count; }
};

TEST(TextBox, RaisesChangeForEveryNewTextButNotForTheSameText) {
    TextBox box("txtHelpText");
    std::vector<std::string> seen;
    box.Change.connect([&] { seen.push_back(box.Text()); });

    box.SetText("Hello");
    box.SetText("Hello");
    box.SetText("");
    box.SetProperty("Text", Variant("by name"));

    EXPECT_EQ(seen, (std::vector<std::string>{"Hello", "", "by name"}));
}

TEST(TextBox, SelectionCountsCharactersAndReplacesText) {
    TextBox box;
    box.SetText("Grüße, Welt");
    box.SetSelStart(2);
    box.SetSelLength(3);
    EXPECT_EQ(box.SelText(), "üße");

    Counter changes;
    box.Change.connect(std::ref(changes));
    box.SetSelText("eet");
    EXPECT_EQ(box.Text(), "Greet, Welt");
    EXPECT_EQ(box.SelStart(), 5);
    EXPECT_EQ(box.SelLength(), 0);
    EXPECT_EQ(changes.count, 1);

    box.SetSelStart(7);
    box.SetSelLength(4);
    box.SetSelText("Welt"); // the same text: no change
    EXPECT_EQ(changes.count, 1);

    box.SetSelStart(500); // beyond the end: the end
    EXPECT_EQ(box.SelStart(), 11);
    box.SetSelStart(3);
    box.SetSelLength(100); // cut at the end
    EXPECT_EQ(box.SelLength(), 8);
    EXPECT_EQ(errorNumberOf([&] { box.SetSelStart(-1); }), 380);
    EXPECT_EQ(errorNumberOf([&] { box.SetSelLength(-1); }), 380);

    box.SetText("new");
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(box.SelLength(), 0);
}

TEST(ListBox, SettingListIndexRaisesClickOnceAndOnlyOnChange) {
    ListBox list("lbxModules");
    list.AddItem("frmMain");
    list.AddItem("frmOrder");
    std::vector<int> clicks;
    list.Click.connect([&] { clicks.push_back(list.ListIndex()); });

    list.SetListIndex(1);
    list.SetListIndex(1);
    list.SetListIndex(-1);
    list.SetProperty("ListIndex", Variant(int32_t{0}));
    EXPECT_EQ(clicks, (std::vector<int>{1, -1, 0}));
    EXPECT_EQ(list.Text(), "frmMain");

    EXPECT_EQ(errorNumberOf([&] { list.SetListIndex(2); }), 380);
    EXPECT_EQ(errorNumberOf([&] { list.SetListIndex(-2); }), 380);
    EXPECT_EQ(clicks.size(), 3u);
}

TEST(ListBox, KeepsTheCurrentLineOnTheSameEntryWhileLinesComeAndGo) {
    ListBox list;
    Counter clicks;
    list.AddItem("b");
    list.AddItem("d");
    list.SetListIndex(1);
    list.Click.connect(std::ref(clicks));

    list.AddItem("a", 0);
    EXPECT_EQ(list.NewIndex(), 0);
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_EQ(list.Text(), "d");
    list.AddItem("c", 2);
    EXPECT_EQ(list.ListIndex(), 3);
    list.RemoveItem(0);
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_EQ(list.List(2), "d");
    list.RemoveItem(2); // the current line
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.ListCount(), 2);
    EXPECT_EQ(clicks.count, 0);

    EXPECT_EQ(list.List(-1), "");
    EXPECT_EQ(list.List(2), "");
    EXPECT_EQ(errorNumberOf([&] { (void)list.List(-2); }), 381);
    EXPECT_EQ(errorNumberOf([&] { list.SetList(2, "x"); }), 381);
    EXPECT_EQ(errorNumberOf([&] { list.AddItem("x", 3); }), 5);
    EXPECT_EQ(errorNumberOf([&] { list.RemoveItem(2); }), 5);

    list.SetItemData(1, 42);
    EXPECT_EQ(list.ItemData(1), 42);
    list.SetListIndex(0);
    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(clicks.count, 1); // only SetListIndex(0)
}

TEST(ListBox, MultiSelectionIsIndependentOfTheCurrentLine) {
    ListBox list("lbxLanguages");
    list.SetMultiSelect(1);
    for (const char* name : {"English", "German", "French"})
        list.AddItem(name);
    Counter clicks;
    list.Click.connect(std::ref(clicks));

    list.SetSelected(0, true);
    list.SetSelected(2, true);
    list.SetSelected(2, true); // unchanged: no Click
    list.SetListIndex(1);
    list.SetListIndex(-1);
    EXPECT_EQ(clicks.count, 4);
    EXPECT_TRUE(list.Selected(0));
    EXPECT_FALSE(list.Selected(1));
    EXPECT_TRUE(list.Selected(2));
    EXPECT_EQ(list.SelCount(), 2);
    EXPECT_EQ(errorNumberOf([&] { (void)list.Selected(3); }), 381);

    ListBox single;
    single.AddItem("a");
    single.AddItem("b");
    single.SetSelected(1, true);
    EXPECT_EQ(single.ListIndex(), 1);
    EXPECT_TRUE(single.Selected(1));
    EXPECT_FALSE(single.Selected(0));
    single.SetSelected(1, false);
    EXPECT_EQ(single.ListIndex(), -1);
    EXPECT_EQ(single.SelCount(), 0);
}

TEST(ComboBox, DropDownListSelectsLinesAndRaisesClickOnChange) {
    ComboBox combo("cboLanguages");
    combo.SetStyle(vbComboDropdownList);
    combo.AddItem("English");
    combo.AddItem("German");
    std::vector<std::string> clicks;
    combo.Click.connect([&] { clicks.push_back(combo.Text()); });
    Counter changes;
    combo.Change.connect(std::ref(changes));

    EXPECT_EQ(combo.Text(), "");
    combo.SetListIndex(1);
    combo.SetListIndex(1);
    combo.SetText("English");
    EXPECT_EQ(clicks, (std::vector<std::string>{"German", "English"}));
    EXPECT_EQ(errorNumberOf([&] { combo.SetText("english"); }), 383);
    EXPECT_EQ(changes.count, 0);

    combo.Clear();
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(combo.Text(), "");
    EXPECT_EQ(errorNumberOf([&] { combo.SetStyle(3); }), 380);
}

TEST(ComboBox, EditableComboKeepsFreeTextAndRaisesChange) {
    ComboBox combo;
    combo.AddItem("one");
    Counter changes, clicks;
    combo.Change.connect(std::ref(changes));
    combo.Click.connect(std::ref(clicks));

    combo.SetText("typed");
    combo.SetText("typed");
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(combo.ListIndex(), -1);
    combo.SetListIndex(0);
    EXPECT_EQ(combo.Text(), "one");
    EXPECT_EQ(clicks.count, 1);
}

TEST(CheckBox, RaisesClickOnlyWhenTheValueChanges) {
    CheckBox box("chkGenerateHTML");
    std::vector<int> clicks;
    box.Click.connect([&] { clicks.push_back(box.Value()); });

    box.SetValue(vbChecked);
    box.SetValue(vbChecked);
    box.SetValue(vbGrayed);
    box.SetProperty("Value", Variant(int16_t{0}));
    box.SetProperty("value", Variant("0"));
    EXPECT_EQ(clicks, (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(errorNumberOf([&] { box.SetValue(3); }), 380);
    EXPECT_EQ(errorNumberOf([&] { box.SetProperty("Value", Variant(true)); }), 380); // True is -1
    EXPECT_EQ(clicks.size(), 3u);
}

TEST(CommandButton, SettingValueTrueClicksTheButton) {
    CommandButton button("cmdOk");
    Counter clicks;
    button.Click.connect(std::ref(clicks));
    button.SetValue(false);
    EXPECT_EQ(clicks.count, 0);
    button.SetValue(true);
    button.SetProperty("Value", Variant(true));
    EXPECT_EQ(clicks.count, 2);
    EXPECT_FALSE(button.Value());
}

TEST(PictureBox, RaisesResizeWhenItsSizeChangesOnly) {
    PictureBox picture("picHTContainer");
    Counter resizes;
    picture.Resize.connect(std::ref(resizes));

    picture.Move(0, 0, 3000, 2000);
    picture.Move(100, 100, 3000, 2000); // moved only
    picture.SetLeft(5);
    picture.SetWidth(3000);             // unchanged
    picture.SetHeight(2500);
    EXPECT_EQ(resizes.count, 2);
    EXPECT_EQ(picture.ScaleWidth(), 3000 - 4 * 15);
    picture.SetBorderStyle(0);
    EXPECT_EQ(resizes.count, 3);
    EXPECT_EQ(picture.ScaleWidth(), 3000);
    EXPECT_EQ(picture.ScaleHeight(), 2500);
    EXPECT_EQ(errorNumberOf([&] { picture.SetWidth(-1); }), 380);
    EXPECT_EQ(picture.Width(), 3000);
}

TEST(Control, HandlesAreUniqueAndFindTheLiveControlOnly) {
    int32_t oldHandle = 0;
    {
        TextBox box("txtHelpText");
        Label label("Label1");
        EXPECT_NE(box.hWnd(), 0);
        EXPECT_NE(box.hWnd(), label.hWnd());
        EXPECT_EQ(Control::fromHandle(box.hWnd()), &box);
        oldHandle = box.hWnd();
    }
    EXPECT_EQ(Control::fromHandle(oldHandle), nullptr);
    TextBox other;
    EXPECT_NE(other.hWnd(), oldHandle); // never reused
}

// Which of the properties a caption loader and layout code ask for each type has.
TEST(Control, PropertiesByNameFollowEachTypeAndRaise438ForMissingOnes) {
    std::vector<std::unique_ptr<Control>> controls;
    controls.push_back(std::make_unique<Label>("Label1"));
    controls.push_back(std::make_unique<TextBox>("Text1"));
    controls.push_back(std::make_unique<ListBox>("List1"));
    controls.push_back(std::make_unique<ComboBox>("Combo1"));
    controls.push_back(std::make_unique<CheckBox>("Check1"));
    controls.push_back(std::make_unique<CommandButton>("Command1"));
    controls.push_back(std::make_unique<PictureBox>("Picture1"));
    controls.push_back(std::make_unique<Image>("Image1"));
    controls.push_back(std::make_unique<Frame>("Frame1"));
    controls.push_back(std::make_unique<Timer>("Timer1"));
    controls.push_back(std::make_unique<Menu>("mnuFile"));

    std::string table;
    for (const auto& control : controls) {
        table += control->TypeName() + ":";
        for (const char* property : {"Caption", "ToolTipText", "Tag", "Visible", "Width", "hWnd",
                                     "Text", "Interval"})
            if (control->HasProperty(property))
                table += std::string(" ") + property;
        table += "\n";
    }
    EXPECT_EQ(table, "Label: Caption ToolTipText Tag Visible Width\n"
                     "TextBox: ToolTipText Tag Visible Width hWnd Text\n"
                     "ListBox: ToolTipText Tag Visible Width hWnd Text\n"
                     "ComboBox: ToolTipText Tag Visible Width hWnd Text\n"
                     "CheckBox: Caption ToolTipText Tag Visible Width hWnd\n"
                     "CommandButton: Caption ToolTipText Tag Visible Width hWnd\n"
                     "PictureBox: ToolTipText Tag Visible Width hWnd\n"
                     "Image: ToolTipText Tag Visible Width\n"
                     "Frame: Caption ToolTipText Tag Visible Width hWnd\n"
                     "Timer: Tag Interval\n"
                     "Menu: Caption Tag Visible\n");

    Timer& timer = static_cast<Timer&>(*controls[9]);
    try {
        timer.SetProperty("Caption", Variant("x"));
        FAIL() << "a Timer has no Caption";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 438);
        EXPECT_EQ(error.description(), "Object doesn't support this property or method");
    }
    EXPECT_EQ(errorNumberOf([&] { (void)controls[1]->GetProperty("Caption"); }), 438);
    EXPECT_EQ(errorNumberOf([&] { (void)controls[10]->GetProperty("ToolTipText"); }), 438);
    EXPECT_EQ(errorNumberOf([&] { controls[0]->SetProperty("Name", Variant("x")); }), 383);
    EXPECT_EQ(errorNumberOf([&] { controls[0]->SetProperty("Left", Variant("abc")); }), 13);
}

TEST(Control, PropertiesByNameReadAndWriteTheModel) {
    Label label("Label1");
    label.SetProperty("CAPTION", Variant("108"));
    label.SetProperty("tag", Variant(int32_t{112}));
    label.SetProperty("Left", Variant(120.6));
    label.SetProperty("Visible", Variant(false));
    EXPECT_EQ(label.Caption(), "108");
    EXPECT_EQ(label.Tag(), "112");
    EXPECT_EQ(label.Left(), 121);
    EXPECT_FALSE(label.Visible());
    EXPECT_EQ(label.GetProperty("Name").toText(), "Label1");
    EXPECT_EQ(label.GetProperty("caption").toText(), "108");

    Menu menu("mnuCompile");
    std::vector<std::string> changes;
    menu.PropertyChanged.connect([&](std::string_view name) { changes.emplace_back(name); });
    menu.SetProperty("Checked", Variant(true));
    menu.SetProperty("Enabled", Variant("False"));
    EXPECT_TRUE(menu.Checked());
    EXPECT_FALSE(menu.Enabled());
    EXPECT_EQ(changes, (std::vector<std::string>{"Checked", "Enabled"}));
}

} // namespace
} // namespace corvane::controls
