// The text operations the scan builds its values with: JoinTexts of one to
// eight parts (absent parts among them), CopyTextPrefix and CopyText at any
// position of a text with any count up to its end, and FormatNumber of the
// integer kinds. Each result must be exactly the bytes asked for, in a
// block of exactly its size, and the empty result the absent text (but for
// JoinTexts, which always allocates).
//
// Input: an operation byte, then its arguments (see each case).
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "scan/text.h"

namespace lanhosts {
namespace {

void CheckAllocated(const OwnedText& text, const std::string& expected) {
    FUZZ_CHECK(!text.absent());
    FUZZ_CHECK(fuzz::BlockSize(text.get()) == expected.size() + 1);
    FUZZ_CHECK(std::memcmp(text.get(), expected.c_str(), expected.size() + 1) == 0);
}

// Absent when empty, else a block of exactly the bytes.
void CheckCopy(const OwnedText& text, const std::string& expected) {
    if (expected.empty()) {
        FUZZ_CHECK(text.absent());
        FUZZ_CHECK(std::strcmp(text.c_str(), "") == 0);
        return;
    }
    CheckAllocated(text, expected);
}

OwnedText Join(const std::vector<const char*>& p) {
    switch (p.size()) {
    case 1: return JoinTexts({p[0]});
    case 2: return JoinTexts({p[0], p[1]});
    case 3: return JoinTexts({p[0], p[1], p[2]});
    case 4: return JoinTexts({p[0], p[1], p[2], p[3]});
    case 5: return JoinTexts({p[0], p[1], p[2], p[3], p[4]});
    case 6: return JoinTexts({p[0], p[1], p[2], p[3], p[4], p[5]});
    case 7: return JoinTexts({p[0], p[1], p[2], p[3], p[4], p[5], p[6]});
    default: return JoinTexts({p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]});
    }
}

// A part count byte (1 to 8), then per part a byte whose value 0 makes the
// part absent, else a text (length byte and bytes).
void FuzzJoin(fuzz::Reader& in) {
    const std::size_t count = 1 + in.Byte() % 8;
    std::vector<std::string> texts;
    std::vector<bool> absent;
    for (std::size_t i = 0; i < count; ++i) {
        absent.push_back(in.Byte() == 0);
        texts.push_back(absent.back() ? std::string() : in.Text());
    }
    std::vector<fuzz::ExactText*> blocks;
    std::vector<const char*> parts;
    std::string expected;
    for (std::size_t i = 0; i < count; ++i) {
        blocks.push_back(absent[i] ? nullptr : new fuzz::ExactText(texts[i]));
        parts.push_back(absent[i] ? nullptr : blocks.back()->get());
        expected += texts[i];
    }
    {
        OwnedText joined = Join(parts);
        CheckAllocated(joined, expected);
    }
    for (fuzz::ExactText* block : blocks) delete block;
}

// A position byte and four count bytes, then the text. The count is taken
// modulo the bytes left after the position, keeping its sign; a count byte
// pattern of 0x80 0 0 0 gives INT32_MIN.
void FuzzCopy(fuzz::Reader& in) {
    const std::uint8_t at = in.Byte();
    const std::int32_t rawCount = in.Int32();
    const std::string text = in.Rest();
    const std::size_t position = text.empty() ? 0 : at % (text.size() + 1);
    const std::int32_t left = static_cast<std::int32_t>(text.size() - position);
    std::int32_t count = rawCount;
    if (rawCount > 0) count = left ? 1 + (rawCount - 1) % left : 0;

    fuzz::ExactText exact(text);
    const char* start = exact.get() + position;
    {
        OwnedText prefix = CopyTextPrefix(start, count);
        CheckCopy(prefix, count > 0 ? text.substr(position, static_cast<std::size_t>(count)) : std::string());
        OwnedText rest = CopyText(start);
        CheckCopy(rest, text.substr(position));
        FUZZ_CHECK(TextByteCount(start) == left);
    }
    OwnedText none = CopyText(nullptr);
    FUZZ_CHECK(none.absent());
    FUZZ_CHECK(TextByteCount(nullptr) == 0);
}

void FuzzNumbers(fuzz::Reader& in) {
    const std::int32_t value = in.Int32();
    const std::int64_t wide = static_cast<std::int64_t>(static_cast<std::uint64_t>(static_cast<std::uint32_t>(in.Int32())) << 32 |
                                                        static_cast<std::uint32_t>(in.Int32()));
    CheckAllocated(FormatNumber(value), std::to_string(value));
    CheckAllocated(FormatNumber(wide), std::to_string(wide));
    CheckAllocated(FormatNumber(static_cast<std::uint8_t>(value)), std::to_string(static_cast<unsigned>(value & 0xFF)));
    CheckAllocated(FormatNumber(static_cast<std::int16_t>(value)), std::to_string(static_cast<std::int16_t>(value)));
}

}  // namespace
}  // namespace lanhosts

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lanhosts;
    fuzz::Prepare();
    fuzz::Reader in(data, size);
    const std::size_t before = fuzz::LiveBlocks();
    switch (in.Byte() % 3) {
    case 0: FuzzJoin(in); break;
    case 1: FuzzCopy(in); break;
    case 2: FuzzNumbers(in); break;
    }
    FUZZ_CHECK(fuzz::LiveBlocks() == before);
    return 0;
}
