#pragma once
// The printer's status text: items "KEY:VALUE" separated by ";", as the
// printer reports them over SNMP or as its IEEE 1284 device ID. Each check of
// the update driver parses one reply and asks it a few questions.
//
// The text comes from the printer: every position is computed in 64 bits and
// clipped to the text, so no reply can make the parser read outside it.

#include "update/StatusFormat.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class CStatusReply {
public:
    // Replaces the pairs with those of `text`; true when at least one pair
    // was stored. There is no quoting, trimming or case folding.
    bool Parse(std::wstring_view text);

    // Cuts the status code out of STATUS in the given STATUS_FORMAT (any
    // other value reads no code). True without touching the code for
    // STATUS_FORMAT_NONE and in IPL mode; otherwise true when a code was found.
    bool GetStatusCode(int format);

    // VER in hundredths; -1 when VER is missing or unreadable.
    int GetVersion() const;

    // MODE is exactly "IPL" (the printer's boot mode).
    bool IsIplMode() const;

    // The value stored under `key`, compared exactly; nullopt when absent.
    std::optional<std::wstring> Lookup(const std::wstring& key) const;

    // Number of pairs of the last parsed text.
    std::size_t GetCount() const { return m_mapValues.size(); }

    // The code cut out by the last GetStatusCode that read one; empty until then.
    const std::wstring& GetStatusCodeText() const { return m_strStatusCode; }

private:
    std::unordered_map<std::wstring, std::wstring> m_mapValues;
    std::wstring m_strStatusCode;
};

// A version text such as 1.20 as an int in hundredths (120). -1 when the text
// is longer than 10 characters in the ANSI code page or out of the int
// range; 0 when it does not start with a number.
int VersionToHundredths(std::wstring_view text);

// 120 as "1.20"; a negative (missing) version as "---".
std::wstring FormatVersion(int hundredths);
