// The status line's pane list: normalisation of what Append is given, the
// texts kept, the part edges the bar is given, and the blocks behind them.
#include "ui/status_panes.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "scan/literals.h"
#include "tests/test_support.h"

namespace lanhosts {
namespace {

using test::CatchFatal;
using test::CountingHeap;
using test::FatalStop;

std::vector<StatusPane> Panes(const StatusPanes& panes) {
    std::vector<StatusPane> out;
    for (StatusPane pane : panes) out.push_back(pane);
    return out;
}

std::vector<std::int32_t> Edges(const StatusPanes& panes) {
    PaneEdges edges(panes);
    return std::vector<std::int32_t>(edges.data(), edges.data() + edges.count());
}

TEST(StatusPanes, AppendNormalisesWidth) {
    const struct {
        std::optional<std::int32_t> given;
        std::int32_t stored;
    } cases[] = {
        {std::nullopt, 50},     {-1, -1}, {-2, -1}, {-5, -1}, {INT32_MIN, -1}, {0, 0}, {1, 1}, {50, 50},
        {INT32_MAX, INT32_MAX},
    };
    for (const auto& c : cases) {
        StatusPanes panes;
        panes.Append("t", c.given);
        ASSERT_EQ(1, panes.count());
        EXPECT_EQ(c.stored, (*panes.begin()).width) << "given " << c.given.value_or(12345);
    }
}

TEST(StatusPanes, AppendMapsStyleCodes) {
    const struct {
        std::optional<std::int32_t> code;
        std::uint32_t style;
    } cases[] = {
        {std::nullopt, 0}, {0, 0}, {1, 0x100}, {2, 0x200}, {3, 0}, {7, 0}, {-1, 0}, {0x100, 0},
    };
    for (const auto& c : cases) {
        StatusPanes panes;
        panes.Append("t", -1, nullptr, std::nullopt, c.code);
        EXPECT_EQ(c.style, (*panes.begin()).style) << "code " << c.code.value_or(12345);
    }
}

TEST(StatusPanes, AppendNormalisesIcon) {
    const struct {
        std::optional<std::int32_t> given;
        std::int32_t stored;
    } cases[] = {
        {std::nullopt, -1}, {-1, -1}, {-2, -1}, {INT32_MIN, -1}, {0, 0}, {5, 5},
    };
    for (const auto& c : cases) {
        StatusPanes panes;
        panes.Append("t", -1, nullptr, c.given);
        EXPECT_EQ(c.stored, (*panes.begin()).icon) << "given " << c.given.value_or(12345);
    }
}

TEST(StatusPanes, KeepsTextsInOrder) {
    StatusPanes panes;
    EXPECT_EQ(0, panes.Append(kLiterals.scanProgress, -1));
    EXPECT_EQ(1, panes.Append("", 10, ""));
    EXPECT_EQ(2, panes.Append(nullptr, 20, nullptr));
    EXPECT_EQ(3, panes.Append("a", 30, "tip b", 4, 2));

    std::vector<StatusPane> read = Panes(panes);
    ASSERT_EQ(4u, read.size());
    EXPECT_EQ(4, panes.count());
    const struct {
        std::int32_t width;
        std::uint32_t style;
        std::int32_t icon;
        std::string text;
        std::string tip;
    } expected[] = {
        {-1, 0, -1, kLiterals.scanProgress, ""},
        {10, 0, -1, "", ""},
        {20, 0, -1, "", ""},
        {30, 0x200, 4, "a", "tip b"},
    };
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(expected[i].width, read[i].width) << i;
        EXPECT_EQ(expected[i].style, read[i].style) << i;
        EXPECT_EQ(expected[i].icon, read[i].icon) << i;
        EXPECT_EQ(test::Hex(expected[i].text), test::Hex(read[i].text)) << i;
        EXPECT_EQ(expected[i].tip, read[i].tip) << i;
    }
}

TEST(StatusPanes, ClearEmptiesAndIndicesStartAgain) {
    StatusPanes panes;
    EXPECT_TRUE(panes.empty());
    EXPECT_FALSE(panes.begin() != panes.end());
    panes.Append("one", -1);
    panes.Append("two", -1);
    panes.Clear();
    EXPECT_EQ(0, panes.count());
    EXPECT_FALSE(panes.begin() != panes.end());
    EXPECT_EQ(0, PaneEdges(panes).count());
    EXPECT_EQ(0, panes.Append("three", -1));
    EXPECT_EQ(1, panes.count());
}

TEST(PaneEdges, RunningSumUpToTheFirstPaneToTheEnd) {
    const struct {
        std::vector<std::optional<std::int32_t>> widths;
        std::vector<std::int32_t> edges;
    } cases[] = {
        {{-1}, {-1}},
        {{100, -1, 50}, {100, -1, 0}},
        {{80, 120}, {80, 200}},
        {{-5}, {-1}},
        {{std::nullopt, std::nullopt}, {50, 100}},
        {{0, 0, 10}, {0, 0, 10}},
        {{-1, -1, 30}, {-1, 0, 0}},
        {{10, 20, -7, 40}, {10, 30, -1, 0}},
    };
    for (const auto& c : cases) {
        StatusPanes panes;
        for (auto width : c.widths) panes.Append("t", width);
        EXPECT_EQ(c.edges, Edges(panes));
    }
}

TEST(StatusPanes, BlockHoldsCountFieldsAndTexts) {
    CountingHeap heap;
    {
        StatusPanes panes;
        panes.Append("ab", 100, "c");
        // Count, three fields, "ab\0", "c\0": one block.
        EXPECT_EQ(1, heap.liveBlocks());
        EXPECT_EQ(4 + 12 + 3 + 2, heap.liveBytes());
        panes.Append(nullptr);
        EXPECT_EQ(1, heap.liveBlocks());
        EXPECT_EQ(4 + 12 + 3 + 2 + 12 + 1 + 1, heap.liveBytes());
        {
            PaneEdges edges(panes);
            EXPECT_EQ(2, heap.liveBlocks());
        }
        EXPECT_EQ(1, heap.liveBlocks());
        panes.Clear();
        EXPECT_EQ(0, heap.liveBlocks());
        panes.Append("x");
    }
    EXPECT_EQ(0, heap.liveBlocks());
}

TEST(StatusPanes, FailedGrowthKeepsCountAndPanes) {
    CountingHeap heap;
    CatchFatal fatal;
    StatusPanes panes;

    heap.failAfter(0);
    EXPECT_THROW(panes.Append("first", 10), FatalStop);
    EXPECT_EQ(0, panes.count());
    EXPECT_EQ(0, heap.liveBlocks());

    heap.failAfter(-1);
    panes.Append("first", 10, "tip");
    heap.failAfter(0);
    try {
        panes.Append("second", 20);
        ADD_FAILURE() << "growth did not fail";
    } catch (const FatalStop& stop) {
        EXPECT_NE(std::string::npos, stop.text.find(kLiterals.reportMessageLabel));
        EXPECT_EQ(-1, stop.status);
    }
    heap.failAfter(-1);

    std::vector<StatusPane> read = Panes(panes);
    ASSERT_EQ(1u, read.size());
    EXPECT_EQ(1, panes.count());
    EXPECT_EQ(10, read[0].width);
    EXPECT_STREQ("first", read[0].text);
    EXPECT_STREQ("tip", read[0].tip);
    EXPECT_EQ(1, panes.Append("second", 20));
    EXPECT_EQ((std::vector<std::int32_t>{10, 30}), Edges(panes));
    panes.Clear();
    EXPECT_EQ(0, heap.liveBlocks());
}

}  // namespace
}  // namespace lanhosts
