// The status line's pane buffer under a sequence of operations: Append with
// each optional argument omitted or given (null texts among them), Clear,
// and the part edges. After every step the block is read back and held
// against a model of the panes: count, fields, texts, the block's exact
// size, and the edges.
//
// Input: operation bytes, each followed by its arguments. Operation % 8:
// 0-4 Append (a flag byte says which of text, width, tip, icon and style
// code are given; given numbers take a selector byte, texts a length byte
// and bytes), 5 Clear, 6-7 the edges.
#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "ui/status_panes.h"

namespace lanhosts {
namespace {

struct ModelPane {
    std::int32_t width;
    std::uint32_t style;
    std::int32_t icon;
    std::string text;
    std::string tip;
};

// Numbers near the edges of the rules, or any 32-bit value.
std::int32_t Number(fuzz::Reader& in) {
    static const std::int32_t kEdges[] = {INT32_MIN, -3, -2, -1, 0, 1, 2, 3, 50, 100, INT32_MAX};
    const std::uint8_t selector = in.Byte();
    if (selector < 200) return kEdges[selector % (sizeof kEdges / sizeof kEdges[0])];
    return in.Int32();
}

std::vector<std::int32_t> ModelEdges(const std::vector<ModelPane>& panes) {
    std::vector<std::int32_t> edges(panes.size(), 0);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < panes.size(); ++i) {
        if (panes[i].width == kPaneToEnd) {
            edges[i] = kPaneToEnd;
            break;
        }
        sum += static_cast<std::uint32_t>(panes[i].width);
        edges[i] = static_cast<std::int32_t>(sum);
    }
    return edges;
}

void CheckPanes(const StatusPanes& panes, const std::vector<ModelPane>& model, const void* block) {
    FUZZ_CHECK(panes.count() == static_cast<std::int32_t>(model.size()));
    FUZZ_CHECK(panes.empty() == model.empty());
    std::size_t i = 0;
    std::size_t bytes = 4;
    for (StatusPane pane : panes) {
        FUZZ_CHECK(i < model.size());
        const ModelPane& expected = model[i++];
        FUZZ_CHECK(pane.width == expected.width);
        FUZZ_CHECK(pane.style == expected.style);
        FUZZ_CHECK(pane.icon == expected.icon);
        FUZZ_CHECK(pane.text == expected.text);
        FUZZ_CHECK(pane.tip == expected.tip);
        bytes += 12 + expected.text.size() + 1 + expected.tip.size() + 1;
    }
    FUZZ_CHECK(i == model.size());
    // One block while there are panes, of exactly the packed size.
    if (model.empty()) {
        FUZZ_CHECK(block == nullptr);
    } else {
        FUZZ_CHECK(fuzz::BlockSize(block) == bytes);
    }
}

// The one block the panes hold: the first pane's text sits 16 bytes into it,
// behind the count and the pane's three fields.
const void* PaneBlock(const StatusPanes& panes) {
    if (panes.empty()) return nullptr;
    return reinterpret_cast<const char*>((*panes.begin()).text) - 16;
}

}  // namespace
}  // namespace lanhosts

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lanhosts;
    fuzz::Prepare();
    fuzz::Reader in(data, size);
    const std::size_t before = fuzz::LiveBlocks();
    {
        StatusPanes panes;
        std::vector<ModelPane> model;
        // At most a few hundred steps: enough for any order of operations.
        for (int step = 0; step < 512 && !in.done(); ++step) {
            const std::uint8_t op = in.Byte() % 8;
            if (op <= 4) {
                const std::uint8_t given = in.Byte();
                std::optional<std::string> text, tip;
                std::optional<std::int32_t> width, icon, style;
                if (given & 1) text = in.Text();
                if (given & 2) width = Number(in);
                if (given & 4) tip = in.Text();
                if (given & 8) icon = Number(in);
                if (given & 16) style = Number(in);
                std::optional<fuzz::ExactText> textBlock, tipBlock;
                const char* textArgument = text ? textBlock.emplace(*text).get() : nullptr;
                const char* tipArgument = tip ? tipBlock.emplace(*tip).get() : nullptr;

                ModelPane pane;
                pane.width = !width ? kDefaultPaneWidth : (*width < kPaneToEnd ? kPaneToEnd : *width);
                pane.style = style == 1 ? kPaneNoBorders : (style == 2 ? kPanePopOut : 0u);
                pane.icon = !icon || *icon < kNoPaneIcon ? kNoPaneIcon : *icon;
                pane.text = text.value_or("");
                pane.tip = tip.value_or("");
                const std::size_t blocksBefore = fuzz::LiveBlocks();
                // The shortest call that passes every given argument.
                std::int32_t index;
                if (given & 16) {
                    index = panes.Append(textArgument, width, tipArgument, icon, style);
                } else if (given & 8) {
                    index = panes.Append(textArgument, width, tipArgument, icon);
                } else if (given & 4) {
                    index = panes.Append(textArgument, width, tipArgument);
                } else if (given & 2) {
                    index = panes.Append(textArgument, width);
                } else {
                    index = panes.Append(textArgument);
                }
                FUZZ_CHECK(index == static_cast<std::int32_t>(model.size()));
                FUZZ_CHECK(fuzz::LiveBlocks() == blocksBefore + (model.empty() ? 1 : 0));
                model.push_back(pane);
            } else if (op == 5) {
                panes.Clear();
                model.clear();
                FUZZ_CHECK(fuzz::LiveBlocks() == before);
            } else {
                const std::size_t blocksBefore = fuzz::LiveBlocks();
                {
                    PaneEdges edges(panes);
                    FUZZ_CHECK(edges.count() == static_cast<std::int32_t>(model.size()));
                    const std::vector<std::int32_t> expected = ModelEdges(model);
                    FUZZ_CHECK(std::vector<std::int32_t>(edges.data(), edges.data() + edges.count()) == expected);
                    if (edges.count() > 0) {
                        FUZZ_CHECK(fuzz::BlockSize(edges.data()) == 4 * expected.size());
                        for (std::int32_t i = 0; i < edges.count(); ++i) FUZZ_CHECK(edges[i] == expected[i]);
                    } else {
                        FUZZ_CHECK(edges.data() == nullptr);
                    }
                }
                FUZZ_CHECK(fuzz::LiveBlocks() == blocksBefore);
            }
            CheckPanes(panes, model, PaneBlock(panes));
        }
    }
    FUZZ_CHECK(fuzz::LiveBlocks() == before);
    return 0;
}
