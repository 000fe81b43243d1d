#include "sim/server/CommandLine.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "platform/core/System.h"
#include "platform/net/SnmpMessage.h"
#include "ports/Wire.h"

namespace sim::server {
namespace {

// What an option does with its value; the error names what is wrong with it.
using Apply = std::function<std::optional<std::string>(std::string_view value, CommandLine& line)>;

struct Option {
    std::string_view name;
    bool takesValue;
    Apply apply;
};

template <typename T>
std::optional<T> ParseNumber(std::string_view text, int base = 10)
{
    T value{};
    const char* end = text.data() + text.size();
    auto [last, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || last != end)
        return std::nullopt;
    return value;
}

std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view text)
{
    if (text.empty() || text.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        auto byte = ParseNumber<std::uint8_t>(text.substr(i, 2), 16);
        if (!byte)
            return std::nullopt;
        bytes.push_back(*byte);
    }
    return bytes;
}

// The ports a printer of some port type serves; --refuse-port takes these.
constexpr std::array<std::uint16_t, 5> kServedPorts = {platform::snmp::kAgentPort, wire::kLprDefaultPort,
                                                       wire::kImagePort, wire::kVantaBootPort,
                                                       wire::kQuillBootPort};

std::optional<std::string> SetByteCount(std::string_view value, std::optional<std::uint64_t>& target)
{
    auto count = ParseNumber<std::uint64_t>(value);
    if (!count || *count > kMaxImageBytes)
        return "expected a byte count from 0 to " + std::to_string(kMaxImageBytes);
    target = count;
    return std::nullopt;
}

std::optional<std::string> AddLprStep(std::string_view value, std::vector<LprStep>& steps)
{
    auto step = ParseLprStep(value);
    if (!step)
        return std::string("expected job, subcommand or data, optionally with :N (N from 1)");
    steps.push_back(*step);
    return std::nullopt;
}

std::optional<std::string> Flag(bool& target)
{
    target = true;
    return std::nullopt;
}

const std::vector<Option>& Options()
{
    static const std::vector<Option> options = {
        {"help", false, [](std::string_view, CommandLine& line) { return Flag(line.help); }},
        {"address", true,
         [](std::string_view value, CommandLine& line) -> std::optional<std::string> {
             auto address = platform::sys::ParseIpv4(value);
             if (!address)
                 return std::string("expected an IPv4 address such as 127.20.0.1");
             line.options.address = *address;
             return std::nullopt;
         }},
        {"port-type", true,
         [](std::string_view value, CommandLine& line) -> std::optional<std::string> {
             auto profile = FindPortProfile(value);
             if (!profile)
                 return std::string("expected Ethernet1, Ethernet2, Ethernet3 or Ethernet4");
             line.options.profile = *profile;
             return std::nullopt;
         }},
        {"model", true,
         [](std::string_view value, CommandLine& line) {
             line.options.printer.model = std::string(value);
             return std::optional<std::string>();
         }},
        {"version", true,
         [](std::string_view value, CommandLine& line) {
             line.options.printer.version = std::string(value);
             return std::optional<std::string>();
         }},
        {"mode", true,
         [](std::string_view value, CommandLine& line) {
             line.options.printer.mode = std::string(value);
             return std::optional<std::string>();
         }},
        {"omit", true,
         [](std::string_view value, CommandLine& line) -> std::optional<std::string> {
             PrinterConfig& printer = line.options.printer;
             if (value == "MDL")
                 printer.model.reset();
             else if (value == "VER")
                 printer.version.reset();
             else if (value == "MODE")
                 printer.mode.reset();
             else
                 return std::string("expected MDL, VER or MODE");
             return std::nullopt;
         }},
        {"status-code", true,
         [](std::string_view value, CommandLine& line) -> std::optional<std::string> {
             if (value.starts_with("0x") || value.starts_with("0X"))
                 value.remove_prefix(2);
             auto code = value.size() <= 8 ? ParseNumber<std::uint32_t>(value, 16) : std::nullopt;
             if (!code)
                 return std::string("expected up to 8 hexadecimal digits");
             line.options.printer.statusCode = *code;
             return std::nullopt;
         }},
        {"model-code", true,
         [](std::string_view value, CommandLine& line) -> std::optional<std::string> {
             auto code = ParseNumber<int>(value);
             if (!code || *code < 0)
                 return std::string("expected a model code such as 70168");
             line.options.printer.modelCode = *code;
             return std::nullopt;
         }},
        {"expect-sha256", true,
         [](std::string_view value, CommandLine& line) -> std::optional<std::string> {
             auto bytes = ParseHexBytes(value);
             if (!bytes || bytes->size() != Sha256Digest().size())
                 return std::string("expected 64 hexadecimal digits");
             Sha256Digest digest{};
             std::copy(bytes->begin(), bytes->end(), digest.begin());
             line.options.printer.expectedImage = digest;
             return std::nullopt;
         }},
        {"install-polls", true,
         [](std::string_view value, CommandLine& line) -> std::optional<std::string> {
             auto polls = ParseNumber<int>(value);
             if (!polls || *polls < 0)
                 return std::string("expected a number of polls from 0");
             line.options.printer.installPolls = *polls;
             return std::nullopt;
         }},
        {"install-reply", true,
         [](std::string_view value, CommandLine& line) -> std::optional<std::string> {
             if (value == "silent")
                 line.options.printer.installReply = InstallReply::Silent;
             else if (value == "partial")
                 line.options.printer.installReply = InstallReply::WithoutModelAndVersion;
             else if (value == "ipl")
                 line.options.printer.installReply = InstallReply::IplMode;
             else
                 return std::string("expected silent, partial or ipl");
             return std::nullopt;
         }},
        {"record", true,
         [](std::string_view value, CommandLine& line) {
             line.options.recordFile = std::filesystem::path(value);
             return std::optional<std::string>();
         }},
        {"ready-file", true,
         [](std::string_view value, CommandLine& line) {
             line.options.readyFile = std::filesystem::path(value);
             return std::optional<std::string>();
         }},
        {"print-ready", false, [](std::string_view, CommandLine& line) { return Flag(line.options.printReady); }},
        // --- faults on the wire
        {"refuse-port", true,
         [](std::string_view value, CommandLine& line) -> std::optional<std::string> {
             auto port = ParseNumber<std::uint16_t>(value);
             if (!port || std::find(kServedPorts.begin(), kServedPorts.end(), *port) == kServedPorts.end())
                 return std::string("expected 161, 515, 9100, 9101 or 9500");
             line.options.faults.refusedPorts.push_back(*port);
             return std::nullopt;
         }},
        {"lpr-nack", true,
         [](std::string_view value, CommandLine& line) { return AddLprStep(value, line.options.faults.lprNack); }},
        {"lpr-close", true,
         [](std::string_view value, CommandLine& line) { return AddLprStep(value, line.options.faults.lprClose); }},
        {"lpr-ack", true,
         [](std::string_view value, CommandLine& line) -> std::optional<std::string> {
             auto bytes = ParseHexBytes(value);
             if (!bytes || bytes->size() > wire::kLprReplyBufferSize || bytes->front() != wire::kLprAcknowledge)
                 return std::string("expected 1 to 64 bytes in hexadecimal, the first 00");
             line.options.faults.lprAck = std::move(*bytes);
             return std::nullopt;
         }},
        {"close-after-bytes", true,
         [](std::string_view value, CommandLine& line) {
             return SetByteCount(value, line.options.faults.closeAfterBytes);
         }},
        {"stall-after-bytes", true,
         [](std::string_view value, CommandLine& line) {
             return SetByteCount(value, line.options.faults.stallAfterBytes);
         }},
        // --- faults of the printer
        {"silent", false, [](std::string_view, CommandLine& line) { return Flag(line.options.printer.faults.silent); }},
        {"not-ready", false,
         [](std::string_view, CommandLine& line) { return Flag(line.options.printer.faults.notReady); }},
        {"refuse-entry", false,
         [](std::string_view, CommandLine& line) { return Flag(line.options.printer.faults.refuseEntry); }},
        {"raw-reply", true,
         [](std::string_view value, CommandLine& line) {
             line.options.printer.faults.rawReply = std::string(value);
             return std::optional<std::string>();
         }},
        {"model-after-install", true,
         [](std::string_view value, CommandLine& line) {
             line.options.printer.faults.modelAfterInstall = std::string(value);
             return std::optional<std::string>();
         }},
        {"never-finish", false,
         [](std::string_view, CommandLine& line) {
             line.options.printer.faults.completion = Completion::NeverEnds;
             return std::optional<std::string>();
         }},
        {"keep-old-version", false,
         [](std::string_view, CommandLine& line) {
             line.options.printer.faults.completion = Completion::OldVersion;
             return std::optional<std::string>();
         }},
    };
    return options;
}

const Option* FindOption(std::string_view name)
{
    for (const Option& option : Options()) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

} // namespace

platform::Result<CommandLine, std::string> ParseCommandLine(std::span<const std::string_view> args)
{
    CommandLine line;
    bool haveAddress = false;
    bool havePortType = false;
    bool neverFinish = false;
    bool keepOldVersion = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (!arg.starts_with("--"))
            return "unexpected argument '" + std::string(arg) + "'";
        std::string_view name = arg.substr(2);
        std::optional<std::string_view> inlineValue;
        if (std::size_t equals = name.find('='); equals != std::string_view::npos) {
            inlineValue = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        const Option* option = FindOption(name);
        if (!option)
            return "unknown option '--" + std::string(name) + "'";
        std::string_view value;
        if (option->takesValue) {
            if (inlineValue)
                value = *inlineValue;
            else if (i + 1 < args.size())
                value = args[++i];
            else
                return "--" + std::string(name) + " needs a value";
        } else if (inlineValue) {
            return "--" + std::string(name) + " takes no value";
        }
        if (std::optional<std::string> error = option->apply(value, line))
            return "--" + std::string(name) + " '" + std::string(value) + "': " + *error;
        haveAddress |= name == "address";
        havePortType |= name == "port-type";
        neverFinish |= name == "never-finish";
        keepOldVersion |= name == "keep-old-version";
    }
    if (line.help)
        return line;
    if (!haveAddress)
        return std::string("--address is required");
    if (!havePortType)
        return std::string("--port-type is required");
    if (neverFinish && keepOldVersion)
        return std::string("--never-finish and --keep-old-version exclude each other");
    line.options.printer.statusFormat = line.options.profile.statusFormat;
    return line;
}

std::string Usage()
{
    return R"(Usage: printer-sim --address A --port-type TYPE [options]

Plays a network printer on one IPv4 address (on Linux any 127.x.y.z is local):
an SNMPv1 agent on UDP 161 and the TCP ports of the port type. Runs until
SIGTERM or SIGINT (exit 0). Bad arguments: exit 2; a port that cannot be
opened: exit 1. Serving the fixed ports below 1024 needs root or
CAP_NET_BIND_SERVICE.

  --address A            the IPv4 address to serve (required)
  --port-type TYPE       Ethernet1 | Ethernet2 | Ethernet3 | Ethernet4 (required)
                           Ethernet1: LPR on 515, access code A, STATUS as a word
                           Ethernet2: LPR on 515, access code B, STATUS as records
                           Ethernet3: boot frame on 9101, image on 9100 (Vanta)
                           Ethernet4: boot frame on 9500, image on 9100 (Quill)
  --model NAME           MDL reported (KX-70)
  --version TEXT         VER reported (1.10)
  --mode TEXT            MODE reported (NORMAL)
  --omit KEY             leave MDL, VER or MODE out of the status (repeatable)
  --status-code HEX      the status code, bit 31 = ready (80000000)
  --model-code N         the model code an image header must carry (70168)
  --expect-sha256 HEX    install only an image with this SHA-256
  --install-polls N      status queries answered as installing before the
                         result shows (3)
  --install-reply R      the answer while installing: silent | partial (no MDL
                         and VER) | ipl (MODE IPL) (ipl)
  --record FILE          one JSON object per line for every exchange, flushed
                         per line (see docs/printer-sim.md)
  --ready-file FILE      written ("ready") once every port listens
  --print-ready          print "ready" on standard output once every port listens
  --help                 this text

Image limit: an image (one 9100 connection, or one LPR job) of more than
67108864 bytes (64 MiB) is refused and its connection closed.

Faults on the wire:
  --refuse-port P        do not listen on P (161, 515, 9100, 9101, 9500), so
                         connections are refused (repeatable)
  --lpr-nack STEP        acknowledge with 01 at STEP (repeatable)
  --lpr-close STEP       close the connection instead of acknowledging at STEP
                         (repeatable)
                           STEP: job[:N] | subcommand[:N] | data[:N], N counted
                           from 1 over the run: the Nth receive-job command, the
                           subcommand of the Nth data file, the zero byte that
                           ends the Nth data file. An update's entry job carries
                           data files 1-3, the image job 4 onwards.
  --lpr-ack HEX          the bytes of every positive acknowledgement, first 00 (00)
  --close-after-bytes N  close every image connection after N image bytes
  --stall-after-bytes N  stop reading every image connection after N image bytes
                           (image connection: 9100, or an LPR job that starts
                           while the printer waits for an image)

Faults of the printer:
  --silent               answer no status query
  --not-ready            status bit 31 clear and MODE not IPL; refuses the
                         update-mode entry
  --refuse-entry         ignore every update-mode entry
  --raw-reply TEXT       answer every status query with exactly TEXT
  --model-after-install NAME
                         report MDL NAME once an installation has ended
  --never-finish         go on answering as installing for ever
  --keep-old-version     end the installation with the old version
)";
}

} // namespace sim::server
