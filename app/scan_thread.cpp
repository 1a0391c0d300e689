#include "app/scan_thread.h"

#include "scan/host_scan.h"
#include "scan/lookup.h"
#include "scan/wnet.h"
#include "ui/host_list.h"
#include "ui/status_line.h"

namespace lanhosts {
namespace {

std::int32_t ListNeighbourhood(OwnedTextList& hosts) {
    WNet network;
    return network.ListServers(hosts);
}

std::int32_t InsertHostRow(const char* text) {
    return InsertRow(WindowId::kMainWindow, ControlId::kHostList, std::nullopt, text);
}

void SetHostCell(std::int32_t row, std::int32_t column, const char* text) {
    SetCellText(WindowId::kMainWindow, ControlId::kHostList, row, column, text);
}

std::int32_t AppendStatus(const char* text, std::int32_t width) {
    return AppendStatusPane(WindowId::kMainWindow, ControlId::kStatusLine, text, width);
}

void ClearStatus() { ClearStatusPanes(WindowId::kMainWindow, ControlId::kStatusLine); }

constexpr ScanServices kProgramScan = {ListNeighbourhood, LookUpHostAddress, LookUpHardwareAddress, InsertHostRow,
                                       SetHostCell,       AppendStatus,      ClearStatus};

}  // namespace

DWORD WINAPI ScanThreadEntry(LPVOID) {
    HostScan(kProgramScan);
    return 0;
}

}  // namespace lanhosts
