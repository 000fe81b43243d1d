#include "ports/PortType.h"

#include "platform/resources/Resources.h"
#include "platform/text/Text.h"
#include "resources/ResourceIds.h"
#include "update/StatusFormat.h"

#include <optional>
#include <string>

namespace {

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

} // namespace

int PortTypeFromName(std::wstring_view name)
{
    // The name is configuration text: compared as the narrow bytes of a
    // 16-byte buffer, so anything that does not fit matches no row.
    char buffer[16];
    if (!platform::WideToAnsi(name, buffer))
        return PORT_TYPE_NONE;
    std::string_view narrow(buffer);
    for (const PortTypeName& row : kPortTypeTable) {
        if (EqualsIgnoringAsciiCase(narrow, row.name))
            return row.code;
    }
    return PORT_TYPE_NONE;
}

int GetProductPortType()
{
    std::optional<std::wstring> name = platform::LoadString(ids::IDS_PORT_TYPE);
    if (!name)
        return PORT_TYPE_NONE;
    return PortTypeFromName(*name);
}

int StatusFormatForPortType(int code)
{
    if (IsUsbFamily(code))
        return (code & 0x20) != 0 ? STATUS_FORMAT_WORD : STATUS_FORMAT_RECORDS;
    return code == PORT_TYPE_ETHERNET1 ? STATUS_FORMAT_WORD : STATUS_FORMAT_RECORDS;
}
