#pragma once
// Port types: the small integer code of each way of reaching the printer,
// and the name by which the build configuration (string 205) selects it.

#include <array>
#include <string_view>

inline constexpr int PORT_TYPE_NONE = 0; // a name not in the table
inline constexpr int PORT_TYPE_ETHERNET1 = 0x11; // LPR with access code A
inline constexpr int PORT_TYPE_ETHERNET2 = 0x12; // LPR with access code B
inline constexpr int PORT_TYPE_ETHERNET3 = 0x13; // Vanta
inline constexpr int PORT_TYPE_ETHERNET4 = 0x14; // Quill
inline constexpr int PORT_TYPE_USB = 0x21;       // direct USB
inline constexpr int PORT_TYPE_DLL_USB = 0x41;   // controller library and spooler

struct PortTypeName {
    int code;
    const char* name;
};

// In lookup order: the first row whose name matches wins.
inline constexpr std::array<PortTypeName, 6> kPortTypeTable{{
    {PORT_TYPE_ETHERNET1, "Ethernet1"},
    {PORT_TYPE_ETHERNET2, "Ethernet2"},
    {PORT_TYPE_ETHERNET3, "Ethernet3"},
    {PORT_TYPE_ETHERNET4, "Ethernet4"},
    {PORT_TYPE_USB, "USB"},
    {PORT_TYPE_DLL_USB, "DLL_USB"},
}};

// USB family when (code & 0x60) != 0; everything else, 0 included, is the
// network family.
constexpr bool IsUsbFamily(int code)
{
    return (code & 0x60) != 0;
}

// The code of the first table row whose name equals `name` ignoring ASCII
// case, after conversion to the ANSI code page; PORT_TYPE_NONE when none
// does or the name is longer than 15 bytes.
int PortTypeFromName(std::wstring_view name);

// The build's port type: PortTypeFromName of string 205, PORT_TYPE_NONE when
// the string is missing.
int GetProductPortType();

// The STATUS_FORMAT in which printers of this port type report their status
// code. USB family: the word form when code & 0x20; network family: the
// word form for Ethernet1 only. Every other type reads records.
int StatusFormatForPortType(int code);
