// The exchange files are read as streams: each unit reaches the import's plan as soon as the
// reader has passed it, long before the file ends, and the plan keeps no more than it reports.
#include "exchange/ImportPlan.h"
#include "exchange/PoReader.h"
#include "exchange/PoWriter.h"
#include "exchange/TranslationExport.h"
#include "exchange/XliffReader.h"
#include "exchange/XliffWriter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>

namespace corvane::exchange {
namespace {

// Serves a text and counts the bytes a reader has taken.
class CountingBuffer : public std::streambuf {
public:
    explicit CountingBuffer(std::string text) : text_(std::move(text)) {
        setg(text_.data(), text_.data(), text_.data());
    }
    size_t taken() const { return static_cast<size_t>(egptr() - text_.data()); }

protected:
    int_type underflow() override {
        if (egptr() == text_.data() + text_.size())
            return traits_type::eof();
        char* end = std::min(egptr() + 4096, text_.data() + text_.size()); // a few KB at a time
        setg(egptr(), egptr(), end);
        return traits_type::to_int_type(*gptr());
    }

private:
    std::string text_;
};

// Remembers how far the stream was read when each unit came.
class ProgressSink : public ExchangeSink {
public:
    explicit ProgressSink(const CountingBuffer& buffer) : buffer_(buffer) {}
    void header(const ExchangeDocument&) override { headerAt = buffer_.taken(); }
    void unit(ExchangeUnit&&) override { unitsAt.push_back(buffer_.taken()); }

    size_t headerAt = 0;
    std::vector<size_t> unitsAt;

private:
    const CountingBuffer& buffer_;
};

ProjectTexts project(int controls) {
    ProjectTexts texts{"Big.vbp", "English", {"English", "German"}, {}};
    ModuleTexts module{"frmBig", {}, false};
    for (int i = 0; i < controls; ++i)
        module.controls.push_back({"cmd" + std::to_string(i), "CommandButton", "",
                                   {{"English", "Does thing " + std::to_string(i) + "."}, {"German", "Tut es."}}});
    texts.modules.push_back(std::move(module));
    return texts;
}

template <typename Read>
void expectUnitsAsTheyCome(const std::string& text, Read read) {
    CountingBuffer buffer(text);
    std::istream in(&buffer);
    ProgressSink sink(buffer);
    read(in, sink);
    ASSERT_EQ(sink.unitsAt.size(), 5000u);
    EXPECT_LT(sink.headerAt, 100000u);
    EXPECT_LT(sink.unitsAt.front(), 100000u) << "the first unit waited for the file";
    EXPECT_LT(sink.unitsAt[2500], text.size() * 3 / 4);
    EXPECT_GT(text.size(), 500000u);
}

TEST(ExchangeStreaming, ReadersHandEachUnitOnAsTheyPassIt) {
    const ProjectTexts texts = project(5000);
    std::ostringstream xliff, po;
    const ExchangeDocument header = exportHeader(texts, "German", "en-US", "de-DE");
    writeXliff(xliff, header, exportUnits(texts, "German"));
    writePo(po, header, exportUnits(texts, "German"), "2026-12-06 23:10+0000");
    EXPECT_EQ(exportUnitCount(texts), 5000u);
    expectUnitsAsTheyCome(xliff.str(), [](std::istream& in, ExchangeSink& sink) { readXliff(in, "big.xlf", sink); });
    expectUnitsAsTheyCome(po.str(), [](std::istream& in, ExchangeSink& sink) { readPo(in, "big.po", sink); });
}

TEST(ExchangeStreaming, ThePlanKeepsTheChangesAndTheFirstSkippedUnitsOnly) {
    const ProjectTexts texts = project(3);
    ImportPlanner planner(texts, "big.xlf");
    planner.header(exportHeader(texts, "German", "en-US", "de-DE"));
    for (int i = 0; i < 5000; ++i)
        planner.unit(
            {"frmGone/x" + std::to_string(i), "frmGone", "x" + std::to_string(i), "", "", "a", "b", false, ""});
    // The same unknown unit twice is skipped twice; a control named twice refuses the file.
    planner.unit({"frmBig/cmd0", "frmBig", "cmd0", "", "", "Does thing 0.", "Tut es jetzt.", false, ""});
    EXPECT_THROW(planner.unit({"FRMBIG/CMD0", "FRMBIG", "CMD0", "", "", "Does thing 0.", "x", false, ""}),
                 ImportRefused);
    ImportPlan plan = planner.take();
    EXPECT_EQ(plan.skipped.size(), ImportPlan::MaxListedSkips);
    EXPECT_EQ(plan.skippedUnlisted, 5000 - static_cast<int64_t>(ImportPlan::MaxListedSkips));
    EXPECT_TRUE(plan.skippedAny());
    ASSERT_EQ(plan.changes.size(), 1u);
    EXPECT_EQ(plan.changes[0].after, "Tut es jetzt.");
}

} // namespace
} // namespace corvane::exchange
