#include "cli/Ports.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

#include "cli/Options.h"
#include "midi/DeviceNames.h"
#include "midi/MidiService.h"
#include "res/strings/cli.h"
#include "res/strings/midi.h"

namespace vantorel::cli {

std::string BackendName(CDefaultMidiService::EBackend backend)
{
    switch (backend) {
    case CDefaultMidiService::EBackend::Simulator: return res::kCliBackendSim;
    case CDefaultMidiService::EBackend::Alsa: return res::kCliBackendAlsa;
    case CDefaultMidiService::EBackend::Jack: return res::kCliBackendJack;
    case CDefaultMidiService::EBackend::None: break;
    }
    return {};
}

namespace {

void ListSide(CContext& ctx, bool bInput)
{
    CMidiService& service = CMidiService::Get();
    const std::vector<std::string> names = bInput ? service.InGetDevNames() : service.OutGetDevNames();
    ctx.out << (bInput ? res::kCliPortsInputs : res::kCliPortsOutputs) << '\n';
    if (names.empty())
        ctx.out << res::kCliPortsNone << '\n';
    for (size_t n = 0; n < names.size(); ++n) {
        const std::string backend =
            ctx.backendOf ? BackendName(ctx.backendOf(bInput, unsigned(n))) : std::string();
        ctx.out << FormatText(res::kCliPortLine, std::to_string(n), names[n], backend) << '\n';
    }
}

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

void ListPorts(CContext& ctx)
{
    ListSide(ctx, true);
    ListSide(ctx, false);
}

namespace {

// The device chosen in MIDI Setup for one direction.
EPortFound ChosenPort(const CContext& ctx, bool bInput, CPort& found, std::string& error)
{
    const CChosenDevice chosen = bInput ? FindChosenMidiIn() : FindChosenMidiOut();
    if (!chosen.bStored)
        return EPortFound::NotChosen;
    found.nDevice = unsigned(static_cast<uint16_t>(chosen.nDevice));
    found.strName = chosen.strName;
    if (!chosen.bAvailable) {
        // Named: the device that now has its number is not it.
        const std::string name = !chosen.strName.empty() ? chosen.strName
                                 : bInput                ? res::kUnnamedMidiIn
                                                         : res::kUnnamedMidiOut;
        error = FormatText(res::kCliChosenNotAvailable, bInput ? res::kCliPortWordIn : res::kCliPortWordOut,
                           DescribePort({found.nDevice, name}),
                           bInput ? res::kCliPortOptionIn : res::kCliPortOptionOut);
        return EPortFound::NotAvailable;
    }
    if (ctx.backendOf && ctx.backendOf(bInput, found.nDevice) == CDefaultMidiService::EBackend::Simulator)
        return EPortFound::NotChosen;
    if (found.strName.empty())
        found.strName =
            bInput ? GetMidiInName(uint16_t(found.nDevice)) : GetMidiOutName(uint16_t(found.nDevice));
    return EPortFound::Found;
}

} // namespace

EPortFound ResolvePort(const CContext& ctx, bool bInput, const std::optional<std::string>& port, CPort& found,
                       std::string& error)
{
    if (!port)
        return ChosenPort(ctx, bInput, found, error);
    CMidiService& service = CMidiService::Get();
    const std::vector<std::string> names = bInput ? service.InGetDevNames() : service.OutGetDevNames();
    const std::string& text = *port;
    std::optional<unsigned> at;
    unsigned n = 0;
    const char* end = text.data() + text.size();
    if (const auto [p, ec] = std::from_chars(text.data(), end, n);
        ec == std::errc() && p == end && !text.empty()) {
        if (n < names.size())
            at = n;
    } else {
        // The exact name first; then one that differs only in case, when only one does.
        for (size_t i = 0; i < names.size() && !at; ++i)
            if (names[i] == text)
                at = unsigned(i);
        std::optional<unsigned> folded;
        size_t nFolded = 0;
        for (size_t i = 0; i < names.size() && !at; ++i)
            if (SameIgnoringCase(names[i], text)) {
                folded = unsigned(i);
                ++nFolded;
            }
        if (!at && nFolded == 1)
            at = folded;
    }
    if (!at) {
        error = FormatText(res::kCliNoSuchPort, bInput ? res::kCliPortWordIn : res::kCliPortWordOut, text,
                           bInput ? res::kCliPortOptionIn : res::kCliPortOptionOut);
        return EPortFound::NoSuchPort;
    }
    found = {*at, names[*at]};
    return EPortFound::Found;
}

std::string DescribePort(const CPort& port)
{
    return FormatText(res::kCliDevice, port.strName, std::to_string(port.nDevice));
}

} // namespace vantorel::cli
