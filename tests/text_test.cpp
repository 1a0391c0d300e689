#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "scan/literals.h"
#include "scan/text.h"
#include "tests/test_support.h"

namespace lanhosts {
namespace {

using test::CatchFatal;
using test::CountingHeap;
using test::FatalStop;
using test::Hex;

// Members of a list; an absent member reads as "<absent>".
std::vector<std::string> Members(const OwnedTextList& list) {
    std::vector<std::string> out;
    for (std::int32_t i = 1; i <= TextListCount(list.get()); ++i) {
        const char* m = TextListMember(list.get(), i);
        out.push_back(m ? m : "<absent>");
    }
    return out;
}

constexpr const char* kAbsent = "<absent>";

struct SplitCase {
    const char* name;
    std::string text;
    std::optional<const char*> delimiter;
    std::optional<std::int32_t> maximum;
    std::vector<std::string> expected;
};

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, GivesThePieces) {
    CountingHeap heap;
    const SplitCase& c = GetParam();
    {
        OwnedTextList list = SplitAtDelimiter(c.text.c_str(), c.delimiter, c.maximum);
        EXPECT_EQ(Members(list), c.expected);
        // Pieces are never zero-length blocks: an empty piece is absent.
        for (std::int32_t i = 1; i <= TextListCount(list.get()); ++i) {
            const char* m = TextListMember(list.get(), i);
            if (m) {
                EXPECT_GT(std::strlen(m), 0u);
            }
        }
        // One block for the list and one per present piece; the scratch is gone.
        std::int64_t present = 0;
        for (const auto& m : c.expected) present += m != kAbsent;
        EXPECT_EQ(heap.liveBlocks(), 1 + present);
    }
    EXPECT_EQ(heap.liveBlocks(), 0);
}

const std::string kNorikae = "\\\\\x81\x5c\x81\x5c";  // \\ then 乗乗 (trail bytes 0x5C)

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTest,
    ::testing::Values(
        SplitCase{"EmptyText", "", "\\", std::nullopt, {}},
        SplitCase{"EmptyTextWithMaximum", "", ",", 3, {}},
        SplitCase{"HostEntry", "\\\\PC1", "\\", std::nullopt, {kAbsent, kAbsent, "PC1"}},
        SplitCase{"FurtherBackslash", "\\\\PC1\\share", "\\", std::nullopt, {kAbsent, kAbsent, "PC1", "share"}},
        SplitCase{"LoneBackslash", "\\", "\\", std::nullopt, {kAbsent}},
        SplitCase{"TrailingDelimiter", "a\\", "\\", std::nullopt, {"a"}},
        SplitCase{"TwoInARow", "a\\\\b", "\\", std::nullopt, {"a", kAbsent, "b"}},
        SplitCase{"TrailByteIsNotADelimiter", kNorikae, "\\", std::nullopt,
                  {kAbsent, kAbsent, "\x81\x5c\x81\x5c"}},
        SplitCase{"TrailByteThenRealBackslash", "\x81\x5c\\x", "\\", std::nullopt, {"\x81\x5c", "x"}},
        SplitCase{"DanglingLeadByte", "ab\\c\x81", "\\", std::nullopt, {"ab", "c\x81"}},
        SplitCase{"DanglingLeadByteAlone", "\xfe", "\\", std::nullopt, {"\xfe"}},
        SplitCase{"OmittedDelimiterIsComma", "a,b", std::nullopt, std::nullopt, {"a", "b"}},
        SplitCase{"GivenEmptyDelimiterDoesNotSplit", "a,b", "", std::nullopt, {"a,b"}},
        SplitCase{"MaximumDropsTheRest", "a,b,c", ",", 2, {"a", "b"}},
        SplitCase{"MaximumOfOneOnLeadingDelimiter", ",a", ",", 1, {kAbsent}},
        SplitCase{"MaximumAboveCount", "a,b", ",", 5, {"a", "b"}},
        SplitCase{"MaximumZero", "a,b", ",", 0, {}},
        SplitCase{"MaximumNegative", "a,b", ",", -3, {}},
        SplitCase{"MultiByteDelimiter", "a::b:c::", "::", std::nullopt, {"a", "b:c"}},
        SplitCase{"MatchesDoNotOverlap", "a:::b", "::", std::nullopt, {"a", ":b"}},
        SplitCase{"ShorterThanDelimiter", "a", "::", std::nullopt, {"a"}},
        SplitCase{"NoDelimiter", "PC1", "\\", std::nullopt, {"PC1"}},
        SplitCase{"ChineseDelimiter", "甲、乙", "、", std::nullopt, {"甲", "乙"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Text, CopyAndPrefixGiveTheAbsentTextForNothing) {
    CountingHeap heap;
    EXPECT_TRUE(CopyText(nullptr).absent());
    EXPECT_TRUE(CopyText("").absent());
    EXPECT_TRUE(CopyTextPrefix("abc", 0).absent());
    EXPECT_TRUE(CopyTextPrefix("abc", -1).absent());
    EXPECT_STREQ(CopyText("abc" + 1).get(), "bc");
    EXPECT_STREQ(CopyTextPrefix("abcdef", 3).get(), "abc");
    EXPECT_EQ(TextByteCount(nullptr), 0);
    EXPECT_EQ(TextByteCount(""), 0);
    EXPECT_EQ(TextByteCount(kLiterals.scanFailure), 8);
    EXPECT_EQ(heap.totalAllocations(), 2);
    EXPECT_EQ(heap.liveBlocks(), 0);
}

TEST(Text, JoinAllocatesOnceAlsoWhenEmpty) {
    CountingHeap heap;
    {
        OwnedText summary = JoinTexts({kLiterals.scanSuccessHead, "12", kLiterals.scanSuccessTail});
        EXPECT_EQ(TextByteCount(summary.get()), 26);
        EXPECT_EQ(heap.liveBytes(), 27);
        EXPECT_EQ(heap.totalAllocations(), 1);
        OwnedText empty = JoinTexts({"", nullptr, ""});
        ASSERT_FALSE(empty.absent());
        EXPECT_STREQ(empty.get(), "");
        EXPECT_STREQ(JoinTexts({"a", nullptr, "b"}).get(), "ab");
    }
    EXPECT_EQ(heap.liveBlocks(), 0);
}

TEST(Text, FormatNumberKinds) {
    struct Case {
        OwnedText text;
        const char* expected;
    };
    Case cases[] = {
        {FormatNumber(std::int32_t{0}), "0"},
        {FormatNumber(std::int32_t{INT32_MIN}), "-2147483648"},
        {FormatNumber(std::int32_t{12}), "12"},
        {FormatNumber(std::uint8_t{255}), "255"},
        {FormatNumber(std::int16_t{-32768}), "-32768"},
        {FormatNumber(std::int64_t{INT64_MIN}), "-9223372036854775808"},
        {FormatNumber(1.0f / 3.0f), "0.333333"},
        {FormatNumber(1.0 / 3.0), "0.3333333333333"},
    };
    for (const Case& c : cases) EXPECT_STREQ(c.text.get(), c.expected);
}

TEST(TextList, MemberGuards) {
    CatchFatal fatal;
    OwnedTextList empty = NewEmptyTextList();
    OwnedTextList two = SplitAtDelimiter("a,b");
    struct Case {
        const TextListHeader* list;
        std::int32_t index;
        std::int32_t number;
        const char* message;
    } cases[] = {
        {empty.get(), 0, 4, kLiterals.errorIndexBelowOne},
        {empty.get(), 1, 1, kLiterals.errorIndexAboveRange},
        {two.get(), -1, 4, kLiterals.errorIndexBelowOne},
        {two.get(), 3, 1, kLiterals.errorIndexAboveRange},
    };
    for (const Case& c : cases) {
        try {
            TextListMember(c.list, c.index);
            ADD_FAILURE() << "index " << c.index << " returned";
        } catch (const FatalStop& stop) {
            EXPECT_EQ(stop.status, -1);
            std::string expected = std::string(kLiterals.reportHead) + kLiterals.reportCodeLabel +
                                   std::to_string(c.number) + "\r\n\r\n" + kLiterals.reportMessageLabel +
                                   c.message + "\r\n";
            EXPECT_EQ(Hex(stop.text), Hex(expected));
        }
    }
    EXPECT_STREQ(TextListMember(two.get(), 2), "b");
}

TEST(TextList, LayoutAndRelease) {
    CountingHeap heap;
    {
        OwnedTextList list = AllocateTextList(3);
        EXPECT_EQ(heap.liveBytes(), kTextListHeaderSize + 3 * static_cast<std::int64_t>(sizeof(char*)));
        EXPECT_EQ(list.get()->dimensionCount, 1);
        EXPECT_EQ(TextListCount(list.get()), 3);
        char** slots = TextListSlots(list.get());
        slots[0] = CopyText("x").release();
        slots[1] = nullptr;
        slots[2] = CopyText("z").release();
        EXPECT_EQ(TextListMember(list.get(), 2), nullptr);
        OwnedTextList empty = NewEmptyTextList();
        EXPECT_EQ(TextListCount(empty.get()), 0);
        list.get()->dimensionCount = 0;  // a list without dimensions has no members
        EXPECT_EQ(TextListCount(list.get()), 0);
        list.get()->dimensionCount = 1;
    }
    EXPECT_EQ(heap.liveBlocks(), 0);
}

TEST(Memory, ConstantDataIsNeverFreedOrResizedInPlace) {
    CountingHeap heap;
    ClearConstantData();
    RegisterProgramLiterals();
    FreeMemory(nullptr);
    FreeMemory(const_cast<char*>(kLiterals.scanFailure));  // the counting heap aborts on foreign blocks
    OwnedTextList list = AllocateTextList(1);
    TextListSlots(list.get())[0] = const_cast<char*>(kLiterals.scanProgress);
    list.reset();  // the literal member is skipped
    // A literal near the end of the block: the copy stops at the block's end.
    const char* last = kLiterals.openVerb;
    char* grown = static_cast<char*>(ReallocateMemory(const_cast<char*>(last), 64));
    EXPECT_STREQ(grown, "open");
    EXPECT_STREQ(kLiterals.openVerb, "open");
    FreeMemory(grown);
    EXPECT_EQ(heap.liveBlocks(), 0);
    ClearConstantData();
}

TEST(Memory, FailedAllocationIsReportedWithItsSize) {
    CountingHeap heap;
    CatchFatal fatal;
    heap.failAfter(0);
    try {
        AllocateMemory(1024);
        ADD_FAILURE() << "allocation failure returned";
    } catch (const FatalStop& stop) {
        EXPECT_EQ(Hex(stop.text), Hex(std::string(kLiterals.reportHead) + kLiterals.reportMessageLabel +
                                      "分配 1024 字节内存失败!\r\n"));
        EXPECT_EQ(stop.status, -1);
    }
    heap.failAfter(-1);
    void* block = AllocateMemory(8);
    heap.failAfter(0);
    EXPECT_THROW(ReallocateMemory(block, 4096), FatalStop);
    FreeMemory(block);
    EXPECT_THROW(AllocateMemory(-1), FatalStop);
}

// The texts must reach Win32 as code page 936 bytes.
TEST(Literals, AreCodePage936Bytes) {
    struct Case {
        const char* text;
        const char* hex;
    } cases[] = {
        {kLiterals.errorTitle, "b4 ed ce f3"},
        {kLiterals.scanFailure, "bb f1 c8 a1 ca a7 b0 dc"},
        {kLiterals.reportCodeLabel, "b4 ed ce f3 b4 fa c2 eb a3 ba"},
        {kLiterals.linkLabel, "c3 e2 b7 d1 c8 ed bc fe b7 a2 b2 bc c6 bd cc a8"},
        {kLiterals.columnName, "bc c6 cb e3 bb fa c3 fb b3 c6"},
        {kLiterals.scanProgress, "d5 fd d4 da b6 c1 c8 a1 be d6 d3 f2 cd f8 c4 da d6 f7 bb fa c1 d0 b1 ed 2e 2e 2e"},
    };
    for (const Case& c : cases) EXPECT_EQ(Hex(c.text), c.hex);
    EXPECT_EQ(std::strlen(kLiterals.windowTitle), 50u);
    EXPECT_EQ(std::strlen(kLiterals.linkLabel), 16u);
}

}  // namespace
}  // namespace lanhosts
