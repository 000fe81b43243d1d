#pragma once
// tallowctl's command line:
//   tallowctl [--port-type NAME] [--address A] [--json] status|check|install
// Options may come before or after the command, each at most once; a value
// follows its option as the next argument or after "=".

#include "platform/core/WinTypes.h"

#include <span>
#include <string>
#include <string_view>

enum class Command { Status, Check, Install };

struct Options {
    Command command = Command::Status;
    int portType = 0;
    // Host byte order (first octet most significant), as the installer's
    // address field gives it; 0 for the USB family.
    DWORD hostAddress = 0;
    bool json = false;
};

struct ParsedArguments {
    enum class Kind { Run, Help, Error };
    Kind kind = Kind::Error;
    Options options;   // complete when kind is Run; json is set whenever --json was seen
    std::string error; // kind Error: what is wrong, for the user
    // kind Error: the port or its address is what is wrong, which the
    // installer answers with its own message (171).
    bool portRefused = false;
};

// `args` without the program name. `defaultPortType` applies when
// --port-type is not given (the build's own, from string 205).
ParsedArguments ParseArguments(std::span<const std::string> args, int defaultPortType);

// The address as the installer's address field reads it: four dotted decimal
// numbers to host byte order; 0 for anything else, and for 0.0.0.0 and
// 255.255.255.255, which the installer refuses too.
DWORD HostAddressFromText(std::string_view text);

std::string_view CommandName(Command command);
std::string_view PortTypeText(int portType); // "" for a code not in the table

extern const char kUsage[];
