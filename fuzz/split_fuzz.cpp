// SplitAtDelimiter with every form of its arguments: the delimiter omitted,
// given empty, one byte or several (high-bit bytes included), the maximum
// omitted, negative, 0 or positive. The result is held against a plain
// model of the rules and against what a list block must be.
//
// Input: a form byte (bits 0-1 the delimiter form, bits 2-3 the maximum
// form), the delimiter's bytes for a given one (one byte, or a length byte
// and that many), four bytes of maximum for a negative or positive one, then
// the text up to the end or the first NUL.
#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "scan/text.h"

namespace lanhosts {
namespace {

using Pieces = std::vector<std::optional<std::string>>;

// The rules, one byte at a time: a delimiter ends a piece only where a
// character starts; a byte with the high bit set starts a character of two
// bytes, and ends the scan when nothing follows it.
Pieces Model(const std::string& text, const std::string& delimiter, std::optional<std::int32_t> maximum) {
    Pieces pieces;
    std::int32_t left = maximum ? (*maximum > 0 ? *maximum : 0) : 0;
    if (text.empty() || (maximum && left == 0)) return pieces;
    auto add = [&pieces](const std::string& piece) {
        pieces.push_back(piece.empty() ? std::nullopt : std::optional<std::string>(piece));
    };
    if (delimiter.empty()) {
        add(text);
        return pieces;
    }
    std::size_t start = 0;
    std::size_t p = 0;
    while (text.size() - p >= delimiter.size()) {
        if (text.compare(p, delimiter.size(), delimiter) == 0) {
            add(text.substr(start, p - start));
            p += delimiter.size();
            start = p;
            if (maximum && --left == 0) return pieces;
        } else if (static_cast<unsigned char>(text[p]) >= 0x80) {
            if (p + 1 == text.size()) break;
            p += 2;
        } else {
            p += 1;
        }
    }
    if (start < text.size()) pieces.push_back(text.substr(start));
    return pieces;
}

std::string Rejoined(const Pieces& pieces, const std::string& delimiter) {
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i) joined += delimiter;
        if (pieces[i]) joined += *pieces[i];
    }
    return joined;
}

// The list as it stands, checked to be a well-formed block of the allocator.
Pieces Members(const TextListHeader* list) {
    FUZZ_CHECK(list != nullptr);
    FUZZ_CHECK(list->dimensionCount == 1);
    const std::int32_t count = TextListCount(list);
    FUZZ_CHECK(count >= 0);
    FUZZ_CHECK(fuzz::BlockSize(list) == kTextListHeaderSize + sizeof(char*) * static_cast<std::size_t>(count));
    Pieces pieces;
    for (std::int32_t i = 1; i <= count; ++i) {
        const char* member = TextListMember(list, i);
        FUZZ_CHECK(member == TextListSlots(list)[i - 1]);
        if (!member) {
            pieces.push_back(std::nullopt);
            continue;
        }
        // Never a zero-length block, and each member a block of its own.
        FUZZ_CHECK(*member != '\0');
        FUZZ_CHECK(fuzz::BlockSize(member) == std::strlen(member) + 1);
        for (std::int32_t j = 1; j < i; ++j) FUZZ_CHECK(TextListMember(list, j) != member);
        pieces.push_back(std::string(member));
    }
    return pieces;
}

}  // namespace
}  // namespace lanhosts

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lanhosts;
    fuzz::Prepare();
    fuzz::Reader in(data, size);
    const std::uint8_t form = in.Byte();

    std::optional<std::string> delimiter;
    switch (form & 3) {
    case 0: break;  // omitted
    case 1: delimiter = std::string(); break;
    case 2: delimiter = in.Bytes(1); break;
    case 3: delimiter = in.Bytes(2 + in.Byte() % 7); break;
    }
    std::optional<std::int32_t> maximum;
    switch (form >> 2 & 3) {
    case 0: break;  // omitted
    case 1: {
        std::int32_t value = in.Int32();
        maximum = value < 0 ? value : (value == 0 ? INT32_MIN : -value);
        break;
    }
    case 2: maximum = 0; break;
    case 3: {
        std::int32_t value = in.Int32() & INT32_MAX;
        maximum = value ? value : 1;
        break;
    }
    }
    const std::string text = in.Rest();

    const std::size_t before = fuzz::LiveBlocks();
    {
        fuzz::ExactText exactText(text);
        std::optional<fuzz::ExactText> exactDelimiter;
        std::optional<const char*> delimiterArgument;
        if (delimiter) delimiterArgument = exactDelimiter.emplace(*delimiter).get();

        OwnedTextList list = SplitAtDelimiter(exactText.get(), delimiterArgument, maximum);
        const std::string delimiterUsed = delimiter.value_or(",");
        const Pieces pieces = Members(list.get());
        FUZZ_CHECK(pieces == Model(text, delimiterUsed, maximum));
        // Every member was copied out: the text and delimiter are untouched.
        FUZZ_CHECK(text == exactText.get());

        if (maximum) FUZZ_CHECK(pieces.size() <= static_cast<std::size_t>(*maximum > 0 ? *maximum : 0));
        if (text.empty()) FUZZ_CHECK(pieces.empty());
        if (!maximum && !text.empty()) {
            // Rejoined at the delimiter, the pieces give the text back, but
            // for a delimiter that ended it.
            const std::string joined = Rejoined(pieces, delimiterUsed);
            FUZZ_CHECK(joined == text || (!delimiterUsed.empty() && joined + delimiterUsed == text));
            FUZZ_CHECK(!pieces.empty());
        }
    }
    FUZZ_CHECK(fuzz::LiveBlocks() == before);
    return 0;
}
