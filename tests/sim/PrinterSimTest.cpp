// printer-sim as a program: started as the test's child on loopback
// addresses of lanes 20-29, spoken to with plain sockets and the SNMP
// manager, and judged by what it answers and what its record says.

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/SnmpManager.h"
#include "ports/AccessCodes.h"
#include "ports/Wire.h"
#include "sim/core/Sha256.h"
#include "tests/net/ChildProcess.h"
#include "tests/sim/PrinterSimProcess.h"
#include "tests/sim/RecordLine.h"
#include "tests/sim/TestImages.h"
#include "tests/sim/WireClient.h"

namespace {

using namespace std::chrono_literals;
using platform::snmp::SnmpGet;
using platform::snmp::SnmpGetResult;
using simtest::Bytes;
using simtest::HexOf;
using simtest::PrinterSimProcess;
using simtest::RecordLine;
using simtest::ToBytes;
using simtest::WireClient;

constexpr std::uint8_t kLane = 20;
const std::string kLprOid(wire::kLprStatusOid);
const std::string kVantaOid(wire::kVantaStatusOid);

// The status text of a printer as configured by default, with `tail` after
// the items every reply starts with.
std::string StatusText(std::string_view tail)
{
    return "MFG:Corvex;CLS:PRINTER;" + std::string(tail);
}
// STATUS in the records format: a type-2 record, then the code in type 1.
std::string Records(std::string_view code)
{
    return "020400000108" + std::string(code);
}

// The status text by SNMP, or what came instead.
std::string Status(const PrinterSimProcess& sim, const std::string& oid = kLprOid)
{
    SnmpGetResult result = SnmpGet(sim.Address(), "public", oid, 1000ms, 0);
    if (result.kind == SnmpGetResult::Kind::NoAnswer)
        return "<no answer>";
    if (result.kind != SnmpGetResult::Kind::OctetString)
        return "<" + result.Describe() + ">";
    return std::string(result.octets.begin(), result.octets.end());
}

Bytes Image(const std::string& version = "1.20", std::size_t size = 250000)
{
    return simtest::MakeRawImage("070168", version, size);
}

std::string Sha256Of(const Bytes& bytes)
{
    return sim::ToHex(sim::ComputeSha256(bytes));
}

// --- LPR --------------------------------------------------------------------

std::vector<Bytes> EntryFiles(const char* accessCodeMessage)
{
    const auto packet = wire::MakeBootPacket();
    return {Bytes(accessCodeMessage, accessCodeMessage + accesscodes::kMessageLength), ToBytes(wire::kPipeMonitor),
            Bytes(packet.begin(), packet.end())};
}

std::string Acknowledgement(WireClient& client)
{
    std::optional<Bytes> reply = client.Read();
    if (!reply)
        return "timeout";
    return reply->empty() ? "closed" : HexOf(*reply);
}

// Plays one LPR job as the installer does and gives the acknowledgements
// in order, up to the first that is not `positive`.
std::vector<std::string> SendLprJob(std::uint32_t address, const std::vector<Bytes>& files,
                                    const std::string& positive = "00")
{
    auto client = WireClient::Connect(address, 515);
    if (!client)
        return {"connect: " + client.Error().Message()};
    std::vector<std::string> acks;
    auto step = [&](const Bytes& bytes) {
        if (client->Send(bytes) != WireClient::SendResult::Sent)
            acks.push_back("send failed");
        else
            acks.push_back(Acknowledgement(*client));
        return acks.back() == positive;
    };
    if (!step(Bytes(wire::kLprReceiveJob.begin(), wire::kLprReceiveJob.end())))
        return acks;
    for (const Bytes& file : files) {
        if (!step(ToBytes(wire::LprDataFileCommand(static_cast<std::uint32_t>(file.size())))))
            return acks;
        Bytes data = file;
        data.push_back(wire::kLprEndOfFile);
        if (!step(data))
            return acks;
    }
    return acks;
}

std::vector<Bytes> InPieces(const Bytes& image, std::size_t piece = 102400)
{
    std::vector<Bytes> pieces;
    for (std::size_t at = 0; at < image.size(); at += piece)
        pieces.emplace_back(image.begin() + at, image.begin() + std::min(image.size(), at + piece));
    return pieces;
}

// --- boot frame and raw image -----------------------------------------------

Bytes BootFrame()
{
    const auto frame = wire::MakeBootFrame();
    return Bytes(frame.begin(), frame.end());
}

// Sets both check bytes right for the bytes before them; `keepA` leaves
// check byte A as it is.
void RecomputeChecks(Bytes& frame, bool keepA = false)
{
    if (!keepA) {
        unsigned sum = 1;
        for (std::size_t i = 5; i < 23; ++i)
            sum += frame[i];
        frame[23] = static_cast<std::uint8_t>(sum);
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < 24; ++i)
        sum += frame[i];
    frame[24] = static_cast<std::uint8_t>(0xFF - sum);
}

// Connects, sends, closes; false when the connection or the send failed.
bool SendAndClose(std::uint32_t address, std::uint16_t port, const Bytes& bytes)
{
    auto client = WireClient::Connect(address, port);
    return client && client->Send(bytes) == WireClient::SendResult::Sent;
}

bool IsAccepted(const RecordLine& line)
{
    return line.True("accepted");
}

// The installer's way in on the Vanta and Quill ports: the boot frame, and
// the image on 9100 once the printer has taken the entry.
void InstallByBootFrame(const PrinterSimProcess& sim, std::uint16_t bootPort, const Bytes& image)
{
    ASSERT_TRUE(SendAndClose(sim.Address(), bootPort, BootFrame()));
    ASSERT_TRUE(sim.WaitFor("entry", IsAccepted)) << sim.RecordText();
    ASSERT_TRUE(SendAndClose(sim.Address(), wire::kImagePort, image));
    ASSERT_TRUE(sim.WaitFor("image")) << sim.RecordText();
}

// --- the command line ---------------------------------------------------------

struct Finished {
    int exitCode;
    std::string out;
    std::string err;
};

Finished RunPrinterSim(const std::vector<std::string>& args)
{
    nettest::TempFolder folder;
    std::vector<std::string> argv = {simtest::PrinterSimProgram().string()};
    argv.insert(argv.end(), args.begin(), args.end());
    nettest::ChildProcess child(argv, {}, folder.Path() / "out", folder.Path() / "err");
    const int exitCode = child.Wait();
    return {exitCode, nettest::ReadFile(folder.Path() / "out"), nettest::ReadFile(folder.Path() / "err")};
}

TEST(PrinterSimCommandLine, RefusesBadArgumentsWithExitCode2)
{
    struct Row {
        const char* name;
        std::vector<std::string> args;
        std::string message;
    };
    const Row rows[] = {
        {"no address", {"--port-type", "Ethernet1"}, "--address is required"},
        {"no port type", {"--address", "127.20.0.1"}, "--port-type is required"},
        {"a USB port type", {"--address", "127.20.0.1", "--port-type", "USB"}, "expected Ethernet1, Ethernet2"},
        {"an address that is not one", {"--address", "127.20.0", "--port-type", "Ethernet1"}, "expected an IPv4"},
        {"an unknown option", {"--address", "127.20.0.1", "--port-type", "Ethernet1", "--fast"},
         "unknown option '--fast'"},
        {"a missing value", {"--address", "127.20.0.1", "--port-type", "Ethernet1", "--record"},
         "--record needs a value"},
        {"an LPR step 0", {"--address", "127.20.0.1", "--port-type", "Ethernet1", "--lpr-nack", "data:0"},
         "--lpr-nack 'data:0'"},
        {"a positive acknowledgement that is not",
         {"--address", "1.2.3.4", "--port-type", "Ethernet1", "--lpr-ack", "01"},
         "the first 00"},
        {"a port the printer does not serve",
         {"--address", "1.2.3.4", "--port-type", "Ethernet1", "--refuse-port", "80"},
         "expected 161, 515, 9100, 9101 or 9500"},
        {"a negative byte count",
         {"--address", "1.2.3.4", "--port-type", "Ethernet3", "--close-after-bytes", "-1"}, "expected a byte count"},
        {"two endings", {"--address", "1.2.3.4", "--port-type", "Ethernet3", "--never-finish", "--keep-old-version"},
         "exclude each other"},
    };
    for (const Row& row : rows) {
        Finished run = RunPrinterSim(row.args);
        EXPECT_EQ(run.exitCode, 2) << row.name;
        EXPECT_NE(run.err.find(row.message), std::string::npos) << row.name << ": " << run.err;
        EXPECT_EQ(run.out, "") << row.name;
    }
}

TEST(PrinterSimCommandLine, HelpListsEveryOptionAndFault)
{
    Finished run = RunPrinterSim({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* option :
         {"--address", "--port-type", "--model", "--version", "--mode", "--install-polls", "--install-reply",
          "--record", "--ready-file", "--refuse-port", "--lpr-nack", "--lpr-close", "--close-after-bytes",
          "--stall-after-bytes", "--silent", "--not-ready", "--model-after-install", "--never-finish", "64 MiB"}) {
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
    }
}

TEST(PrinterSimCommandLine, AnAddressInUseEndsWithExitCode1)
{
    PrinterSimProcess first(kLane, {"--port-type", "Ethernet1"});
    Finished second = RunPrinterSim({"--address", first.AddressText(), "--port-type", "Ethernet1"});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_NE(second.err.find(first.AddressText() + ":161/udp: bind: EADDRINUSE"), std::string::npos) << second.err;
}

// --- SNMP -----------------------------------------------------------------------

TEST(PrinterSimSnmp, AnswersBothStatusObjectsToPublicOnly)
{
    struct Row {
        const char* portType;
        std::string status;
    };
    const Row rows[] = {
        {"Ethernet1", StatusText("MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:80000000;")},
        {"Ethernet3", StatusText("MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:" + Records("80000000") + ";")},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(row.portType);
        PrinterSimProcess sim(static_cast<std::uint8_t>(kLane + i), {"--port-type", row.portType});

        EXPECT_EQ(Status(sim, kLprOid), row.status);
        EXPECT_EQ(Status(sim, kVantaOid), row.status);
        EXPECT_EQ(SnmpGet(sim.Address(), "private", kLprOid, 200ms, 0).kind, SnmpGetResult::Kind::NoAnswer);
        SnmpGetResult unknown = SnmpGet(sim.Address(), "public", kLprOid + ".0", 1000ms, 0);
        EXPECT_EQ(unknown.detail, "error status 2 (noSuchName) at index 1") << unknown.Describe();

        std::vector<RecordLine> gets = sim.Events("snmp-get");
        ASSERT_EQ(gets.size(), 4u) << sim.RecordText();
        EXPECT_EQ(gets[0].List("oids"), std::vector<std::string>{kLprOid});
        EXPECT_EQ(gets[0].Get("reply"), row.status);
        EXPECT_EQ(gets[2].Get("community"), "private");
        EXPECT_FALSE(gets[2].True("answered"));
        EXPECT_EQ(gets[2].Get("reason"), "unknown community");
        // Each GET of a status object is one status query of the printer;
        // the others do not reach it.
        EXPECT_EQ(sim.Events("status").size(), 2u);

        EXPECT_EQ(sim.Stop(), 0) << sim.Errors();
        EXPECT_EQ(sim.Record().back().Event(), "stopped");
        EXPECT_EQ(sim.Output(), "");
    }
}

TEST(PrinterSimSnmp, SnmpgetReadsTheStatus)
{
    const std::optional<std::filesystem::path> snmpget = nettest::FindProgram("snmpget");
    if (!snmpget)
        GTEST_SKIP() << "snmpget (Debian package snmp) is not installed; scripts/install-deps installs it";

    PrinterSimProcess sim(kLane, {"--port-type", "Ethernet2", "--version", "1.15"});
    nettest::TempFolder folder;
    // No MIB files: numeric OIDs need none, and a missing one fills the output.
    const std::vector<std::string> environment = {"MIBS=", "MIBDIRS=" + (folder.Path() / "no-mibs").string(),
                                                  "SNMP_PERSISTENT_DIR=" + (folder.Path() / "state").string()};
    const std::string expected = StatusText("MDL:KX-70;VER:1.15;MODE:NORMAL;STATUS:" + Records("80000000") + ";");
    for (const std::string& oid : {kLprOid, kVantaOid}) {
        nettest::ChildProcess child({snmpget->string(), "-v1", "-c", "public", "-On", "-Oqv", sim.AddressText(), oid},
                                    environment, folder.Path() / "out", folder.Path() / "err");
        EXPECT_EQ(child.Wait(), 0) << nettest::ReadFile(folder.Path() / "err");
        EXPECT_EQ(nettest::ReadFile(folder.Path() / "out"), "\"" + expected + "\"\n") << oid;
    }
}

// --- LPR ------------------------------------------------------------------------

TEST(PrinterSimLpr, EntryJobThenImageJobInstallsTheImage)
{
    PrinterSimProcess sim(kLane, {"--port-type", "Ethernet2", "--install-polls", "1"});
    const std::vector<std::string> allAcked(7, "00");

    EXPECT_EQ(SendLprJob(sim.Address(), EntryFiles(accesscodes::MessageB())), allAcked);
    std::optional<RecordLine> entry = sim.WaitFor("entry");
    ASSERT_TRUE(entry) << sim.RecordText();
    EXPECT_TRUE(entry->True("accepted"));
    EXPECT_EQ(entry->Get("detail"), "LPR, access code B");

    const Bytes image = Image("1.20", 250000);
    EXPECT_EQ(SendLprJob(sim.Address(), InPieces(image)), allAcked);
    std::optional<RecordLine> received = sim.WaitFor("image");
    ASSERT_TRUE(received) << sim.RecordText();
    EXPECT_EQ(received->Get("sha256"), Sha256Of(image));
    EXPECT_EQ(received->Int("size"), 250000);
    EXPECT_EQ(received->Get("verdict"), "accepted");

    // The bytes on the wire, as recorded.
    std::vector<RecordLine> commands = sim.Events("lpr-command");
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].Get("bytes"), "02256c703120780a");
    std::vector<RecordLine> subcommands = sim.Events("lpr-subcommand");
    ASSERT_EQ(subcommands.size(), 6u);
    EXPECT_EQ(subcommands[0].Get("bytes"), "0335313020780a");
    EXPECT_EQ(subcommands[1].Get("bytes"), "03313220780a");
    EXPECT_EQ(subcommands[3].Int("count"), 102400);
    EXPECT_EQ(subcommands[5].Int("count"), 250000 - 2 * 102400);
    EXPECT_EQ(sim.Events("lpr-data")[1].Get("head"), HexOf(ToBytes("PIPE MONITOR")));
    std::vector<RecordLine> jobs = sim.Events("lpr-job");
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].Get("as"), "entry");
    EXPECT_EQ(jobs[1].Get("as"), "image");

    EXPECT_EQ(Status(sim), StatusText("MDL:KX-70;VER:1.10;MODE:IPL;STATUS:" + Records("00000000") + ";"));
    EXPECT_EQ(Status(sim), StatusText("MDL:KX-70;VER:1.20;MODE:NORMAL;STATUS:" + Records("80000000") + ";"));
    std::optional<RecordLine> ended = sim.WaitFor("install-end");
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->Get("version"), "1.20");
}

TEST(PrinterSimLpr, RefusesAnEntryThatIsWrongInAnyFile)
{
    PrinterSimProcess sim(kLane, {"--port-type", "Ethernet1"});
    const std::vector<Bytes> right = EntryFiles(accesscodes::MessageA());
    struct Row {
        const char* name;
        std::vector<Bytes> files;
        std::string reason;
    };
    std::vector<Row> rows = {
        {"access code B", EntryFiles(accesscodes::MessageB()),
         "data file 1 is access code B, this printer takes access code A"},
        {"a wrong message", {ToBytes("OPEN SESAME"), right[1], right[2]},
         "data file 1 is not an access-code message: \"OPEN SESAME\""},
        {"another second message", {right[0], ToBytes("PIPE MONITOR "), right[2]},
         "data file 2 is \"PIPE MONITOR \", not \"PIPE MONITOR\""},
        {"a wrong check byte", right, "boot packet check byte 0xe9, expected 0xe8"},
        {"a wrong length word", right, "boot packet length word 19, expected 18"},
        {"two data files", {right[0], right[1]}, "the job has 2 data files, an update-mode entry 3"},
    };
    rows[3].files[2][20] = 0xE9;
    rows[4].files[2][1] = 19;
    rows[4].files[2][20] = static_cast<std::uint8_t>(rows[4].files[2][20] + 1);

    for (const Row& row : rows) {
        // The printer takes every file and judges the job as a whole.
        EXPECT_EQ(SendLprJob(sim.Address(), row.files), std::vector<std::string>(1 + 2 * row.files.size(), "00"))
            << row.name;
        std::optional<RecordLine> judged =
            sim.WaitFor("lpr-entry", [&](const RecordLine& line) { return line.Get("reason") == row.reason; });
        EXPECT_TRUE(judged) << row.name << "\n" << sim.RecordText();
    }
    EXPECT_TRUE(sim.Events("entry").empty()) << sim.RecordText();
}

TEST(PrinterSimLpr, AnswersMalformedInputWithANonzeroAcknowledgement)
{
    PrinterSimProcess sim(kLane, {"--port-type", "Ethernet1"});
    const std::string job(wire::kLprReceiveJob.begin(), wire::kLprReceiveJob.end());
    struct Row {
        const char* name;
        std::string bytes;
        std::string acks; // all the answers, in hexadecimal
        std::string reason;
    };
    const Row rows[] = {
        {"another queue", "\x02lp2\n", "01", "not the receive-job command"},
        {"a command without a line feed", std::string(70, 'a'), "01", "64 bytes without a line feed"},
        {"a control file", job + "\x02" "10 cfA\n", "0001", "control-file"},
        {"a count of 23 digits", job + "\x03" "99999999999999999999999 x\n", "0001", "is too large"},
        {"a count past the image limit", job + "\x03" "67108865 x\n", "0001", "past the limit"},
        {"a leading zero", job + "\x03" "012 x\n", "0001", "leading zero"},
        {"a signed count", job + "\x03" "-5 x\n", "0001", "not a decimal number"},
        {"another file name", job + "\x03" "3 y\n", "0001", "file name 'y'"},
        {"a file that does not end in zero", job + "\x03" "3 x\n" + "abc\x01", "000001", "ends in 0x01"},
    };
    for (const Row& row : rows) {
        auto client = WireClient::Connect(sim.Address(), 515);
        ASSERT_TRUE(client) << row.name;
        ASSERT_TRUE(client->Send(row.bytes)) << row.name;
        std::string acks;
        while (acks.size() < row.acks.size()) {
            std::optional<Bytes> reply = client->Read();
            if (!reply || reply->empty())
                break;
            acks += HexOf(*reply);
        }
        EXPECT_EQ(acks, row.acks) << row.name;
        std::optional<RecordLine> error = sim.WaitFor("lpr-error", [&](const RecordLine& line) {
            return line.Get("reason").find(row.reason) != std::string::npos;
        });
        EXPECT_TRUE(error) << row.name << "\n" << sim.RecordText();
    }
    // Still serving.
    EXPECT_EQ(SendLprJob(sim.Address(), EntryFiles(accesscodes::MessageA())), std::vector<std::string>(7, "00"));
    EXPECT_TRUE(sim.WaitFor("entry", IsAccepted));
}

// --- boot frame and raw image ---------------------------------------------------

TEST(PrinterSimBootFrame, EntryOnTheBootPortThenTheImageOn9100)
{
    struct Row {
        const char* portType;
        std::uint16_t bootPort;
    };
    const Row rows[] = {{"Ethernet3", 9101}, {"Ethernet4", 9500}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(row.portType);
        PrinterSimProcess sim(static_cast<std::uint8_t>(kLane + i),
                              {"--port-type", row.portType, "--install-polls", "0"});
        Bytes spoiled = BootFrame();
        spoiled[24] ^= 0x01;
        ASSERT_TRUE(SendAndClose(sim.Address(), row.bootPort, spoiled));
        ASSERT_TRUE(sim.WaitFor("boot-frame"));
        const Bytes image = Image("1.20", 300001);
        ASSERT_NO_FATAL_FAILURE(InstallByBootFrame(sim, row.bootPort, image));

        std::vector<RecordLine> frames = sim.Events("boot-frame");
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[0].Get("reason"), "boot frame check byte B 0xb8, expected 0xb9");
        EXPECT_EQ(frames[1].Get("bytes"), "8000150006" + HexOf(ToBytes(wire::kBootText)) + "d6b9");
        EXPECT_EQ(frames[1].Int("port"), row.bootPort);
        ASSERT_EQ(sim.Events("entry").size(), 1u);
        EXPECT_EQ(sim.Events("entry").at(0).Get("detail"), "TCP " + std::to_string(row.bootPort));
        const RecordLine received = sim.Events("image").at(0);
        EXPECT_EQ(received.Get("sha256"), Sha256Of(image));
        EXPECT_EQ(received.Get("verdict"), "accepted");
        EXPECT_TRUE(sim.Events("raw-image").at(0).True("complete"));

        EXPECT_EQ(Status(sim, kVantaOid),
                  StatusText("MDL:KX-70;VER:1.20;MODE:NORMAL;STATUS:" + Records("80000000") + ";"));
    }
}

TEST(PrinterSimBootFrame, RefusesAFrameThatIsWrongInAnyField)
{
    PrinterSimProcess sim(kLane, {"--port-type", "Ethernet3"});
    struct Row {
        const char* name;
        std::function<void(Bytes&)> spoil;
        std::string reason;
    };
    const Row rows[] = {
        {"start byte", [](Bytes& f) { f[0] = 0x81; RecomputeChecks(f); }, "boot frame starts with 0x81, expected 0x80"},
        {"length", [](Bytes& f) { f[2] = 22; RecomputeChecks(f); }, "boot frame length 22, expected 21"},
        {"type word", [](Bytes& f) { f[4] = 7; RecomputeChecks(f); }, "boot frame type word 7, expected 6"},
        {"text", [](Bytes& f) { f[5] = 'b'; RecomputeChecks(f); },
         "boot frame text \"bOOT_UpdateMain 0.\" is not the boot command"},
        {"check byte A", [](Bytes& f) { f[23] = 0xD7; RecomputeChecks(f, true); },
         "boot frame check byte A 0xd7, expected 0xd6"},
        {"check byte B", [](Bytes& f) { f[24] = 0xBA; }, "boot frame check byte B 0xba, expected 0xb9"},
        {"cut short", [](Bytes& f) { f.pop_back(); }, "the connection ended after 24 of 25 bytes"},
    };
    for (const Row& row : rows) {
        Bytes frame = BootFrame();
        row.spoil(frame);
        ASSERT_TRUE(SendAndClose(sim.Address(), 9101, frame)) << row.name;
        std::optional<RecordLine> judged =
            sim.WaitFor("boot-frame", [&](const RecordLine& line) { return line.Get("reason") == row.reason; });
        EXPECT_TRUE(judged) << row.name << "\n" << sim.RecordText();
    }
    EXPECT_TRUE(sim.Events("entry").empty()) << sim.RecordText();

    // Without an entry an image is not firmware to the printer.
    ASSERT_TRUE(SendAndClose(sim.Address(), 9100, Image()));
    std::optional<RecordLine> image = sim.WaitFor("image");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Get("verdict"), "refused: no update-mode entry before it");
    EXPECT_EQ(Status(sim, kVantaOid), StatusText("MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:" + Records("80000000") + ";"));
}

// --- what the command line tells the printer ---------------------------------------

TEST(PrinterSimOptions, ReachThePrinter)
{
    const Bytes image = Image("1.20");
    struct Row {
        std::vector<std::string> args;
        bool install;        // boot frame and image on 9100 before the status is read
        std::string verdict; // of the image, when installing
        std::string status;  // the next status after that
    };
    const std::string ready = Records("80000000");
    const Row rows[] = {
        {{"--model", "KX-99", "--version", "2.00", "--mode", "IPL"}, false, "",
         StatusText("MDL:KX-99;VER:2.00;MODE:IPL;STATUS:" + ready + ";")},
        {{"--omit", "VER", "--omit", "MODE", "--status-code", "1234"}, false, "",
         StatusText("MDL:KX-70;STATUS:" + Records("00001234") + ";")},
        {{"--raw-reply", "MDL:X"}, false, "", "MDL:X"},
        {{"--refuse-entry"}, true, "refused: no update-mode entry before it",
         StatusText("MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:" + ready + ";")},
        {{"--model-code", "70169"}, true, "refused: another model's image",
         StatusText("MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:" + ready + ";")},
        {{"--expect-sha256", Sha256Of(Image("1.21"))}, true, "refused: not the expected image",
         StatusText("MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:" + ready + ";")},
        {{"--expect-sha256", Sha256Of(image)}, true, "accepted",
         StatusText("MDL:KX-70;VER:1.20;MODE:NORMAL;STATUS:" + ready + ";")},
        {{"--keep-old-version"}, true, "accepted", StatusText("MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:" + ready + ";")},
        {{"--install-reply", "partial", "--install-polls", "1"}, true, "accepted",
         StatusText("STATUS:" + Records("00000000") + ";")},
        {{"--install-reply", "silent", "--install-polls", "1"}, true, "accepted", "<no answer>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args[0]);
        std::vector<std::string> args = {"--port-type", "Ethernet3", "--install-polls", "0"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        PrinterSimProcess sim(kLane, args);
        if (row.install) {
            ASSERT_TRUE(SendAndClose(sim.Address(), 9101, BootFrame()));
            ASSERT_TRUE(sim.WaitFor("entry"));
            ASSERT_TRUE(SendAndClose(sim.Address(), 9100, image));
            std::optional<RecordLine> received = sim.WaitFor("image");
            ASSERT_TRUE(received) << sim.RecordText();
            EXPECT_EQ(received->Get("verdict"), row.verdict);
        }
        EXPECT_EQ(Status(sim, kVantaOid), row.status);
    }
}

// --- faults -----------------------------------------------------------------------

TEST(PrinterSimFaults, LprAcknowledgementSteps)
{
    struct Row {
        std::vector<std::string> args;
        std::vector<std::string> acks;
        bool entered;
    };
    const std::string ack = "00";
    const Row rows[] = {
        {{"--lpr-nack", "job"}, {"01"}, false},
        {{"--lpr-nack", "data:2"}, {ack, ack, ack, ack, "01"}, false},
        {{"--lpr-close", "subcommand:1"}, {ack, "closed"}, false},
        // The installer counts a file acknowledged when the printer closes
        // right after its zero byte; so does the printer.
        {{"--lpr-close", "data:3"}, {ack, ack, ack, ack, ack, ack, "closed"}, true},
        {{"--lpr-ack", "000000"}, std::vector<std::string>(7, "000000"), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args[0] + " " + row.args[1]);
        std::vector<std::string> args = {"--port-type", "Ethernet1"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        PrinterSimProcess sim(kLane, args);

        const std::string positive = row.acks.back() == "000000" ? "000000" : "00";
        EXPECT_EQ(SendLprJob(sim.Address(), EntryFiles(accesscodes::MessageA()), positive), row.acks);
        ASSERT_TRUE(sim.WaitFor("lpr-job")) << sim.RecordText();
        EXPECT_EQ(static_cast<bool>(sim.WaitFor("entry", IsAccepted, row.entered ? 5s : 0s)), row.entered)
            << sim.RecordText();
        if (row.args[0] != "--lpr-ack") {
            std::optional<RecordLine> fault = sim.WaitFor("fault");
            ASSERT_TRUE(fault);
            EXPECT_EQ(fault->Get("fault"), row.args[0].substr(2));
        }
    }
}

TEST(PrinterSimFaults, ImageConnectionCutOrStalledAfterSomeBytes)
{
    struct Row {
        const char* name;
        std::vector<std::string> args;
        std::function<void(PrinterSimProcess&)> sendImage;
    };
    const Bytes image = Image("1.20", 4 * 1024 * 1024);
    auto rawImage = [&image](PrinterSimProcess& sim, WireClient::SendResult expected) {
        ASSERT_TRUE(SendAndClose(sim.Address(), 9101, BootFrame()));
        ASSERT_TRUE(sim.WaitFor("entry", IsAccepted));
        auto client = WireClient::Connect(sim.Address(), 9100);
        ASSERT_TRUE(client);
        EXPECT_EQ(client->Send(image, 500ms), expected);
    };
    const Row rows[] = {
        {"close on 9100",
         {"--port-type", "Ethernet3", "--close-after-bytes", "1000"},
         [&](PrinterSimProcess& sim) { rawImage(sim, WireClient::SendResult::Failed); }},
        {"stall on 9100",
         {"--port-type", "Ethernet3", "--stall-after-bytes", "1000"},
         [&](PrinterSimProcess& sim) { rawImage(sim, WireClient::SendResult::Blocked); }},
        // The entry job is no image: only the job after it is cut.
        {"close an LPR image job",
         {"--port-type", "Ethernet1", "--close-after-bytes", "1000"},
         [&](PrinterSimProcess& sim) {
             EXPECT_EQ(SendLprJob(sim.Address(), EntryFiles(accesscodes::MessageA())),
                       std::vector<std::string>(7, "00"));
             ASSERT_TRUE(sim.WaitFor("entry", IsAccepted));
             std::vector<std::string> acks = SendLprJob(sim.Address(), InPieces(image));
             EXPECT_EQ(acks.size(), 3u);
             EXPECT_NE(acks.back(), "00");
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PrinterSimProcess sim(kLane, row.args);
        ASSERT_NO_FATAL_FAILURE(row.sendImage(sim));
        std::optional<RecordLine> fault = sim.WaitFor("fault");
        ASSERT_TRUE(fault) << sim.RecordText();
        EXPECT_EQ(fault->Get("fault"), row.args[2].substr(2));
        EXPECT_EQ(fault->Int("bytes"), 1000);
        // What the printer itself cut short never reaches its core.
        EXPECT_TRUE(sim.Events("image").empty()) << sim.RecordText();
    }
}

TEST(PrinterSimFaults, RefusedPorts)
{
    {
        PrinterSimProcess sim(kLane, {"--port-type", "Ethernet1", "--refuse-port", "515"});
        auto client = WireClient::Connect(sim.Address(), 515);
        ASSERT_FALSE(client);
        EXPECT_EQ(client.Error().Code(), ECONNREFUSED);
        EXPECT_EQ(Status(sim), StatusText("MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:80000000;"));
        EXPECT_EQ(sim.Events("listening").at(0).List("refused"), std::vector<std::string>{"515"});
    }
    {
        PrinterSimProcess sim(kLane, {"--port-type", "Ethernet4", "--refuse-port", "9500", "--refuse-port", "161"});
        EXPECT_EQ(WireClient::Connect(sim.Address(), 9500).Error().Code(), ECONNREFUSED);
        EXPECT_TRUE(WireClient::Connect(sim.Address(), 9100));
        EXPECT_EQ(SnmpGet(sim.Address(), "public", kVantaOid, 200ms, 0).kind, SnmpGetResult::Kind::NoAnswer);
    }
}

TEST(PrinterSimFaults, PrinterReplies)
{
    const std::string normal = "MDL:KX-70;VER:1.10;MODE:NORMAL;STATUS:";
    {
        PrinterSimProcess sim(kLane, {"--port-type", "Ethernet1", "--silent"});
        EXPECT_EQ(SnmpGet(sim.Address(), "public", kLprOid, 200ms, 0).kind, SnmpGetResult::Kind::NoAnswer);
        std::optional<RecordLine> get = sim.WaitFor("snmp-get");
        ASSERT_TRUE(get);
        EXPECT_EQ(get->Get("reason"), "the printer does not answer");
    }
    {
        PrinterSimProcess sim(kLane, {"--port-type", "Ethernet3", "--not-ready", "--mode", "IPL"});
        EXPECT_EQ(Status(sim, kVantaOid), StatusText(normal + Records("00000000") + ";"));
        ASSERT_TRUE(SendAndClose(sim.Address(), 9101, BootFrame()));
        std::optional<RecordLine> entry = sim.WaitFor("entry");
        ASSERT_TRUE(entry);
        EXPECT_FALSE(entry->True("accepted"));
    }
    {
        PrinterSimProcess sim(kLane,
                              {"--port-type", "Ethernet4", "--install-polls", "0", "--model-after-install", "KX-71"});
        ASSERT_NO_FATAL_FAILURE(InstallByBootFrame(sim, 9500, Image("1.20")));
        EXPECT_EQ(Status(sim, kVantaOid),
                  StatusText("MDL:KX-71;VER:1.20;MODE:NORMAL;STATUS:" + Records("80000000") + ";"));
    }
    {
        PrinterSimProcess sim(kLane, {"--port-type", "Ethernet3", "--install-polls", "0", "--never-finish"});
        ASSERT_NO_FATAL_FAILURE(InstallByBootFrame(sim, 9101, Image("1.20")));
        for (int poll = 0; poll < 3; ++poll)
            EXPECT_EQ(Status(sim, kVantaOid),
                      StatusText("MDL:KX-70;VER:1.10;MODE:IPL;STATUS:" + Records("00000000") + ";"));
        EXPECT_TRUE(sim.Events("install-end").empty());
    }
}

} // namespace
