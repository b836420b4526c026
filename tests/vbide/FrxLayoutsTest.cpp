// Forms whose .frx files hold every kind of record found in real projects, and the broken
// references the IDE survives, as real files in a temporary folder: every control loads and
// the captions kept in the .frx are read.
#include "testsupport/TempDir.h"
#include "vbide/PathResolver.h"
#include "vbide/VBProject.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace corvane::vbide {
namespace {

using test::TempDir;
using test::writeFile;

std::string u16(uint32_t value) { return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)}; }
std::string u32(uint32_t value) { return u16(value & 0xFFFF) + u16(value >> 16); }

// A text record of each kind the IDE writes.
std::string shortText(const std::string& text) { return static_cast<char>(text.size()) + text; }
std::string longText(const std::string& text) { return u32(static_cast<uint32_t>(text.size())) + text; }
std::string markedText(const std::string& text) { return "\xFF" + u16(static_cast<uint32_t>(text.size())) + text; }

std::string listRecord(const std::vector<std::string>& items) {
    size_t longest = 3;
    for (const auto& item : items)
        longest = std::max(longest, item.size());
    std::string record = u16(static_cast<uint32_t>(items.size()));
    if (items.empty())
        return record; // an empty list is a single 16-bit zero
    record += u16(static_cast<uint32_t>(longest));
    for (const auto& item : items)
        record += u16(static_cast<uint32_t>(item.size())) + item;
    return record;
}

std::string itemDataRecord(const std::vector<int>& numbers) {
    std::string record = u16(static_cast<uint32_t>(numbers.size())) + u16(3);
    for (int number : numbers)
        record += u16(static_cast<uint32_t>(std::to_string(number).size())) + std::to_string(number);
    return record;
}

std::string streamBlob() {
    std::string payload("\x01\x00\x00\x00\x00\x00\x05\x00\x00\x00\x00\x00\xFF\xFF", 14);
    return "LB" + u16(1) + u32(static_cast<uint32_t>(payload.size())) + u32(0) + u32(0) + u32(4800) + u32(2400) +
           payload;
}

std::string oleContainerBlob() {
    std::string compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\x00\x00\x00\x00", 12);
    return u16(0x18) + u32(static_cast<uint32_t>(compound.size())) + u32(0x01D2A1B3) + u32(0x5E0C) + u32(0x01D2A1B3) +
           u32(0x5E0D) + u16(0) + compound;
}

std::string bindingsRecord() { return u32(0x0001FAC6) + u32(9) + shortText("adoOrders") + std::string(6, '\0'); }

std::string pictureRecord() {
    std::string bitmap("BM\x3A\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00", 14);
    return u32(static_cast<uint32_t>(bitmap.size() + 8)) + "lt" + std::string(2, '\0') +
           u32(static_cast<uint32_t>(bitmap.size())) + bitmap;
}

struct Layout {
    const char* what;
    const char* progId;
    const char* property;
    std::string record;
};

std::vector<Layout> layouts() {
    return {
        {"list", "VB.ComboBox", "List", listRecord({"Red", "Green", "A much longer colour"})},
        {"item data", "VB.ComboBox", "ItemData", itemDataRecord({1, 20, -300})},
        {"empty list", "VB.ListBox", "List", listRecord({})},
        {"stream-saved ActiveX", "MSDataGridLib.DataGrid", "OleObjectBlob", streamBlob()},
        {"OLE container", "VB.OLE", "OleObjectBlob", oleContainerBlob()},
        {"bindings", "MSDataGridLib.DataGrid", "Bindings", bindingsRecord()},
        {"picture", "VB.CommandButton", "Picture", pictureRecord()},
        {"tab picture", "TabDlg.SSTab", "TabPicture(0)", u32(6) + "\x01\x02\x03\x04\x05\x06"},
    };
}

std::string hex4(size_t offset) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04zX", offset);
    return buffer;
}

// The caption of the label after row i, in one of the three text kinds.
std::string captionOf(size_t i) {
    std::string caption = "Caption " + std::to_string(i) + " \"quoted\"\r\nsecond line";
    return i % 3 == 2 ? caption + std::string(300 - caption.size(), '.') : caption;
}

std::string textRecord(size_t i) {
    return i % 3 == 0 ? shortText(captionOf(i)) : i % 3 == 1 ? longText(captionOf(i)) : markedText(captionOf(i));
}

struct Built {
    std::string form;
    std::string frx;
};

// A form with, per layout, a control holding that record and a label whose caption follows it
// in the .frx; `frxName` is how the form names its .frx.
Built buildForm(const std::string& name, const std::string& frxName) {
    Built built;
    built.form = "VERSION 5.00\r\nBegin VB.Form " + name + " \r\n   Caption         =   \"Layouts\"\r\n";
    auto reference = [&](size_t offset) {
        return "\"" + frxName + "\":" + hex4(offset);
    };
    auto layoutsList = layouts();
    for (size_t i = 0; i < layoutsList.size(); ++i) {
        const Layout& layout = layoutsList[i];
        std::string n = std::to_string(i);
        built.form += "   Begin " + std::string(layout.progId) + " ctl" + n + " \r\n      " + layout.property +
                      " = " + reference(built.frx.size()) + "\r\n      WhatsThisHelpID =   " +
                      std::to_string(10 + i) + "\r\n   End\r\n";
        built.frx += layout.record;
        built.form += "   Begin VB.Label lbl" + n + " \r\n      Caption         =   $" + reference(built.frx.size()) +
                      "\r\n      WhatsThisHelpID =   " + std::to_string(100 + i) + "\r\n   End\r\n";
        built.frx += textRecord(i);
    }
    built.form += "End\r\nAttribute VB_Name = \"" + name + "\"\r\n";
    return built;
}

class FrxLayoutsTest : public ::testing::Test {
protected:
    std::shared_ptr<VBComponent> open(const std::string& name) {
        writeFile(dir_ / "Layouts.vbp", "Type=Exe\r\nForm=" + name + ".frm\r\nName=\"Layouts\"\r\n");
        project_ = VBProject::open(dir_ / "Layouts.vbp");
        return project_->VBComponents().Item(1);
    }

    // Every control of the form loads: two per layout, with their help ids.
    void expectEveryControl(VBComponent& component) {
        auto& controls = component.Designer()->VBControls();
        ASSERT_EQ(controls.Count(), static_cast<int>(2 * layouts().size()));
        for (size_t i = 0; i < layouts().size(); ++i) {
            auto& holder = controls.Item(static_cast<int>(2 * i + 1))->Properties();
            auto& label = controls.Item(static_cast<int>(2 * i + 2))->Properties();
            EXPECT_EQ(holder.Item("Name").Value().toText(), "ctl" + std::to_string(i)) << layouts()[i].what;
            EXPECT_EQ(holder.Item("WhatsThisHelpID").Value().toLong(), static_cast<int>(10 + i)) << layouts()[i].what;
            EXPECT_EQ(holder.Item(layouts()[i].property).Value().kind(), Variant::Kind::Object) << layouts()[i].what;
            EXPECT_EQ(label.Item("WhatsThisHelpID").Value().toLong(), static_cast<int>(100 + i)) << layouts()[i].what;
        }
    }

    std::string captionAt(VBComponent& component, size_t i) {
        return component.Designer()->VBControls().Item(static_cast<int>(2 * i + 2))->Properties().Item("Caption").Value().toText();
    }

    TempDir dir_;
    std::shared_ptr<VBProject> project_;
};

TEST_F(FrxLayoutsTest, EveryRecordLayoutLoadsAndTheCaptionsAfterThemRead) {
    Built built = buildForm("frmLayouts", "frmLayouts.frx");
    writeFile(dir_ / "frmLayouts.frm", built.form);
    writeFile(dir_ / "frmLayouts.frx", built.frx);
    auto component = open("frmLayouts");
    expectEveryControl(*component);
    for (size_t i = 0; i < layouts().size(); ++i)
        EXPECT_EQ(captionAt(*component, i), captionOf(i)) << layouts()[i].what;
    EXPECT_TRUE(component->warnings().empty()) << component->warnings().front().describe();
    // Nothing is written back when nothing changed, and a change keeps the .frx references.
    component->Designer()->VBControls().Item(1)->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{77}));
    project_->save();
    std::string saved = test::readFile(dir_ / "frmLayouts.frm");
    EXPECT_EQ(saved.size(), built.form.size());
    EXPECT_NE(saved.find("WhatsThisHelpID =   77"), std::string::npos);
    EXPECT_EQ(test::readFile(dir_ / "frmLayouts.frx"), built.frx);
}

TEST_F(FrxLayoutsTest, AMissingFrxGivesAWarningPerPropertyAndEveryControl) {
    Built built = buildForm("frmNoFrx", "frmNoFrx.frx");
    writeFile(dir_ / "frmNoFrx.frm", built.form);
    auto component = open("frmNoFrx");
    expectEveryControl(*component);
    const auto& warnings = component->warnings();
    ASSERT_EQ(warnings.size(), 2 * layouts().size());
    EXPECT_EQ(warnings[0].file, (dir_ / "frmNoFrx.frm").string());
    EXPECT_EQ(warnings[0].line, 5u);
    EXPECT_EQ(warnings[0].object, "ctl0");
    EXPECT_EQ(warnings[0].property, "List");
    EXPECT_EQ(warnings[1].line, 9u);
    EXPECT_EQ(warnings[1].object, "lbl0");
    EXPECT_EQ(warnings[1].property, "Caption");
    EXPECT_EQ(warnings[1].problem, "the file 'frmNoFrx.frx' it refers to does not exist");
    EXPECT_EQ(captionAt(*component, 0), "");
}

TEST_F(FrxLayoutsTest, AnEightDotThreeNameFindsTheFileBesideTheForm) {
    Built built = buildForm("ActXCtaCred", "ACTXCT~1.frx");
    writeFile(dir_ / "ActXCtaCred.frm", built.form);
    writeFile(dir_ / "ActXCtaCred.frx", built.frx);
    writeFile(dir_ / "ActXCtaOther.frx", "\x01x"); // may have the short name ~2: the form's stem wins
    auto component = open("ActXCtaCred");
    expectEveryControl(*component);
    for (size_t i = 0; i < layouts().size(); ++i)
        EXPECT_EQ(captionAt(*component, i), captionOf(i)) << layouts()[i].what;
    ASSERT_FALSE(component->warnings().empty());
    EXPECT_EQ(component->warnings()[0].problem, "the file 'ACTXCT~1.frx' is taken to be 'ActXCtaCred.frx'");

    EXPECT_TRUE(PathResolver::isShortNameOf("ACTXCT~1.ctx", "ActXCtaCred.ctx"));
    EXPECT_TRUE(PathResolver::isShortNameOf("MYFORM~12.FRX", "My Form.Orders.frx"));
    EXPECT_FALSE(PathResolver::isShortNameOf("ACTXCT~1.ctx", "ActXCtaCred.frx"));
    EXPECT_FALSE(PathResolver::isShortNameOf("ACTXCT~X.ctx", "ActXCtaCred.ctx"));
    EXPECT_FALSE(PathResolver::isShortNameOf("ACTXCTA.ctx", "ActXCtaCred.ctx"));
}

TEST_F(FrxLayoutsTest, AFrxOutOfStepWithItsFormLoadsEveryControlWithWarnings) {
    // The records lie 15 bytes later than the form's offsets say.
    Built built = buildForm("frmStep", "frmStep.frx");
    writeFile(dir_ / "frmStep.frm", built.form);
    writeFile(dir_ / "frmStep.frx", std::string(15, '\x01') + built.frx);
    auto component = open("frmStep");
    expectEveryControl(*component);
    size_t captionWarnings = 0;
    for (const auto& warning : component->warnings()) {
        EXPECT_EQ(warning.property, "Caption") << warning.describe();
        EXPECT_EQ(warning.file, (dir_ / "frmStep.frm").string());
        ++captionWarnings;
    }
    // A caption is either the one the .frx holds for it or, with a warning, empty: never bytes
    // of another record.
    size_t empty = 0;
    for (size_t i = 0; i < layouts().size(); ++i) {
        std::string caption = captionAt(*component, i);
        EXPECT_TRUE(caption.empty() || caption == captionOf(i)) << i << ": " << caption;
        empty += caption.empty() ? 1 : 0;
    }
    EXPECT_EQ(captionWarnings, empty);
    EXPECT_GT(empty, 0u);
}

} // namespace
} // namespace corvane::vbide
