#include "scan/host_scan.h"

#include "scan/literals.h"

namespace lanhosts {
namespace {

constexpr std::int32_t kFullWidth = -1;
constexpr std::int32_t kNameField = 3;

}  // namespace

void HostScan(const ScanServices& s) {
    OwnedTextList hosts = NewEmptyTextList();
    OwnedTextList fields = NewEmptyTextList();
    OwnedText address;
    OwnedText hardwareAddress;

    s.appendStatusPane(kLiterals.scanProgress, kFullWidth);
    s.listServers(hosts);

    const std::int32_t n = TextListCount(hosts.get());
    for (std::int32_t i = 1; i <= n; ++i) {
        const char* entry = TextListMember(hosts.get(), i);
        fields = SplitAtDelimiter(entry ? entry : kLiterals.empty, kLiterals.backslash);
        if (TextListCount(fields.get()) < kNameField) {
            // Not a "\\name" entry: it comes from the network, so it still gets
            // its row as reported, without lookups, rather than stopping the
            // program and losing the rows already shown.
            std::int32_t row = s.insertRow(entry ? entry : kLiterals.empty);
            s.setCellText(row, 1, kLiterals.empty);
            s.setCellText(row, 2, kLiterals.empty);
            continue;
        }
        const char* name = TextListMember(fields.get(), kNameField);
        if (!name) name = kLiterals.empty;
        address = s.lookUpHostAddress(name);
        hardwareAddress = s.lookUpHardwareAddress(address.c_str());
        std::int32_t row = s.insertRow(name);
        s.setCellText(row, 1, address.c_str());
        s.setCellText(row, 2, hardwareAddress.c_str());
    }

    s.clearStatusPanes();
    const std::int32_t count = TextListCount(hosts.get());
    if (count != 0) {
        OwnedText digits = FormatNumber(count);
        OwnedText summary = JoinTexts({kLiterals.scanSuccessHead, digits.c_str(), kLiterals.scanSuccessTail});
        digits.reset();
        s.appendStatusPane(summary.c_str(), kFullWidth);
    } else {
        s.appendStatusPane(kLiterals.scanFailure, kFullWidth);
    }
}

}  // namespace lanhosts
