// A fixture network provider for the tests. The router (mpr) loads it like any
// provider and forwards the enumeration of its resources to it; it serves the
// tree described by the file whose path the environment variable
// LANHOSTS_NET_FIXTURE holds. The file is read again at every open of a
// provider's top level, so a test can switch trees between walks. With the
// variable unset, or the file missing or malformed, the top level does not
// open (WN_NO_NETWORK).
//
// The file: UTF-8 text, one entry per line; an entry's children follow it,
// indented deeper with spaces. Blank lines and lines starting with '#' are
// skipped.
//
//   delay MS                   before the first provider: every NPEnumResource
//                              call sleeps MS milliseconds
//   provider NAME [attrs]      the top level of the registered provider NAME
//                              (as the router names it); lines below it are
//                              the entries of that level
//   network NAME [attrs]       a network: display type NETWORK, a container
//   domain NAME [attrs]        a domain or workgroup: DOMAIN, a container
//   server NAME [attrs]        a server: SERVER, a container of its shares
//   share NAME [attrs]         a share: SHARE, connectable, disk
//   servers N PATTERN [attrs]  N servers without shares, named by PATTERN with
//                              its %d replaced by 1 to N
//
// NAME is one token, in double quotes if it holds spaces; "-" stands for no
// remote name. Backslashes are literal. Every entry names its provider in
// lpProvider. The attributes say how the level of an entry's children behaves
// when it is opened and listed:
//
//   denied          opening it fails with WN_ACCESS_DENIED
//   fail-after=K    after K entries the next listing call fails with the error
//   error=CODE      that error, decimal (default 59, ERROR_UNEXP_NET_ERR)
//   batch=K         at most K entries per listing call
//   delay=MS        every listing call of this level sleeps MS milliseconds
//   usage=N         dwUsage of the entry itself instead of its kind's
//
// The router opens a provider's top level with no remote name; any other
// entry is opened by its remote name: the first entry of that name in the
// provider's section, in file order, gives the children. So an entry that
// names one of its ancestors makes the tree loop.
#include <windows.h>
#include <winnetwk.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/netfixture/net_fixture_stats.h"

extern "C" {
DWORD WINAPI NPGetCaps(DWORD index);
DWORD WINAPI NPOpenEnum(DWORD scope, DWORD type, DWORD usage, LPNETRESOURCEW parent, LPHANDLE handle);
DWORD WINAPI NPEnumResource(HANDLE handle, LPDWORD count, LPVOID buffer, LPDWORD bufferSize);
DWORD WINAPI NPCloseEnum(HANDLE handle);
void WINAPI LanFixtureReadStats(LanFixtureStats* stats);
}

namespace {

// From the provider interface (npapi.h).
constexpr DWORD kCapSpecVersion = 0x01;
constexpr DWORD kCapNetType = 0x02;
constexpr DWORD kCapDriverVersion = 0x03;
constexpr DWORD kCapEnumeration = 0x0B;
constexpr DWORD kCapStart = 0x0C;
constexpr DWORD kSpecVersion51 = 0x00050001;
constexpr DWORD kEnumGlobal = 0x01;
constexpr DWORD kStarted = 0x01;
// A network type of no real product.
constexpr DWORD kFixtureNetType = 0x00FE0000;

constexpr DWORD kAsManyAsFit = static_cast<DWORD>(-1);

enum class Kind { kNetwork, kDomain, kServer, kShare, kServers };

// How the level of an entry's children behaves.
struct LevelRules {
    bool denied = false;
    long failAfter = -1;
    DWORD error = ERROR_UNEXP_NET_ERR;
    long batch = -1;
    long delayMs = -1;  // -1: the file's delay
};

struct Node {
    Kind kind = Kind::kServer;
    bool hasName = false;
    std::wstring name;
    DWORD usage = 0;
    LevelRules rules;
    long generated = 0;  // kServers: how many
    std::wstring prefix, suffix;  // kServers: the pattern around %d
    std::vector<Node> children;
};

struct Provider {
    std::wstring name;
    LevelRules rules;
    std::vector<Node> entries;
};

struct Fixture {
    long delayMs = 0;
    std::vector<Provider> providers;
};

// One entry of a level: a node, or the i-th (from 1) server of a generated run.
struct Item {
    const Node* node;
    long index;
};

struct Enumeration {
    std::shared_ptr<const Fixture> fixture;  // keeps the nodes alive
    const Provider* provider;
    std::vector<Item> items;
    std::size_t next = 0;
    LevelRules rules;
    long delayMs = 0;
};

std::mutex g_lock;
std::shared_ptr<const Fixture> g_fixture;
std::set<Enumeration*> g_open;
LanFixtureStats g_stats{};

// --- The file ---------------------------------------------------------------

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], length);
    return wide;
}

bool SplitTokens(const std::string& line, std::vector<std::string>& tokens) {
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
        } else if (line[i] == '"') {
            std::size_t end = line.find('"', i + 1);
            if (end == std::string::npos) return false;
            tokens.push_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            std::size_t end = line.find_first_of(" \t\r", i);
            if (end == std::string::npos) end = line.size();
            tokens.push_back(line.substr(i, end - i));
            i = end;
        }
    }
    return true;
}

bool ParseNumber(const std::string& text, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return *end == '\0' && value >= 0;
}

bool ParseAttributes(const std::vector<std::string>& tokens, std::size_t first, LevelRules& rules, DWORD* usage) {
    for (std::size_t i = first; i < tokens.size(); ++i) {
        const std::string& token = tokens[i];
        if (token == "denied") {
            rules.denied = true;
            continue;
        }
        std::size_t eq = token.find('=');
        if (eq == std::string::npos) return false;
        std::string key = token.substr(0, eq);
        long value = 0;
        if (!ParseNumber(token.substr(eq + 1), value)) return false;
        if (key == "fail-after") {
            rules.failAfter = value;
        } else if (key == "error") {
            rules.error = static_cast<DWORD>(value);
        } else if (key == "batch" && value > 0) {
            rules.batch = value;
        } else if (key == "delay") {
            rules.delayMs = value;
        } else if (key == "usage" && usage) {
            *usage = static_cast<DWORD>(value);
        } else {
            return false;
        }
    }
    return true;
}

bool ParseEntry(const std::vector<std::string>& tokens, Node& node) {
    const std::string& kind = tokens[0];
    std::size_t nameAt = 1;
    if (kind == "network") {
        node.kind = Kind::kNetwork;
        node.usage = RESOURCEUSAGE_CONTAINER;
    } else if (kind == "domain") {
        node.kind = Kind::kDomain;
        node.usage = RESOURCEUSAGE_CONTAINER;
    } else if (kind == "server") {
        node.kind = Kind::kServer;
        node.usage = RESOURCEUSAGE_CONTAINER;
    } else if (kind == "share") {
        node.kind = Kind::kShare;
        node.usage = RESOURCEUSAGE_CONNECTABLE;
    } else if (kind == "servers") {
        node.kind = Kind::kServers;
        node.usage = RESOURCEUSAGE_CONTAINER;
        if (tokens.size() < 3 || !ParseNumber(tokens[1], node.generated)) return false;
        nameAt = 2;
    } else {
        return false;
    }
    if (tokens.size() <= nameAt) return false;
    const std::string& name = tokens[nameAt];
    if (node.kind == Kind::kServers) {
        std::size_t at = name.find("%d");
        if (at == std::string::npos) return false;
        node.prefix = Widen(name.substr(0, at));
        node.suffix = Widen(name.substr(at + 2));
        node.hasName = true;
    } else if (name != "-") {
        node.name = Widen(name);
        node.hasName = true;
    }
    return ParseAttributes(tokens, nameAt + 1, node.rules, &node.usage);
}

// Fills fixture from the file; on a malformed line returns its number.
long ParseFixture(std::istream& in, Fixture& fixture) {
    struct Open {
        std::size_t indent;
        Node* node;
    };
    std::vector<Open> open;  // the chain of entries the next line may belong to
    Provider* provider = nullptr;
    std::string line;
    long number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::size_t indent = line.find_first_not_of(' ');
        if (indent == std::string::npos || line[indent] == '#' || line[indent] == '\r') continue;
        std::vector<std::string> tokens;
        if (!SplitTokens(line, tokens) || tokens.empty()) return number;
        if (indent == 0) {
            open.clear();
            if (tokens[0] == "delay" && tokens.size() == 2 && !provider) {
                if (!ParseNumber(tokens[1], fixture.delayMs)) return number;
            } else if (tokens[0] == "provider" && tokens.size() >= 2) {
                fixture.providers.push_back(Provider{});
                provider = &fixture.providers.back();
                provider->name = Widen(tokens[1]);
                if (!ParseAttributes(tokens, 2, provider->rules, nullptr)) return number;
            } else {
                return number;
            }
            continue;
        }
        if (!provider) return number;
        while (!open.empty() && open.back().indent >= indent) open.pop_back();
        std::vector<Node>& siblings = open.empty() ? provider->entries : open.back().node->children;
        if (!open.empty() && open.back().node->kind == Kind::kServers) return number;
        // Only ancestors are held open, so growing this level moves nothing held.
        siblings.push_back(Node{});
        if (!ParseEntry(tokens, siblings.back())) return number;
        open.push_back(Open{indent, &siblings.back()});
    }
    return 0;
}

// Reads the file that the environment names; null when there is none to read.
std::shared_ptr<const Fixture> LoadFixture(long& errorLine) {
    errorLine = 0;
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("LANHOSTS_NET_FIXTURE", path, sizeof path);
    if (length == 0 || length >= sizeof path) return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    auto fixture = std::make_shared<Fixture>();
    errorLine = ParseFixture(in, *fixture);
    if (errorLine != 0) {
        std::ostringstream message;
        message << "lanhosts_netfixture: " << path << ":" << errorLine << ": not understood\n";
        OutputDebugStringA(message.str().c_str());
        return nullptr;
    }
    return fixture;
}

// --- The tree ---------------------------------------------------------------

std::wstring ItemName(const Item& item) {
    if (item.node->kind == Kind::kServers) {
        return item.node->prefix + std::to_wstring(item.index) + item.node->suffix;
    }
    return item.node->name;
}

bool MatchesGenerated(const Node& node, const std::wstring& name, long& index) {
    std::size_t fixed = node.prefix.size() + node.suffix.size();
    if (name.size() <= fixed || name.compare(0, node.prefix.size(), node.prefix) != 0 ||
        name.compare(name.size() - node.suffix.size(), node.suffix.size(), node.suffix) != 0) {
        return false;
    }
    std::wstring digits = name.substr(node.prefix.size(), name.size() - fixed);
    if (digits[0] == L'0' || digits.find_first_not_of(L"0123456789") != std::wstring::npos) return false;
    index = std::wcstol(digits.c_str(), nullptr, 10);
    return index >= 1 && index <= node.generated;
}

// The first entry of that name, depth-first in file order.
const Node* FindNode(const std::vector<Node>& nodes, const std::wstring& name) {
    for (const Node& node : nodes) {
        long index = 0;
        if (node.kind == Kind::kServers ? MatchesGenerated(node, name, index) : (node.hasName && node.name == name)) {
            return &node;
        }
        if (const Node* found = FindNode(node.children, name)) return found;
    }
    return nullptr;
}

const Provider* FindProvider(const Fixture& fixture, const wchar_t* name) {
    if (fixture.providers.empty()) return nullptr;
    if (!name) return &fixture.providers.front();
    for (const Provider& provider : fixture.providers) {
        if (provider.name == name) return &provider;
    }
    return nullptr;
}

void AddItems(const std::vector<Node>& nodes, std::vector<Item>& items) {
    for (const Node& node : nodes) {
        if (node.kind == Kind::kServers) {
            for (long i = 1; i <= node.generated; ++i) items.push_back(Item{&node, i});
        } else {
            items.push_back(Item{&node, 0});
        }
    }
}

void FillResource(const Item& item, const Provider& provider, NETRESOURCEW& out, wchar_t*& stringsEnd) {
    auto place = [&stringsEnd](const std::wstring& text) {
        stringsEnd -= text.size() + 1;
        std::copy(text.begin(), text.end(), stringsEnd);
        stringsEnd[text.size()] = L'\0';
        return stringsEnd;
    };
    const Node& node = *item.node;
    out = NETRESOURCEW{};
    out.dwScope = RESOURCE_GLOBALNET;
    out.dwType = node.kind == Kind::kShare ? RESOURCETYPE_DISK : RESOURCETYPE_ANY;
    switch (node.kind) {
    case Kind::kNetwork: out.dwDisplayType = RESOURCEDISPLAYTYPE_NETWORK; break;
    case Kind::kDomain: out.dwDisplayType = RESOURCEDISPLAYTYPE_DOMAIN; break;
    case Kind::kShare: out.dwDisplayType = RESOURCEDISPLAYTYPE_SHARE; break;
    case Kind::kServer:
    case Kind::kServers: out.dwDisplayType = RESOURCEDISPLAYTYPE_SERVER; break;
    }
    out.dwUsage = node.usage;
    out.lpRemoteName = node.hasName ? place(ItemName(item)) : nullptr;
    out.lpProvider = place(provider.name);
}

std::size_t ResourceBytes(const Item& item, const Provider& provider) {
    std::size_t bytes = sizeof(NETRESOURCEW) + (provider.name.size() + 1) * sizeof(wchar_t);
    if (item.node->hasName) bytes += (ItemName(item).size() + 1) * sizeof(wchar_t);
    return bytes;
}

}  // namespace

extern "C" {

DWORD WINAPI NPGetCaps(DWORD index) {
    switch (index) {
    case kCapSpecVersion: return kSpecVersion51;
    case kCapNetType: return kFixtureNetType;
    case kCapDriverVersion: return 1;
    case kCapEnumeration: return kEnumGlobal;
    case kCapStart: return kStarted;
    default: return 0;
    }
}

DWORD WINAPI NPOpenEnum(DWORD scope, DWORD, DWORD, LPNETRESOURCEW parent, LPHANDLE handle) {
    if (!handle) return WN_BAD_POINTER;
    *handle = nullptr;
    if (scope != RESOURCE_GLOBALNET) return WN_NOT_SUPPORTED;

    std::lock_guard<std::mutex> guard(g_lock);
    const bool top = !parent || !parent->lpRemoteName;
    if (top) {
        long errorLine = 0;
        g_fixture = LoadFixture(errorLine);
        g_stats.loadErrorLine = errorLine;
    }
    if (!g_fixture) return WN_NO_NETWORK;
    const Provider* provider = FindProvider(*g_fixture, parent ? parent->lpProvider : nullptr);
    if (!provider) return WN_NO_NETWORK;

    auto enumeration = std::make_unique<Enumeration>();
    enumeration->fixture = g_fixture;
    enumeration->provider = provider;
    if (top) {
        enumeration->rules = provider->rules;
        AddItems(provider->entries, enumeration->items);
    } else {
        const Node* node = FindNode(provider->entries, parent->lpRemoteName);
        if (!node) return WN_BAD_NETNAME;
        enumeration->rules = node->rules;
        AddItems(node->children, enumeration->items);
    }
    if (enumeration->rules.denied) return WN_ACCESS_DENIED;
    enumeration->delayMs = enumeration->rules.delayMs >= 0 ? enumeration->rules.delayMs : g_fixture->delayMs;

    *handle = enumeration.get();
    g_open.insert(enumeration.release());
    ++g_stats.opens;
    g_stats.openHandles = static_cast<LONG>(g_open.size());
    return WN_SUCCESS;
}

DWORD WINAPI NPEnumResource(HANDLE handle, LPDWORD count, LPVOID buffer, LPDWORD bufferSize) {
    if (!count || !buffer || !bufferSize) return WN_BAD_POINTER;
    long delayMs = 0;
    {
        std::lock_guard<std::mutex> guard(g_lock);
        ++g_stats.enumCalls;
        auto* enumeration = static_cast<Enumeration*>(handle);
        if (!g_open.count(enumeration)) return WN_BAD_HANDLE;
        delayMs = enumeration->delayMs;
    }
    // Outside the lock, so that a walk on another thread is not held up.
    if (delayMs > 0) Sleep(static_cast<DWORD>(delayMs));

    std::lock_guard<std::mutex> guard(g_lock);
    auto* enumeration = static_cast<Enumeration*>(handle);
    if (!g_open.count(enumeration)) return WN_BAD_HANDLE;
    const LevelRules& rules = enumeration->rules;
    const std::size_t next = enumeration->next;
    if (rules.failAfter >= 0 && next >= static_cast<std::size_t>(rules.failAfter)) return rules.error;
    if (next >= enumeration->items.size()) return WN_NO_MORE_ENTRIES;

    std::size_t limit = enumeration->items.size() - next;
    if (rules.failAfter >= 0) limit = std::min(limit, static_cast<std::size_t>(rules.failAfter) - next);
    if (rules.batch > 0) limit = std::min(limit, static_cast<std::size_t>(rules.batch));
    if (*count != kAsManyAsFit) limit = std::min(limit, static_cast<std::size_t>(*count));

    // Records from the front, their strings from the back, as far as both fit.
    const Provider& provider = *enumeration->provider;
    std::size_t fitting = 0;
    std::size_t used = 0;
    while (fitting < limit) {
        std::size_t bytes = ResourceBytes(enumeration->items[next + fitting], provider);
        if (used + bytes > *bufferSize) break;
        used += bytes;
        ++fitting;
    }
    if (fitting == 0) {
        if (limit == 0) return WN_SUCCESS;
        *bufferSize = static_cast<DWORD>(ResourceBytes(enumeration->items[next], provider));
        return WN_MORE_DATA;
    }
    auto* records = static_cast<NETRESOURCEW*>(buffer);
    auto* stringsEnd = reinterpret_cast<wchar_t*>(static_cast<BYTE*>(buffer) + (*bufferSize & ~1u));
    for (std::size_t i = 0; i < fitting; ++i) {
        FillResource(enumeration->items[next + i], provider, records[i], stringsEnd);
    }
    enumeration->next += fitting;
    *count = static_cast<DWORD>(fitting);
    return WN_SUCCESS;
}

DWORD WINAPI NPCloseEnum(HANDLE handle) {
    std::lock_guard<std::mutex> guard(g_lock);
    auto* enumeration = static_cast<Enumeration*>(handle);
    if (!g_open.erase(enumeration)) {
        ++g_stats.badCloses;
        return WN_BAD_HANDLE;
    }
    delete enumeration;
    g_stats.openHandles = static_cast<LONG>(g_open.size());
    return WN_SUCCESS;
}

void WINAPI LanFixtureReadStats(LanFixtureStats* stats) {
    std::lock_guard<std::mutex> guard(g_lock);
    *stats = g_stats;
}

}  // extern "C"
