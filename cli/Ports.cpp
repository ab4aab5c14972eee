#include "cli/Ports.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

#include "cli/Options.h"
#include "midi/DeviceNames.h"
#include "midi/MidiService.h"
#include "res/strings/cli.h"

namespace vantorel::cli {

std::string BackendName(CDefaultMidiService::EBackend backend) {
    switch (backend) {
    case CDefaultMidiService::EBackend::Simulator:
        return res::kCliBackendSim;
    case CDefaultMidiService::EBackend::Alsa:
        return res::kCliBackendAlsa;
    case CDefaultMidiService::EBackend::Jack:
        return res::kCliBackendJack;
    case CDefaultMidiService::EBackend::None:
        break;
    }
    return {};
}

namespace {

void ListSide(CContext& ctx, bool bInput) {
    CMidiService& service = CMidiService::Get();
    const std::vector<std::string> names = bInput ? service.InGetDevNames() : service.OutGetDevNames();
    ctx.out << (bInput ? res::kCliPortsInputs : res::kCliPortsOutputs) << '\n';
    if (names.empty())
        ctx.out << res::kCliPortsNone << '\n';
    for (size_t n = 0; n < names.size(); ++n) {
        const std::string backend = ctx.backendOf ? ctx.backendOf(bInput, unsigned(n)) : std::string();
        ctx.out << FormatText(res::kCliPortLine, std::to_string(n), names[n], backend) << '\n';
    }
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

void ListPorts(CContext& ctx) {
    ListSide(ctx, true);
    ListSide(ctx, false);
}

std::optional<unsigned> ResolvePort(bool bInput, const std::optional<std::string>& port, std::string& error) {
    if (!port) {
        const int n = bInput ? ReadMidiInDevice() : ReadMidiOutDevice();
        return unsigned(static_cast<uint16_t>(n));
    }
    CMidiService& service = CMidiService::Get();
    const std::vector<std::string> names = bInput ? service.InGetDevNames() : service.OutGetDevNames();
    const std::string& text = *port;
    unsigned n = 0;
    const char* end = text.data() + text.size();
    if (const auto [p, ec] = std::from_chars(text.data(), end, n);
        ec == std::errc() && p == end && !text.empty()) {
        if (n < names.size())
            return n;
    } else {
        // The exact name first; then one that differs only in case, when only one does.
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == text)
                return unsigned(i);
        std::optional<unsigned> found;
        size_t nFound = 0;
        for (size_t i = 0; i < names.size(); ++i)
            if (SameIgnoringCase(names[i], text)) {
                found = unsigned(i);
                ++nFound;
            }
        if (nFound == 1)
            return found;
    }
    error = FormatText(res::kCliNoSuchPort, bInput ? res::kCliPortWordIn : res::kCliPortWordOut, text,
                       bInput ? res::kCliPortOptionIn : res::kCliPortOptionOut);
    return std::nullopt;
}

} // namespace vantorel::cli
